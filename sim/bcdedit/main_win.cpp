// bcdedit.exe stand-in for tests and the demo. The system store is the text
// file named by ZQ_SIM_STORE; /store names any other store file.
#include "sim/bcdedit/commands.h"
#include "sim/bcdedit/registry_mirror_win.h"
#include "sim/common/argv.h"
#include "sim/common/file_io.h"
#include "sim/common/tool_main_win.h"

int wmain() {
  return sim::RunSimulatedTool(L"bcdedit", [](const std::wstring& argumentText) {
    sim::StoreFiles files;
    files.systemStorePath = sim::ReadEnvironment(L"ZQ_SIM_STORE");
    files.read = sim::ReadWholeFile;
    files.write = sim::WriteFileSafely;
    files.mirrorSystemStore = sim::MirrorToRegistry;
    return sim::ExecuteBcdedit(sim::SplitArguments(argumentText), files);
  });
}
