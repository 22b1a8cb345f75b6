// The entries list window driven by its own messages under Wine: what a press,
// a release, a double click, the keys and the wheel do to the application's
// selection and which actions reach it.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "ui/language.h"
#include "ui/palette.h"
#include "ui/views/entries_view_win.h"

namespace ui {
namespace {

// Buttons of a listed, non-default entry: up, down, set default, policy, rename, boot once,
// then options on a Windows entry, and delete last.
constexpr int kUp = 0, kSetDefault = 2, kRename = 4, kDelete = 100;

class EntriesWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static const bool registered = RegisterEntriesClass(GetModuleHandleW(nullptr));
    ASSERT_TRUE(registered);
    zel::g_vietnamese = false;
    snapshot_.loaded = true;
    for (int i = 1; i <= 8; ++i) {
      zel::BootEntry e;
      e.identifier = L"{bbbbbbbb-0000-0000-0000-00000000000" + std::to_wstring(i) + L"}";
      e.description = L"Entry " + std::to_wstring(i);
      e.isWindows = true;
      e.inDisplayOrder = true;
      e.displayOrderIndex = i;
      snapshot_.displayOrder.push_back(e.identifier);
      snapshot_.entries.push_back(e);
    }
    selected_ = snapshot_.entries[0].identifier;
    parent_ = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 900, 500, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    list_ = CreateEntriesList(parent_, 108);
    ASSERT_NE(list_, nullptr);
    EXPECT_EQ(GetDlgCtrlID(list_), 108);
    EntriesHost host;
    host.snapshot = &snapshot_;
    host.selectedEntryId = &selected_;
    host.busy = &busy_;
    host.onAction = [this](CardAction action) { actions_.push_back(action); };
    host.onSelectionChanged = [this] { ++selectionChanges_; };
    SetEntriesHost(list_, host);
    MoveWindow(list_, 0, 0, 1600, 400, FALSE);  // wide enough for one-row cards
  }
  void TearDown() override {
    if (parent_) DestroyWindow(parent_);
  }

  const EntriesState& State() const { return *EntriesStateOf(list_); }

  // The client point at the middle of a card's button (kDelete: the last one), or of
  // its free area left of the title when button is -1.
  LPARAM At(int card, int button) const {
    const EntryCard& c = State().layout.cards[static_cast<size_t>(card)];
    if (button == kDelete) button = static_cast<int>(c.buttons.size()) - 1;
    const Rect r = button >= 0 ? c.buttons[static_cast<size_t>(button)].rect : c.iconRect;
    return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2 - State().scroll.scrollPos);
  }
  void Click(UINT down, LPARAM where, LPARAM release) {
    SendMessageW(list_, down, MK_LBUTTON, where);
    SendMessageW(list_, WM_LBUTTONUP, 0, release);
  }

  zel::BcdSnapshot snapshot_;
  std::wstring selected_;
  bool busy_ = false;
  std::vector<CardAction> actions_;
  int selectionChanges_ = 0;
  HWND parent_ = nullptr;
  HWND list_ = nullptr;
};

WPARAM Wheel(int delta) { return MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))); }


// The press selects its card, even on a disabled button; only a release over the pressed
// button acts; a double click renames only on the free area.
TEST_F(EntriesWindowTest, PressAndReleaseActOnlyOverTheSameButton) {
  ASSERT_EQ(State().layout.cards.size(), 8u);
  struct Gesture {
    UINT down;
    int card, button, releaseCard, releaseButton;
    std::vector<CardAction> actions;
  };
  const Gesture gestures[] = {
      {WM_LBUTTONDOWN, 2, kRename, 2, kRename, {CardAction::Rename}},
      {WM_LBUTTONDOWN, 3, kDelete, 3, kDelete, {CardAction::Delete}},
      {WM_LBUTTONDOWN, 3, kSetDefault, 3, kSetDefault, {CardAction::SetDefault}},
      {WM_LBUTTONDOWN, 1, kRename, 1, kDelete, {}},  // slid to another button
      {WM_LBUTTONDOWN, 1, kRename, 2, kRename, {}},  // the same button of another card
      {WM_LBUTTONDOWN, 0, kUp, 0, kUp, {}},          // the first entry cannot move up
      {WM_LBUTTONDOWN, 5, -1, 5, -1, {}},            // a single click on the free area
      {WM_LBUTTONDBLCLK, 4, -1, 4, -1, {CardAction::Rename}},
      {WM_LBUTTONDBLCLK, 4, kDelete, 4, kDelete, {CardAction::Delete}},  // a fast second click on a button
  };
  for (const Gesture& g : gestures) {
    SCOPED_TRACE(&g - gestures);
    actions_.clear();
    const int changes = selectionChanges_;
    const std::wstring card = snapshot_.entries[static_cast<size_t>(g.card)].identifier;
    const bool moves = selected_ != card;
    Click(g.down, At(g.card, g.button), At(g.releaseCard, g.releaseButton));
    EXPECT_EQ(selected_, card);
    EXPECT_EQ(actions_, g.actions);
    EXPECT_EQ(State().pressed, CardHit{});
    EXPECT_EQ(selectionChanges_ - changes, moves ? 1 : 0);  // told once per change, never for the same card
  }
}

TEST_F(EntriesWindowTest, WhileBusyCardsIgnoreTheMouseButTheListStillScrolls) {
  busy_ = true;
  Click(WM_LBUTTONDOWN, At(3, kRename), At(3, kRename));
  Click(WM_LBUTTONDBLCLK, At(3, -1), At(3, -1));
  EXPECT_TRUE(actions_.empty());
  EXPECT_EQ(selected_, snapshot_.entries[0].identifier);
  SendMessageW(list_, WM_MOUSEWHEEL, Wheel(-WHEEL_DELTA), 0);
  EXPECT_EQ(State().scroll.scrollPos, ScaleDpi(64));

  // A job that starts between press and release cancels the action.
  busy_ = false;
  SendMessageW(list_, WM_LBUTTONDOWN, MK_LBUTTON, At(3, kRename));
  busy_ = true;
  SendMessageW(list_, WM_LBUTTONUP, 0, At(3, kRename));
  EXPECT_TRUE(actions_.empty());
}

// Arrows and the ends move the selection and scroll it into view; page keys scroll by
// the view less a little, without touching the selection.
TEST_F(EntriesWindowTest, KeysMoveTheSelectionAndKeepItInView) {
  EXPECT_EQ(SendMessageW(list_, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
  const int toLast = State().layout.cards[7].cardRect.bottom - 400 + ScaleDpi(10);
  const int toFirst = State().layout.cards[0].cardRect.top - ScaleDpi(10);
  const struct {
    WPARAM key;
    size_t selected;
    int scroll;
  } steps[] = {{VK_DOWN, 1, 0},        {VK_END, 7, toLast},   {VK_DOWN, 7, toLast},  // already the last
               {VK_HOME, 0, toFirst},  {VK_PRIOR, 0, 0},      {VK_NEXT, 0, 400 - ScaleDpi(40)},
               {VK_NEXT, 0, State().scroll.MaxScroll()}};
  for (const auto& step : steps) {
    SendMessageW(list_, WM_KEYDOWN, step.key, 0);
    EXPECT_EQ(selected_, snapshot_.entries[step.selected].identifier) << step.key;
    EXPECT_EQ(State().scroll.scrollPos, step.scroll) << step.key;
  }
  EXPECT_EQ(selectionChanges_, 3);
  EXPECT_TRUE(actions_.empty());
}

}  // namespace
}  // namespace ui
