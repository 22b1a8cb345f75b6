#include "ui/views/entries_layout.h"

#include <algorithm>

#include "core/text.h"
#include "ui/icon_table.h"
#include "ui/language.h"

namespace ui {
namespace {

using zel::BcdSnapshot;
using zel::BootEntry;
using zel::BootOptions;
using zel::SafeBoot;
using zel::Pick;

// Place of `id` in the display order (case-insensitive), or -1.
int DisplayOrderPosition(const BcdSnapshot& snapshot, const std::wstring& id) {
  for (size_t i = 0; i < snapshot.displayOrder.size(); ++i) {
    if (zel::EqualsNoCase(snapshot.displayOrder[i], id)) return static_cast<int>(i);
  }
  return -1;
}

int EntryIndexOf(const BcdSnapshot& snapshot, const std::wstring& id) {
  if (id.empty()) return -1;
  for (size_t i = 0; i < snapshot.entries.size(); ++i) {
    if (zel::EqualsNoCase(snapshot.entries[i].identifier, id)) return static_cast<int>(i);
  }
  return -1;
}

std::vector<CardButton> ButtonsFor(const BcdSnapshot& snapshot, const BootEntry& entry) {
  std::vector<CardButton> buttons;
  auto add = [&](CardAction action, std::wstring text, int icon, bool enabled, bool danger = false) {
    buttons.push_back(CardButton{Rect{}, action, std::move(text), icon, enabled, danger});
  };
  if (!entry.inDisplayOrder) {
    add(CardAction::ShowInMenu, Pick(L"Hiện vào Menu", L"Show in Menu"), kIconPlus, true);
  } else {
    // A store without a display order marks every entry as listed, yet there is
    // nothing to move it within: both arrows are then disabled.
    const int position = DisplayOrderPosition(snapshot, entry.identifier);
    const int last = static_cast<int>(snapshot.displayOrder.size()) - 1;
    add(CardAction::MoveUp, L"", kIconArrowUp, position > 0);
    add(CardAction::MoveDown, L"", kIconArrowDown, position >= 0 && position < last);
  }
  if (!entry.isDefault) add(CardAction::SetDefault, Pick(L"Đặt Mặc định", L"Set Default"), kIconStar, true);
  add(CardAction::Policy, entry.bootMenuPolicy, kIconChecklist, true);
  add(CardAction::Rename, Pick(L"Đổi tên", L"Rename"), kIconPencil, true);
  add(CardAction::BootOnce, Pick(L"Boot 1 lần", L"Boot Once"), kIconPlay, true);
  if (entry.isWindows && !entry.isWinPe) add(CardAction::Options, Pick(L"Tuỳ chọn", L"Options"), kIconSliders, true);
  add(CardAction::Delete, L"", kIconTrash, true, true);
  return buttons;
}

std::vector<Badge> BadgesFor(const BootEntry& entry, const EntryKind& kind) {
  std::vector<Badge> badges;
  badges.push_back(Badge{Rect{}, kind.label, kind.colour, 0});
  if (entry.isDefault) badges.push_back(Badge{Rect{}, Pick(L"Mặc định", L"Default"), Success, kIconStar});
  if (entry.isCurrent) badges.push_back(Badge{Rect{}, Pick(L"Đang chạy", L"Running OS"), Accent, kIconDot});
  if (entry.isBootSequence) {
    badges.push_back(Badge{Rect{}, Pick(L"Khởi động kế tiếp", L"Next Boot (Once)"), Warning, kIconBolt});
  }
  if (!entry.inDisplayOrder) {
    badges.push_back(Badge{Rect{}, Pick(L"Đang ẩn (Ngoài DisplayOrder)", L"Hidden (Not in DisplayOrder)"), Danger, 0});
  }
  // What makes this entry start differently from a normal Windows: easy to miss, hard to guess.
  const BootOptions& options = entry.options;
  if (options.safeBoot != SafeBoot::Off) {
    const std::wstring kind = options.safeBoot == SafeBoot::Network    ? Pick(L" (mạng)", L" (Network)")
                              : options.safeBoot == SafeBoot::DsRepair ? Pick(L" (sửa AD)", L" (AD Repair)")
                              : options.alternateShell                 ? Pick(L" (dòng lệnh)", L" (Command Prompt)")
                                                                       : L"";
    badges.push_back(Badge{Rect{}, Pick(L"Chế độ an toàn", L"Safe Mode") + kind, Warning, kIconWarning});
  }
  if (options.testSigning) badges.push_back(Badge{Rect{}, Pick(L"Chế độ ký thử", L"Test Signing"), Danger, 0});
  if (options.noIntegrityChecks) {
    badges.push_back(Badge{Rect{}, Pick(L"Tắt kiểm tra chữ ký", L"Integrity Checks Off"), Danger, 0});
  }
  return badges;
}

std::wstring DetailsOf(const BootEntry& entry) {
  std::wstring details = entry.identifier + L"   •   " + (entry.osDevice.empty() ? entry.device : entry.osDevice);
  if (!entry.path.empty()) details += L"  •  " + entry.path;
  details += L"   •   Policy: " + entry.bootMenuPolicy;
  return details;
}

bool Contains(const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

int ButtonWidth(const CardButton& button, const TextMeasure& measure) {
  if (button.text.empty()) return ScaleDpi(30);
  return measure.width(button.text, TextFont::Semibold12) + 2 * ScaleDpi(9) + ScaleDpi(13) + ScaleDpi(5);
}

int BadgeWidth(const Badge& badge, const TextMeasure& measure) {
  return measure.width(badge.text, TextFont::Semibold11) + 2 * ScaleDpi(8) +
         (badge.icon != 0 ? ScaleDpi(11) + ScaleDpi(4) : 0);
}

}  // namespace

EntryKind KindOf(const BootEntry& entry) {
  if (entry.isWinPe) return EntryKind{L"WinPE", Violet, kIconDisc};
  if (entry.isWindows) return EntryKind{L"Windows", Accent, kIconWindows};
  return EntryKind{Pick(L"Khác", L"Other"), Warning, kIconPower};
}

std::wstring ListTitleText() { return Pick(L"Danh sách mục Khởi động (Boot Menu)", L"Boot Menu Entries"); }

std::wstring ListSubtitleText() {
  return Pick(L"Chọn một mục bên dưới để đặt mặc định, đổi tên, sắp xếp thứ tự, đổi giao diện boot hoặc khởi động 1 lần.",
              L"Select an entry below to set default, rename, reorder, change policy, or boot once.");
}

std::wstring EmptyStoreText() {
  return Pick(L"Kho BCD này chưa có mục khởi động nào. Hãy bấm '[1] Tạo Boot cho WinPE' hoặc '[2] Tạo Boot cho Windows' "
              L"để thêm.",
              L"This BCD store has no boot entries yet. Click '[1] Add WinPE Boot Entry' or '[2] Add Windows Boot Entry' "
              L"to add one.");
}

EntryCard BuildCard(const BcdSnapshot& snapshot, size_t entryIndex, int left, int right, int top,
                    const TextMeasure& measure) {
  const BootEntry& entry = snapshot.entries[entryIndex];
  const EntryKind kind = KindOf(entry);
  EntryCard card;
  card.entryIndex = static_cast<int64_t>(entryIndex);
  card.kindColour = kind.colour;
  card.kindIcon = kind.icon;
  card.buttons = ButtonsFor(snapshot, entry);
  card.badges = BadgesFor(entry, kind);

  std::vector<int> buttonWidths;
  int buttonsWidth = 0;
  for (const CardButton& button : card.buttons) {
    buttonWidths.push_back(ButtonWidth(button, measure));
    buttonsWidth += buttonWidths.back();
  }
  buttonsWidth += (static_cast<int>(card.buttons.size()) - 1) * ScaleDpi(5);
  std::vector<int> badgeWidths;
  int badgesWidth = 0;
  for (const Badge& badge : card.badges) {
    badgeWidths.push_back(BadgeWidth(badge, measure));
    badgesWidth += badgeWidths.back() + ScaleDpi(6);
  }

  card.title = (entry.inDisplayOrder ? L"#" + std::to_wstring(entry.displayOrderIndex) + L"  " : L"") + entry.description;
  card.details = DetailsOf(entry);

  const int textLeft = left + ScaleDpi(16) + ScaleDpi(42) + ScaleDpi(14);
  const int innerRight = right - ScaleDpi(16);
  const int y0 = top + ScaleDpi(13);
  const int titleWidth = measure.width(card.title, TextFont::Bold15);
  const bool oneLine =
      textLeft + titleWidth + ScaleDpi(16) + ScaleDpi(4) + badgesWidth + buttonsWidth <= innerRight;
  const int rowHeight = oneLine ? ScaleDpi(30) : ScaleDpi(22);

  card.titleRect = Rect{textLeft, y0, textLeft + std::min(innerRight - textLeft, titleWidth), y0 + rowHeight};

  // Badges follow the title and wrap to the text column's left edge.
  int bx = card.titleRect.right + ScaleDpi(10);
  int by = y0;
  for (size_t i = 0; i < card.badges.size(); ++i) {
    const int w = badgeWidths[i];
    if (bx + w > innerRight && bx > textLeft) {
      bx = textLeft;
      by += rowHeight + ScaleDpi(3);
    }
    const int badgeTop = by + (rowHeight - ScaleDpi(18)) / 2;
    card.badges[i].rect = Rect{bx, badgeTop, bx + w, badgeTop + ScaleDpi(18)};
    bx += w + ScaleDpi(6);
  }

  if (oneLine) {
    int x = innerRight - buttonsWidth;
    for (size_t i = 0; i < card.buttons.size(); ++i) {
      card.buttons[i].rect = Rect{x, by, x + buttonWidths[i], by + ScaleDpi(30)};
      x += buttonWidths[i] + ScaleDpi(5);
    }
  }

  const int detailsTop = by + rowHeight + ScaleDpi(4);
  card.detailsRect = Rect{textLeft, detailsTop, innerRight, detailsTop + ScaleDpi(18)};
  int bottom = std::max(detailsTop + ScaleDpi(18), top + ScaleDpi(13) + ScaleDpi(42));

  if (!oneLine) {
    // Too narrow for one row: the buttons flow on rows of their own under the details.
    int x = textLeft;
    int rowTop = bottom + ScaleDpi(10);
    for (size_t i = 0; i < card.buttons.size(); ++i) {
      const int w = buttonWidths[i];
      if (x + w > innerRight && x > textLeft) {
        x = textLeft;
        rowTop += ScaleDpi(30) + ScaleDpi(5);
      }
      card.buttons[i].rect = Rect{x, rowTop, x + w, rowTop + ScaleDpi(30)};
      x += w + ScaleDpi(5);
    }
    bottom = rowTop + ScaleDpi(30);
  }

  card.cardRect = Rect{left, top, right, bottom + ScaleDpi(13)};
  const int iconTop = oneLine ? top + (card.cardRect.bottom - ScaleDpi(42) - top) / 2 : top + ScaleDpi(13);
  const int iconLeft = left + ScaleDpi(16);
  card.iconRect = Rect{iconLeft, iconTop, iconLeft + ScaleDpi(42), iconTop + ScaleDpi(42)};
  return card;
}

EntriesLayout LayoutEntries(const BcdSnapshot& snapshot, int clientWidth, const TextMeasure& measure,
                            const std::wstring& loadError) {
  EntriesLayout layout;
  const int left = ScaleDpi(20);
  const int right = std::max(ScaleDpi(120) + ScaleDpi(20), clientWidth - ScaleDpi(20));
  layout.listTitleRect = Rect{left, ScaleDpi(16), right, ScaleDpi(16) + ScaleDpi(24)};
  const int subtitleTop = ScaleDpi(16) + ScaleDpi(24) + ScaleDpi(2);
  layout.listSubtitleRect = Rect{left, subtitleTop, right, subtitleTop + ScaleDpi(18)};
  int y = subtitleTop + ScaleDpi(18) + ScaleDpi(12);

  if (snapshot.loaded && snapshot.entries.empty()) {
    layout.messageText = EmptyStoreText();
  } else if (!snapshot.loaded) {
    layout.messageText = loadError;
    layout.messageIsError = true;
  }

  if (!layout.messageText.empty()) {
    const int h = measure.height(layout.messageText, TextFont::Semibold13, right - ScaleDpi(40) - left);
    layout.messageRect = Rect{left, y, right, y + h + ScaleDpi(40)};
    y = layout.messageRect.bottom + ScaleDpi(10);
  } else {
    for (size_t i = 0; i < snapshot.entries.size(); ++i) {
      layout.cards.push_back(BuildCard(snapshot, i, left, right, y, measure));
      y = layout.cards.back().cardRect.bottom + ScaleDpi(10);
    }
  }
  layout.contentHeight = y + ScaleDpi(6);
  return layout;
}

void ApplyLayout(EntriesState& state, EntriesLayout layout, int clientHeight) {
  state.layout = std::move(layout);
  state.scroll.contentHeight = state.layout.contentHeight;
  state.scroll.viewHeight = clientHeight;
  state.scroll.ScrollTo(state.scroll.scrollPos);
  state.hover = CardHit{};
  state.pressed = CardHit{};
}

CardHit HitTest(const EntriesLayout& layout, int scrollPos, int x, int y) {
  y += scrollPos;
  for (size_t c = 0; c < layout.cards.size(); ++c) {
    const EntryCard& card = layout.cards[c];
    if (!Contains(card.cardRect, x, y)) continue;
    CardHit hit{static_cast<int>(c), -1};
    for (size_t b = 0; b < card.buttons.size(); ++b) {
      if (Contains(card.buttons[b].rect, x, y)) hit.button = static_cast<int>(b);
    }
    return hit;
  }
  return CardHit{};
}

std::wstring MoveSelection(const BcdSnapshot& snapshot, const std::wstring& selectedId, int delta, bool toEnd) {
  const int count = static_cast<int>(snapshot.entries.size());
  if (count == 0) return L"";
  const int current = std::max(0, EntryIndexOf(snapshot, selectedId));
  int target;
  if (toEnd) {
    target = delta < 0 ? 0 : count - 1;
  } else {
    target = std::clamp(current + delta, 0, count - 1);
  }
  return snapshot.entries[static_cast<size_t>(target)].identifier;
}

int CardOfEntry(const EntriesLayout& layout, const BcdSnapshot& snapshot, const std::wstring& id) {
  const int entry = EntryIndexOf(snapshot, id);
  if (entry < 0) return -1;
  for (size_t c = 0; c < layout.cards.size(); ++c) {
    if (layout.cards[c].entryIndex == entry) return static_cast<int>(c);
  }
  return -1;
}

bool EnsureVisible(const EntriesLayout& layout, const BcdSnapshot& snapshot, ListScroll& scroll, const std::wstring& id) {
  const int c = CardOfEntry(layout, snapshot, id);
  if (c < 0) return false;
  const Rect& card = layout.cards[static_cast<size_t>(c)].cardRect;
  if (card.top - ScaleDpi(10) < scroll.scrollPos) {
    scroll.ScrollTo(card.top - ScaleDpi(10));
  } else if (card.bottom + ScaleDpi(10) > scroll.viewHeight + scroll.scrollPos) {
    scroll.ScrollTo(card.bottom - scroll.viewHeight + ScaleDpi(10));
  }
  return true;
}

std::wstring SelectionAfterReload(const BcdSnapshot& snapshot, const std::wstring& previousId) {
  if (EntryIndexOf(snapshot, previousId) >= 0) return previousId;
  std::wstring chosen;
  for (const BootEntry& entry : snapshot.entries) {
    if (entry.isDefault) chosen = entry.identifier;
  }
  if (chosen.empty() && !snapshot.entries.empty()) chosen = snapshot.entries.front().identifier;
  return chosen;
}

int WheelStep(int wheelDelta) { return (wheelDelta * ScaleDpi(64)) / 120; }

int PageStep(int clientHeight) { return clientHeight - ScaleDpi(40); }

}  // namespace ui
