# Product name and versions are build-time constants; the title, the About box and the
# generator line of generated pages read them from here.
set(TARNBOOK_PRODUCT_NAME "Tarnbook")
set(TARNBOOK_PRODUCT_VERSION "${PROJECT_VERSION}")
set(TARNBOOK_FILE_VERSION "${PROJECT_VERSION}.0")
set(TARNBOOK_DATA_DIR "${CMAKE_INSTALL_FULL_DATADIR}/tarnbook")
# The data folder as seen from the installed programs, so a relocated installation (a DESTDIR
# tree, a package unpacked elsewhere) still finds its templates.
file(RELATIVE_PATH TARNBOOK_DATA_DIR_FROM_BIN "${CMAKE_INSTALL_FULL_BINDIR}" "${TARNBOOK_DATA_DIR}")
set(TARNBOOK_SOURCE_DATA_DIR "${CMAKE_CURRENT_SOURCE_DIR}/data")
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/cmake/BuildInfo.h.in ${CMAKE_CURRENT_BINARY_DIR}/generated/BuildInfo.h @ONLY)
