// tar.exe stand-in for tests and the demo: packs folders into stored ZIP
// archives, lists them and unpacks them, refusing members that would land
// outside the target folder.
#include "sim/common/argv.h"
#include "sim/common/tool_main_win.h"
#include "sim/tar/tar_command.h"

int wmain() {
  return sim::RunSimulatedTool(L"tar", [](const std::wstring& argumentText) {
    return sim::ExecuteTar(sim::SplitArguments(argumentText));
  });
}
