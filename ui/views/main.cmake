# The main window's layout, texts and painting. Included from the ui/ build
# files; paths are relative to this file so it can be included from anywhere.
set(ZEL_MAIN_VIEW_DIR ${CMAKE_CURRENT_LIST_DIR})
set(ZEL_MAIN_VIEW_PORTABLE
  ${ZEL_MAIN_VIEW_DIR}/main_layout.cpp
  ${ZEL_MAIN_VIEW_DIR}/main_texts.cpp
)

# Portable half: geometry and texts, tested on both trees (tests/ui).
add_library(zelui_main_portable STATIC ${ZEL_MAIN_VIEW_PORTABLE})
target_include_directories(zelui_main_portable PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zelui_main_portable PUBLIC zelui_portable zelcore)
zel_sanitized_copy(zelui_main_portable)

if(WIN32)
  add_library(zelui_main STATIC
    ${ZEL_MAIN_VIEW_DIR}/main_controls_win.cpp
    ${ZEL_MAIN_VIEW_DIR}/main_paint_win.cpp
  )
  # The main window hosts the entries list (ui/views/CMakeLists.txt).
  target_link_libraries(zelui_main PUBLIC zelui_main_portable zelui_views zelui)
endif()
