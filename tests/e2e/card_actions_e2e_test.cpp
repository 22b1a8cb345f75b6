// The card buttons of the real program, clicked where the list draws them: the
// test lays the cards out with the same rules and fonts, then presses and
// releases the mouse over a button as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "core/bcd_store.h"
#include "core/utf8.h"
#include "tests/e2e/app_driver.h"
#include "ui/views/main_texts.h"
#include "tests/support/sample_store.h"
#include "ui/language.h"
#include "ui/theme_win.h"
#include "ui/views/entries_layout.h"

namespace zel::test {
namespace {

const std::wstring &kWin11 = kSampleWin11, &kPe = kSamplePe, &kRecovery = kSampleRecovery;

ui::TextMeasure GdiMeasure() {
  return ui::TextMeasure{
      [](const std::wstring& text, ui::TextFont font) {
        return ui::MeasureTextWidth(text, static_cast<ui::FontSlot>(font)).width;
      },
      [](const std::wstring& text, ui::TextFont font, int width) {
        return ui::MeasureTextHeight(text, static_cast<ui::FontSlot>(font), width);
      }};
}

class CardsEndToEnd : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ui::InitUi(GetModuleHandleW(nullptr)); }
  void SetUp() override {
    g_vietnamese = false;  // the program runs in English too, so the cards measure the same
    sim_.UseSystemStore(sim_.CopyStore(L"uefi-win11.txt", L"system.txt"));
    app_ = std::make_unique<AppDriver>(sim_, "Language=en\r\n");
    ASSERT_TRUE(app_->Started() && app_->WaitForLog(L"/enum all /v [OK]"));
    // Tall enough for every card: a click computed without the list's scroll position must
    // land on what it aims at (a press on a half-hidden card scrolls it first).
    SetWindowPos(app_->Main(), nullptr, 0, 0, 1180, 990, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(app_->Idle());
    list_ = GetDlgItem(app_->Main(), ui::kEntriesId);
    sim_.ClearLog();
  }
  void TearDown() override { g_vietnamese = true; }

  // Presses and releases the mouse over the button of `action` on the card of entry `id`.
  void Click(const std::wstring& id, ui::CardAction action) {
    const BcdSnapshot snapshot = LoadBcdSnapshot(L"");
    RECT client{};
    GetClientRect(list_, &client);
    const ui::EntriesLayout layout = ui::LayoutEntries(snapshot, client.right, GdiMeasure());
    ASSERT_LE(layout.contentHeight, client.bottom) << "the list scrolls: a click would miss";
    for (const auto& card : layout.cards) {
      if (snapshot.entries[static_cast<size_t>(card.entryIndex)].identifier != id) continue;
      for (const auto& button : card.buttons) {
        if (button.action != action) continue;
        const LPARAM at = MAKELPARAM((button.rect.left + button.rect.right) / 2, (button.rect.top + button.rect.bottom) / 2);
        sim_.ClearLog();  // from here on the log holds only what the click caused
        PostMessageW(list_, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(list_, WM_LBUTTONUP, 0, at);
        return;
      }
    }
    ADD_FAILURE() << "no such button on the card";
  }
  // The change's bcdedit call, then the reload after it.
  bool ChangeAndReload(const std::wstring& call) {
    for (int i = 0; i < 300; ++i) {
      const auto lines = sim_.LogLines();
      const auto at = std::find(lines.begin(), lines.end(), call);
      if (at != lines.end() && std::find(at, lines.end(), L"bcdedit /enum {current} /v") != lines.end()) {
        if (!app_->Idle()) return false;  // the reload's completion
        EXPECT_EQ(lines[0].rfind(L"bcdedit /export ", 0), 0u) << "no automatic backup before " << WideToUtf8(call);
        return true;
      }
      Sleep(50);
    }
    return false;
  }

  SimSandbox sim_;
  std::unique_ptr<AppDriver> app_;
  HWND list_ = nullptr;
};

TEST_F(CardsEndToEnd, EveryCardButtonChangesTheStore) {
  Click(kPe, ui::CardAction::SetDefault);
  ASSERT_TRUE(ChangeAndReload(L"bcdedit /default " + kPe));
  Click(kPe, ui::CardAction::BootOnce);
  ASSERT_TRUE(ChangeAndReload(L"bcdedit /bootsequence " + kPe));
  Click(kPe, ui::CardAction::Policy);
  ASSERT_TRUE(ChangeAndReload(L"bcdedit /set " + kPe + L" bootmenupolicy Legacy"));
  Click(kPe, ui::CardAction::MoveUp);
  ASSERT_TRUE(ChangeAndReload(L"bcdedit /displayorder " + kPe + L" " + kWin11 + L" " + kSampleMemtest));
  Click(kRecovery, ui::CardAction::ShowInMenu);
  ASSERT_TRUE(ChangeAndReload(L"bcdedit /displayorder " + kPe + L" " + kWin11 +
                              L" {b2721d73-1db4-4c62-bf78-c548a880142d} " + kRecovery));

  const BcdSnapshot s = LoadBcdSnapshot(L"");
  EXPECT_EQ(s.defaultId, kPe);
  EXPECT_EQ(s.bootSequenceId, kPe);
  ASSERT_EQ(s.entries.size(), 4u);
  EXPECT_EQ(s.entries[0].identifier, kPe);
  EXPECT_EQ(s.entries[0].bootMenuPolicy, L"Legacy");
  EXPECT_TRUE(s.entries[3].inDisplayOrder);

  // One backup file per change, beside the program.
  size_t backups = 0;
  for (const auto& file : std::filesystem::directory_iterator(std::filesystem::path(app_->Folder() + L"\\Backups"))) {
    backups += file.path().extension() == L".bcd";
  }
  EXPECT_EQ(backups, 5u);

  // The first entry moved up and the last moved down start nothing.
  Click(kPe, ui::CardAction::MoveUp);
  Click(kRecovery, ui::CardAction::MoveDown);
  Sleep(1500);
  EXPECT_TRUE(sim_.LogLines().empty());
  EXPECT_TRUE(app_->Close(20000));
}

}  // namespace
}  // namespace zel::test
