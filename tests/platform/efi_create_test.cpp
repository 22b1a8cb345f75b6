// Failures on the EFI System Partition and in entry creation, through the simulated
// tools under Wine: real mounts, real files, real store edits undone.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/command_runner.h"
#include "core/efi_backup.h"
#include "core/entry_create.h"
#include "core/utf8.h"
#include "tests/support/files.h"
#include "tests/support/sim_sandbox.h"

namespace zel {
namespace {

using test::ReadBytes;
using test::WriteBytes;

size_t CountLines(const std::vector<std::wstring>& log, const std::wstring& suffix) {
  return static_cast<size_t>(std::count_if(log.begin(), log.end(), [&](const std::wstring& line) {
    return line.rfind(L"mountvol ", 0) == 0 && line.ends_with(suffix);
  }));
}

// A failed backup keeps the older one and leaves no temporary archive; every mount, the
// failed repair's too, is undone and nothing stays mounted.
TEST(EspOnWine, FailuresUnmountAndKeepTheOlderBackup) {
  test::SimSandbox sim;
  WriteBytes(sim.Folder() + L"\\esp\\EFI\\Boot\\bootx64.efi", "fallback loader");
  sim.UseEsp(sim.Folder() + L"\\esp");
  const std::wstring zip = sim.Folder() + L"\\EFI Backup.zip";
  WriteBytes(zip, "older backup");
  Fault error;
  sim.FailWhen(L"tar -a -cf");
  EXPECT_FALSE(BackupEfi(zip, error));
  EXPECT_NE(error.detail.find(L"simulated failure"), std::wstring::npos);
  EXPECT_EQ(ReadBytes(zip), "older backup");
  for (const auto& item : std::filesystem::directory_iterator(std::filesystem::path(sim.Folder()))) {
    EXPECT_EQ(item.path().wstring().find(L".tmp-"), std::wstring::npos) << item.path().string();
  }
  sim.FailWhen(L"bcdboot");
  EXPECT_FALSE(RepairEfi(L"C:", error));

  const auto log = sim.LogLines();
  EXPECT_EQ(CountLines(log, L" /S"), 2u);
  EXPECT_EQ(CountLines(log, L" /D"), 2u);
  EXPECT_EQ(GetFileAttributesW(L"Y:\\"), INVALID_FILE_ATTRIBUTES);
}

// Each step failing in turn leaves the store exactly as it was.
TEST(CreateOnWine, WinPeEntryRollsBackAfterEachFailure) {
  test::SimSandbox sim;
  const std::wstring image = sim.Folder() + L"\\sources\\boot.wim";
  WriteBytes(image, "wim");
  const std::wstring sdi = L"C:\\Boot\\boot.sdi";
  const bool hadSdi = std::filesystem::exists(std::filesystem::path(sdi));
  if (!hadSdi) WriteBytes(sdi, "sdi");
  const std::wstring store = sim.CopyStore(L"uefi-win11.txt", L"BCD");
  const std::wstring before = RunBcdedit(store, L"/enum all /v").output;

  std::wstring id;
  Fault error;
  for (const std::wstring step : {L"/device", L"ramdisksdipath", L"osloader", L"winpe yes", L"/displayorder"}) {
    sim.ClearLog();
    sim.FailWhen(step);
    WinPeEntryRequest request{image, L"Rescue", MenuPolicy::Standard, false, false, false, false};
    EXPECT_FALSE(CreateWinPeEntry(store, request, id, error)) << WideToUtf8(step);
    EXPECT_TRUE(id.empty());
    const auto log = sim.LogLines();
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [&](const std::wstring& line) { return line.find(step) != line.npos; }))
        << "never reached " << WideToUtf8(step);
    sim.FailWhen(L"");
    EXPECT_EQ(RunBcdedit(store, L"/enum all /v").output, before) << "half-made objects after " << WideToUtf8(step);
  }
  if (!hadSdi) DeleteFileW(sdi.c_str());
}

}  // namespace
}  // namespace zel
