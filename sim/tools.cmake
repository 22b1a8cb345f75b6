# The simulated tar, mountvol, bcdboot, wpeutil and shutdown. Included from
# sim/CMakeLists.txt after zqsim_bcdedit, whose store library bcdboot uses.
set(ZQSIM_TOOLS_PORTABLE
  tar/zip.cpp
  tar/tar_command.cpp
  mountvol/mountvol.cpp
  bcdboot/bcdboot.cpp
  bcdboot/boot_entries.cpp
  power/power.cpp
)

add_library(zqsim_tools STATIC ${ZQSIM_TOOLS_PORTABLE})
target_link_libraries(zqsim_tools PUBLIC zqsim_bcdedit)
zel_sanitized_copy(zqsim_tools)

if(WIN32)
  # Console programs with the real tools' names, for the test prefix's system32.
  function(zqsim_tool target name)
    add_executable(${target} ${ARGN})
    target_link_libraries(${target} PRIVATE zqsim_tools)
    target_link_options(${target} PRIVATE -municode)
    set_target_properties(${target} PROPERTIES
      OUTPUT_NAME ${name}
      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/sim-bin)
  endfunction()
  zqsim_tool(sim_tar tar tar/main_win.cpp)
  zqsim_tool(sim_mountvol mountvol mountvol/main_win.cpp mountvol/mount_manager_win.cpp)
  zqsim_tool(sim_bcdboot bcdboot bcdboot/main_win.cpp)
  zqsim_tool(sim_wpeutil wpeutil power/wpeutil_main_win.cpp)
  zqsim_tool(sim_shutdown shutdown power/shutdown_main_win.cpp)
  # One name for everything a test prefix needs besides bcdedit.
  add_custom_target(sim_tools)
  add_dependencies(sim_tools sim_tar sim_mountvol sim_bcdboot sim_wpeutil sim_shutdown)
endif()
