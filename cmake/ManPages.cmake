# Manual pages made from each program's own --help and --version at build time, so they never
# drift from the program. Without help2man the build goes on without them.
find_program(HELP2MAN_PROGRAM help2man)
if(NOT HELP2MAN_PROGRAM)
  message(STATUS "help2man not found: no manual pages (tools/install-deps.sh installs it)")
endif()

function(tarnbook_man_page target description)
  if(NOT HELP2MAN_PROGRAM OR NOT TARGET ${target})
    return()
  endif()
  set(page ${CMAKE_BINARY_DIR}/man/${target}.1)
  # The window program reads its options before it opens a window, but Qt needs a platform.
  add_custom_command(
    OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            ${HELP2MAN_PROGRAM} --no-info --name=${description} --output=${page}
            $<TARGET_FILE:${target}>
    DEPENDS ${target}
    COMMENT "Manual page ${target}.1"
    VERBATIM)
  add_custom_target(${target}-man ALL DEPENDS ${page})
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

tarnbook_man_page(tarnbook "author compiled HTML Help projects")
tarnbook_man_page(tarnbook-cli "headless tools for compiled HTML Help projects")
tarnbook_man_page(tarnbook-hhc "compile an HTML Help Workshop project into a .chm")
