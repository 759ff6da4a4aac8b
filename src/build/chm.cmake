# Compiled help files: reading the directory, decompiling, viewing, and the compiler driver
# that runs chmcmd in place of the Workshop compiler.
target_sources(tarnbook_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ChmDirectory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Decompile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DecompileForm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Viewer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hhc/CompileLog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hhc/HhcDriver.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hhc/HhcMessages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hhc/HhpFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hhc/ProjectAdapter.cpp
)
# chmlib (libchm-dev) installs no CMake or pkg-config file.
find_library(CHMLIB_LIBRARY NAMES chm REQUIRED)
find_path(CHMLIB_INCLUDE_DIR chm_lib.h REQUIRED)
target_include_directories(tarnbook_core PUBLIC ${CHMLIB_INCLUDE_DIR})
target_link_libraries(tarnbook_core PUBLIC ${CHMLIB_LIBRARY})
