target_sources(tarnbook_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ItemForms.cpp)
