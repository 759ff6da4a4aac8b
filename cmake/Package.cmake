# The Debian package (tools/make-deb.sh): tarnbook_<version>_<arch>.deb installed below /usr.
# Shared libraries (Qt 6, chmlib, libpng) become dependencies through dpkg-shlibdeps; the
# programs the package runs rather than links are listed by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnbook)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tarnbook developers")
set(CPACK_PACKAGE_CONTACT "Tarnbook developers <tarnbook@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "authoring tool for compiled HTML Help (.chm) files")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Tarnbook keeps a help project as a table-of-contents tree and a folder of pages, "
       "with an HTML editor and a live preview, and compiles it into a .chm file.\n"
       "tarnbook-cli does the same jobs without a window; tarnbook-hhc is the help compiler.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# chmcmd (second compiler back end), the SVG plugin Qt loads for the toolbar icons, Qt's own
# Japanese texts (dialogs, standard buttons), Japanese fonts for the window and the previews,
# and the opener for the browser and the file manager.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fp-utils, libqt6svg6, qt6-translations-l10n, fonts-ipafont-gothic, xdg-utils")
include(CPack)
