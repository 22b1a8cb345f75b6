#include <gtest/gtest.h>

#include "core/backup_folder.h"
#include "core/bcd_backup.h"
#include "tests/support/fake_platform.h"
#include "tests/support/fault_print.h"

namespace zel {
namespace {

const std::wstring kBeside = L"X:\\Tools\\Backups";
const std::wstring kTempBackups = L"X:\\Temp\\ZelQuillon\\Backups";
const std::wstring kStamp = L"20250302-090507-004";

// The program's folder and the temporary folder, both writable.
struct Machine : test::FakePlatform {
  Machine() {
    AddFolder(L"X:\\Tools");
    AddFolder(L"X:\\Temp");
  }
};

// The folder beside the program, made and proved without a probe left, is checked on Wine
// (BackupFilesOnWine.FolderBesideTheExecutableIsMadeAndProved); here, the ways it falls back.
TEST(BackupFolder, FallsBackToTheTemporaryFolder) {
  {
    Machine fake;  // a file named Backups
    fake.AddFile(kBeside);
    EXPECT_EQ(FindBackupFolder(), kTempBackups);
  }
  {
    Machine fake;  // read-only media
    fake.AddFolder(kBeside);
    fake.readOnlyFolders.insert(L"x:\\tools\\backups");
    EXPECT_EQ(FindBackupFolder(), kTempBackups);
    fake.readOnlyFolders.insert(L"x:\\temp\\zelquillon\\backups");
    EXPECT_EQ(FindBackupFolder(), L"");
    fake.tempFolder.clear();
    EXPECT_EQ(FindBackupFolder(), L"");
  }
  test::FakePlatform fake;  // a path that cannot be read or has no folder: relative to the current folder
  for (const auto& [module, folder] :
       {std::pair{L"", L"."}, {L"ZelQuillonPE.exe", L"."}, {L"D:/pe/tools/ZelQuillonPE.exe", L"D:/pe/tools"}}) {
    fake.moduleFileName = module;
    EXPECT_EQ(ModuleDirectory(), folder) << module;
  }
}

TEST(BackupFolder, PruneSparesThisRunsBackupsThenKeepsTheNewestByTheNamesTime) {
  // The clock set back (older backups created later than the new one) or equal creation times.
  for (const bool clockBehind : {true, false}) {
    Machine fake;
    fake.AddFile(L"D:\\Boot\\BCD", L"store");
    if (clockBehind) fake.now = LocalTime{2001, 1, 1, 0, 0, 0, 0};
    const uint64_t created = clockBehind ? 900 : 0;
    for (int i = 10; i < 38; ++i) {
      fake.AddFile(kBeside + L"\\BCD_Store-D_20250301-1000" + std::to_wstring(i) + L"-000.bcd", L"", 0x20, created);
    }
    // The oldest time, three times over: "_n" breaks the tie. "System" sorts after "Store-D", and
    // the oldest was created last: neither the whole name nor the creation time may decide.
    const std::wstring oldest = kBeside + L"\\BCD_SYSTEM_20250228-235959-999";
    fake.AddFile(oldest + L"_10.bcd", L"", 0x20, created);
    fake.AddFile(oldest + L"_2.bcd", L"", 0x20, created);
    fake.AddFile(oldest + L".BCD", L"", kAttributeReadOnly | kAttributeHidden, created * 2);
    // Not automatic store backups, however old: a name without a time stamp was given by hand. The pruned
    // file's logs going with it, and folders, are checked on Wine
    // (BackupFilesOnWine.PruningDeletesTheOldestWithItsLogs).
    for (const wchar_t* name :
         {L"BCD-Backup.bcd", L"BCD_notes.txt", L"BCD_before-repair.bcd", L"EFI_20000101-000000-000.zip"}) {
      fake.AddFile(kBeside + L"\\" + name);
    }

    std::wstring path;
    Fault error;
    ASSERT_TRUE(BackupStoreBeforeChange(L"D:\\Boot\\BCD", path, error));
    EXPECT_TRUE(fake.Exists(path));
    std::erase_if(fake.removed, [](const std::wstring& removed) { return removed.ends_with(L".tmp"); });  // the probe
    EXPECT_EQ(fake.removed, (std::vector<std::wstring>{oldest + L"_2.bcd", oldest + L".BCD"}));
  }
}

TEST(BcdBackup, ExportCopiesOfflineFilesAndAsksBcdeditForTheLiveHive) {
  test::FakePlatform fake;
  fake.AddFile(L"D:\\Boot\\BCD", L"offline store");
  fake.registry[L"SYSTEM\\CurrentControlSet\\Control\\hivelist|\\REGISTRY\\MACHINE\\BCD00000000"] =
      L"\\Device\\HarddiskVolume1\\EFI\\Microsoft\\Boot\\BCD";
  fake.dosDevices[L"S:"] = L"\\Device\\HarddiskVolume1";
  fake.ReplyWhen(L"/export", 0, L"The operation completed successfully.");
  Fault error;

  EXPECT_TRUE(ExportStore(L"D:\\Boot\\BCD", L"E:\\saved.bcd", error));
  ASSERT_NE(fake.Find(L"E:\\saved.bcd"), nullptr);
  EXPECT_EQ(fake.Find(L"E:\\saved.bcd")->content, L"offline store");
  EXPECT_TRUE(fake.runs.empty());

  // The system store's own export runs end to end (StoreFilesEndToEnd.BackupThenRestoreTheSystemStore).
  EXPECT_TRUE(ExportStore(L"s:\\efi\\microsoft\\boot\\bcd", L"E:\\live.bcd", error));  // the live hive by its path
  EXPECT_EQ(fake.Arguments(), (std::vector<std::wstring>{L"/export \"E:\\live.bcd\""}));

  fake.copyError = 32;
  fake.errorMessages[32] = L"The process cannot access the file because it is being used by another process.\r\n";
  EXPECT_FALSE(ExportStore(L"D:\\Boot\\BCD", L"E:\\saved.bcd", error));
  EXPECT_EQ(error, Said(L"The process cannot access the file because it is being used by another process."));
}

// A failed copy leaves an offline store as it was; the system store goes through bcdedit and a missing
// backup runs nothing. The successful copy over a protected store is checked on Wine
// (BackupFilesOnWine.OfflineStoreCopiesAndProtectedRestore).
TEST(BcdBackup, RestoreFailuresLeaveTheStoreAsItWas) {
  test::FakePlatform fake;
  const uint32_t protectedBits = kAttributeReadOnly | kAttributeHidden | kAttributeSystem;
  fake.AddFile(L"D:\\Boot\\BCD", L"broken", protectedBits);
  fake.AddFile(L"E:\\good.bcd", L"good");
  fake.AddFolder(L"E:\\folder.bcd");
  fake.ReplyWhen(L"/import", 1, L"The store import operation has failed.");
  fake.copyError = 5;
  Fault error;
  EXPECT_FALSE(ImportStore(L"D:\\Boot\\BCD", L"E:\\good.bcd", error));
  EXPECT_EQ(error, Said(L"Win32 error 5"));
  EXPECT_EQ(fake.Find(L"D:\\Boot\\BCD")->attributes, protectedBits);
  EXPECT_EQ(fake.Find(L"D:\\Boot\\BCD")->content, L"broken");
  for (const wchar_t* backup : {L"E:\\folder.bcd", L"E:\\missing.bcd"}) {
    EXPECT_FALSE(ImportStore(L"", backup, error));
    EXPECT_EQ(error, (Fault{FaultKind::BackupFileMissing, backup}));
  }
  EXPECT_TRUE(fake.runs.empty());

  EXPECT_FALSE(ImportStore(L"", L"E:\\good.bcd", error));
  EXPECT_EQ(error, Said(L"The store import operation has failed."));
  EXPECT_EQ(fake.Arguments(), (std::vector<std::wstring>{L"/import \"E:\\good.bcd\""}));
}

// No writable folder at all is reported end to end (ActionsEndToEnd.NoWritableBackupFolderAsksBeforeGoingOn).
TEST(BcdBackup, AutomaticBackupNamesAndFailures) {
  Machine fake;
  fake.AddFile(L"d:\\boot\\BCD", L"store");
  std::wstring path;
  Fault error;

  // A store file that does not exist yet: nothing to save, and that is fine.
  EXPECT_TRUE(BackupStoreBeforeChange(L"F:\\new\\BCD", path, error));
  EXPECT_TRUE(path.empty() && error.empty());

  // Every field of the time zero-padded; more in the same millisecond are numbered.
  for (const wchar_t* suffix : {L"", L"_2", L"_3"}) {
    ASSERT_TRUE(BackupStoreBeforeChange(L"d:\\boot\\BCD", path, error));
    EXPECT_EQ(path, kBeside + L"\\BCD_Store-D_" + kStamp + suffix + L".bcd");
  }

  fake.Reply(0, L"The operation completed successfully.");
  ASSERT_TRUE(BackupStoreBeforeChange(L"", path, error));
  EXPECT_EQ(fake.Arguments(),
            (std::vector<std::wstring>{L"/export \"" + kBeside + L"\\BCD_System_" + kStamp + L".bcd\""}));

  fake.Reply(1, L"Access is denied.");
  path = L"stale";
  EXPECT_FALSE(BackupStoreBeforeChange(L"", path, error));
  EXPECT_TRUE(path.empty());
  EXPECT_EQ(error, Said(L"Access is denied."));
}

}  // namespace
}  // namespace zel
