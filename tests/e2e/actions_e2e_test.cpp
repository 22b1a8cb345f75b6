// Actions of the real program, driven from outside: what the user sees (dialog
// titles and buttons, log lines) and what reaches the tools (the simulator's log and store).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>

#include "core/bcd_store.h"
#include "tests/e2e/app_driver.h"
#include "tests/e2e/started_app.h"
#include "tests/support/sample_store.h"
#include "ui/views/main_texts.h"

namespace zel::test {
namespace {

TEST(ActionsEndToEnd, DeleteAsksFirstAndCancelRunsNothing) {
  Started s;
  ASSERT_TRUE(s.ok);
  s.app->Key(VK_DOWN);  // from the default (Windows 11) to the WinPE entry
  ASSERT_TRUE(s.app->Idle());
  s.app->Command(ui::kDeleteKeyId);
  Answer(*s.app, L"Confirm delete", kSecondButton, {L"Delete", L"Cancel"});
  Sleep(1000);
  EXPECT_TRUE(s.sim.LogLines().empty());

  s.app->Command(ui::kDeleteKeyId);
  Answer(*s.app, L"Confirm delete", kFirstButton);
  ASSERT_TRUE(s.app->WaitForLog(L"> Delete boot entry [OK]"));
  const auto calls = s.sim.LogLines();
  EXPECT_TRUE(calls.size() >= 3 && calls[0].rfind(L"bcdedit /export ", 0) == 0);  // the automatic backup first
  // The WinPE entry takes its own RAM-disk options along, and nothing else.
  std::vector<std::wstring> deletes;
  std::copy_if(calls.begin(), calls.end(), std::back_inserter(deletes),
               [](const std::wstring& call) { return call.starts_with(L"bcdedit /delete "); });
  EXPECT_EQ(deletes, (std::vector<std::wstring>{L"bcdedit /delete " + kSamplePe + L" /cleanup",
                                                L"bcdedit /delete " + kSamplePeOptions + L" /f"}));
  EXPECT_NE(s.app->LogText().find(L"> Auto-backup \u2192 "), std::wstring::npos);
}

TEST(ActionsEndToEnd, TimeoutInputsAndMenuToggle) {
  Started s;
  ASSERT_TRUE(s.ok);
  const HWND edit = GetDlgItem(s.app->Main(), ui::kTimeoutEditId);
  for (const wchar_t* bad : {L"3601", L"-1", L""}) {
    SCOPED_TRACE(WideToUtf8(bad));
    SetWindowTextW(edit, bad);
    s.app->Command(ui::kApplyTimeoutId);
    Answer(*s.app, L"Invalid input", kFirstButton);
  }
  EXPECT_TRUE(s.sim.LogLines().empty());

  SetWindowTextW(edit, L"12abc");
  s.app->Command(ui::kApplyTimeoutId);
  ASSERT_TRUE(s.app->WaitForLog(L"> Change timeout [OK]"));
  EXPECT_TRUE(Contains(s.sim.LogLines(), L"bcdedit /timeout 12"));
  ASSERT_TRUE(s.Reloaded());
  EXPECT_EQ(LoadBcdSnapshot(L"").timeoutSeconds, 12);

  // Enter in the box applies it too.
  s.sim.ClearLog();
  Sleep(1500);
  SetWindowTextW(edit, L"20");
  PostMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));  // the box takes the focus
  PostMessageW(edit, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  Sleep(200);
  s.app->Key(VK_RETURN);
  ASSERT_TRUE(s.Reloaded());
  EXPECT_TRUE(Contains(s.sim.LogLines(), L"bcdedit /timeout 20"));

  s.sim.ClearLog();
  Sleep(1500);
  s.app->Command(ui::kTimeoutPresetFirstId + 4);
  ASSERT_TRUE(s.Reloaded());
  EXPECT_TRUE(Contains(s.sim.LogLines(), L"bcdedit /timeout 30"));

  s.sim.ClearLog();
  Sleep(1500);
  s.app->Command(ui::kShowBootMenuId);
  ASSERT_TRUE(s.Reloaded());
  EXPECT_TRUE(Contains(s.sim.LogLines(), L"bcdedit /set {bootmgr} displaybootmenu no"));
  EXPECT_FALSE(LoadBcdSnapshot(L"").displayBootMenu);
}

TEST(ActionsEndToEnd, AFailedChangeShowsTheErrorAndDoesNotReload) {
  Started s(L"bcdedit /timeout");
  ASSERT_TRUE(s.ok);
  SetWindowTextW(GetDlgItem(s.app->Main(), ui::kTimeoutEditId), L"5");
  s.app->Command(ui::kApplyTimeoutId);
  Answer(*s.app, L"Zel Quillon PE \u2014 Error", kFirstButton);
  EXPECT_NE(s.app->LogText().find(L"> Change timeout [Error] An error occurred"), std::wstring::npos);
  EXPECT_FALSE(Contains(s.sim.LogLines(), L"bcdedit /enum all /v"));  // no reload after a failure
}

TEST(ActionsEndToEnd, NoWritableBackupFolderAsksBeforeGoingOn) {
  Started s;
  ASSERT_TRUE(s.ok);
  // A file where each backup folder would go: beside the program and in the temporary folder.
  CloseHandle(CreateFileW((s.app->Folder() + L"\\Backups").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring blocker = std::wstring(temp) + L"ZelQuillon";
  const bool blocked = GetFileAttributesW(blocker.c_str()) == INVALID_FILE_ATTRIBUTES &&
                       CloseHandle(CreateFileW(blocker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  if (!blocked) GTEST_SKIP() << "the temporary ZelQuillon folder already exists";
  struct Unblock {
    std::wstring path;
    ~Unblock() { DeleteFileW(path.c_str()); }
  } unblock{blocker};

  for (const bool goOn : {false, true}) {
    SetWindowTextW(GetDlgItem(s.app->Main(), ui::kTimeoutEditId), goOn ? L"7" : L"6");
    s.app->Command(ui::kApplyTimeoutId);
    Answer(*s.app, L"Backup warning", goOn ? kFirstButton : kSecondButton, {L"Continue anyway", L"Cancel"});
    if (goOn) {
      ASSERT_TRUE(s.app->WaitForLog(L"> Change timeout [OK]"));
      EXPECT_TRUE(Contains(s.sim.LogLines(), L"bcdedit /timeout 7"));
    } else {
      Sleep(800);
      EXPECT_FALSE(Contains(s.sim.LogLines(), L"bcdedit /timeout 6"));
    }
  }
  EXPECT_NE(s.app->LogText().find(L"> Auto-backup failed: No writable folder was found for the BCD backup."),
            std::wstring::npos);
}

// Enter presses the focused button and no other. A confirmation opens on Cancel; Tab moves to the
// confirming button. A form opens in its text field, where Enter is OK; Tab goes to OK, then Cancel.
TEST(ActionsEndToEnd, EnterPressesTheFocusedButton) {
  Started s;
  ASSERT_TRUE(s.ok);
  struct Case {
    int command, tabs;
    const wchar_t* name;  // typed into the form
    const wchar_t* call;  // what must run; none when cancelled
  };
  const std::wstring rename = L"bcdedit /set {4b91442f-227f-45a6-a76f-4b17f619a5e3} description ";
  for (const Case& c :
       {Case{ui::kRestartId, 0, nullptr, nullptr}, Case{ui::kRestartId, 1, nullptr, L"shutdown /r /t 0"},
        Case{ui::kRenameKeyId, 0, L"Enter0", L"Enter0"}, Case{ui::kRenameKeyId, 1, L"Enter1", L"Enter1"},
        Case{ui::kRenameKeyId, 2, L"Enter2", nullptr}}) {
    SCOPED_TRACE(std::to_string(c.command) + " after " + std::to_string(c.tabs) + " tabs");
    s.sim.ClearLog();
    s.app->Command(c.command);
    const HWND dialog = s.app->WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    if (c.name) SetWindowTextW(GetDlgItem(dialog, 200), c.name);
    for (int i = 0; i < c.tabs; ++i) s.app->Key(VK_TAB);
    s.app->Key(VK_RETURN);
    ASSERT_TRUE(AppDriver::WaitClosed(dialog));
    ASSERT_TRUE(c.command == ui::kRenameKeyId && c.call ? s.Reloaded() : s.app->Idle());
    const auto calls = s.sim.LogLines();
    if (c.call) {
      EXPECT_TRUE(Contains(calls, c.name ? rename + L"\"" + c.name + L"\"" : c.call));
    } else {
      EXPECT_TRUE(calls.empty());
    }
  }
}

TEST(ActionsEndToEnd, PowerAndRawView) {
  Started s;
  ASSERT_TRUE(s.ok);
  struct Power {
    int command;
    const wchar_t* confirm;
    const wchar_t* call;
  };
  for (const Power power : {Power{ui::kRestartId, L"Restart", L"shutdown /r /t 0"},
                            Power{ui::kShutdownId, L"Shut down", L"shutdown /s /t 0"},
                            Power{ui::kFirmwareRestartId, L"Enter BIOS", L"shutdown /r /fw /t 0"}}) {
    for (const bool goOn : {false, true}) {
      s.sim.ClearLog();
      s.app->Command(power.command);
      Answer(*s.app, L"Confirm", goOn ? kFirstButton : kSecondButton, {power.confirm, L"Cancel"});
      for (int i = 0; i < 20 || (goOn && i < 100 && s.sim.LogLines().empty()); ++i) Sleep(50);
      EXPECT_EQ(s.sim.LogLines(), goOn ? std::vector<std::wstring>{power.call} : std::vector<std::wstring>{});
      ASSERT_TRUE(s.app->Idle());  // the job's completion
    }
  }

  Sleep(1000);
  s.app->Command(ui::kRawViewId);
  Answer(*s.app, L"Raw BCDEdit Output (bcdedit /enum all /v)", IDCANCEL);
}

}  // namespace
}  // namespace zel::test
