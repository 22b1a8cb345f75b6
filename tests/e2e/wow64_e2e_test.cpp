// The 32-bit build on 64-bit Windows: the system's tools are in the 64-bit System32,
// which a 32-bit program reaches only through the Sysnative alias. Run in a 64-bit prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/e2e/app_driver.h"

namespace zel::test {
namespace {

TEST(Wow64EndToEnd, WithoutTheNativeToolsTheProgramAsksForThe64BitBuildAndRunsNothing) {
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  if (!wow64) GTEST_SKIP() << "not a 32-bit process on 64-bit Windows";
  // The 64-bit bcdedit is moved aside for this test and put back after it.
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  const std::wstring tool = std::wstring(windows) + L"\\Sysnative\\bcdedit.exe", aside = tool + L".aside";
  ASSERT_TRUE(MoveFileExW(tool.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING));
  struct PutBack {
    const std::wstring &from, &to;
    ~PutBack() { MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING); }
  } putBack{aside, tool};

  SimSandbox sim;
  sim.UseSystemStore(sim.CopyStore(L"uefi-win11.txt", L"system.txt"));
  const std::wstring folder = sim.Folder() + L"\\app", exe = folder + L"\\ZelQuillonPE.exe";
  std::filesystem::create_directories(std::filesystem::path(folder));
  ASSERT_TRUE(CopyFileW(BesideThisProgram(L"..\\ZelQuillonPE.exe").c_str(), exe.c_str(), FALSE));
  std::ofstream(std::filesystem::path(folder + L"\\settings.cfg"), std::ios::binary) << "Language=en\r\n";
  std::wstring line = L"\"" + exe + L"\"";
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
  const HWND box = WaitForWindowOf(info.dwProcessId, L"#32770", 20000);
  EXPECT_NE(box, nullptr) << "no message";
  wchar_t text[512] = {};
  if (box) GetDlgItemTextW(box, 0xFFFF, text, 512);  // the static text of a message box
  EXPECT_EQ(std::wstring(text),
            L"This 32-bit build cannot reach the system tools of 64-bit Windows (bcdedit.exe). Use the 64-bit build "
            L"(x64) on this computer.");
  EXPECT_EQ(WaitForWindowOf(info.dwProcessId, L"ZelQuillonPE.Main", 100), nullptr);
  if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
  if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 9);
  DWORD code = 0;
  GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  EXPECT_EQ(code, 1u);
  EXPECT_TRUE(sim.LogLines().empty()) << "a tool ran";
}

}  // namespace
}  // namespace zel::test
