target_sources(tarnbook_shell PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/NewItemDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PropertyDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PopupDialog.cpp)
