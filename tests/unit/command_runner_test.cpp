#include "core/command_runner.h"

#include <gtest/gtest.h>

#include "core/system.h"
#include "tests/support/fake_platform.h"

namespace zel {
namespace {

// The path in the system folder is what every scripted run's program is compared with.
TEST(CommandRunner, ToolPathFallsBackToTheBareName) {
  test::FakePlatform fake;
  fake.systemDirectory.clear();
  EXPECT_EQ(SystemToolPath(L"mountvol.exe"), L"mountvol.exe");
}

TEST(CommandRunner, CommandLineForms) {
  // The display form always has the blank; the real command line only with arguments. With them, every
  // child in the RunProcess tests under Wine acts on what it was given, and a time-out after some output
  // is compared there.
  EXPECT_EQ(DisplayCommandLine(L"C:\\w\\tool.exe", L""), L"\"C:\\w\\tool.exe\" ");
  EXPECT_EQ(ProcessCommandLine(L"C:\\w\\tool.exe", L""), L"\"C:\\w\\tool.exe\"");
}

TEST(CommandRunner, OutputEndsAreTrimmedAndTimeOutsSaySo) {
  EXPECT_EQ(FinishOutput(L"line 1\r\nline 2\r\n\r\n", false), L"line 1\r\nline 2");
  EXPECT_EQ(FinishOutput(std::wstring(L"x\0\0\r\n", 5), false), L"x");
  EXPECT_EQ(FinishOutput(L"", true), L"Process timed out and was terminated.");
  EXPECT_EQ(FinishOutput(L"\r\n", false), L"");
}

// System error texts and FileExists are checked where they are used (backups, firmware, store search).
TEST(SystemHelpers, DriveQueries) {
  test::FakePlatform fake;
  fake.driveRoots = {L"C:\\", L"D:\\", L"X"};
  EXPECT_EQ(ListDriveLetters(), (std::vector<std::wstring>{L"C:", L"D:"}));
  fake.volumeNames = {L"\\\\?\\Volume{1}\\", L"\\\\?\\Volume{2}"};
  EXPECT_EQ(ListVolumes(), (std::vector<std::wstring>{L"\\\\?\\Volume{1}\\", L"\\\\?\\Volume{2}\\"}));
}

}  // namespace
}  // namespace zel
