// The main window's geometry: density presets, the wrapping header, the log pane,
// the information rows, the busy bar and the smallest window, at 96 to 192 DPI; and its texts.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/language_guard.h"
#include "tests/support/ui_geometry.h"
#include "ui/views/main_layout.h"
#include "ui/views/main_texts.h"

namespace ui {
namespace {

using namespace ui::test;

// Widths close to what Segoe UI gives at 96 DPI in each language, scaled to the current DPI.
MainMeasures Measures(bool vietnamese = false) {
  const auto S = ScaleDpi;
  if (!vietnamese) {
    return {.titleWidth = S(92), .badgeTextWidth = S(18), .storeLabelWidth = S(72), .timeoutLabelWidth = S(95),
            .logTitleWidth = S(135), .editHeight = S(18), .browseWidth = S(128), .refreshWidth = S(121),
            .applyWidth = S(64), .checkBoxWidth = S(130), .copyWidth = S(76), .clearWidth = S(79)};
  }
  return {.titleWidth = S(92), .badgeTextWidth = S(18), .storeLabelWidth = S(60), .timeoutLabelWidth = S(140),
          .logTitleWidth = S(135), .editHeight = S(18), .browseWidth = S(141), .refreshWidth = S(126),
          .applyWidth = S(76), .checkBoxWidth = S(200), .copyWidth = S(74), .clearWidth = S(94)};
}

// The shown parts of one panel share no pixel and stay inside the panel.
void ExpectApartAndInside(std::vector<std::pair<const char*, Rect>> parts, const Rect& panel, const std::string& where) {
  for (size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].second.IsEmpty()) continue;
    EXPECT_TRUE(Inside(parts[i].second, panel)) << where << ": " << parts[i].first;
    for (size_t j = i + 1; j < parts.size(); ++j) {
      if (parts[j].second.IsEmpty()) continue;
      EXPECT_FALSE(Overlap(parts[i].second, parts[j].second)) << where << ": " << parts[i].first << " / " << parts[j].first;
    }
  }
}

// At each preset's needed height the sidebar's stack fits exactly (S(10) between the power
// buttons and the bottom row); one pixel less takes the next denser preset. At 144 DPI every
// length is rounded on its own, and the needed height must round the same way.
TEST(MainLayoutPresets, EachPresetStartsAtItsNeededHeightAndFitsThere) {
  DpiGuard guard(96);
  EXPECT_EQ(LayoutMain(1180, 200, Measures()).preset, 6);  // nothing fits: still the densest
  for (int dpi : {96, 144}) {
    SetDpi(dpi);
    for (int i = 0; i < kPresetCount; ++i) {
      const MainLayout l = LayoutMain(ScaleDpi(1180), PresetNeededHeight(i), Measures());
      EXPECT_EQ(l.preset, i + 1) << dpi << " dpi, preset " << i + 1;
      if (i + 1 < kPresetCount) {
        EXPECT_EQ(LayoutMain(ScaleDpi(1180), PresetNeededHeight(i) - 1, Measures()).preset, i + 2);
      }
      EXPECT_EQ(l.styleToggle.top - l.restart.bottom, ScaleDpi(10)) << dpi << " dpi, preset " << i + 1;
      EXPECT_EQ(l.infoCardRect.IsEmpty(), !kDensityPresets[static_cast<size_t>(i)].showsCard);
    }
  }
}

// The sidebar widens, its badge appears, the store label goes and the log pane shrinks, each at one size.
TEST(MainLayoutEdges, SidebarStoreLabelAndLogFollowTheClientSize) {
  for (int dpi : {96, 144}) {
    DpiGuard guard(dpi);
    const MainMeasures m = Measures();
    EXPECT_LT(LayoutMain(ScaleDpi(999), 800, m).sidebarWidth, LayoutMain(ScaleDpi(1000), 800, m).sidebarWidth);
    // A title that leaves room for the badge only in the wide sidebar.
    MainMeasures longTitle = m;
    longTitle.titleWidth = ScaleDpi(150);
    EXPECT_TRUE(LayoutMain(ScaleDpi(999), 800, longTitle).badgeRect.IsEmpty());
    EXPECT_FALSE(LayoutMain(ScaleDpi(1000), 800, longTitle).badgeRect.IsEmpty());

    // The store label goes once the main area is narrower than S(640); the selector then starts at the margin.
    const int sidebar = LayoutMain(ScaleDpi(999), 800, m).sidebarWidth, edge = sidebar + ScaleDpi(640);
    const MainLayout noLabel = LayoutMain(edge - 1, 800, m);
    EXPECT_FALSE(LayoutMain(edge, 800, m).storeLabelRect.IsEmpty());
    EXPECT_TRUE(noLabel.storeLabelRect.IsEmpty());
    EXPECT_EQ(noLabel.storeSelector.left, noLabel.clockRect.left);

    // Below a client height of S(640) the log text shrinks, and the pane with it: the list gets the difference.
    const MainLayout tall = LayoutMain(ScaleDpi(1180), ScaleDpi(640), m), low = LayoutMain(ScaleDpi(1180), ScaleDpi(640) - 1, m);
    const int shrink = tall.logView.Height() - low.logView.Height();
    EXPECT_GT(shrink, 0);
    EXPECT_EQ(low.entries.Height() - tall.entries.Height(), shrink - 1);
    EXPECT_EQ(low.logRect.bottom - low.logView.bottom, tall.logRect.bottom - tall.logView.bottom);
  }
}

// The time-out group, the presets and the check box flow along rows: a group starts a new
// row, at the margin, when it would pass the right margin, unless it is already first on its
// row. The time-out field and the clock are centred in the row whatever the font height.
TEST(MainLayoutHeader, GroupsWrapToNewRows) {
  struct Case {  // widths of 0 are as measured; whether the presets and the check box start new rows
    const char* name;
    int width, vietnamese, checkBoxWidth, timeoutLabelWidth, editHeight;
    bool presetsWrap, boxWraps;
  };
  const Case cases[] = {
      {"wide: one row", 1400, 0, 0, 0, 18, false, false},
      {"longer check box label wraps", 1050, 1, 0, 0, 14, false, true},
      {"narrowest: presets wrap, box follows", 760, 0, 0, 0, 24, true, false},
      {"box too long to follow", 760, 0, 300, 0, 17, true, true},
      {"group wider than the row stays", 760, 0, 300, 900, 18, true, true},
  };
  for (int dpi : {96, 144}) {
    DpiGuard guard(dpi);
    const int firstRow = LayoutMain(ScaleDpi(1400), ScaleDpi(800), Measures()).timeoutFrameRect.top;
    for (const Case& c : cases) {
      MainMeasures m = Measures(c.vietnamese);
      if (c.checkBoxWidth) m.checkBoxWidth = ScaleDpi(c.checkBoxWidth);
      if (c.timeoutLabelWidth) m.timeoutLabelWidth = ScaleDpi(c.timeoutLabelWidth);
      m.editHeight = ScaleDpi(c.editHeight);
      const MainLayout l = LayoutMain(ScaleDpi(c.width), ScaleDpi(800), m);
      SCOPED_TRACE(std::to_string(dpi) + " dpi, " + c.name);
      const int margin = l.sidebarWidth + ScaleDpi(20);
      const Rect &f = l.timeoutFrameRect, &presets = l.timeoutPresets[0], &box = l.showBootMenu;
      EXPECT_EQ(f.top, firstRow);
      EXPECT_EQ(l.clockRect.left, margin);
      EXPECT_EQ(presets.top >= f.bottom, c.presetsWrap);
      EXPECT_EQ(presets.left == margin, c.presetsWrap);
      EXPECT_EQ(box.top >= presets.bottom, c.boxWraps);
      EXPECT_EQ(box.left == margin, c.boxWraps);
      EXPECT_TRUE(Inside(l.timeoutEdit, f));
      EXPECT_LE(std::abs((l.timeoutEdit.top - f.top) - (f.bottom - l.timeoutEdit.bottom)), 1);
      EXPECT_LE(std::abs((l.clockRect.top - f.top) - (f.bottom - l.clockRect.bottom)), 1);
    }
  }
}

// Every size from the smallest client the minimum window allows upwards, in both
// languages: the parts of each panel stay apart and inside their panel, and the
// entries list takes exactly the space between the header and the log.
TEST(MainLayoutProperties, NothingOverlapsFromTheSmallestClientUp) {
  for (int dpi : {96, 144}) {
    DpiGuard guard(dpi);
    for (bool vietnamese : {false, true}) {
      const MainMeasures m = Measures(vietnamese);
      for (int w = ScaleDpi(760); w <= ScaleDpi(1700); w += ScaleDpi(37)) {
        for (int h = ScaleDpi(500); h <= ScaleDpi(1000); h += ScaleDpi(23)) {
          const MainLayout l = LayoutMain(w, h, m);
          const std::string where = std::to_string(dpi) + " dpi " + std::to_string(w) + "x" + std::to_string(h);
          std::vector<std::pair<const char*, Rect>> sidebar = {
              {"logo", l.logoRect}, {"title", l.titleRect}, {"badge", l.badgeRect}, {"subtitle", l.subtitleRect},
              {"card", l.infoCardRect}, {"quickTitle", l.quickTitleRect}, {"powerTitle", l.powerTitleRect},
              {"firmware order", l.firmwareOrder}, {"firmware", l.firmwareRestart}, {"restart", l.restart}, {"shutdown", l.shutdown},
              {"style", l.styleToggle}, {"language", l.languageToggle}};
          for (const Rect& r : l.quickActions) sidebar.push_back({"quickAction", r});
          // The busy bar lies over the header's bottom padding, under no control.
          std::vector<std::pair<const char*, Rect>> header = {
              {"storeLabel", l.storeLabelRect}, {"selector", l.storeSelector}, {"browse", l.browse},
              {"refresh", l.refresh}, {"clock", l.clockRect}, {"timeoutLabel", l.timeoutLabelRect},
              {"timeoutFrame", l.timeoutFrameRect}, {"apply", l.apply}, {"checkBox", l.showBootMenu},
              {"busyBar", l.busyBarRect}};
          for (const Rect& r : l.timeoutPresets) header.push_back({"preset", r});
          ExpectApartAndInside(sidebar, Rect{0, 0, l.sidebarWidth, h}, where);
          ExpectApartAndInside(header, l.headerRect, where);
          ExpectApartAndInside({{"logTitle", l.logTitleRect}, {"status", l.statusRect}, {"copy", l.copyLog},
                                {"clear", l.clearLog}, {"logView", l.logView}},
                               l.logRect, where);
          EXPECT_EQ(B(l.entries), (Box{l.sidebarWidth, l.headerRect.bottom, w, l.logRect.top})) << where;
          EXPECT_GT(l.entries.Height(), 0) << where;
          EXPECT_GT(l.storeSelector.Width(), 0) << where;
          EXPECT_GT(l.statusRect.Width(), 0) << where;
          if (HasFailure()) return;
        }
      }
    }
  }
}

// The value is right-aligned with its dot before it; a long one is cut so that S(22) stay
// free after the label (room for the dot), and without that room it is not shown.
TEST(MainLayoutInfoRow, ValueIsRightAlignedAndNeverReachesTheLabel) {
  for (int dpi : {96, 144}) {
    DpiGuard guard(dpi);
    const Rect row{100, 50, 100 + ScaleDpi(200), 50 + ScaleDpi(19)};
    const InfoRowGeometry fits = LayoutInfoRow(row, ScaleDpi(60), ScaleDpi(80));
    ASSERT_TRUE(fits.showsValue);
    EXPECT_EQ(B(fits.value), (Box{row.right - ScaleDpi(80), row.top, row.right, row.bottom}));
    EXPECT_TRUE(Inside(fits.dot, row) && fits.dot.right < fits.value.left && fits.dot.left > row.left + ScaleDpi(60));
    EXPECT_EQ(LayoutInfoRow(row, ScaleDpi(60), ScaleDpi(500)).value.left, row.left + ScaleDpi(60) + ScaleDpi(22));
    EXPECT_FALSE(LayoutInfoRow(row, ScaleDpi(178), ScaleDpi(40)).showsValue);
    EXPECT_TRUE(LayoutInfoRow(row, ScaleDpi(177), ScaleDpi(40)).showsValue);
  }
}

// The head moves S(12) a frame over a strip 896 wide; the bar is a quarter of it, 224.
TEST(MainLayoutBusyBar, SweepsAcrossAndStartsAgain) {
  DpiGuard dpi(96);
  const Rect strip{284, 101, 1180, 104};
  EXPECT_TRUE(BusyBarSpan(strip, 0).IsEmpty());
  EXPECT_EQ(B(BusyBarSpan(strip, 10)), (Box{284, 101, 404, 104}));               // head at 120, entering
  EXPECT_EQ(B(BusyBarSpan(strip, 40)), (Box{284 + 480 - 224, 101, 764, 104}));  // head at 480
  EXPECT_EQ(B(BusyBarSpan(strip, 90)), (Box{284 + 1080 - 224, 101, 1180, 104}));  // head past the end
  EXPECT_EQ(B(BusyBarSpan(strip, 94)), (Box{284, 101, 292, 104}));               // 1128 wraps to 8

  // A narrow strip still gets a bar of S(80).
  SetDpi(144);
  EXPECT_EQ(BusyBarSpan(Rect{0, 0, 200, 4}, 10).Width(), 120);
  EXPECT_TRUE(BusyBarSpan(Rect{}, 5).IsEmpty());
}

// The first window is S(1180) x S(760) and the smallest S(780) x S(540), each cut to a smaller
// work area; an unknown area does not clamp the smallest.
TEST(MainLayoutSizes, InitialAndMinimumNeverLargerThanTheWorkArea) {
  struct Case {
    int dpi, workWidth, workHeight;
    std::pair<int, int> initial, minimum;
  };
  for (const Case& c : {Case{96, 1920, 1040, {1180, 760}, {780, 540}}, Case{192, 1920, 1040, {1920, 1040}, {1560, 1040}},
                        Case{96, 1024, 700, {1024, 700}, {780, 540}}, Case{192, 1366, 728, {1366, 728}, {1366, 728}},
                        Case{144, 0, 0, {}, {1170, 810}}}) {
    DpiGuard dpi(c.dpi);
    const Size initial = InitialMainSize(c.workWidth, c.workHeight), minimum = MinimumMainSize(c.workWidth, c.workHeight);
    if (c.workWidth > 0) {
      EXPECT_EQ((std::pair{initial.width, initial.height}), c.initial) << c.dpi << " " << c.workWidth;
    }
    EXPECT_EQ((std::pair{minimum.width, minimum.height}), c.minimum) << c.dpi << " " << c.workWidth;
  }
}

// The card's value row and firmware dot; the statuses, each its own text in each language.
TEST(MainTexts, CardRowsAndStatusLines) {
  zel::test::LanguageGuard english(false);
  const auto rows = InfoCardRows(L"Windows PE (X:)", zel::FirmwareKind::Uefi, 3, 10);
  EXPECT_EQ(rows[3].value, L"3 (10s)");
  EXPECT_NE(rows[2].dot, Warning);  // green for UEFI only
  for (zel::FirmwareKind other : {zel::FirmwareKind::LegacyBios, zel::FirmwareKind::Unknown}) {
    EXPECT_EQ(InfoCardRows(L"Windows", other, 0, 0)[2].dot, Warning);
  }
  EXPECT_EQ(StatusText(Status::Loaded, 7), L"Loaded 7 boot entries from BCD store.");
  std::vector<std::wstring> statuses;
  for (int s = 0; s <= static_cast<int>(Status::JobResultLost); ++s) statuses.push_back(StatusText(Status(s), 7));
  zel::g_vietnamese = true;
  const auto vi = InfoCardRows(L"Windows", zel::FirmwareKind::Uefi, 3, 10);
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_NE(vi[i].label, rows[i].label) << i;
  EXPECT_NE(StatusText(Status::Loaded, 7).find(L"7"), std::wstring::npos);
  for (size_t i = 0; i < statuses.size(); ++i) {
    EXPECT_NE(StatusText(Status(i), 7), statuses[i]) << i;
    for (size_t j = 0; j < i; ++j) EXPECT_NE(statuses[j], statuses[i]) << j << " " << i;
  }
}

}  // namespace
}  // namespace ui