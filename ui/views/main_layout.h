#pragma once
// Where everything in the main window goes: the sidebar, the header panel, the
// entries list and the log pane, from the client size and the widths of the
// texts and buttons, already measured by the caller at the current DPI.
// Pure arithmetic over ScaleDpi, so the host tests can check it exactly.
#include <array>
#include <string>

#include "ui/geometry.h"
#include "ui/palette.h"

namespace ui {

// Measured widths and heights, in device pixels, of what the layout depends on.
struct MainMeasures {
  int titleWidth = 0;         // "Zel Quillon" in Bold16
  int badgeTextWidth = 0;     // "PE" in Semibold11
  int storeLabelWidth = 0;    // the store label in Semibold13
  int timeoutLabelWidth = 0;  // the time-out label in Semibold13
  int logTitleWidth = 0;      // the log title in Semibold12
  int editHeight = 0;         // text-metric height of Semibold13 (the time-out field)
  // Natural widths of the buttons whose width follows their text.
  int browseWidth = 0;    // 101
  int refreshWidth = 0;   // 102
  int applyWidth = 0;     // 113
  int checkBoxWidth = 0;  // 111
  int copyWidth = 0;      // 127
  int clearWidth = 0;     // 128
};

// One density step: button height, gap and section gap in 96-DPI units.
struct DensityPreset {
  int buttonHeight;
  int gap;
  int sectionGap;
  bool showsCard;
};
inline constexpr int kPresetCount = 6;
inline constexpr std::array<DensityPreset, kPresetCount> kDensityPresets = {{
    {34, 5, 16, true},
    {30, 4, 14, true},
    {28, 4, 10, true},
    {28, 4, 10, false},
    {26, 3, 8, false},
    {24, 2, 6, false},
}};

inline constexpr int kQuickActionCount = 9;
inline constexpr int kTimeoutPresetCount = 5;

// Every rectangle is in client pixels; an empty one means the part is not shown.
// Child rectangles are raw: in a client too small for the last preset they may
// have negative sizes, which the window side clamps to 0 when it moves them.
struct MainLayout {
  int preset = 0;  // 1..6, the density preset chosen
  int sidebarWidth = 0;
  // Painted parts.
  Rect logoRect, titleRect, badgeRect, subtitleRect, infoCardRect, quickTitleRect, powerTitleRect;
  Rect headerRect, storeLabelRect, clockRect, timeoutLabelRect, timeoutFrameRect, busyBarRect;
  Rect logRect, logTitleRect, statusRect;
  // Child windows.
  std::array<Rect, kQuickActionCount> quickActions;  // in the command table's order
  Rect firmwareOrder, firmwareRestart, restart, shutdown, styleToggle, languageToggle;
  Rect storeSelector, browse, refresh, timeoutEdit, apply;
  std::array<Rect, kTimeoutPresetCount> timeoutPresets;  // 114..118
  Rect showBootMenu, entries, copyLog, clearLog, logView;
};

// The client height the preset (index 0..5) needs for the whole sidebar.
int PresetNeededHeight(int presetIndex);

// The layout pass for a client of width x height.
MainLayout LayoutMain(int width, int height, const MainMeasures& measures);

// An information-card row: the label at the left, the value right-aligned and cut
// so that it never runs into the label, and the optional dot before the value.
struct InfoRowGeometry {
  bool showsValue = false;  // false: only the label is drawn
  Rect value;
  Rect dot;
};
InfoRowGeometry LayoutInfoRow(Rect row, int labelWidth, int valueWidth);

// The moving part of the busy bar for a frame count; empty while it enters at the left.
Rect BusyBarSpan(Rect strip, int frame);

// The window's first size inside a work area, and its smallest tracking size,
// which never exceeds the work area of the window's monitor (a size of 0 or
// less means the work area is unknown).
struct Size {
  int width = 0;
  int height = 0;
};
Size InitialMainSize(int workWidth, int workHeight);
Size MinimumMainSize(int workWidth, int workHeight);

}  // namespace ui
