// wpeutil.exe stand-in: accepts Reboot and Shutdown and does nothing else.
#include "sim/common/argv.h"
#include "sim/common/tool_main_win.h"
#include "sim/power/power.h"

int wmain() {
  return sim::RunSimulatedTool(L"wpeutil", [](const std::wstring& argumentText) {
    return sim::ExecuteWpeutil(sim::SplitArguments(argumentText));
  });
}
