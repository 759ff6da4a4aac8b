target_sources(tarnbook_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TagHighlight.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CustomTags.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EditorPage.cpp
)
