// shutdown.exe stand-in, installed over Wine's own: accepts a restart or a
// shutdown request and never acts on it.
#include "sim/common/argv.h"
#include "sim/common/tool_main_win.h"
#include "sim/power/power.h"

int wmain() {
  return sim::RunSimulatedTool(L"shutdown", [](const std::wstring& argumentText) {
    return sim::ExecuteShutdown(sim::SplitArguments(argumentText));
  });
}
