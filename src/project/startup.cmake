target_sources(tarnbook_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AboutInfo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExternalTools.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecentProjects.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingColours.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsForm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Startup.cpp
)
