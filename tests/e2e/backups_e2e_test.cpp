// The backup history and Ctrl+Z: what they list, and that a restore brings the
// store back byte for byte and can itself be undone.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/e2e/list_dialog.h"
#include "tests/e2e/started_app.h"
#include "tests/support/files.h"
#include "ui/views/main_texts.h"

namespace zel::test {
namespace {

void ChangeTimeout(Started& s, const wchar_t* seconds) {
  SetWindowTextW(GetDlgItem(s.app->Main(), ui::kTimeoutEditId), seconds);
  s.sim.ClearLog();
  s.app->Command(ui::kApplyTimeoutId);
  ASSERT_TRUE(s.Reloaded());
}

void Undo(Started& s) {
  s.sim.ClearLog();
  s.app->Command(ui::kUndoKeyId);
  Answer(*s.app, L"Undo the last change", kFirstButton);
  ASSERT_TRUE(s.Reloaded());
}

TEST(BackupsEndToEnd, UndoRestoresTheStoreByteForByteAndCanBeUndone) {
  Started s;
  ASSERT_TRUE(s.ok);
  s.app->Command(ui::kUndoKeyId);  // nothing changed yet
  Answer(*s.app, L"Nothing to undo", kFirstButton);
  const std::string original = ReadBytes(s.store);
  ChangeTimeout(s, L"12");
  const std::string changed = ReadBytes(s.store);
  ASSERT_NE(changed, original);
  Undo(s);
  EXPECT_EQ(ReadBytes(s.store), original);
  Undo(s);  // the undo was backed up first
  EXPECT_EQ(ReadBytes(s.store), changed);

  // The history: the newest first, each with its store and its change; restoring the
  // second newest (taken before the first undo) brings the changed store back.
  ChangeTimeout(s, L"7");
  s.app->Command(ui::kBackupsId);
  HWND dialog = s.app->WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(AppDriver::TitleOf(dialog), L"Backup History");
  const auto rows = ListRows(dialog);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0], L"BCD STORE BACKUPS (4)");
  for (size_t i = 1; i < rows.size(); ++i) {
    EXPECT_NE(rows[i].find(L"System BCD Store (Active)"), std::wstring::npos) << WideToUtf8(rows[i]);
  }
  EXPECT_NE(rows[1].find(L"  \u2014  Change timeout \u2014 "), std::wstring::npos);
  EXPECT_NE(rows[2].find(L"  \u2014  Undo: Undo: Change timeout \u2014 "), std::wstring::npos);
  EXPECT_NE(rows[3].find(L"  \u2014  Undo: Change timeout \u2014 "), std::wstring::npos);
  s.sim.ClearLog();
  ChooseRow(dialog, 3, 0);
  ASSERT_TRUE(AppDriver::WaitClosed(dialog));
  Answer(*s.app, L"Confirm restore", kFirstButton);
  ASSERT_TRUE(s.Reloaded());
  EXPECT_EQ(ReadBytes(s.store), changed);
}

// Pruning keeps 30 and the index lines of the pruned ones go with them; a damaged index
// loses what it said, never the backups.
TEST(BackupsEndToEnd, HistoryAfterPruningAndWithADamagedIndex) {
  Started s(L"", [](SimSandbox& sim) {
    const std::filesystem::path folder = std::filesystem::path(sim.Folder()) / L"app" / L"Backups";
    std::filesystem::create_directories(folder);
    std::ofstream index(folder / L"history.txt", std::ios::binary);
    for (int i = 0; i < 32; ++i) {
      char name[64];
      snprintf(name, sizeof name, "BCD_System_20200101-0000%02d-000.bcd", i);
      std::ofstream(folder / name, std::ios::binary) << "old";
      index << name << "\t2020-01-01 00:00:" << (i < 10 ? "0" : "") << i << "\t\tOld change " << i << "\n";
    }
    index << "\xff\xfe garbage\tBCD_System_..\\..\\evil.bcd\t\t\n";
  });
  ASSERT_TRUE(s.ok);
  ChangeTimeout(s, L"12");
  s.app->Command(ui::kBackupsId);
  HWND dialog = s.app->WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  auto rows = ListRows(dialog);
  ASSERT_EQ(rows.size(), 31u);  // the title and the 30 kept: this session's, then the newest old ones
  EXPECT_NE(rows[1].find(L"Change timeout"), std::wstring::npos);
  EXPECT_NE(rows[2].find(L"2020-01-01 00:00:31  \u2014  Old change 31"), std::wstring::npos);
  EXPECT_NE(rows[30].find(L"Old change 3 "), std::wstring::npos);
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(AppDriver::WaitClosed(dialog));
  EXPECT_TRUE(s.app->Idle());
}

}  // namespace
}  // namespace zel::test
