# The main window's layout, texts and painting. Included from the ui/ build
# files; paths are relative to this file so it can be included from anywhere.
set(ZEL_MAIN_VIEW_DIR ${CMAKE_CURRENT_LIST_DIR})
set(ZEL_MAIN_VIEW_PORTABLE
  ${ZEL_MAIN_VIEW_DIR}/main_layout.cpp
  ${ZEL_MAIN_VIEW_DIR}/main_texts.cpp
)
set(ZEL_MAIN_LAYOUT_TEST ${PROJECT_SOURCE_DIR}/tests/ui/main_layout_test.cpp)

# Portable half: geometry and texts, tested on both trees.
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

  add_executable(zq-main-layout-test ${ZEL_MAIN_LAYOUT_TEST})
  target_link_libraries(zq-main-layout-test PRIVATE zelui_main_portable GTest::gtest_main)
  add_test(NAME ui-main-layout-wine COMMAND zq-main-layout-test)
  set_tests_properties(ui-main-layout-wine PROPERTIES TIMEOUT 300 LABELS wine)

  # A developer's look at the main window with made-up state; not shipped. It
  # carries the application's resources for the icon (resource 101) and the
  # manifest's DPI awareness.
  set(ZEL_MAIN_DEMO_RES ${CMAKE_CURRENT_BINARY_DIR}/main-demo-resources.o)
  add_custom_command(
    OUTPUT ${ZEL_MAIN_DEMO_RES}
    COMMAND ${CMAKE_RC_COMPILER} -I${CMAKE_BINARY_DIR}/generated -I${PROJECT_SOURCE_DIR}/app/resources
            -i ${PROJECT_SOURCE_DIR}/app/resources/app.rc -o ${ZEL_MAIN_DEMO_RES}
    DEPENDS ${PROJECT_SOURCE_DIR}/app/resources/app.rc ${CMAKE_BINARY_DIR}/generated/app.manifest
            ${CMAKE_BINARY_DIR}/generated/zel_version.h
            ${CMAKE_BINARY_DIR}/generated/app.ico
    COMMENT "Compiling the application resources for main-demo"
    VERBATIM)
  add_executable(main-demo WIN32 ${PROJECT_SOURCE_DIR}/tools/main-demo/main_win.cpp ${ZEL_MAIN_DEMO_RES})
  add_dependencies(main-demo zq-app-icon)
  target_link_libraries(main-demo PRIVATE zelui_main)
  target_link_options(main-demo PRIVATE -municode)
  set_target_properties(main-demo PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
else()
  include(GoogleTest)
  add_executable(zq-main-layout-test ${ZEL_MAIN_LAYOUT_TEST})
  target_link_libraries(zq-main-layout-test PRIVATE zelui_main_portable GTest::gtest_main)
  gtest_discover_tests(zq-main-layout-test PROPERTIES TIMEOUT 120 LABELS unit)

  add_executable(zq-main-layout-test-sanitized ${ZEL_MAIN_LAYOUT_TEST})
  target_link_libraries(zq-main-layout-test-sanitized PRIVATE zelui_main_portable_sanitized GTest::gtest_main)
  add_test(NAME ui-main-layout-sanitized COMMAND zq-main-layout-test-sanitized)
  set_tests_properties(ui-main-layout-sanitized PROPERTIES TIMEOUT 300 LABELS sanitized)
endif()

if(WIN32)
  # Paint timings of the main window and a 50-card list, on real windows.
  add_test(NAME main-paint-benchmark COMMAND main-demo --bench --size 1180,760 --en)
  set_tests_properties(main-paint-benchmark PROPERTIES TIMEOUT 300 LABELS "wine;bench")
endif()
