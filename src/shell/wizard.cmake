target_sources(tarnbook_shell PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TemplateFieldWidgets.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AutoSizerWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WizardDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NewStyleNameDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TemplateEditorDialog.cpp)
