target_sources(tarnbook_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ContentTree.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LongText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ContentsRecord.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ContentsFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProjectLifecycle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NewProjectNameForm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProjectJson.cpp
)
