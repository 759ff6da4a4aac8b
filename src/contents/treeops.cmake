target_sources(tarnbook_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TreeOps.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EnableRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NodeSelection.cpp)
