// The runner against real child processes under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/command_runner.h"
#include "core/system.h"
#include "core/text.h"

namespace zel {
namespace {

std::wstring ChildPath() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self);
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"zq-test-child.exe";
}

CommandResult RunChild(const std::wstring& arguments, uint32_t timeoutMs = 30000) {
  return RunProcess(ChildPath(), arguments, timeoutMs);
}

TEST(RunProcess, QuietLoudAndFailingChildren) {
  const CommandResult silent = RunChild(L"silent");
  EXPECT_EQ(silent.exitCode, 0);
  EXPECT_TRUE(silent.Succeeded());
  EXPECT_EQ(silent.output, L"");
  EXPECT_EQ(silent.commandLine, L"\"" + ChildPath() + L"\" silent");

  const CommandResult stderrOnly = RunChild(L"stderr");
  EXPECT_TRUE(stderrOnly.Succeeded());
  EXPECT_EQ(stderrOnly.output, L"only on stderr");

  const CommandResult failed = RunChild(L"fail");
  EXPECT_EQ(failed.exitCode, 1);
  EXPECT_FALSE(failed.timedOut);
  EXPECT_FALSE(failed.Succeeded());
  EXPECT_EQ(failed.output, L"The parameter is incorrect.");

  EXPECT_EQ(RunChild(L"lines").output, L"line 1\r\n\r\nline 2");
}

TEST(RunProcess, AMissingProgramReportsTheSystemMessage) {
  const CommandResult missing = RunProcess(L"C:\\no\\such\\tool.exe", L"/x", 5000);
  EXPECT_EQ(missing.exitCode, -1);
  EXPECT_FALSE(missing.timedOut);
  EXPECT_FALSE(missing.output.empty());
  EXPECT_TRUE(missing.output == Win32ErrorText(ERROR_FILE_NOT_FOUND) ||
              missing.output == Win32ErrorText(ERROR_PATH_NOT_FOUND))
      << std::string(missing.output.begin(), missing.output.end());
}

TEST(RunProcess, TimeOutKillsTheChildAndSaysSo) {
  const ULONGLONG start = GetTickCount64();
  const CommandResult result = RunChild(L"sleep 60000", 1500);
  const ULONGLONG elapsed = GetTickCount64() - start;
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_TRUE(result.timedOut);
  EXPECT_EQ(result.output, L"started\r\nProcess timed out and was terminated.");
  EXPECT_GE(elapsed, 1500u);
  EXPECT_LT(elapsed, 1500u + 5000u);
}

TEST(RunProcess, TimeOutAlsoEndsWhatTheChildStarted) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring pidFile = std::wstring(temp) + L"zq-grandchild-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
  DeleteFileW(pidFile.c_str());

  const CommandResult result = RunChild(L"grandchild \"" + pidFile + L"\"", 3000);
  EXPECT_TRUE(result.timedOut);
  // The grandchild shares the pipe, so its own "started" may be there too.
  EXPECT_EQ(result.output.rfind(L"spawned\r\n", 0), 0u);
  EXPECT_TRUE(result.output.ends_with(L"\r\nProcess timed out and was terminated."));

  FILE* file = _wfopen(pidFile.c_str(), L"r");
  ASSERT_NE(file, nullptr) << "the child never started its grandchild";
  unsigned long pid = 0;
  ASSERT_EQ(fscanf(file, "%lu", &pid), 1);
  fclose(file);
  DeleteFileW(pidFile.c_str());

  HANDLE grandchild = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (grandchild != nullptr) {
    EXPECT_EQ(WaitForSingleObject(grandchild, 5000), WAIT_OBJECT_0) << "the grandchild outlived the time-out";
    CloseHandle(grandchild);
  }
}

TEST(RunProcess, LargeOutputNeverStallsAndLosesNothing) {
  const long bytes = 1536 * 1024;  // 1.5 MiB, many times any pipe buffer
  const ULONGLONG start = GetTickCount64();
  const CommandResult result = RunChild(L"flood " + std::to_wstring(bytes), 60000);
  const ULONGLONG elapsed = GetTickCount64() - start;
  ASSERT_TRUE(result.Succeeded());
  // The final CR LF is trimmed; every other byte arrives, in order.
  ASSERT_EQ(result.output.size(), static_cast<size_t>(bytes) - 2);
  const auto lines = SplitLines(result.output);
  ASSERT_EQ(lines.size(), static_cast<size_t>(bytes / 64));
  for (const auto& line : lines) ASSERT_EQ(line, L"abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyzabcdefghij");
  RecordProperty("elapsed_ms", static_cast<int>(elapsed));
  EXPECT_LT(elapsed, 10000u);
}

TEST(RunProcess, OutputIsDecodedFromTheOemCodePage) {
  ASSERT_EQ(GetOEMCP(), 437u) << "the test prefix should use code page 437";
  EXPECT_EQ(RunChild(L"oem").output, L"Caf\x00e9 \x00fc" L"ber \x00e8");
}

TEST(SystemOnWine, ToolPathErrorTextsAndFiles) {
  EXPECT_TRUE(EqualsNoCase(SystemToolPath(L"bcdedit.exe"), L"C:\\windows\\system32\\bcdedit.exe"));
  const std::wstring denied = Win32ErrorText(ERROR_ACCESS_DENIED);
  EXPECT_FALSE(denied.empty());
  EXPECT_NE(denied.back(), L'\n');
  EXPECT_EQ(denied.find(L"Win32 error"), std::wstring::npos);
  EXPECT_EQ(Win32ErrorText(0xDEADBEEF), L"Win32 error 3735928559");

  EXPECT_TRUE(FileExists(ChildPath()));
  EXPECT_FALSE(FileExists(L"C:\\windows"));
  EXPECT_FALSE(FileExists(L"C:\\windows\\no-such-file.bin"));
}

}  // namespace
}  // namespace zel
