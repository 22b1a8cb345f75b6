#pragma once
// The icon table: path strings on a 24 x 24 grid, addressed by index.
#include <string_view>

namespace ui {

// Entries 0 to 33; entry 0 is the empty path (no icon).
inline constexpr int kIconCount = 34;

enum IconId : int {
  kIconNone = 0,
  kIconPower = 1,
  kIconWindows = 2,
  kIconDisc = 3,
  kIconPlus = 4,
  kIconTrash = 5,
  kIconStar = 6,
  kIconPencil = 7,
  kIconClock = 8,
  kIconArrowUp = 9,
  kIconArrowDown = 10,
  kIconRefresh = 11,
  kIconFolder = 12,
  kIconSun = 13,
  kIconMoon = 14,
  kIconChip = 15,
  kIconRestart = 16,
  kIconPlay = 17,
  kIconCode = 18,
  kIconSave = 19,
  kIconUpload = 20,
  kIconCopy = 21,
  kIconShieldCheck = 22,
  kIconChecklist = 23,
  kIconChevronDown = 24,
  kIconCheck = 25,
  kIconBolt = 26,
  kIconDot = 27,
  kIconInfo = 28,
  kIconWarning = 29,
  kIconError = 30,
  kIconQuestion = 31,
  kIconLanguage = 32,
  kIconSliders = 33,
};

// The path of entry `index`; empty for 0 and for indices outside the table.
std::string_view IconPath(int index);

}  // namespace ui
