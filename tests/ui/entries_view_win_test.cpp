// The entries list window driven by its own messages under Wine: what a press,
// a release, a double click, the keys and the wheel do to the application's
// selection and which actions reach it.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "core/language.h"
#include "ui/palette.h"
#include "ui/views/entries_view_win.h"

namespace ui {
namespace {

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

  // The client point at the middle of a card's button, or of its free area
  // left of the title when button is -1.
  LPARAM At(int card, int button) const {
    const EntryCard& c = State().layout.cards[static_cast<size_t>(card)];
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

// Buttons of a listed, non-default entry: up, down, set default, policy, rename, boot once, delete.
constexpr int kUp = 0, kSetDefault = 2, kRename = 4, kDelete = 6;

TEST_F(EntriesWindowTest, ReleaseOverThePressedButtonStartsItsAction) {
  ASSERT_EQ(State().layout.cards.size(), 8u);
  SendMessageW(list_, WM_LBUTTONDOWN, MK_LBUTTON, At(2, kRename));
  EXPECT_EQ(selected_, snapshot_.entries[2].identifier);  // the press selects first
  EXPECT_EQ(State().pressed, (CardHit{2, kRename}));
  EXPECT_TRUE(actions_.empty());
  SendMessageW(list_, WM_LBUTTONUP, 0, At(2, kRename));
  EXPECT_EQ(actions_, std::vector<CardAction>{CardAction::Rename});
  EXPECT_EQ(State().pressed, CardHit{});
  EXPECT_EQ(selectionChanges_, 1);

  Click(WM_LBUTTONDOWN, At(3, kDelete), At(3, kDelete));
  Click(WM_LBUTTONDOWN, At(3, kSetDefault), At(3, kSetDefault));
  EXPECT_EQ(actions_, (std::vector<CardAction>{CardAction::Rename, CardAction::Delete, CardAction::SetDefault}));
}

TEST_F(EntriesWindowTest, ReleaseElsewhereOrOnADisabledButtonStartsNothing) {
  Click(WM_LBUTTONDOWN, At(1, kRename), At(1, kDelete));  // slid to another button
  Click(WM_LBUTTONDOWN, At(1, kRename), At(2, kRename));  // the same button of another card
  Click(WM_LBUTTONDOWN, At(0, kUp), At(0, kUp));          // the first entry cannot move up
  EXPECT_TRUE(actions_.empty());
  EXPECT_EQ(selected_, snapshot_.entries[0].identifier);  // the disabled button still selected its card
  EXPECT_EQ(selectionChanges_, 2);
  EXPECT_EQ(State().pressed, CardHit{});
}

TEST_F(EntriesWindowTest, DoubleClickRenamesOnlyOnTheFreeArea) {
  Click(WM_LBUTTONDOWN, At(5, -1), At(5, -1));  // a single click only selects
  EXPECT_TRUE(actions_.empty());
  EXPECT_EQ(selected_, snapshot_.entries[5].identifier);
  Click(WM_LBUTTONDBLCLK, At(4, -1), At(4, -1));
  EXPECT_EQ(actions_, std::vector<CardAction>{CardAction::Rename});
  EXPECT_EQ(selected_, snapshot_.entries[4].identifier);
  actions_.clear();
  Click(WM_LBUTTONDBLCLK, At(4, kDelete), At(4, kDelete));  // a fast second click on a button
  EXPECT_EQ(actions_, std::vector<CardAction>{CardAction::Delete});
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

TEST_F(EntriesWindowTest, KeysMoveTheSelectionAndKeepItInView) {
  EXPECT_EQ(SendMessageW(list_, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
  SendMessageW(list_, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(selected_, snapshot_.entries[1].identifier);
  SendMessageW(list_, WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(selected_, snapshot_.entries[7].identifier);
  const Rect last = State().layout.cards[7].cardRect;
  EXPECT_EQ(State().scroll.scrollPos, last.bottom - 400 + ScaleDpi(10));
  SendMessageW(list_, WM_KEYDOWN, VK_DOWN, 0);  // already the last
  EXPECT_EQ(selected_, snapshot_.entries[7].identifier);
  SendMessageW(list_, WM_KEYDOWN, VK_HOME, 0);
  EXPECT_EQ(selected_, snapshot_.entries[0].identifier);
  const int firstTop = State().layout.cards[0].cardRect.top - ScaleDpi(10);
  EXPECT_EQ(State().scroll.scrollPos, firstTop);
  EXPECT_EQ(selectionChanges_, 3);
  // Page keys scroll by the view less a little, without touching the selection.
  SendMessageW(list_, WM_KEYDOWN, VK_PRIOR, 0);
  EXPECT_EQ(State().scroll.scrollPos, 0);
  SendMessageW(list_, WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(State().scroll.scrollPos, 400 - ScaleDpi(40));
  SendMessageW(list_, WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(State().scroll.scrollPos, State().scroll.MaxScroll());
  EXPECT_EQ(selected_, snapshot_.entries[0].identifier);
  EXPECT_TRUE(actions_.empty());
}

TEST_F(EntriesWindowTest, ReloadRebuildsTheCardsAndClampsTheScroll) {
  SendMessageW(list_, WM_MOUSEWHEEL, Wheel(-10 * WHEEL_DELTA), 0);
  EXPECT_EQ(State().scroll.scrollPos, State().scroll.MaxScroll());
  snapshot_.entries.resize(2);
  snapshot_.displayOrder.resize(2);
  LayoutEntries(list_);
  EXPECT_EQ(State().layout.cards.size(), 2u);
  EXPECT_EQ(State().scroll.scrollPos, 0);  // two cards fit: nothing to scroll
  SendMessageW(list_, WM_MOUSEWHEEL, Wheel(-WHEEL_DELTA), 0);
  EXPECT_EQ(State().scroll.scrollPos, 0);
  EXPECT_EQ(EntriesStateOf(parent_), nullptr);  // not a list window
}

}  // namespace
}  // namespace ui
