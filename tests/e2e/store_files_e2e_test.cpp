// Choosing the store and saving or restoring it, through the program's own
// menu and the common file dialog, as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "core/bcd_store.h"
#include "core/utf8.h"
#include "tests/e2e/started_app.h"
#include "ui/views/main_texts.h"

namespace zel::test {
namespace {

TEST(StoreFilesEndToEnd, BackupThenRestoreTheSystemStore) {
  Started s;
  ASSERT_TRUE(s.ok);
  const std::wstring saved = s.sim.Folder() + L"\\saved.bcd";
  s.app->Command(ui::kBackupBcdId);
  ASSERT_TRUE(s.app->ChooseFile(saved));
  ASSERT_TRUE(s.app->WaitForLog(L"> Backup BCD \u2192 " + saved + L" [OK]"));
  EXPECT_EQ(s.sim.LogLines(), (std::vector<std::wstring>{L"bcdedit /export \"" + saved + L"\""}));
  ASSERT_TRUE(std::filesystem::exists(std::filesystem::path(saved)));

  SetWindowTextW(GetDlgItem(s.app->Main(), ui::kTimeoutEditId), L"9");
  s.app->Command(ui::kApplyTimeoutId);
  ASSERT_TRUE(s.Reloaded());
  ASSERT_EQ(LoadBcdSnapshot(L"").timeoutSeconds, 9);

  for (const bool restore : {false, true}) {
    s.sim.ClearLog();
    s.app->Command(ui::kRestoreBcdId);
    ASSERT_TRUE(s.app->ChooseFile(saved));
    Answer(*s.app, L"Confirm restore", restore ? kFirstButton : kSecondButton, {L"Restore", L"Cancel"});
    if (!restore) {
      Sleep(800);
      EXPECT_TRUE(s.sim.LogLines().empty());
    }
  }
  ASSERT_TRUE(s.app->WaitForLog(L"> Restore BCD [OK]"));
  ASSERT_TRUE(s.Reloaded());
  const auto calls = s.sim.LogLines();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[0].rfind(L"bcdedit /export ", 0), 0u);  // the automatic backup first
  EXPECT_EQ(calls[1], L"bcdedit /import \"" + saved + L"\"");
  EXPECT_EQ(LoadBcdSnapshot(L"").timeoutSeconds, 30);
}

TEST(StoreFilesEndToEnd, PickerBrowserAndAStoreThatDidNotLoad) {
  // A store file on drive C:, where the program finds it at each load.
  std::ifstream sample(std::filesystem::path(Utf8ToWide(ZQ_SIM_STORES_DIR) + L"\\bios-legacy.txt"), std::ios::binary);
  const PlacedFile found(L"C:\\Boot\\BCD", std::string(std::istreambuf_iterator<char>(sample), {}));
  if (!found.made) GTEST_SKIP() << "C:\\Boot\\BCD already exists";
  Started s(L"broken");
  ASSERT_TRUE(s.ok);
  const std::wstring offline = s.sim.CopyStore(L"hidden-entries.txt", L"offline\\BCD");
  const std::wstring broken = s.sim.CopyStore(L"empty.txt", L"broken\\BCD");

  // The picker lists the system store first, then the files found; the second item is C:\Boot\BCD.
  s.app->Command(ui::kStoreSelectorId);
  ASSERT_TRUE(s.app->UseMenu({VK_DOWN, VK_DOWN, VK_RETURN}));
  ASSERT_TRUE(s.Finished(L"bcdedit /store \"C:\\Boot\\BCD\" /enum all /v"));
  EXPECT_EQ(s.app->ControlText(ui::kStoreSelectorId), L"C:\\Boot\\BCD");

  s.sim.ClearLog();
  s.app->Command(ui::kBrowseId);
  ASSERT_TRUE(s.app->ChooseFile(offline));
  ASSERT_TRUE(s.Finished(L"bcdedit /store \"" + offline + L"\" /enum all /v"));
  EXPECT_EQ(s.app->ControlText(ui::kStoreSelectorId), offline);

  // The browsed file is kept at the end of the picker while it is selected; choosing it again reads nothing.
  s.sim.ClearLog();
  s.app->Command(ui::kStoreSelectorId);
  ASSERT_TRUE(s.app->UseMenu({VK_UP, VK_RETURN}));
  Sleep(1000);
  EXPECT_TRUE(s.sim.LogLines().empty());
  // The first item goes back to the system store.
  s.app->Command(ui::kStoreSelectorId);
  ASSERT_TRUE(s.app->UseMenu({VK_DOWN, VK_RETURN}));
  ASSERT_TRUE(s.Finished(L"bcdedit /enum all /v"));
  EXPECT_EQ(s.app->ControlText(ui::kStoreSelectorId), L"System BCD Store (Active)");

  // A store that cannot be read: changes are refused and the store is read again.
  s.app->Command(ui::kBrowseId);
  ASSERT_TRUE(s.app->ChooseFile(broken));
  ASSERT_TRUE(s.app->WaitForLog(L"> Could not read BCD: "));
  s.sim.ClearLog();
  SetWindowTextW(GetDlgItem(s.app->Main(), ui::kTimeoutEditId), L"5");
  s.app->Command(ui::kApplyTimeoutId);
  Answer(*s.app, L"BCD store not loaded", kFirstButton);
  ASSERT_TRUE(s.Finished(L"bcdedit /store \"" + broken + L"\" /enum all /v"));
  for (const auto& call : s.sim.LogLines()) EXPECT_EQ(call.find(L"/timeout"), std::wstring::npos) << WideToUtf8(call);
  // The raw view reads the store first, then shows what the tool printed, failure and all.
  s.sim.ClearLog();
  s.app->Command(ui::kRawViewId);
  Answer(*s.app, L"Raw BCDEdit Output (bcdedit /enum all /v)", IDCANCEL);
  EXPECT_TRUE(Contains(s.sim.LogLines(), L"bcdedit /store \"" + broken + L"\" /enum all /v"));

  // Creating and restoring go on: they are how such a store gets mended.
  for (const int command : {ui::kAddWinPeId, ui::kRestoreBcdId}) {
    s.app->Command(command);
    EXPECT_TRUE(s.app->ChooseFile(L"")) << command;
  }
}

}  // namespace
}  // namespace zel::test
