// The entries list without a window: card contents, card geometry in one row and
// wrapped, the list's messages, hit testing, keyboard selection and scrolling.
// Text is measured at 7 px per character.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <tuple>

#include "tests/support/language_guard.h"
#include "tests/support/ui_geometry.h"
#include "ui/palette.h"
#include "ui/views/entries_layout.h"

namespace ui {
namespace {

using zel::BcdSnapshot;
using namespace ui::test;

std::wstring Id(int n) {  // {aaaaaaaa-0000-0000-0000-00000000000n}
  return L"{aaaaaaaa-0000-0000-0000-" + std::wstring(n < 10 ? 11 : 10, L'0') + std::to_wstring(n) + L"}";
}

// A loaded store of Windows entries "Entry 1", "Entry 2"...; 1..listed are in the menu in that order.
BcdSnapshot Store(int listed, int hidden) {
  BcdSnapshot s;
  s.loaded = true;
  for (int i = 1; i <= listed + hidden; ++i) {
    s.entries.push_back({.identifier = Id(i), .description = L"Entry " + std::to_wstring(i),
                         .device = L"partition=C:", .path = L"\\Windows\\system32\\winload.efi", .isWindows = true,
                         .inDisplayOrder = i <= listed, .displayOrderIndex = i <= listed ? i : 0});
    if (i <= listed) s.displayOrder.push_back(Id(i));
  }
  return s;
}

// The first entry as "Win", default and running: a short title with three badges.
BcdSnapshot DefaultRunningStore() {
  BcdSnapshot s = Store(2, 0);
  s.entries[0].description = L"Win";
  s.entries[0].isDefault = s.entries[0].isCurrent = true;
  return s;
}

class EntriesTest : public ::testing::Test {
 protected:
  EntryCard Card(const BcdSnapshot& s, size_t index, int right = 3000) {
    return BuildCard(s, index, 0, right, 0, measure_);
  }

  DpiGuard dpi_{96};
  zel::test::LanguageGuard english_{false};
  int lastWrapWidth_ = -1;
  TextFont lastHeightFont_ = TextFont::Regular12;
  TextMeasure measure_{[](const std::wstring& text, TextFont) { return 7 * static_cast<int>(text.size()); },
                       [this](const std::wstring&, TextFont font, int wrapWidth) {
                         lastWrapWidth_ = wrapWidth;
                         lastHeightFont_ = font;
                         return 36;
                       }};
};

// At every width the parts of a card share no pixel; while they fit they stay inside the
// card. Wide, one row holds title, badges and buttons, the buttons ending where the details
// do. Narrow, badges and buttons wrap, and one wider than the text column starts a row of
// its own and overflows it. A title longer than the column is cut at its edge.
TEST_F(EntriesTest, CardPartsStayApartAndInsideAtEveryWidth) {
  BcdSnapshot s = DefaultRunningStore();
  s.entries.push_back(Store(2, 1).entries[2]);
  s.entries[2].description = L"W";  // hidden: its badge (212) and "Show in Menu" (120) are wide
  for (size_t entry : {0u, 2u}) {
    for (int right = 200; right <= 1400; right += 29) {
      const EntryCard card = BuildCard(s, entry, 20, right, 100, measure_);
      std::vector<Rect> parts = {card.iconRect, card.titleRect, card.detailsRect};
      for (const Badge& b : card.badges) parts.push_back(b.rect);
      for (const CardButton& b : card.buttons) parts.push_back(b.rect);
      const bool fits = right >= 400;
      for (size_t i = 0; i < parts.size(); ++i) {
        EXPECT_TRUE(!fits || Inside(parts[i], card.cardRect)) << entry << " at " << right << ": part " << i;
        for (size_t j = i + 1; j < parts.size(); ++j) {
          EXPECT_FALSE(Overlap(parts[i], parts[j])) << entry << " at " << right << ": parts " << i << ", " << j;
        }
      }
      if (HasFailure()) return;
    }
  }
  const EntryCard wide = BuildCard(s, 0, 20, 1000, 100, measure_);
  EXPECT_EQ(wide.buttons.back().rect.right, wide.detailsRect.right);
  const auto middle = [](const Rect& r) { return r.top + r.bottom; };
  EXPECT_EQ(middle(wide.badges.back().rect), middle(wide.buttons.front().rect));
  const EntryCard narrow = BuildCard(s, 0, 20, 400, 100, measure_);
  EXPECT_EQ(narrow.badges.back().rect.left, narrow.detailsRect.left);  // wrapped to the text column
  EXPECT_GT(narrow.buttons.back().rect.top, narrow.buttons.front().rect.top);
  const EntryCard tiny = BuildCard(s, 2, 20, 200, 0, measure_);
  EXPECT_GT(tiny.badges[1].rect.right, tiny.cardRect.right);

  BcdSnapshot t = Store(1, 0);
  t.entries[0].description = std::wstring(200, L'W');
  const EntryCard cut = BuildCard(t, 0, 20, 600, 0, measure_);
  EXPECT_EQ(cut.titleRect.right, cut.detailsRect.right);
}

// Buttons by the letter of their action (shoW in menu, Up, Down, Set default, Policy,
// Rename, boot Once, delete X, opTions), in lower case when disabled.
TEST_F(EntriesTest, ButtonsFollowTheEntryState) {
  BcdSnapshot s = Store(3, 1);
  s.entries[1].isDefault = true;
  s.entries[2].bootMenuPolicy = L"Legacy";
  const auto buttons = [&](size_t i) {
    std::string out;
    for (const CardButton& b : Card(s, i).buttons) {
      const char letter = "-WUDSPROXT"[static_cast<int>(b.action)];
      out += b.enabled ? letter : static_cast<char>(letter - 'A' + 'a');
    }
    return out;
  };
  EXPECT_EQ(buttons(0), "uDSPROTX");
  EXPECT_EQ(buttons(1), "UDPROTX");  // the default has no "Set Default"
  EXPECT_EQ(buttons(2), "UdSPROTX");
  EXPECT_EQ(buttons(3), "WSPROTX");
  // Arrows and Delete show only their icon, each button its own; only Delete is dangerous;
  // the policy button names the entry's policy.
  for (size_t i : {0u, 3u}) {
    std::set<int> icons;
    for (const CardButton& b : Card(s, i).buttons) {
      const bool del = b.action == CardAction::Delete;
      const bool iconOnly = del || b.action == CardAction::MoveUp || b.action == CardAction::MoveDown;
      EXPECT_TRUE(b.text.empty() == iconOnly && b.danger == del && b.icon != 0 && icons.insert(b.icon).second)
          << i << ": action " << static_cast<int>(b.action);
    }
  }
  EXPECT_EQ(Card(s, 2).buttons[3].text, L"Legacy");
  // Boot options belong to Windows loaders alone: not to WinPE, nor to other applications.
  s.entries[0].isWinPe = true;
  s.entries[3].isWindows = false;
  EXPECT_EQ(buttons(0), "uDSPROX");
  EXPECT_EQ(buttons(3), "WSPROX");

  // The order is searched by identifier whatever the letter case; an entry it does not
  // name, or a store without one (every entry then counts as listed), has nowhere to move.
  s.displayOrder[2] = L"{AAAAAAAA-0000-0000-0000-000000000003}";
  EXPECT_EQ(buttons(2), "UdSPROTX");
  s.displayOrder.pop_back();
  EXPECT_EQ(buttons(2), "udSPROTX");
  s.displayOrder.clear();
  EXPECT_EQ(buttons(1), "udPROTX");
}

TEST_F(EntriesTest, KindBadgesAndDetails) {
  BcdSnapshot s = Store(1, 1);
  zel::BootEntry& pe = s.entries[1];
  pe.isWinPe = true;  // a WinPE loader is a Windows loader too; WinPE wins
  pe.isDefault = pe.isCurrent = pe.isBootSequence = true;
  const EntryCard card = Card(s, 1);
  struct Want { const wchar_t* text; Colour colour; bool icon; };
  const Want want[] = {{L"WinPE", Violet, false}, {L"Default", Success, true}, {L"Running OS", Accent, true},
                       {L"Next Boot (Once)", Warning, true}, {L"Hidden (Not in DisplayOrder)", Danger, false}};
  ASSERT_EQ(card.badges.size(), std::size(want));
  for (size_t i = 0; i < card.badges.size(); ++i) {
    const Badge& b = card.badges[i];
    EXPECT_EQ(b.text, want[i].text);
    EXPECT_TRUE(b.colour == want[i].colour && (b.icon != 0) == want[i].icon) << i;
  }
  EXPECT_EQ((std::set{card.badges[1].icon, card.badges[2].icon, card.badges[3].icon}).size(), 3u);
  const EntryCard windows = Card(s, 0);
  s.entries[0].isWindows = false;
  const EntryCard other = Card(s, 0);
  EXPECT_EQ((std::array{card.kindColour, windows.kindColour, other.kindColour}), (std::array{Violet, Accent, Warning}));
  EXPECT_EQ((std::set{card.kindIcon, windows.kindIcon, other.kindIcon}).size(), 3u);

  // The details prefer the OS device and skip a missing path.
  EXPECT_EQ(windows.details,
            Id(1) + L"   •   partition=C:  •  \\Windows\\system32\\winload.efi   •   Policy: Standard");
  s.entries[0].osDevice = L"ramdisk=[D:]\\sources\\boot.wim,{9a263024-18d9-496e-a05b-438c0eb9470f}";
  s.entries[0].path.clear();
  EXPECT_EQ(Card(s, 0).details, Id(1) + L"   •   " + s.entries[0].osDevice + L"   •   Policy: Standard");
}

// Safe mode in the warning colour with its kind; signing switched off in the danger colour.
TEST_F(EntriesTest, BootOptionBadges) {
  using zel::SafeBoot;
  const struct {
    zel::BootOptions options;
    std::vector<std::wstring> badges;  // in the warning colour, or after a '!' in the danger colour
  } cases[] = {{{}, {}},
               {{.safeBoot = SafeBoot::Minimal}, {L"Safe Mode"}},
               {{.safeBoot = SafeBoot::Minimal, .alternateShell = true}, {L"Safe Mode (Command Prompt)"}},
               {{.safeBoot = SafeBoot::Network, .alternateShell = true, .testSigning = true, .noIntegrityChecks = true},
                {L"Safe Mode (Network)", L"!Test Signing", L"!Integrity Checks Off"}},
               {{.safeBoot = SafeBoot::DsRepair, .alternateShell = true}, {L"Safe Mode (AD Repair)"}}};
  BcdSnapshot s = Store(1, 0);
  for (const auto& c : cases) {
    s.entries[0].options = c.options;
    std::vector<std::wstring> badges;
    for (const Badge& b : Card(s, 0).badges) {
      if (b.colour == Warning || b.colour == Danger) badges.push_back((b.colour == Danger ? L"!" : L"") + b.text);
    }
    EXPECT_EQ(badges, c.badges) << &c - cases;
  }
}

// Every text of the list and its cards has a Vietnamese form of its own (the policy is data).
TEST_F(EntriesTest, EveryTextIsTranslated) {
  BcdSnapshot s = Store(1, 1);
  s.entries[0].isWindows = s.entries[1].isWindows = false;
  s.entries[0].isCurrent = s.entries[0].isBootSequence = s.entries[1].isDefault = true;
  s.entries[1].options.safeBoot = zel::SafeBoot::Network;
  s.entries[1].options.testSigning = s.entries[1].options.noIntegrityChecks = true;
  const auto texts = [&] {
    std::vector<std::wstring> out = {ListTitleText(), ListSubtitleText(), EmptyStoreText()};
    for (size_t i : {0u, 1u}) {
      for (const Badge& b : Card(s, i).badges) out.push_back(b.text);
      for (const CardButton& b : Card(s, i).buttons) out.push_back(b.action == CardAction::Policy ? L"" : b.text);
    }
    return out;
  };
  const std::vector<std::wstring> english = texts();
  zel::g_vietnamese = true;
  const std::vector<std::wstring> vietnamese = texts();
  ASSERT_EQ(english.size(), vietnamese.size());
  for (size_t i = 0; i < english.size(); ++i) EXPECT_TRUE(english[i].empty() || english[i] != vietnamese[i]) << i;
}

TEST_F(EntriesTest, ListShowsCardsOrAMessageUnderTheHeader) {
  const BcdSnapshot s = DefaultRunningStore();
  EntriesLayout layout = LayoutEntries(s, 1020, measure_);
  ASSERT_EQ(layout.cards.size(), 2u);
  const Rect under{0, layout.listSubtitleRect.bottom + 1, 1020, layout.contentHeight - 1};
  EXPECT_TRUE(Inside(layout.cards[0].cardRect, under) && Inside(layout.cards[1].cardRect, under));
  EXPECT_GT(layout.cards[1].cardRect.top, layout.cards[0].cardRect.bottom);
  EXPECT_EQ(layout.cards[1].entryIndex, 1);
  EXPECT_GT(LayoutEntries(s, 60, measure_).cards[0].cardRect.Width(), 0);  // a minimum card width

  // An empty store: a box under the header around the text, with the same inset on every
  // side, measured in the font it is painted in.
  layout = LayoutEntries(BcdSnapshot{.loaded = true}, 1020, measure_);
  EXPECT_EQ(layout.messageText, EmptyStoreText());
  EXPECT_FALSE(layout.messageIsError);
  const Rect& box = layout.messageRect;
  EXPECT_TRUE(Inside(box, Rect{0, layout.listSubtitleRect.bottom + 1, 1020, layout.contentHeight - 1}));
  EXPECT_GT(box.Width(), lastWrapWidth_);
  EXPECT_EQ(box.Width() - lastWrapWidth_, box.Height() - 36);
  EXPECT_EQ(lastHeightFont_, TextFont::Semibold13);

  BcdSnapshot failed = Store(2, 0);  // a failed load shows its error even over stale entries
  failed.loaded = false;
  const std::wstring words = L"The boot configuration data store could not be opened.";
  layout = LayoutEntries(failed, 1020, measure_, words);
  EXPECT_EQ(layout.messageText, words);
  EXPECT_TRUE(layout.messageIsError);
  EXPECT_TRUE(layout.cards.empty());

  // Before the first load: neither a message nor cards, just the header.
  layout = LayoutEntries(BcdSnapshot{}, 1020, measure_);
  EXPECT_TRUE(layout.messageText.empty() && layout.cards.empty());
}

// A card in view but within the margin of 10 is scrolled fully into view; an unknown one moves
// nothing (cards out of view, and the wheel and page steps: EntriesWindowTest on Wine). A new
// layout clamps the scroll and forgets the pointer; hit testing adds the scroll position.
TEST_F(EntriesTest, ScrollingAndHitTesting) {
  const BcdSnapshot s = Store(10, 0);
  EntriesState state;
  ApplyLayout(state, LayoutEntries(s, 1020, measure_), 300);
  const int top = state.layout.cards[1].cardRect.top;
  state.scroll.ScrollTo(top - 5);
  EXPECT_TRUE(EnsureVisible(state.layout, s, state.scroll, Id(2)));
  EXPECT_EQ(state.scroll.scrollPos, top - 10);
  EXPECT_FALSE(EnsureVisible(state.layout, s, state.scroll, L"{unknown}"));
  EXPECT_EQ(state.scroll.scrollPos, top - 10);

  state.scroll.ScrollTo(state.scroll.MaxScroll());
  ASSERT_GT(state.scroll.scrollPos, 0);
  state.hover = state.pressed = CardHit{9, 2};
  ApplyLayout(state, LayoutEntries(Store(3, 0), 1020, measure_), 300);
  EXPECT_EQ(state.scroll.viewHeight, 300);
  EXPECT_EQ(state.scroll.scrollPos, state.scroll.MaxScroll());
  EXPECT_EQ(state.hover, CardHit{});
  EXPECT_EQ(state.pressed, CardHit{});
  ApplyLayout(state, LayoutEntries(Store(1, 0), 1020, measure_), 300);
  EXPECT_EQ(state.scroll.scrollPos, 0);  // content shorter than the view cannot scroll

  // Rectangles hold their top-left pixel, not their bottom-right edges: the gap after the first
  // button is the card alone, the card's bottom and right edges are outside it.
  const EntriesLayout layout = LayoutEntries(DefaultRunningStore(), 1020, measure_);
  const Rect &card = layout.cards[0].cardRect, &first = layout.cards[0].buttons[0].rect;
  const Rect &last = layout.cards[0].buttons.back().rect, &next = layout.cards[1].cardRect;
  const std::tuple<int, int, int, CardHit> hits[] = {
      {0, first.left, first.top, {0, 0}},     {0, last.right - 1, last.bottom - 1, {0, 6}},
      {0, first.right, first.top, {0, -1}},   {0, card.left, card.bottom, {}},
      {0, card.right, first.top, {}},         {70, first.left, first.top - 70, {0, 0}},
      {70, next.left, next.top - 70, {1, -1}}};
  for (const auto& [scroll, x, y, hit] : hits) EXPECT_EQ(HitTest(layout, scroll, x, y), hit) << x << "," << y;
}

// The keyboard moves by a step and stops at the first entry (to either end, and stopping at
// the last: EntriesWindowTest.KeysMoveTheSelectionAndKeepItInView); without a selection it
// starts from the first entry. After a reload the same entry stays (whatever its letter case), else the
// default (the last one marked), else the first entry.
TEST_F(EntriesTest, SelectionMovesWithTheKeyboardAndSurvivesAReload) {
  const std::wstring upper3 = L"{AAAAAAAA-0000-0000-0000-000000000003}";
  const std::tuple<std::wstring, int, bool, std::wstring> moves[] = {
      // from, delta, to the end, expected
      {Id(2), +1, false, Id(3)},  {Id(2), -1, false, Id(1)}, {Id(1), -1, false, Id(1)},
      {upper3, +1, false, Id(4)}, {L"", +1, false, Id(2)},   {L"{gone}", -1, false, Id(1)}};
  BcdSnapshot s = Store(4, 0);
  for (const auto& [from, delta, toEnd, to] : moves) {
    EXPECT_EQ(MoveSelection(s, from, delta, toEnd), to) << from << " " << delta << " " << toEnd;
  }
  EXPECT_EQ(MoveSelection(BcdSnapshot{}, Id(1), +1, false), L"");

  EXPECT_EQ(SelectionAfterReload(s, upper3), upper3);
  EXPECT_EQ(SelectionAfterReload(s, L""), Id(1));
  s.entries[1].isDefault = s.entries[2].isDefault = true;
  EXPECT_EQ(SelectionAfterReload(s, L"{deleted}"), Id(3));
  EXPECT_EQ(SelectionAfterReload(BcdSnapshot{}, Id(1)), L"");
}

}  // namespace
}  // namespace ui