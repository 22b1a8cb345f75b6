// bcdboot.exe stand-in for tests and the demo: placeholder boot files on the
// partition named by /s, and the Windows entry in that partition's store or,
// without /s, in the system store (the text file named by ZQ_SIM_STORE).
#include <windows.h>

#include <filesystem>

#include "sim/bcdboot/bcdboot.h"
#include "sim/common/argv.h"
#include "sim/common/file_io.h"
#include "sim/common/tool_main_win.h"

namespace {

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CreateFolders(const std::wstring& folder) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(folder), error);
  return IsFolder(folder);
}

}  // namespace

int wmain() {
  return sim::RunSimulatedTool(L"bcdboot", [](const std::wstring& argumentText) {
    sim::BcdbootFiles files;
    files.systemStorePath = sim::ReadEnvironment(L"ZQ_SIM_STORE");
    files.isFolder = IsFolder;
    files.createFolders = CreateFolders;
    files.read = sim::ReadWholeFile;
    files.write = sim::WriteFileSafely;
    return sim::ExecuteBcdboot(sim::SplitArguments(argumentText), files);
  });
}
