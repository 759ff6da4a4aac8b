target_sources(tarnbook_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/BuildPaths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HelpProjectWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SitemapWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CompileLog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CompileRun.cpp
)
