#include "core/firmware.h"

#include <gtest/gtest.h>

#include <optional>

#include "tests/support/fake_platform.h"
#include "tests/support/fault_print.h"

namespace zel {
namespace {

const std::wstring kMiniNt = L"SYSTEM\\CurrentControlSet\\Control\\MiniNT";
const std::wstring kSystem32 = L"C:\\Windows\\system32";

TEST(Firmware, EnvironmentAndFirmwareLabels) {
  test::FakePlatform fake;
  fake.environment[L"SystemDrive"] = L"C:";  // the label says whether this is Windows PE
  EXPECT_EQ(EnvironmentLabel(), L"Windows");
  fake.environment[L"SystemDrive"] = L"x:";  // no MiniNT key, but booted from X:
  EXPECT_EQ(EnvironmentLabel(), L"Windows PE (x:)");
  fake.environment.clear();
  fake.registryKeys.insert(kMiniNt);
  EXPECT_EQ(EnvironmentLabel(), L"Windows PE (X:)");

  for (const auto& [type, kind] :
       {std::pair{2, FirmwareKind::Uefi}, {1, FirmwareKind::LegacyBios}, {0, FirmwareKind::Unknown}}) {
    fake.firmwareType = type;
    EXPECT_EQ(MachineFirmware(), kind) << type;
  }
}

// The request sets bit 0 and keeps every other bit and the attributes; a missing or wrong-sized
// variable counts as 0, and it or one without attributes gets 7. Refused requests write nothing.
TEST(Firmware, RequestKeepsEveryOtherBitAndChecksFirst) {
  test::FakePlatform fake;
  fake.firmwareVariables[L"OsIndicationsSupported"] = {1, 7, 8};
  Fault error;
  using Variable = test::FakePlatform::FirmwareVariable;
  // The variable before the request, and after it.
  const std::pair<std::optional<Variable>, Variable> writes[] = {{std::nullopt, {1, 7, 8}},
                                                                 {Variable{4, 3, 8}, {5, 3, 8}},
                                                                 {Variable{0x84, 0, 8}, {0x85, 7, 8}},
                                                                 {Variable{0x40, 3, 4}, {1, 7, 8}}};
  for (const auto& [before, after] : writes) {
    fake.firmwareVariables.erase(L"OsIndications");
    if (before) fake.firmwareVariables[L"OsIndications"] = *before;
    ASSERT_TRUE(RequestFirmwareSetup(error));
    const Variable written = fake.firmwareVariables[L"OsIndications"];
    EXPECT_EQ(std::tie(written.value, written.attributes), std::tie(after.value, after.attributes));
  }
  EXPECT_EQ(fake.firmwareWrites, 4);
  fake.firmwareWriteError = 5;
  EXPECT_FALSE(RequestFirmwareSetup(error));
  EXPECT_EQ(error, (Fault{FaultKind::OsIndicationsNotWritten, L"Win32 error 5"}));

  fake.firmwareWriteError = 0;
  fake.firmwareVariables[L"OsIndicationsSupported"] = {2, 7, 8};
  EXPECT_FALSE(RequestFirmwareSetup(error));
  EXPECT_EQ(error.kind, FaultKind::FirmwareSetupUnsupported);
  fake.privilegeError = 1300;
  fake.errorMessages[1300] = L"Not all privileges or groups referenced are assigned to the caller.\r\n";
  EXPECT_FALSE(RequestFirmwareSetup(error));
  EXPECT_EQ(error, (Fault{FaultKind::PrivilegeNotEnabled,
                          L"Not all privileges or groups referenced are assigned to the caller."}));
  fake.firmwareType = 1;
  EXPECT_FALSE(RequestFirmwareSetup(error));
  EXPECT_EQ(error.kind, FaultKind::NotUefi);
  EXPECT_EQ(fake.firmwareWrites, 4);  // nothing written by the refused requests
}

// Windows PE's tools; outside it, restart, shut down and restart into the firmware run end to end
// (ActionsEndToEnd.PowerAndRawView).
TEST(Firmware, PowerActionsPickTheRightToolInWindowsPe) {
  struct Case {
    bool wpeutil, shutdown;
    PowerAction action;
    std::wstring program, arguments;
  };
  const Case cases[] = {
      {true, true, PowerAction::Restart, L"wpeutil.exe", L"Reboot"},
      {true, true, PowerAction::Shutdown, L"wpeutil.exe", L"Shutdown"},
      {false, false, PowerAction::Restart, L"shutdown.exe", L"/r /t 0"},  // run even when missing
      {true, true, PowerAction::FirmwareSetup, L"wpeutil.exe", L"Reboot"},
      {false, true, PowerAction::FirmwareSetup, L"shutdown.exe", L"/r /t 0"},
  };
  for (const auto& c : cases) {
    test::FakePlatform fake;
    fake.registryKeys.insert(kMiniNt);
    if (c.wpeutil) fake.AddFile(kSystem32 + L"\\wpeutil.exe");
    if (c.shutdown) fake.AddFile(kSystem32 + L"\\shutdown.exe");
    fake.firmwareVariables[L"OsIndicationsSupported"] = {1, 7, 8};
    fake.Reply(0, L"");
    Fault error;
    EXPECT_TRUE(RunPowerAction(c.action, error));
    ASSERT_EQ(fake.runs.size(), 1u);
    EXPECT_EQ(fake.runs[0].program, kSystem32 + L"\\" + c.program);
    EXPECT_EQ(fake.runs[0].arguments, c.arguments);
    EXPECT_EQ(fake.runs[0].timeoutMs, 120000u);
    // Without shutdown /fw the firmware variable asks for the setup screen.
    EXPECT_EQ(fake.firmwareWrites, c.action == PowerAction::FirmwareSetup ? 1 : 0);
  }
}

TEST(Firmware, PowerActionsThatRunNothing) {
  test::FakePlatform fake;
  fake.registryKeys.insert(kMiniNt);
  fake.firmwareType = 1;
  Fault error;
  EXPECT_FALSE(RunPowerAction(PowerAction::FirmwareSetup, error));
  EXPECT_EQ(error.kind, FaultKind::NotUefi);

  fake.firmwareType = 2;
  fake.firmwareVariables[L"OsIndicationsSupported"] = {1, 7, 8};
  EXPECT_FALSE(RunPowerAction(PowerAction::FirmwareSetup, error));  // request written, but nothing to restart with
  EXPECT_EQ(error.kind, FaultKind::NoRestartTool);
  EXPECT_TRUE(fake.runs.empty());
  // A tool that ran and failed: its own words.
  fake.AddFile(kSystem32 + L"\\shutdown.exe");
  fake.Reply(1190, L"A system shutdown has already been scheduled.");
  EXPECT_FALSE(RunPowerAction(PowerAction::Restart, error));
  EXPECT_EQ(error, Said(L"A system shutdown has already been scheduled."));
}

}  // namespace
}  // namespace zel
