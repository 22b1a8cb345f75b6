// The EFI System Partition, entry creation and power actions through the
// simulated tools under Wine: real mounts, real ZIP files, real store edits.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "core/bcd_store.h"
#include "core/command_runner.h"
#include "core/efi_backup.h"
#include "core/entry_create.h"
#include "core/firmware.h"
#include "core/system.h"
#include "core/utf8.h"
#include "sim/tar/zip.h"
#include "tests/support/sim_sandbox.h"

namespace zel {
namespace {

std::string Narrow(const std::wstring& text) { return WideToUtf8(text); }

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

std::string ReadBytes(const std::wstring& path) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

size_t CountLines(const std::vector<std::wstring>& log, const std::wstring& suffix) {
  return static_cast<size_t>(std::count_if(log.begin(), log.end(), [&](const std::wstring& line) {
    return line.rfind(L"mountvol ", 0) == 0 && line.ends_with(suffix);
  }));
}

class EspOnWine : public ::testing::Test {
 protected:
  void SetUp() override {
    esp_ = sim_.Folder() + L"\\esp";
    WriteBytes(esp_ + L"\\EFI\\Microsoft\\Boot\\bootmgfw.efi", "boot manager");
    WriteBytes(esp_ + L"\\EFI\\Boot\\bootx64.efi", "fallback loader");
    sim_.UseEsp(esp_);
  }
  // Every mount was undone.
  void ExpectBalancedMounts() {
    const auto log = sim_.LogLines();
    EXPECT_EQ(CountLines(log, L" /S"), CountLines(log, L" /D"));
  }
  test::SimSandbox sim_;
  std::wstring esp_;
};

TEST_F(EspOnWine, BackupRestoreAndRepairRoundTrip) {
  const std::wstring zip = sim_.Folder() + L"\\EFI Backup.zip";
  std::wstring error;
  ASSERT_TRUE(BackupEfi(zip, error)) << Narrow(error);
  std::vector<sim::zip::Entry> entries;
  std::string reason;
  ASSERT_TRUE(sim::zip::Read(ReadBytes(zip), entries, reason)) << reason;
  EXPECT_TRUE(std::any_of(entries.begin(), entries.end(),
                          [](const auto& e) { return e.name == "EFI/Microsoft/Boot/bootmgfw.efi"; }));
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(zip + L".tmp-" + std::to_wstring(GetCurrentProcessId()) + L".zip")));

  // Damage the partition, then restore it from the backup.
  WriteBytes(esp_ + L"\\EFI\\Microsoft\\Boot\\bootmgfw.efi", "damaged");
  ASSERT_TRUE(RestoreEfi(zip, error)) << Narrow(error);
  EXPECT_EQ(ReadBytes(esp_ + L"\\EFI\\Microsoft\\Boot\\bootmgfw.efi"), "boot manager");

  // Repair from a Windows folder on C:.
  const std::wstring windows = L"C:\\Windows";
  ASSERT_TRUE(std::filesystem::is_directory(std::filesystem::path(windows)));
  ASSERT_TRUE(RepairEfi(L"c", error)) << Narrow(error);
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(esp_ + L"\\EFI\\Microsoft\\Boot\\BCD")));
  ExpectBalancedMounts();
  EXPECT_EQ(GetFileAttributesW(L"Y:\\"), INVALID_FILE_ATTRIBUTES);  // nothing left mounted
}

TEST_F(EspOnWine, FailuresUnmountAndKeepTheOlderBackup) {
  const std::wstring zip = sim_.Folder() + L"\\efi.zip";
  WriteBytes(zip, "older backup");
  std::wstring error;
  sim_.FailWhen(L"tar -a -cf");
  EXPECT_FALSE(BackupEfi(zip, error));
  EXPECT_NE(error.find(L"simulated failure"), std::wstring::npos);
  EXPECT_EQ(ReadBytes(zip), "older backup");
  for (const auto& item : std::filesystem::directory_iterator(std::filesystem::path(sim_.Folder()))) {
    EXPECT_EQ(item.path().wstring().find(L".tmp-"), std::wstring::npos) << item.path().string();
  }
  sim_.FailWhen(L"bcdboot");
  EXPECT_FALSE(RepairEfi(L"C:", error));
  sim_.FailWhen(L"");

  // An archive with a way out of the partition is refused before anything is mounted.
  sim::zip::Writer writer;
  writer.Add(sim::zip::Entry{"EFI/Boot/bootx64.efi", "ok", {}});
  writer.Add(sim::zip::Entry{"EFI/../../evil.efi", "bad", {}});
  WriteBytes(zip, writer.Finish());
  sim_.ClearLog();
  EXPECT_FALSE(RestoreEfi(zip, error));
  EXPECT_EQ(error.find(L"EFI/../../evil.efi") != std::wstring::npos, true) << Narrow(error);
  for (const auto& line : sim_.LogLines()) EXPECT_EQ(line.find(L"mountvol"), std::wstring::npos);

  ExpectBalancedMounts();

  // No partition at all: mountvol's own message, and nothing to undo.
  SetEnvironmentVariableW(L"ZQ_SIM_ESP", nullptr);
  sim_.ClearLog();
  EXPECT_FALSE(BackupEfi(zip, error));
  EXPECT_FALSE(error.empty());
  const auto log = sim_.LogLines();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_TRUE(log[0].ends_with(L" /S"));
}

TEST(CreateOnWine, WindowsEntriesByBcdbootAndByHand) {
  test::SimSandbox sim;
  const std::wstring system = sim.CopyStore(L"bios-legacy.txt", L"system.txt");
  sim.UseSystemStore(system);
  std::wstring id, error;
  WindowsEntryRequest request{L"c:\\", L"", L"Standard", false, false, true, false};
  ASSERT_TRUE(CreateWindowsEntry(L"", request, id, error)) << Narrow(error);
  EXPECT_TRUE(id.empty());
  EXPECT_EQ(sim.LogLines(), (std::vector<std::wstring>{L"bcdboot \"C:\\Windows\" /d"}));
  const BcdSnapshot afterBcdboot = LoadBcdSnapshot(L"");
  ASSERT_FALSE(afterBcdboot.entries.empty());
  EXPECT_EQ(afterBcdboot.entries[0].osDevice, L"partition=C:");

  // By hand into a store file that does not exist yet.
  const std::wstring fresh = sim.Folder() + L"\\new\\Boot\\BCD";
  WindowsEntryRequest manual{L"C:", L"My Windows", L"Legacy", true, true, false, false};
  ASSERT_TRUE(CreateWindowsEntry(fresh, manual, id, error)) << Narrow(error);
  const BcdSnapshot s = LoadBcdSnapshot(fresh);
  ASSERT_EQ(s.entries.size(), 1u);
  EXPECT_EQ(s.entries[0].identifier, id);
  EXPECT_EQ(s.entries[0].description, L"My Windows");
  EXPECT_TRUE(s.entries[0].isDefault);
  EXPECT_EQ(s.entries[0].bootMenuPolicy, L"Legacy");
  EXPECT_EQ(s.timeoutSeconds, 10);
}

TEST(CreateOnWine, WinPeEntryAndRollbackAfterEachFailure) {
  test::SimSandbox sim;
  const std::wstring image = sim.Folder() + L"\\sources\\boot.wim";
  WriteBytes(image, "wim");
  const std::wstring sdi = L"C:\\Boot\\boot.sdi";
  const bool hadSdi = std::filesystem::exists(std::filesystem::path(sdi));
  if (!hadSdi) WriteBytes(sdi, "sdi");
  const std::wstring store = sim.CopyStore(L"uefi-win11.txt", L"BCD");
  const std::wstring before = RunBcdedit(store, L"/enum all /v").output;

  std::wstring id, error;
  for (const std::wstring step : {L"/device", L"ramdisksdipath", L"osloader", L"winpe yes", L"/displayorder"}) {
    sim.FailWhen(step);
    WinPeEntryRequest request{image, L"Rescue", L"Standard", false, false, false, false};
    EXPECT_FALSE(CreateWinPeEntry(store, request, id, error)) << Narrow(step);
    EXPECT_TRUE(id.empty());
    sim.FailWhen(L"");
    EXPECT_EQ(RunBcdedit(store, L"/enum all /v").output, before) << "half-made objects after " << Narrow(step);
  }

  WinPeEntryRequest request{image, L"Rescue", L"Legacy", true, true, true, false};
  ASSERT_TRUE(CreateWinPeEntry(store, request, id, error)) << Narrow(error);
  const BcdSnapshot s = LoadBcdSnapshot(store);
  ASSERT_FALSE(s.entries.empty());
  const BootEntry& pe = s.entries[0];
  EXPECT_EQ(pe.identifier, id);
  EXPECT_TRUE(pe.isWinPe && pe.isDefault && pe.isBootSequence);
  EXPECT_EQ(pe.device.rfind(L"ramdisk=[C:]", 0), 0u) << Narrow(pe.device);
  if (!hadSdi) DeleteFileW(sdi.c_str());
}

TEST(PowerOnWine, FullWindowsUsesShutdown) {
  test::SimSandbox sim;
  EXPECT_FALSE(IsWinPeEnvironment());
  EXPECT_EQ(EnvironmentLabel(), L"Windows");
  const std::wstring firmware = FirmwareTypeLabel();  // looked up at run time: must not abort under Wine
  EXPECT_FALSE(firmware.empty());
  for (const std::wstring action : {L"restart", L"shutdown", L"bios"}) {
    EXPECT_TRUE(RunPowerAction(action).Succeeded()) << Narrow(action);
  }
  EXPECT_EQ(sim.LogLines(), (std::vector<std::wstring>{L"shutdown /r /t 0", L"shutdown /s /t 0", L"shutdown /r /fw /t 0"}));
}

}  // namespace
}  // namespace zel
