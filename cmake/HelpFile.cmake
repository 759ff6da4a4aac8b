# The program's own manual: the Tarnbook project in docs/help, compiled with our own CLI and
# compiler into "Tarnbook.CHM" beside the authoring program (where start-up looks first) and
# installed into the data folder. The project is compiled in a copy, so the source tree stays
# clean.
if(TARGET tarnbook-cli AND TARGET tarnbook-hhc)
  set(help_source ${CMAKE_SOURCE_DIR}/docs/help)
  set(help_stage ${CMAKE_BINARY_DIR}/help-project)
  set(TARNBOOK_HELP_FILE ${CMAKE_BINARY_DIR}/src/apps/gui/Tarnbook.CHM)
  file(GLOB_RECURSE help_inputs CONFIGURE_DEPENDS ${help_source}/*)
  add_custom_command(
    OUTPUT ${TARNBOOK_HELP_FILE}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${help_stage}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${help_source} ${help_stage}
    COMMAND $<TARGET_FILE:tarnbook-cli> --home ${help_stage}-home --quiet
            build ${help_stage}/Tarnbook.XHP
    COMMAND ${CMAKE_COMMAND} -E copy ${help_stage}/Tarnbook.CHM ${TARNBOOK_HELP_FILE}
    DEPENDS ${help_inputs} tarnbook-cli tarnbook-hhc
    COMMENT "Compiling the manual Tarnbook.CHM"
    VERBATIM)
  add_custom_target(tarnbook_help ALL DEPENDS ${TARNBOOK_HELP_FILE})
  install(FILES ${TARNBOOK_HELP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/tarnbook)
endif()
