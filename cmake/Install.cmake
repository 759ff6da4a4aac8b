# Desktop integration: opening a project file starts "tarnbook FILE", a compiled help file
# "tarnbook-view FILE". Nothing is registered at run time; the desktop files, the file types
# and the icon are installed here.
install(FILES ${CMAKE_SOURCE_DIR}/data/tarnbook.desktop ${CMAKE_SOURCE_DIR}/data/tarnbook-view.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/tarnbook-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME tarnbook.xml)
install(FILES ${CMAKE_SOURCE_DIR}/data/icons/tarnbook.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tarnbook)

include(cmake/ManPages.cmake)

# Refresh the desktop's caches for a direct install; packages (DESTDIR, CPack's staging
# tree) leave that to the system's own triggers, and a cache file in a package would clash
# with the one the system owns.
install(CODE "set(_tarnbook_datadir \"${CMAKE_INSTALL_DATADIR}\")")
install(CODE [[
  if((NOT DEFINED ENV{DESTDIR} OR "$ENV{DESTDIR}" STREQUAL "")
     AND NOT CMAKE_INSTALL_PREFIX MATCHES "/_CPack_Packages/")
    find_program(_update_mime update-mime-database)
    find_program(_update_desktop update-desktop-database)
    if(_update_mime)
      execute_process(COMMAND ${_update_mime} "${CMAKE_INSTALL_PREFIX}/${_tarnbook_datadir}/mime"
                      RESULT_VARIABLE _ignored OUTPUT_QUIET ERROR_QUIET)
    endif()
    if(_update_desktop)
      execute_process(COMMAND ${_update_desktop} "${CMAKE_INSTALL_PREFIX}/${_tarnbook_datadir}/applications"
                      RESULT_VARIABLE _ignored OUTPUT_QUIET ERROR_QUIET)
    endif()
  endif()
]])

include(cmake/Package.cmake)
