# Manual pages made from each program's own --help and --version at build time, so they never
# drift from the program. Without help2man the build goes on without them.
find_program(HELP2MAN_PROGRAM help2man)
find_program(GZIP_PROGRAM gzip)
if(NOT HELP2MAN_PROGRAM OR NOT GZIP_PROGRAM)
  message(STATUS "help2man not found: no manual pages (tools/install-deps.sh installs it)")
endif()

function(tarnbook_man_page target description)
  if(NOT HELP2MAN_PROGRAM OR NOT GZIP_PROGRAM OR NOT TARGET ${target})
    return()
  endif()
  set(page ${CMAKE_BINARY_DIR}/man/${target}.1)
  # Stored compressed, as man finds them; -n keeps the time stamp out, so rebuilds match.
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${HELP2MAN_PROGRAM} --no-info --name=${description} --output=${page}
            $<TARGET_FILE:${target}>
    COMMAND ${GZIP_PROGRAM} -9nf ${page}
    DEPENDS ${target}
    COMMENT "Manual page ${target}.1"
    VERBATIM)
  add_custom_target(${target}-man ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

tarnbook_man_page(tarnbook "author compiled HTML Help projects")
tarnbook_man_page(tarnbook-cli "headless tools for compiled HTML Help projects")
tarnbook_man_page(tarnbook-hhc "compile an HTML Help Workshop project into a .chm")
tarnbook_man_page(tarnbook-view "show a compiled HTML Help (.chm) file")
