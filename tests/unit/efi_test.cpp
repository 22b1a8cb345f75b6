#include <gtest/gtest.h>

#include "core/efi_backup.h"
#include "core/esp.h"
#include "tests/support/fake_platform.h"
#include "tests/support/fault_print.h"

namespace zel {
namespace {

const std::wstring kTar = L"C:\\Windows\\system32\\tar.exe";
const std::wstring kMountvol = L"C:\\Windows\\system32\\mountvol.exe";

// A machine with C: and D: in use, tar present, and mountvol making Z:\ appear.
struct Machine : test::FakePlatform {
  Machine() {
    driveRoots = {L"C:\\", L"D:\\"};
    AddFile(kTar);
    AddFolder(L"Z:\\");
    ReplyWhen(L"/S", 0, L"");
    ReplyWhen(L"/D", 0, L"");
  }
};

// The highest free letter is taken (Z: in the other tests); a mount whose root never appears is undone.
TEST(MountEsp, PicksTheHighestFreeLetterAndUndoesHalfSuccess) {
  std::wstring letter;
  Fault error;
  {
    test::FakePlatform fake;  // Z: taken; Y: mounts "successfully" but its root never appears
    fake.driveRoots = {L"C:\\", L"Z:\\"};
    fake.ReplyWhen(L"", 0, L"");
    EXPECT_FALSE(MountEsp(letter, error));
    EXPECT_TRUE(letter.empty());
    EXPECT_EQ(error.kind, FaultKind::EspNotMounted);
    EXPECT_EQ(fake.Arguments(), (std::vector<std::wstring>{L"Y: /S", L"Y: /D"}));
  }
  {
    test::FakePlatform fake;  // mountvol refuses: its message, nothing to undo
    fake.Reply(1, L"The parameter is incorrect.");
    EXPECT_FALSE(MountEsp(letter, error));
    EXPECT_EQ(error, Said(L"The parameter is incorrect."));
    EXPECT_EQ(fake.runs.size(), 1u);
  }
  test::FakePlatform full;  // every letter from D to Z in use
  for (wchar_t c = L'A'; c <= L'Z'; ++c) full.driveRoots.push_back(std::wstring(1, c) + L":\\");
  EXPECT_FALSE(MountEsp(letter, error));
  EXPECT_EQ(error.kind, FaultKind::NoFreeDriveLetter);
  EXPECT_TRUE(full.runs.empty());
}

TEST(ArchiveListing, RefusesEveryWayOutOfThePartition) {
  Fault error;
  EXPECT_TRUE(
      CheckArchiveListing(L"./\r\nEFI/\r\nEFI/Microsoft/Boot/BCD\r\n   \r\nEFI/Boot/..x/a..b\r\nEFI/.\r\n", error));
  EXPECT_TRUE(CheckArchiveListing(L"", error));
  const auto refused = [&error](const std::wstring& member, const std::wstring& shown) {
    EXPECT_FALSE(CheckArchiveListing(L"EFI/ok\r\n" + member + L"\r\nEFI/../after", error))
        << std::string(shown.begin(), shown.end());
    EXPECT_EQ(error, (Fault{FaultKind::UnsafeArchivePath, shown}));
  };
  // Windows drops a name's trailing blanks and dots: ".. " and "..." are still the parent.
  for (const wchar_t* member :
       {L"/EFI/x", L"D:/x", L"..", L"../x", L"EFI/../../x", L"EFI/.. /x", L"EFI/.../x", L"EFI/x:stream", L"EFI/.."}) {
    refused(member, member);
  }
  refused(L"EFI\\..\\..\\x", L"EFI/../../x");
  refused(L"\\\\server\\share\\x", L"//server/share/x");
}

// A failed pack or final move leaves the older backup as it was and no temporary archive behind.
TEST(BackupEfi, WritesThroughATemporaryArchiveAndAlwaysUnmounts) {
  const std::wstring temporary = L"E:\\efi.zip.tmp-4242.zip";
  for (const int failure : {0, 1, 2}) {  // none, tar, the move over the older backup
    Machine fake;
    fake.AddFile(L"E:\\efi.zip", L"older backup");
    fake.AddFile(temporary, L"stale leftover");
    fake.ReplyWhen(L"-a -cf", failure == 1 ? 2 : 0, L"Process timed out and was terminated.");
    if (failure == 2) fake.moveError = 5;
    fake.onRun = [&](const test::RunCall& run) {
      if (!run.arguments.starts_with(L"-a -cf")) return;
      EXPECT_FALSE(fake.Exists(temporary));  // the leftover went first
      fake.AddFile(temporary, L"new archive");
    };
    Fault error;
    EXPECT_EQ(BackupEfi(L"E:\\efi.zip", error), failure == 0) << failure;
    ASSERT_EQ(fake.Arguments(),
              (std::vector<std::wstring>{L"Z: /S", L"-a -cf \"" + temporary + L"\" -C Z:\\ .", L"Z: /D"}));
    EXPECT_EQ(fake.runs[0].program, kMountvol);
    EXPECT_EQ(fake.runs[1].program, kTar);
    EXPECT_EQ(fake.runs[1].timeoutMs, 600000u);
    EXPECT_FALSE(fake.Exists(temporary));
    EXPECT_EQ(error, failure == 0   ? Fault{}
                     : failure == 1 ? Said(L"Process timed out and was terminated.")
                                    : Said(L"Win32 error 5"));
    ASSERT_TRUE(fake.Exists(L"E:\\efi.zip"));
    EXPECT_EQ(fake.Find(L"E:\\efi.zip")->content, failure == 0 ? L"new archive" : L"older backup");
  }
  test::FakePlatform noTar;
  Fault error;
  EXPECT_FALSE(BackupEfi(L"E:\\efi.zip", error));
  EXPECT_EQ(error.kind, FaultKind::NoTar);
  EXPECT_TRUE(noTar.runs.empty());
}

TEST(SnapshotEfi, PacksThePartitionIntoTheBackupFolderAndPrunesOnlySnapshots) {
  const std::wstring folder = L"X:\\Tools\\Backups";
  const std::wstring snapshot = folder + L"\\EFI_20250302-090507-004.zip";
  const std::wstring pack = L"-a -cf \"" + snapshot + L"\" -C Z:\\ .";
  for (const bool tarFails : {false, true}) {
    Machine fake;
    fake.AddFolder(L"X:\\Tools");
    for (int i = 10; i < 40; ++i) fake.AddFile(folder + L"\\EFI_20250301-0000" + std::to_wstring(i) + L"-000.zip");
    fake.AddFile(folder + L"\\BCD_System_20000101-000000-000.bcd");
    fake.ReplyWhen(L"-a -cf", tarFails ? 1 : 0, L"tar: Couldn't open Z:\\: Access is denied.");
    fake.onRun = [&](const test::RunCall& run) {
      if (run.arguments == pack) fake.AddFile(snapshot, L"archive");
    };
    std::wstring path = L"stale";
    Fault error;
    EXPECT_EQ(SnapshotEfiBeforeChange(path, error), !tarFails);
    EXPECT_EQ(fake.Exists(snapshot), !tarFails);
    EXPECT_EQ(path, tarFails ? L"" : snapshot);
    EXPECT_EQ(error, tarFails ? Said(L"tar: Couldn't open Z:\\: Access is denied.") : Fault{});
    // 30 older snapshots: one more makes the oldest go; the store backup is another kind.
    EXPECT_EQ(fake.Exists(folder + L"\\EFI_20250301-000010-000.zip"), tarFails);
    EXPECT_TRUE(fake.Exists(folder + L"\\EFI_20250301-000011-000.zip"));
    EXPECT_TRUE(fake.Exists(folder + L"\\BCD_System_20000101-000000-000.bcd"));
  }
}

TEST(ArchiveListing, EfiFolderAtTheRoot) {
  const std::pair<const wchar_t*, bool> cases[] = {
      {L"EFI/\r\nEFI/Boot/bootx64.efi\r\n", true},
      {L"efi\\Microsoft\\Boot\\BCD", true},
      {L"./\r\n./EFI/Microsoft/\r\n", true},
      {L"boot/\r\nsources/boot.wim\r\nEFI", false},
      {L"Backup/EFI/Boot/bootx64.efi\r\nEFIX/a\r\n", false},
      {L"", false},
  };
  for (const auto& [listing, expected] : cases) EXPECT_EQ(ListingHasEfiRoot(listing), expected) << listing;
}

TEST(RestoreEfi, ChecksTheListingBeforeMounting) {
  Fault error;
  const std::wstring list = L"-tf \"E:\\efi.zip\"";
  for (const bool hostile : {true, false}) {  // an unsafe member is refused before mounting; a failed unpack unmounts
    Machine fake;
    fake.AddFile(L"E:\\efi.zip");
    fake.ReplyWhen(L"-tf", 0, hostile ? L"EFI/\r\nEFI/../../Windows/System32/evil.dll\r\n" : L"");
    fake.ReplyWhen(L"-xf", 1, L"tar: Error exit delayed from previous errors.");
    EXPECT_FALSE(RestoreEfi(L"E:\\efi.zip", error));
    EXPECT_EQ(error, (hostile ? Fault{FaultKind::UnsafeArchivePath, L"EFI/../../Windows/System32/evil.dll"}
                              : Said(L"tar: Error exit delayed from previous errors.")));
    const std::vector<std::wstring> unpacked = {list, L"Z: /S", L"-xf \"E:\\efi.zip\" -C Z:\\", L"Z: /D"};
    EXPECT_EQ(fake.Arguments(), hostile ? std::vector<std::wstring>{list} : unpacked);
  }
  test::FakePlatform fake;
  EXPECT_FALSE(RestoreEfi(L"E:\\missing.zip", error));
  EXPECT_EQ(error, (Fault{FaultKind::EfiBackupMissing, L"E:\\missing.zip"}));
  fake.AddFile(L"E:\\efi.zip");
  EXPECT_FALSE(RestoreEfi(L"E:\\efi.zip", error));
  EXPECT_EQ(error.kind, FaultKind::NoTarToExtract);
  EXPECT_TRUE(fake.runs.empty());
}

// Only a plain drive with Windows on it reaches bcdboot's command line. The target's own bcdboot runs; its
// words are reported and the partition is unmounted all the same. Success runs end to end (EfiEndToEnd).
TEST(RepairEfi, RunsTheTargetsBcdbootOnTheMountedPartition) {
  Fault error;
  Machine fake;
  fake.AddFolder(L"D:\\Windows");
  fake.AddFolder(L"D: /s C:\\Windows");
  for (const wchar_t* drive : {L"Q:", L"D: /s C:"}) {
    EXPECT_FALSE(RepairEfi(drive, error));
    EXPECT_EQ(error, (Fault{FaultKind::WindowsMissing, std::wstring(drive) + L"\\Windows"}));
  }
  EXPECT_TRUE(fake.runs.empty());
  fake.AddFile(L"D:\\Windows\\System32\\bcdboot.exe");
  fake.ReplyWhen(L"/f UEFI", 1, L"Failure when attempting to copy boot files.");
  EXPECT_FALSE(RepairEfi(L"d", error));
  EXPECT_EQ(error, Said(L"Failure when attempting to copy boot files."));
  ASSERT_EQ(fake.Arguments(), (std::vector<std::wstring>{L"Z: /S", L"\"D:\\Windows\" /s Z: /f UEFI", L"Z: /D"}));
  EXPECT_EQ(fake.runs[1].program, L"D:\\Windows\\System32\\bcdboot.exe");
}

}  // namespace
}  // namespace zel
