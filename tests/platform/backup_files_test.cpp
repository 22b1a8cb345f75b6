// Backup folders, pruning and store copies with real files under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "core/backup_folder.h"
#include "core/bcd_backup.h"
#include "core/bcd_store.h"
#include "core/system.h"
#include "core/utf8.h"
#include "tests/support/files.h"
#include "tests/support/sim_sandbox.h"

namespace zel {
namespace {

using test::WriteBytes;

TEST(BackupFilesOnWine, FolderBesideTheExecutableIsMadeAndProved) {
  const std::wstring expected = ModuleDirectory() + L"\\Backups";
  const bool existed = GetFileAttributesW(expected.c_str()) != INVALID_FILE_ATTRIBUTES;
  EXPECT_EQ(FindBackupFolder(), expected);
  EXPECT_NE(GetFileAttributesW(expected.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::path(expected)) || existed);  // no probe left behind
  if (!existed) RemoveDirectoryW(expected.c_str());

  test::SimSandbox sim;  // the fallback in the temporary folder is two levels deep
  EXPECT_TRUE(IsWritableFolder(sim.Folder() + L"\\deep\\new\\Backups"));
}

TEST(BackupFilesOnWine, PruningDeletesTheOldestWithItsLogs) {
  test::SimSandbox sim;
  const std::wstring folder = sim.Folder() + L"\\Backups";
  CreateDirectoryW(folder.c_str(), nullptr);
  for (int i = 0; i < 31; ++i) {
    WriteBytes(folder + L"\\BCD_System_20250301-000" + std::to_wstring(100 + i) + L"-000.bcd", "backup");
  }
  const std::wstring oldest = folder + L"\\BCD_System_20250301-000100-000.bcd";
  for (const auto& suffix : HiveLogSuffixes) WriteBytes(oldest + suffix, "log");
  SetFileAttributesW(oldest.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  CreateDirectoryW((folder + L"\\bcd_dir.bcd").c_str(), nullptr);

  PruneBackups(folder);
  EXPECT_FALSE(FileExists(oldest));
  for (const auto& suffix : HiveLogSuffixes) EXPECT_FALSE(FileExists(oldest + suffix));
  EXPECT_TRUE(FileExists(folder + L"\\BCD_System_20250301-000101-000.bcd"));
  EXPECT_TRUE(FileExists(folder + L"\\BCD_System_20250301-000130-000.bcd"));
  EXPECT_NE(GetFileAttributesW((folder + L"\\bcd_dir.bcd").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(BackupFilesOnWine, OfflineStoreCopiesAndProtectedRestore) {
  test::SimSandbox sim;
  const std::wstring store = sim.CopyStore(L"uefi-win11.txt", L"BCD");
  const std::wstring saved = sim.Folder() + L"\\saved.bcd";
  Fault error;
  ASSERT_TRUE(ExportStore(store, saved, error)) << WideToUtf8(error.detail);

  // Break the store, protect it as boot media does, give it stale logs, then restore.
  WriteBytes(store, "not a store");
  for (const auto& suffix : HiveLogSuffixes) WriteBytes(store + suffix, "log");
  const DWORD protectedBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  SetFileAttributesW(store.c_str(), protectedBits);
  ASSERT_TRUE(ImportStore(store, saved, error)) << WideToUtf8(error.detail);
  EXPECT_EQ(GetFileAttributesW(store.c_str()) & protectedBits, protectedBits);
  for (const auto& suffix : HiveLogSuffixes) EXPECT_FALSE(FileExists(store + suffix));
  EXPECT_TRUE(LoadBcdSnapshot(store).loaded);

  // A restore that cannot copy (the backup is locked) leaves the store and its attributes alone.
  HANDLE lock = CreateFileW(saved.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(ImportStore(store, saved, error));
  EXPECT_FALSE(error.empty());
  CloseHandle(lock);
  EXPECT_EQ(GetFileAttributesW(store.c_str()) & protectedBits, protectedBits);
  SetFileAttributesW(store.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace zel
