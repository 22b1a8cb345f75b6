// The entries list without a window: card contents, card geometry in one row and
// wrapped, the list's messages, hit testing, keyboard selection and scrolling.
// Text is measured at 7 px per character, so every rectangle below is worked
// out by hand from the card rules.
#include <gtest/gtest.h>

#include "core/language.h"
#include "ui/palette.h"
#include "ui/views/entries_layout.h"

namespace ui {
namespace {

using zel::BcdSnapshot;
using zel::BootEntry;

class EntriesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedDpi_ = CurrentDpi();
    savedLanguage_ = zel::g_vietnamese.load();
    SetDpi(96);
    zel::g_vietnamese = false;
    measure_.width = [](const std::wstring& text, TextFont) { return 7 * static_cast<int>(text.size()); };
    measure_.height = [this](const std::wstring&, TextFont font, int wrapWidth) {
      lastWrapWidth_ = wrapWidth;
      lastHeightFont_ = font;
      return 36;
    };
  }
  void TearDown() override {
    SetDpi(savedDpi_);
    zel::g_vietnamese = savedLanguage_;
  }

  static std::wstring Id(int n) {
    std::wstring tail = std::to_wstring(n);
    return L"{aaaaaaaa-0000-0000-0000-" + std::wstring(12 - tail.size(), L'0') + tail + L"}";
  }

  // A loaded store whose entries 1..listed are in the menu in that order.
  static BcdSnapshot Store(int listed, int hidden) {
    BcdSnapshot s;
    s.loaded = true;
    for (int i = 1; i <= listed + hidden; ++i) {
      BootEntry e;
      e.identifier = Id(i);
      e.description = L"Entry " + std::to_wstring(i);
      e.device = L"partition=C:";
      e.path = L"\\Windows\\system32\\winload.efi";
      e.isWindows = true;
      if (i <= listed) {
        e.inDisplayOrder = true;
        e.displayOrderIndex = i;
        s.displayOrder.push_back(Id(i));
      }
      s.entries.push_back(e);
    }
    return s;
  }

  // The first entry as "Win", default and running: a short title with three badges.
  static BcdSnapshot DefaultRunningStore() {
    BcdSnapshot s = Store(2, 0);
    s.entries[0].description = L"Win";
    s.entries[0].isDefault = true;
    s.entries[0].isCurrent = true;
    return s;
  }

  static std::vector<CardAction> Actions(const EntryCard& card) {
    std::vector<CardAction> actions;
    for (const auto& b : card.buttons) actions.push_back(b.action);
    return actions;
  }

  TextMeasure measure_;
  int lastWrapWidth_ = -1;
  TextFont lastHeightFont_ = TextFont::Regular12;

 private:
  int savedDpi_ = 96;
  bool savedLanguage_ = true;
};

void ExpectRect(const Rect& r, int left, int top, int right, int bottom) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right, right);
  EXPECT_EQ(r.bottom, bottom);
}

// Widths at 7 px per character: buttons up 30, down 30, "Standard" 92,
// "Rename" 78, "Boot Once" 99, delete 30 (sum 359 + 5 gaps = 384); badges
// "Windows" 65, "Default" 80, "Running OS" 101 (264 with their gaps); title
// "#1  Win" 49. Text column from 92, inner right at right - 16.
TEST_F(EntriesTest, WideCardPutsTitleBadgesAndButtonsOnOneRow) {
  const BcdSnapshot s = DefaultRunningStore();
  const EntryCard card = BuildCard(s, 0, 20, 1000, 100, measure_);
  EXPECT_EQ(card.title, L"#1  Win");
  ExpectRect(card.titleRect, 92, 113, 141, 143);
  ASSERT_EQ(card.badges.size(), 3u);
  ExpectRect(card.badges[0].rect, 151, 119, 216, 137);
  ExpectRect(card.badges[1].rect, 222, 119, 302, 137);
  ExpectRect(card.badges[2].rect, 308, 119, 409, 137);
  // Buttons end exactly at the inner right edge.
  ASSERT_EQ(card.buttons.size(), 6u);
  ExpectRect(card.buttons[0].rect, 600, 113, 630, 143);
  ExpectRect(card.buttons[2].rect, 670, 113, 762, 143);
  ExpectRect(card.buttons[5].rect, 954, 113, 984, 143);
  ExpectRect(card.detailsRect, 92, 147, 984, 165);
  ExpectRect(card.cardRect, 20, 100, 1000, 178);
  ExpectRect(card.iconRect, 36, 118, 78, 160);  // centred in the card
}

TEST_F(EntriesTest, NarrowCardWrapsBadgesAndPutsButtonsOnRowsBelow) {
  const BcdSnapshot s = DefaultRunningStore();
  const EntryCard card = BuildCard(s, 0, 20, 400, 100, measure_);  // inner right 384
  ExpectRect(card.titleRect, 92, 113, 141, 135);                   // the shorter row
  ExpectRect(card.badges[1].rect, 222, 115, 302, 133);
  ExpectRect(card.badges[2].rect, 92, 140, 193, 158);  // would end at 409: wraps to the text column
  ExpectRect(card.detailsRect, 92, 164, 384, 182);
  // Rows start 10 below the details; "Boot Once" would end at 441 and wraps.
  ExpectRect(card.buttons[0].rect, 92, 192, 122, 222);
  ExpectRect(card.buttons[3].rect, 259, 192, 337, 222);
  ExpectRect(card.buttons[4].rect, 92, 227, 191, 257);
  ExpectRect(card.buttons[5].rect, 196, 227, 226, 257);
  ExpectRect(card.cardRect, 20, 100, 400, 270);
  ExpectRect(card.iconRect, 36, 113, 78, 155);  // stays at the top

  // The one-row test is inclusive: 92 + 49 + 20 + 264 + 384 = 809 fits an inner right of 809.
  EXPECT_EQ(BuildCard(s, 0, 20, 825, 100, measure_).cardRect.bottom, 178);
  EXPECT_GT(BuildCard(s, 0, 20, 824, 100, measure_).cardRect.bottom, 178);
}

TEST_F(EntriesTest, LongTitleIsCutAtTheInnerEdgeAndBadgesStartANewRow) {
  BcdSnapshot s = Store(1, 0);
  s.entries[0].description = std::wstring(200, L'W');
  const EntryCard card = BuildCard(s, 0, 20, 600, 0, measure_);
  ExpectRect(card.titleRect, 92, 13, 584, 35);
  ExpectRect(card.badges[0].rect, 92, 40, 157, 58);
}

TEST_F(EntriesTest, TooWideItemsStartTheirRowAndOverflowIt) {
  BcdSnapshot s = Store(0, 1);
  s.entries[0].description = L"W";
  // Text column 72..184: the hidden badge (212) and "Show in Menu" (120) are wider.
  const EntryCard card = BuildCard(s, 0, 0, 200, 0, measure_);
  ExpectRect(card.badges[0].rect, 89, 15, 154, 33);
  ExpectRect(card.badges[1].rect, 72, 40, 284, 58);
  ExpectRect(card.buttons[0].rect, 72, 92, 192, 122);  // first on its row: no empty row above it
  ExpectRect(card.buttons[1].rect, 72, 127, 185, 157);
}

TEST_F(EntriesTest, ButtonsFollowTheEntryState) {
  BcdSnapshot s = Store(3, 1);
  s.entries[1].isDefault = true;
  s.entries[2].bootMenuPolicy = L"Legacy";
  using A = CardAction;

  const EntryCard first = BuildCard(s, 0, 0, 2000, 0, measure_);
  EXPECT_EQ(Actions(first), (std::vector<A>{A::MoveUp, A::MoveDown, A::SetDefault, A::Policy, A::Rename, A::BootOnce,
                                            A::Delete}));
  EXPECT_FALSE(first.buttons[0].enabled);
  EXPECT_TRUE(first.buttons[1].enabled);
  EXPECT_EQ(first.buttons[2].text, L"Set Default");
  EXPECT_EQ(first.buttons[3].text, L"Standard");
  EXPECT_EQ(first.buttons[4].text, L"Rename");
  EXPECT_EQ(first.buttons[5].text, L"Boot Once");
  EXPECT_TRUE(first.buttons[0].text.empty());
  EXPECT_TRUE(first.buttons[6].text.empty());
  EXPECT_TRUE(first.buttons[6].danger);
  EXPECT_FALSE(first.buttons[5].danger);
  EXPECT_EQ(first.buttons[0].icon, 9);
  EXPECT_EQ(first.buttons[6].icon, 5);

  const EntryCard middle = BuildCard(s, 1, 0, 2000, 0, measure_);  // the default: no "Set Default"
  EXPECT_EQ(Actions(middle), (std::vector<A>{A::MoveUp, A::MoveDown, A::Policy, A::Rename, A::BootOnce, A::Delete}));
  EXPECT_TRUE(middle.buttons[0].enabled && middle.buttons[1].enabled);

  const EntryCard last = BuildCard(s, 2, 0, 2000, 0, measure_);
  EXPECT_TRUE(last.buttons[0].enabled);
  EXPECT_FALSE(last.buttons[1].enabled);
  EXPECT_EQ(last.buttons[3].text, L"Legacy");

  const EntryCard hidden = BuildCard(s, 3, 0, 2000, 0, measure_);
  EXPECT_EQ(Actions(hidden), (std::vector<A>{A::ShowInMenu, A::SetDefault, A::Policy, A::Rename, A::BootOnce, A::Delete}));
  EXPECT_EQ(hidden.buttons[0].text, L"Show in Menu");
  EXPECT_EQ(hidden.buttons[0].icon, 4);
  EXPECT_EQ(hidden.title, L"Entry 4");  // no "#" for an entry outside the menu
  EXPECT_EQ(hidden.badges.back().text, L"Hidden (Not in DisplayOrder)");
  EXPECT_EQ(hidden.badges.back().colour, Danger);

  // Membership is by identifier, whatever the letter case of the display order.
  s.displayOrder[2] = L"{AAAAAAAA-0000-0000-0000-000000000003}";
  EXPECT_FALSE(BuildCard(s, 2, 0, 2000, 0, measure_).buttons[1].enabled);
  EXPECT_TRUE(BuildCard(s, 2, 0, 2000, 0, measure_).buttons[0].enabled);

  // An entry marked as listed that the order does not name has no place to move from.
  s.displayOrder.pop_back();
  EXPECT_FALSE(BuildCard(s, 2, 0, 2000, 0, measure_).buttons[0].enabled);
  EXPECT_FALSE(BuildCard(s, 2, 0, 2000, 0, measure_).buttons[1].enabled);

  // A store without a display order lists every entry, but there is nothing to move within.
  s.displayOrder.clear();
  const EntryCard unordered = BuildCard(s, 1, 0, 2000, 0, measure_);
  EXPECT_EQ(unordered.buttons[0].action, A::MoveUp);
  EXPECT_FALSE(unordered.buttons[0].enabled || unordered.buttons[1].enabled);
}

TEST_F(EntriesTest, KindAndBadgesInTheirOrder) {
  BcdSnapshot s = Store(1, 1);
  BootEntry& pe = s.entries[1];
  pe.isWinPe = true;  // a WinPE loader is a Windows loader too; WinPE wins
  pe.isDefault = pe.isCurrent = pe.isBootSequence = true;
  const EntryCard card = BuildCard(s, 1, 0, 3000, 0, measure_);
  EXPECT_EQ(card.kindColour, Violet);
  EXPECT_EQ(card.kindIcon, 3);
  std::vector<std::wstring> texts;
  for (const auto& b : card.badges) texts.push_back(b.text);
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"WinPE", L"Default", L"Running OS", L"Next Boot (Once)",
                                              L"Hidden (Not in DisplayOrder)"}));
  EXPECT_EQ(card.badges[0].icon, 0);
  EXPECT_EQ(card.badges[1].colour, Success);
  EXPECT_EQ(card.badges[1].icon, 6);
  EXPECT_EQ(card.badges[2].colour, Accent);
  EXPECT_EQ(card.badges[2].icon, 27);
  EXPECT_EQ(card.badges[3].colour, Warning);
  EXPECT_EQ(card.badges[3].icon, 26);
  EXPECT_EQ(card.badges[4].icon, 0);
  // Badge width: text + 16, plus 15 with an icon ("Default": 49 + 16 + 15).
  EXPECT_EQ(card.badges[1].rect.Width(), 80);
  EXPECT_EQ(card.badges[4].rect.Width(), 28 * 7 + 16);

  EXPECT_EQ(BuildCard(s, 0, 0, 3000, 0, measure_).kindIcon, 2);
  s.entries[0].isWindows = false;
  const EntryCard other = BuildCard(s, 0, 0, 3000, 0, measure_);
  EXPECT_EQ(other.badges[0].text, L"Other");
  EXPECT_EQ(other.kindColour, Warning);
  EXPECT_EQ(other.kindIcon, 1);
}

TEST_F(EntriesTest, DetailsPreferTheOsDeviceAndSkipAMissingPath) {
  BcdSnapshot s = Store(1, 0);
  BootEntry& e = s.entries[0];
  EXPECT_EQ(BuildCard(s, 0, 0, 2000, 0, measure_).details,
            Id(1) + L"   •   partition=C:  •  \\Windows\\system32\\winload.efi   •   Policy: Standard");
  e.osDevice = L"ramdisk=[D:]\\sources\\boot.wim,{9a263024-18d9-496e-a05b-438c0eb9470f}";
  e.path.clear();
  e.bootMenuPolicy = L"Legacy";
  EXPECT_EQ(BuildCard(s, 0, 0, 2000, 0, measure_).details,
            Id(1) + L"   •   ramdisk=[D:]\\sources\\boot.wim,{9a263024-18d9-496e-a05b-438c0eb9470f}   •   Policy: Legacy");
}

TEST_F(EntriesTest, VietnameseTexts) {
  zel::g_vietnamese = true;
  BcdSnapshot s = Store(1, 1);
  s.entries[0].isWindows = false;
  s.entries[0].isCurrent = s.entries[0].isBootSequence = true;
  const EntryCard other = BuildCard(s, 0, 0, 3000, 0, measure_);
  EXPECT_EQ(other.badges[0].text, L"Khác");
  EXPECT_EQ(other.badges[1].text, L"Đang chạy");
  EXPECT_EQ(other.badges[2].text, L"Khởi động kế tiếp");
  EXPECT_EQ(other.buttons[2].text, L"Đặt Mặc định");
  EXPECT_EQ(other.buttons[4].text, L"Đổi tên");
  EXPECT_EQ(other.buttons[5].text, L"Boot 1 lần");
  const EntryCard hidden = BuildCard(s, 1, 0, 3000, 0, measure_);
  EXPECT_EQ(hidden.buttons[0].text, L"Hiện vào Menu");
  EXPECT_EQ(hidden.badges.back().text, L"Đang ẩn (Ngoài DisplayOrder)");
  s.entries[1].isDefault = true;
  EXPECT_EQ(BuildCard(s, 1, 0, 3000, 0, measure_).badges[1].text, L"Mặc định");
  EXPECT_EQ(ListTitleText(), L"Danh sách mục Khởi động (Boot Menu)");
}

TEST_F(EntriesTest, ListStacksCardsUnderTheHeader) {
  const BcdSnapshot s = DefaultRunningStore();
  const EntriesLayout layout = LayoutEntries(s, 1020, measure_);
  ExpectRect(layout.listTitleRect, 20, 16, 1000, 40);
  ExpectRect(layout.listSubtitleRect, 20, 42, 1000, 60);
  EXPECT_TRUE(layout.messageText.empty());
  ASSERT_EQ(layout.cards.size(), 2u);
  ExpectRect(layout.cards[0].cardRect, 20, 72, 1000, 150);
  EXPECT_EQ(layout.cards[1].cardRect.top, 160);
  EXPECT_EQ(layout.cards[1].entryIndex, 1);
  EXPECT_EQ(layout.contentHeight, layout.cards[1].cardRect.bottom + 16);
  // A very narrow client keeps a minimum card width.
  EXPECT_EQ(LayoutEntries(s, 60, measure_).cards[0].cardRect.right, 140);
}

TEST_F(EntriesTest, EmptyAndFailedStoresShowAMessageInsteadOfCards) {
  BcdSnapshot empty;
  empty.loaded = true;
  EntriesLayout layout = LayoutEntries(empty, 1020, measure_);
  EXPECT_EQ(layout.messageText,
            L"This BCD store has no boot entries yet. Click '[1] Add WinPE Boot Entry' or '[2] Add Windows Boot Entry' to "
            L"add one.");
  EXPECT_FALSE(layout.messageIsError);
  EXPECT_EQ(lastWrapWidth_, 940);  // the box less 20 on each side
  EXPECT_EQ(lastHeightFont_, TextFont::Semibold13);
  ExpectRect(layout.messageRect, 20, 72, 1000, 148);
  EXPECT_EQ(layout.contentHeight, 164);

  zel::g_vietnamese = true;
  EXPECT_EQ(LayoutEntries(empty, 1020, measure_).messageText,
            L"Kho BCD này chưa có mục khởi động nào. Hãy bấm '[1] Tạo Boot cho WinPE' hoặc '[2] Tạo Boot cho Windows' để "
            L"thêm.");

  BcdSnapshot failed;
  failed.error = L"The boot configuration data store could not be opened.";
  layout = LayoutEntries(failed, 1020, measure_);
  EXPECT_EQ(layout.messageText, failed.error);
  EXPECT_TRUE(layout.messageIsError);
  EXPECT_TRUE(layout.cards.empty());

  // Before the first load: neither a message nor cards, just the header.
  layout = LayoutEntries(BcdSnapshot{}, 1020, measure_);
  EXPECT_TRUE(layout.messageText.empty());
  EXPECT_TRUE(layout.cards.empty());
  EXPECT_EQ(layout.contentHeight, 78);
}

TEST_F(EntriesTest, NewLayoutClampsTheScrollAndForgetsThePointer) {
  EntriesState state;
  ApplyLayout(state, LayoutEntries(Store(10, 0), 1020, measure_), 300);
  EXPECT_GT(state.scroll.MaxScroll(), 0);
  state.scroll.ScrollTo(state.scroll.MaxScroll());
  state.hover = CardHit{9, 2};
  state.pressed = CardHit{9, 2};
  ApplyLayout(state, LayoutEntries(Store(3, 0), 1020, measure_), 300);
  EXPECT_EQ(state.scroll.viewHeight, 300);
  EXPECT_EQ(state.scroll.scrollPos, state.scroll.MaxScroll());
  EXPECT_EQ(state.hover, CardHit{});
  EXPECT_EQ(state.pressed, CardHit{});
  ApplyLayout(state, LayoutEntries(Store(1, 0), 1020, measure_), 300);
  EXPECT_EQ(state.scroll.scrollPos, 0);  // content shorter than the view cannot scroll
}

TEST_F(EntriesTest, HitTestAddsTheScrollPosition) {
  const EntriesLayout layout = LayoutEntries(DefaultRunningStore(), 1020, measure_);
  // Card 0 spans 72..150, its buttons 85..115; card 1 starts at 160.
  EXPECT_EQ(HitTest(layout, 0, 610, 90), (CardHit{0, 0}));
  EXPECT_EQ(HitTest(layout, 0, 960, 100), (CardHit{0, 5}));
  EXPECT_EQ(HitTest(layout, 0, 632, 100), (CardHit{0, -1}));  // between two buttons
  EXPECT_EQ(HitTest(layout, 0, 500, 155), CardHit{});          // between two cards
  EXPECT_EQ(HitTest(layout, 0, 1000, 100), CardHit{});         // right edge is outside
  EXPECT_EQ(HitTest(layout, 0, 500, 60), CardHit{});           // the header
  EXPECT_EQ(HitTest(layout, 70, 610, 20), (CardHit{0, 0}));
  EXPECT_EQ(HitTest(layout, 70, 500, 95), (CardHit{1, -1}));
}

TEST_F(EntriesTest, KeyboardMovesTheSelectionAndStopsAtTheEnds) {
  const BcdSnapshot s = Store(4, 0);
  EXPECT_EQ(MoveSelection(s, Id(2), +1, false), Id(3));
  EXPECT_EQ(MoveSelection(s, Id(2), -1, false), Id(1));
  EXPECT_EQ(MoveSelection(s, Id(4), +1, false), Id(4));
  EXPECT_EQ(MoveSelection(s, Id(1), -1, false), Id(1));
  EXPECT_EQ(MoveSelection(s, Id(2), -1, true), Id(1));
  EXPECT_EQ(MoveSelection(s, Id(2), +1, true), Id(4));
  EXPECT_EQ(MoveSelection(s, L"{AAAAAAAA-0000-0000-0000-000000000003}", +1, false), Id(4));
  // Without a selection the first entry is the starting point.
  EXPECT_EQ(MoveSelection(s, L"", +1, false), Id(2));
  EXPECT_EQ(MoveSelection(s, L"{gone}", -1, false), Id(1));
  EXPECT_EQ(MoveSelection(BcdSnapshot{}, Id(1), +1, false), L"");
}

TEST_F(EntriesTest, EnsureVisibleScrollsTheCardIntoViewWithMargin) {
  const BcdSnapshot s = Store(10, 0);
  EntriesState state;
  ApplyLayout(state, LayoutEntries(s, 2000, measure_), 300);
  const Rect sixth = state.layout.cards[5].cardRect;
  ASSERT_GT(sixth.bottom, 300);

  EXPECT_TRUE(EnsureVisible(state.layout, s, state.scroll, Id(6)));
  EXPECT_EQ(state.scroll.scrollPos, sixth.bottom - 300 + 10);
  const int after = state.scroll.scrollPos;
  EXPECT_TRUE(EnsureVisible(state.layout, s, state.scroll, Id(6)));  // already in view
  EXPECT_EQ(state.scroll.scrollPos, after);

  EXPECT_TRUE(EnsureVisible(state.layout, s, state.scroll, Id(2)));
  EXPECT_EQ(state.scroll.scrollPos, state.layout.cards[1].cardRect.top - 10);
  state.scroll.ScrollTo(state.layout.cards[1].cardRect.top - 5);  // in view, but without the margin
  EXPECT_TRUE(EnsureVisible(state.layout, s, state.scroll, Id(2)));
  EXPECT_EQ(state.scroll.scrollPos, state.layout.cards[1].cardRect.top - 10);
  EXPECT_TRUE(EnsureVisible(state.layout, s, state.scroll, Id(10)));
  EXPECT_EQ(state.scroll.scrollPos, state.layout.cards[9].cardRect.bottom - 300 + 10);
  EXPECT_LE(state.scroll.scrollPos, state.scroll.MaxScroll());

  const int before = state.scroll.scrollPos;
  EXPECT_FALSE(EnsureVisible(state.layout, s, state.scroll, L"{unknown}"));
  EXPECT_EQ(state.scroll.scrollPos, before);
}

TEST_F(EntriesTest, SelectionAfterReload) {
  BcdSnapshot s = Store(3, 0);
  const std::wstring upper = L"{AAAAAAAA-0000-0000-0000-000000000002}";
  EXPECT_EQ(SelectionAfterReload(s, upper), upper);  // still there: kept as it was
  EXPECT_EQ(SelectionAfterReload(s, L"{deleted}"), Id(1));
  EXPECT_EQ(SelectionAfterReload(s, L""), Id(1));
  s.entries[1].isDefault = true;
  s.entries[2].isDefault = true;
  EXPECT_EQ(SelectionAfterReload(s, L"{deleted}"), Id(3));  // the last one marked
  EXPECT_EQ(SelectionAfterReload(BcdSnapshot{}, Id(1)), L"");
}

TEST_F(EntriesTest, WheelStepIsTruncatedAndEverythingScalesWithDpi) {
  EXPECT_EQ(WheelStep(60), 32);
  EXPECT_EQ(WheelStep(1), 0);
  EXPECT_EQ(WheelStep(-1), 0);
  SetDpi(144);
  EXPECT_EQ(WheelStep(-120), -96);
  EXPECT_EQ(PageStep(500), 440);
  EXPECT_EQ(LayoutEntries(Store(1, 0), 1020, measure_).cards[0].cardRect.left, 30);
}

}  // namespace
}  // namespace ui
