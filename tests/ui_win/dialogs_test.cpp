// The modal dialogs driven the way a user would: a helper thread finds the
// dialog window, looks at it, and clicks or types into it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>
#include <vector>

#include "tests/support/language_guard.h"
#include "ui/controls_win.h"
#include "ui/dialogs_win.h"
#include "ui/theme_win.h"

namespace ui {
namespace {

struct Child {
  HWND window;
  int id;
  RECT rect;
  std::wstring text;
  ButtonStyle style;  // read while the dialog is open and waiting for input
};

std::vector<Child> ChildrenOf(HWND dialog) {
  std::vector<Child> children;
  EnumChildWindows(
      dialog,
      [](HWND window, LPARAM list) CALLBACK -> BOOL {
        RECT r{};
        GetWindowRect(window, &r);
        ButtonStyle style;
        ButtonStyleOf(window, style);
        reinterpret_cast<std::vector<Child>*>(list)->push_back(
            Child{window, GetDlgCtrlID(window), r, GetWindowTextString(window), style});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  return children;
}

HWND WaitForDialog() {
  for (int i = 0; i < 200; ++i) {
    if (HWND dialog = FindWindowW(L"ZelQuillonPE.Dialog", nullptr)) {
      if (IsWindowVisible(dialog)) return dialog;
    }
    Sleep(25);
  }
  return nullptr;
}

// Runs `drive` on another thread against the next dialog while `show` runs modally here.
template <typename Show>
auto WithDriver(std::function<void(HWND dialog)> drive, Show show) {
  std::thread driver([&] {
    HWND dialog = WaitForDialog();
    if (dialog) drive(dialog);
  });
  auto result = show();
  driver.join();
  return result;
}

void Click(HWND dialog, int id) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

class DialogsOnWine : public ::testing::Test {
 protected:
  void SetUp() override {
    owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 600, 400, nullptr,
                             nullptr, UiInstance(), nullptr);
    ASSERT_NE(owner_, nullptr);
  }
  void TearDown() override { DestroyWindow(owner_); }
  HWND owner_ = nullptr;
};

TEST_F(DialogsOnWine, MessageButtonsOrderChoiceAndOwner) {
  bool ownerDisabled = false;
  std::vector<Child> buttons;
  HWND focused = nullptr;
  const int chosen = WithDriver(
      [&](HWND dialog) {
        ownerDisabled = !IsWindowEnabled(owner_);
        buttons = ChildrenOf(dialog);
        GUITHREADINFO gui{sizeof(gui)};
        for (int i = 0; i < 80 && !focused; ++i, Sleep(25)) {
          if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &gui)) focused = gui.hwndFocus;
        }
        Click(dialog, 100);
      },
      [&] {
        return ShowMessage(owner_, L"Confirm", L"Delete it?", MessageKind::Question, {L"Delete", L"Cancel"}, 0, 1);
      });
  EXPECT_EQ(chosen, 0);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(IsWindowEnabled(owner_));
  ASSERT_EQ(buttons.size(), 2u);
  std::sort(buttons.begin(), buttons.end(), [](const Child& a, const Child& b) { return a.rect.left < b.rect.left; });
  EXPECT_EQ(buttons[0].text, L"Cancel");  // the list runs right to left
  EXPECT_EQ(focused, buttons[0].window);  // the default index: Enter alone never confirms
  EXPECT_EQ(buttons[1].text, L"Delete");
  EXPECT_EQ(buttons[1].id, 100);
  EXPECT_EQ(buttons[1].style.variant, ButtonVariant::Danger);  // the confirming button, drawn red
  EXPECT_EQ(buttons[0].style.variant, ButtonVariant::Default);

  // Without a danger button the rightmost one is the primary.
  ButtonVariant first = ButtonVariant::Default;
  WithDriver(
      [&](HWND dialog) {
        for (const auto& b : ChildrenOf(dialog)) {
          if (b.id == 100) first = b.style.variant;
        }
        Click(dialog, 101);
      },
      [&] { return ShowMessage(owner_, L"Restart", L"Restart now?", MessageKind::Question, {L"Restart", L"Cancel"}, -1, 1); });
  EXPECT_EQ(first, ButtonVariant::Primary);

  // Escape: the focused Cancel button passes it to the dialog manager, which closes with -1.
  const int escaped = WithDriver(
      [&](HWND dialog) {
        HWND focused = nullptr;
        for (const auto& b : ChildrenOf(dialog)) focused = b.id == 101 ? b.window : focused;
        PostMessageW(focused, WM_KEYDOWN, VK_ESCAPE, 0);
      },
      [&] { return ShowMessage(owner_, L"Confirm", L"Delete it?", MessageKind::Warning, {L"Delete", L"Cancel"}, 0, 1); });
  EXPECT_EQ(escaped, -1);
  EXPECT_TRUE(IsWindowEnabled(owner_));
}

TEST_F(DialogsOnWine, FormRefusesABlankRequiredFieldAndKeepsTheSpecOnEscape) {
  FormSpec form;
  form.title = L"Rename";
  form.fields = {FormField{FieldType::Text, L"Name", L"Old name", false, true},
                 FormField{FieldType::CheckBox, L"Also make it the default", L"", false, false},
                 FormField{FieldType::Choice, L"Mode", L"", false, false, {L"Off", L"Low", L"High"}, 0}};
  const int high = kFormSegmentFirstId + 2 * kFormMaxSegments + 2;
  form.okText = L"OK";
  form.cancelText = L"Cancel";

  FormSpec untouched = form;
  const bool escaped = WithDriver(
      [&](HWND dialog) {
        for (const auto& c : ChildrenOf(dialog)) {
          if (c.id == 200) SetWindowTextW(c.window, L"typed but discarded");
        }
        Click(dialog, high);
        Click(dialog, IDCANCEL);
      },
      [&] { return ShowForm(owner_, form); });
  EXPECT_FALSE(escaped);
  EXPECT_EQ(form.fields[0].value, untouched.fields[0].value);
  EXPECT_EQ(form.fields[2].choice, 0);

  bool stayedOpen = false;
  const bool accepted = WithDriver(
      [&](HWND dialog) {
        HWND edit = nullptr, box = nullptr;
        for (const auto& c : ChildrenOf(dialog)) {
          if (c.id == 200) edit = c.window;
          if (c.id == 201) box = c.window;
        }
        SetWindowTextW(edit, L"  \t ");
        Click(dialog, IDOK);
        Sleep(300);
        stayedOpen = IsWindow(dialog) && IsWindowVisible(dialog);
        SetWindowTextW(edit, L"  New name  ");
        Click(dialog, 201);  // the check box toggles
        Click(dialog, high - 1);
        Click(dialog, high);  // the last segment clicked is the one chosen
        Click(dialog, IDOK);
        (void)box;
      },
      [&] { return ShowForm(owner_, form); });
  EXPECT_TRUE(stayedOpen);
  EXPECT_TRUE(accepted);
  EXPECT_EQ(form.fields[0].value, L"New name");
  EXPECT_TRUE(form.fields[1].checked);
  EXPECT_EQ(form.fields[2].choice, 2);
}

// Group titles are passed over by the keyboard, the actions follow the row, and Enter runs
// the first action the row allows.
TEST_F(DialogsOnWine, ListSkipsGroupTitlesAndOffersOnlyTheActionsOfTheRow) {
  ListSpec list;
  list.title = L"Backups";
  list.rows = {ListRow{L"Store", L"", L"", 0, true}, ListRow{L"one", L"a"}, ListRow{L"two", L"b"},
               ListRow{L"Partition", L"", L"", 0, true}, ListRow{L"three", L"c", L"EFI", Accent}};
  list.actions = {{L"Restore", 0}, {L"Only the last", 0}};
  list.enabled = [](int action, int row) { return row >= 0 && (action == 0 || row == 4); };
  bool lastFirst = true, lastLater = false;
  const int chosen = WithDriver(
      [&](HWND dialog) {
        HWND box = GetDlgItem(dialog, kListBoxId), last = GetDlgItem(dialog, kListFirstActionId + 1);
        lastFirst = IsWindowEnabled(last);
        for (int i = 0; i < 2; ++i) SendMessageW(box, WM_KEYDOWN, VK_DOWN, 0);  // two, then over "Partition"
        lastLater = IsWindowEnabled(last);
        Click(dialog, kListFirstActionId + 1);
      },
      [&] { return ShowList(owner_, list); });
  EXPECT_FALSE(lastFirst);
  EXPECT_TRUE(lastLater);
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(list.selected, 4);

  list.selected = 2;
  const int entered = WithDriver([&](HWND dialog) { PostMessageW(GetDlgItem(dialog, kListBoxId), WM_KEYDOWN, VK_RETURN, 0); },
                                 [&] { return ShowList(owner_, list); });
  EXPECT_EQ(entered, 0);
  EXPECT_EQ(list.selected, 2);
}

TEST_F(DialogsOnWine, TextDialogCopiesAndSaysSo) {
  zel::test::LanguageGuard english(false);
  std::wstring before, after, clipboard;
  WithDriver(
      [&](HWND dialog) {
        HWND copy = nullptr;
        for (const auto& c : ChildrenOf(dialog)) copy = c.id == 11 ? c.window : copy;
        before = GetWindowTextString(copy);
        Click(dialog, 11);
        Sleep(300);
        after = GetWindowTextString(copy);
        Click(dialog, IDCANCEL);
      },
      [&] {
        ShowText(owner_, L"Raw BCD", L"\r\nline one\r\nline two\r\n\r\n");
        return 0;
      });
  EXPECT_EQ(before, L"Copy to Clipboard");
  EXPECT_EQ(after, L"Copied!");
  ASSERT_TRUE(OpenClipboard(nullptr));
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    clipboard = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  EXPECT_EQ(clipboard, L"\r\nline one\r\nline two\r\n\r\n");
}

}  // namespace
}  // namespace ui
