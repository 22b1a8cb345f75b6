// Creating boot entries and working on the EFI System Partition through the
// program's file dialogs and forms; asserts the tools' calls and what they left.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/bcd_store.h"
#include "core/utf8.h"
#include "sim/tar/zip.h"
#include "tests/e2e/started_app.h"
#include "tests/support/files.h"
#include "ui/views/main_texts.h"

namespace zel::test {
namespace {

const BootEntry* EntryNamed(const BcdSnapshot& snapshot, const std::wstring& description) {
  for (const auto& entry : snapshot.entries) {
    if (entry.description == description) return &entry;
  }
  return nullptr;
}

// Fills the form that comes up: texts by field, then the check boxes clicked, then OK.
void FillForm(const Started& s, const std::wstring& title, const std::vector<std::pair<int, std::wstring>>& texts,
              const std::vector<int>& clicks) {
  const HWND form = s.app->WaitForDialog();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(AppDriver::TitleOf(form), title);
  for (const auto& [id, text] : texts) SetWindowTextW(GetDlgItem(form, id), text.c_str());
  for (const int id : clicks) PostMessageW(form, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
  PostMessageW(form, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(AppDriver::WaitClosed(form));
}

TEST(CreateEndToEnd, WinPeEntryWithoutAndWithEveryOption) {
  const PlacedFile sdi(L"C:\\Boot\\boot.sdi", "sdi");
  Started s;
  ASSERT_TRUE(s.ok);
  const std::wstring image = s.sim.Folder() + L"\\sources\\boot.wim";
  WriteBytes(image, "wim");
  for (const bool options : {false, true}) {
    s.sim.ClearLog();
    s.app->Command(ui::kClearLogId);
    s.app->Command(ui::kAddWinPeId);
    ASSERT_TRUE(s.app->ChooseFile(image));
    const std::wstring name = options ? L"Rescue First" : L"Rescue Last";
    // Fields: 200 the image, 201 the name, 202 legacy menu, 203 first, 204 default, 205 boot once.
    FillForm(s, L"Create Boot Entry for WinPE", {{201, name}}, options ? std::vector<int>{202, 203, 204, 205} : std::vector<int>{});
    ASSERT_TRUE(s.app->WaitForLog(L"> Create WinPE boot entry [OK]"));
    ASSERT_TRUE(s.Reloaded());

    const BcdSnapshot snapshot = LoadBcdSnapshot(L"");
    const BootEntry* pe = EntryNamed(snapshot, name);
    ASSERT_NE(pe, nullptr);
    const std::wstring& id = pe->identifier;
    EXPECT_TRUE(pe->isWinPe);
    EXPECT_EQ(pe->device.rfind(L"ramdisk=[C:]", 0), 0u) << WideToUtf8(pe->device);
    EXPECT_EQ(pe->isDefault, options);
    EXPECT_EQ(pe->isBootSequence, options);
    EXPECT_EQ(pe->bootMenuPolicy, options ? L"Legacy" : L"Standard");
    EXPECT_EQ(options ? snapshot.displayOrder.front() : snapshot.displayOrder.back(), id);

    const auto calls = s.sim.LogLines();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0].rfind(L"bcdedit /export ", 0), 0u);  // the automatic backup first
    EXPECT_TRUE(Contains(calls, L"bcdedit /create /d \"" + name + L" ramdisk options\" /device"));
    EXPECT_TRUE(Contains(calls, L"bcdedit /displayorder " + id + (options ? L" /addfirst" : L" /addlast")));
    EXPECT_EQ(Contains(calls, L"bcdedit /default " + id), options);
    EXPECT_EQ(Contains(calls, L"bcdedit /bootsequence " + id), options);
    EXPECT_NE(s.app->LogText().find(L"> Created WinPE " + id + L" from " + image), std::wstring::npos);
  }
}

TEST(CreateEndToEnd, WindowsEntryByHandAndWithBcdboot) {
  Started s;
  ASSERT_TRUE(s.ok);
  // Fields: 200 the drive, 201 the name, 202 bcdboot, 203 legacy menu, 204 first, 205 default.
  s.app->Command(ui::kAddWindowsId);
  FillForm(s, L"Create Boot Entry for Windows", {{200, L"C:"}, {201, L"Second Windows"}}, {});
  ASSERT_TRUE(s.app->WaitForLog(L"> Create Windows boot entry [OK]"));
  ASSERT_TRUE(s.Reloaded());
  const BcdSnapshot snapshot = LoadBcdSnapshot(L"");
  const BootEntry* added = EntryNamed(snapshot, L"Second Windows");
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->device, L"partition=C:");
  EXPECT_FALSE(added->isDefault);
  EXPECT_TRUE(Contains(s.sim.LogLines(), L"bcdedit /create /d \"Second Windows\" /application osloader"));

  s.sim.ClearLog();
  s.app->Command(ui::kClearLogId);
  s.app->Command(ui::kAddWindowsId);
  FillForm(s, L"Create Boot Entry for Windows", {{200, L"C:"}}, {202, 205});
  ASSERT_TRUE(s.app->WaitForLog(L"> BCDBoot completed."));
  ASSERT_TRUE(s.Reloaded());
  // The system store: no /s; the default is given up to the new loader, so no /d either.
  EXPECT_TRUE(Contains(s.sim.LogLines(), L"bcdboot \"C:\\Windows\"")) << WideToUtf8(s.sim.LogLines().back());

  // A drive without Windows is refused before any tool runs but the automatic backup.
  s.sim.ClearLog();
  s.app->Command(ui::kAddWindowsId);
  FillForm(s, L"Create Boot Entry for Windows", {{200, L"C: & calc"}}, {});
  Answer(*s.app, L"Zel Quillon PE \u2014 Error", kFirstButton);
  for (const auto& call : s.sim.LogLines()) EXPECT_EQ(call.rfind(L"bcdedit /export ", 0), 0u) << WideToUtf8(call);
}

TEST(EfiEndToEnd, BackupRestoreAnUnsafeArchiveAndRepair) {
  std::wstring esp;
  Started s(L"", [&esp](SimSandbox& sim) {
    esp = sim.Folder() + L"\\esp";
    WriteBytes(esp + L"\\EFI\\Boot\\bootx64.efi", "original");
    sim.UseEsp(esp);
  });
  ASSERT_TRUE(s.ok);
  const std::wstring zip = s.sim.Folder() + L"\\efi.zip";
  s.app->Command(ui::kBackupEfiId);
  ASSERT_TRUE(s.app->ChooseFile(zip));
  ASSERT_TRUE(s.app->WaitForLog(L"> Backup EFI \u2192 " + zip + L" [OK]"));
  auto calls = s.sim.LogLines();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0], L"mountvol Y: /S");
  EXPECT_EQ(calls[1].rfind(L"tar -a -cf ", 0), 0u);
  EXPECT_EQ(calls[2], L"mountvol Y: /D");
  std::vector<sim::zip::Entry> members;
  std::string reason;
  ASSERT_TRUE(sim::zip::Read(ReadBytes(zip), members, reason)) << reason;
  EXPECT_TRUE(std::any_of(members.begin(), members.end(), [](const sim::zip::Entry& member) {
    return member.name == "EFI/Boot/bootx64.efi" && member.data == "original";
  }));

  WriteBytes(esp + L"\\EFI\\Boot\\bootx64.efi", "changed");
  for (const bool restore : {false, true}) {
    s.sim.ClearLog();
    s.app->Command(ui::kRestoreEfiId);
    ASSERT_TRUE(s.app->ChooseFile(zip));
    Answer(*s.app, L"Confirm EFI restore", restore ? kFirstButton : kSecondButton, {L"Restore", L"Cancel"});
    if (!restore) {
      Sleep(800);
      EXPECT_TRUE(s.sim.LogLines().empty());
    }
  }
  ASSERT_TRUE(s.app->WaitForLog(L"> Restore EFI \u2190 " + zip + L" [OK]"));
  ASSERT_TRUE(s.Reloaded());
  EXPECT_EQ(ReadBytes(esp + L"\\EFI\\Boot\\bootx64.efi"), "original");
  // The archive is checked before anything is mounted; the partition as it was goes to the backup
  // folder; the archive is checked again right before it is extracted; then the store is read again.
  const std::wstring snapshots = s.app->Folder() + L"\\Backups\\EFI_";
  calls = s.sim.LogLines();
  ASSERT_EQ(calls.size(), 11u);
  const size_t quote = calls[2].find(L'"');  // tar -a -cf "<snapshot>" -C Y:\ .
  const std::wstring snapshot = calls[2].substr(quote + 1, calls[2].find(L'"', quote + 1) - quote - 1);
  EXPECT_TRUE(snapshot.starts_with(snapshots)) << WideToUtf8(snapshot);
  const std::wstring check = L"tar -tf \"" + zip + L"\"";
  std::sort(calls.begin() + 8, calls.end());  // the reload's runs, at the same time, logged in any order
  EXPECT_EQ(calls, (std::vector<std::wstring>{check, L"mountvol Y: /S", L"tar -a -cf \"" + snapshot + L"\" -C Y:\\ .",
                                              L"mountvol Y: /D", check, L"mountvol Y: /S",
                                              L"tar -xf \"" + zip + L"\" -C Y:\\", L"mountvol Y: /D",
                                              L"bcdedit /enum all /v", L"bcdedit /enum {current} /v",
                                              L"bcdedit /enum {default} /v"}));
  EXPECT_NE(s.app->LogText().find(L"> Auto-backup EFI \u2192 " + snapshot + L" [OK]"), std::wstring::npos);
  ASSERT_TRUE(sim::zip::Read(ReadBytes(snapshot), members, reason)) << reason;
  EXPECT_TRUE(std::any_of(members.begin(), members.end(), [](const sim::zip::Entry& member) {
    return member.name == "EFI/Boot/bootx64.efi" && member.data == "changed";
  }));

  // An archive that would write outside the partition: refused after the listing, nothing mounted.
  const std::wstring hostile = s.sim.Folder() + L"\\hostile.zip";
  sim::zip::Writer writer;
  writer.Add(sim::zip::Entry{"EFI/Boot/bootx64.efi", "ok", {}});
  writer.Add(sim::zip::Entry{"EFI/../../evil.efi", "bad", {}});
  WriteBytes(hostile, writer.Finish());
  s.sim.ClearLog();
  s.app->Command(ui::kRestoreEfiId);
  ASSERT_TRUE(s.app->ChooseFile(hostile));
  Answer(*s.app, L"Confirm EFI restore", kFirstButton);
  Answer(*s.app, L"EFI restore error", kFirstButton);
  EXPECT_EQ(s.sim.LogLines(), (std::vector<std::wstring>{L"tar -tf \"" + hostile + L"\""}));
  EXPECT_EQ(ReadBytes(esp + L"\\EFI\\Boot\\bootx64.efi"), "original");

  s.sim.ClearLog();
  s.app->Command(ui::kRepairEfiId);
  FillForm(s, L"Repair EFI with BCDBoot", {{200, L"C:"}}, {});
  ASSERT_TRUE(s.app->WaitForLog(L"> Repair EFI from C:\\Windows [OK]"));
  calls = s.sim.LogLines();
  ASSERT_GE(calls.size(), 6u);
  EXPECT_EQ(calls[1].rfind(L"tar -a -cf \"" + snapshots, 0), 0u);  // the snapshot first
  EXPECT_EQ(calls[3], L"mountvol Y: /S");
  EXPECT_EQ(calls[4], L"bcdboot \"C:\\Windows\" /s Y: /f UEFI");
  EXPECT_EQ(calls[5], L"mountvol Y: /D");
}

TEST(EfiEndToEnd, AFailedSnapshotAsksAndAnArchiveWithoutEfiIsQuestioned) {
  std::wstring esp;
  Started s(L"\\Backups\\EFI_", [&esp](SimSandbox& sim) {
    esp = sim.Folder() + L"\\esp";
    WriteBytes(esp + L"\\EFI\\Boot\\bootx64.efi", "original");
    sim.UseEsp(esp);
  });
  ASSERT_TRUE(s.ok);
  // Cancel at the warning: only the failed snapshot ran; then continue without it.
  for (const bool go : {false, true}) {
    s.sim.ClearLog();
    s.app->Command(ui::kRepairEfiId);
    FillForm(s, L"Repair EFI with BCDBoot", {{200, L"C:"}}, {});
    Answer(*s.app, L"Backup warning", go ? kFirstButton : kSecondButton, {L"Continue anyway", L"Cancel"});
    if (!go) {
      ASSERT_TRUE(s.app->Idle());
    }
    const bool repaired = go && s.app->WaitForLog(L"> Repair EFI from C:\\Windows [OK]");
    EXPECT_EQ(repaired, go);
    EXPECT_EQ(Contains(s.sim.LogLines(), L"bcdboot \"C:\\Windows\" /s Y: /f UEFI"), go);
  }
  EXPECT_NE(s.app->LogText().find(L"> Auto-backup EFI failed: "), std::wstring::npos);

  // An archive without an EFI folder at its root is questioned before anything is mounted.
  const std::wstring other = s.sim.Folder() + L"\\other.zip";
  sim::zip::Writer writer;
  writer.Add(sim::zip::Entry{"Windows/notes.txt", "x", {}});
  WriteBytes(other, writer.Finish());
  s.sim.ClearLog();
  s.app->Command(ui::kRestoreEfiId);
  ASSERT_TRUE(s.app->ChooseFile(other));
  Answer(*s.app, L"Confirm EFI restore", kFirstButton);
  Answer(*s.app, L"Not an EFI backup?", kSecondButton, {L"Restore anyway", L"Cancel"});
  ASSERT_TRUE(s.app->Idle());
  EXPECT_EQ(s.sim.LogLines(), (std::vector<std::wstring>{L"tar -tf \"" + other + L"\""}));
}

}  // namespace
}  // namespace zel::test
