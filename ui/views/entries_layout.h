#pragma once
// The boot entries list without the window: which cards, badges and buttons an
// entry gets, where they go for a given width, what a point hits, and how the
// keyboard and a reload move the selection. Lengths are device pixels (96-DPI
// values pass through ScaleDpi); card rectangles are in content coordinates,
// that is before the scroll offset is taken off.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/bcd_model.h"
#include "ui/geometry.h"
#include "ui/palette.h"
#include "ui/scroll.h"

namespace ui {

// What a card button starts; the numbers are the ones the application's handlers know.
enum class CardAction : int {
  None = 0,
  ShowInMenu = 1,
  MoveUp = 2,
  MoveDown = 3,
  SetDefault = 4,
  Policy = 5,
  Rename = 6,
  BootOnce = 7,
  Delete = 8,
  Options = 9,
};

// The fonts the list measures with, numbered as the Win32 FontSlot enum numbers
// them (entries_view_win.cpp checks that they agree).
enum class TextFont : int { Semibold11 = 1, Regular12 = 2, Semibold12 = 3, Semibold13 = 5, Bold15 = 6, Bold17 = 7 };

// Text measuring as the painter will draw: the Win32 side passes the GDI
// measurements, tests a fixed advance per character.
struct TextMeasure {
  std::function<int(const std::wstring& text, TextFont font)> width;
  std::function<int(const std::wstring& text, TextFont font, int wrapWidth)> height;
};

struct Badge {
  Rect rect;
  std::wstring text;
  Colour colour = 0;
  int icon = 0;  // 0 = none
};

struct CardButton {
  Rect rect;
  CardAction action = CardAction::None;
  std::wstring text;  // empty for icon-only buttons
  int icon = 0;
  bool enabled = true;
  bool danger = false;
};

struct EntryCard {
  Rect cardRect;
  int64_t entryIndex = 0;
  Rect iconRect;
  Rect titleRect;
  Rect detailsRect;
  std::wstring title;
  std::wstring details;
  Colour kindColour = 0;
  int kindIcon = 0;
  std::vector<Badge> badges;  // the kind label first
  std::vector<CardButton> buttons;
};

// WinPE, else Windows, else other.
struct EntryKind {
  std::wstring label;  // in the current language
  Colour colour = 0;
  int icon = 0;
};
EntryKind KindOf(const zel::BootEntry& entry);

// Everything one layout pass produces for a client width.
struct EntriesLayout {
  Rect listTitleRect;
  Rect listSubtitleRect;
  std::wstring messageText;  // instead of cards: an empty store or a failed load
  Rect messageRect;
  bool messageIsError = false;
  std::vector<EntryCard> cards;  // one per entry, in the snapshot's order
  int contentHeight = 0;
};

// Texts of the list, in the current language.
std::wstring ListTitleText();
std::wstring ListSubtitleText();
std::wstring EmptyStoreText();

EntryCard BuildCard(const zel::BcdSnapshot& snapshot, size_t entryIndex, int left, int right, int top,
                    const TextMeasure& measure);
// `loadError`: the words for a failed load, shown in place of the cards.
EntriesLayout LayoutEntries(const zel::BcdSnapshot& snapshot, int clientWidth, const TextMeasure& measure,
                            const std::wstring& loadError = {});

// A card and a button within it; -1 when none.
struct CardHit {
  int card = -1;
  int button = -1;
  bool operator==(const CardHit&) const = default;
};

// Everything the list window keeps between messages, apart from the window itself.
struct EntriesState {
  EntriesLayout layout;
  ListScroll scroll;  // in content pixels
  CardHit hover;
  CardHit pressed;
  bool mouseTracked = false;  // a TME_LEAVE request is outstanding
};

// Takes a new layout for a client of `clientHeight`: scroll range and position
// follow the content, hover and press are forgotten.
void ApplyLayout(EntriesState& state, EntriesLayout layout, int clientHeight);

// (x, y) in client coordinates; the scroll position is added to y.
CardHit HitTest(const EntriesLayout& layout, int scrollPos, int x, int y);

// The identifier the keyboard selects from `selectedId`: `delta` entries on,
// or the first (delta < 0) or last entry with `toEnd`. Empty when there are no entries.
std::wstring MoveSelection(const zel::BcdSnapshot& snapshot, const std::wstring& selectedId, int delta, bool toEnd);

// Scrolls so that the card of entry `id` is wholly in view with a little to
// spare. False when no card shows that entry (nothing to repaint).
bool EnsureVisible(const EntriesLayout& layout, const zel::BcdSnapshot& snapshot, ListScroll& scroll,
                   const std::wstring& id);

// The selection once a reload has replaced the snapshot: the same entry if it is
// still there (letter case aside), else the default entry (the last one marked),
// else the first entry, else none.
std::wstring SelectionAfterReload(const zel::BcdSnapshot& snapshot, const std::wstring& previousId);

// The card's index for entry `id` (case-insensitive), or -1.
int CardOfEntry(const EntriesLayout& layout, const zel::BcdSnapshot& snapshot, const std::wstring& id);

// Mouse wheel and page keys, in content pixels.
int WheelStep(int wheelDelta);
int PageStep(int clientHeight);

}  // namespace ui
