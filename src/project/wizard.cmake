target_sources(tarnbook_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TemplateFields.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WizardForm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TemplateEditorForm.cpp
)
