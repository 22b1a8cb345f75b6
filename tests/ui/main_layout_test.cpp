// The main window's geometry: density presets, the wrapping header, the log pane,
// the information rows and the busy bar, at 96 and 144 DPI; and its texts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/language_guard.h"
#include "ui/views/main_layout.h"
#include "ui/views/main_texts.h"

namespace ui {
namespace {

class DpiGuard {
 public:
  explicit DpiGuard(int dpi) : saved_(CurrentDpi()) { SetDpi(dpi); }
  ~DpiGuard() { SetDpi(saved_); }

 private:
  int saved_;
};

// Widths close to what Segoe UI gives at 96 DPI, scaled for other DPIs.
MainMeasures EnglishMeasures() {
  MainMeasures m;
  m.titleWidth = 92;
  m.badgeTextWidth = 18;
  m.storeLabelWidth = 72;
  m.timeoutLabelWidth = 95;
  m.logTitleWidth = 135;
  m.editHeight = 18;
  m.browseWidth = 128;
  m.refreshWidth = 121;
  m.applyWidth = 64;
  m.checkBoxWidth = 130;
  m.copyWidth = 76;
  m.clearWidth = 79;
  return m;
}

MainMeasures VietnameseMeasures() {
  MainMeasures m = EnglishMeasures();
  m.storeLabelWidth = 60;
  m.timeoutLabelWidth = 140;
  m.browseWidth = 141;
  m.refreshWidth = 126;
  m.applyWidth = 76;
  m.checkBoxWidth = 200;
  m.copyWidth = 74;
  m.clearWidth = 94;
  return m;
}

MainMeasures Scaled(MainMeasures m) {
  for (int* v : {&m.titleWidth, &m.badgeTextWidth, &m.storeLabelWidth, &m.timeoutLabelWidth, &m.logTitleWidth,
                 &m.editHeight, &m.browseWidth, &m.refreshWidth, &m.applyWidth, &m.checkBoxWidth, &m.copyWidth,
                 &m.clearWidth}) {
    *v = ScaleDpi(*v);
  }
  return m;
}

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Inside(const Rect& inner, const Rect& outer) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top && inner.bottom <= outer.bottom;
}

using Named = std::pair<const char*, Rect>;

std::vector<Named> SidebarParts(const MainLayout& l) {
  std::vector<Named> parts = {{"logo", l.logoRect},         {"title", l.titleRect},
                              {"badge", l.badgeRect},       {"subtitle", l.subtitleRect},
                              {"card", l.infoCardRect},     {"quickTitle", l.quickTitleRect},
                              {"powerTitle", l.powerTitleRect}, {"firmware", l.firmwareRestart},
                              {"restart", l.restart},       {"shutdown", l.shutdown},
                              {"style", l.styleToggle},     {"language", l.languageToggle}};
  for (const Rect& r : l.quickActions) parts.push_back({"quickAction", r});
  return parts;
}

std::vector<Named> HeaderParts(const MainLayout& l) {
  std::vector<Named> parts = {{"storeLabel", l.storeLabelRect},
                              {"selector", l.storeSelector},
                              {"browse", l.browse},
                              {"refresh", l.refresh},
                              {"clock", l.clockRect},
                              {"timeoutLabel", l.timeoutLabelRect},
                              {"timeoutFrame", l.timeoutFrameRect},
                              {"apply", l.apply},
                              {"checkBox", l.showBootMenu},
                              {"busyBar", l.busyBarRect}};
  for (const Rect& r : l.timeoutPresets) parts.push_back({"preset", r});
  return parts;
}

std::vector<Named> LogParts(const MainLayout& l) {
  return {{"logTitle", l.logTitleRect}, {"status", l.statusRect}, {"copy", l.copyLog}, {"clear", l.clearLog},
          {"logView", l.logView}};
}

// Within one group, no two shown parts share a pixel.
void ExpectDisjoint(const std::vector<Named>& parts, const std::string& where) {
  for (size_t i = 0; i < parts.size(); ++i) {
    for (size_t j = i + 1; j < parts.size(); ++j) {
      if (parts[i].second.IsEmpty() || parts[j].second.IsEmpty()) continue;
      EXPECT_FALSE(Overlap(parts[i].second, parts[j].second)) << where << ": " << parts[i].first << " / " << parts[j].first;
    }
  }
}

void ExpectWithin(const std::vector<Named>& parts, const Rect& panel, const std::string& where) {
  for (const auto& [name, r] : parts) {
    if (r.IsEmpty()) continue;
    EXPECT_TRUE(Inside(r, panel)) << where << ": " << name;
  }
}

int HeaderHeightForRows(int rows) {
  return ScaleDpi(14) + ScaleDpi(34) + ScaleDpi(10) + rows * ScaleDpi(32) + (rows - 1) * ScaleDpi(8) + ScaleDpi(14);
}

// Needed heights worked out by hand from the sidebar's stack of parts.
TEST(MainLayoutPresets, EachPresetStartsAtItsNeededHeight) {
  DpiGuard dpi(96);
  const int needed96[kPresetCount] = {662, 606, 570, 466, 432, 398};
  for (int i = 0; i < kPresetCount; ++i) {
    EXPECT_EQ(PresetNeededHeight(i), needed96[i]) << "preset " << i + 1;
    EXPECT_EQ(LayoutMain(1180, needed96[i], EnglishMeasures()).preset, i + 1);
    if (i + 1 < kPresetCount) {
      EXPECT_EQ(LayoutMain(1180, needed96[i] - 1, EnglishMeasures()).preset, i + 2);
    }
  }
  EXPECT_EQ(LayoutMain(1180, 200, EnglishMeasures()).preset, 6);  // nothing fits: still the densest

  // At 144 DPI every length is rounded on its own: S(19) is 29, so the card is 146, not 144.
  SetDpi(144);
  EXPECT_EQ(PresetNeededHeight(0), 999);
  EXPECT_EQ(PresetNeededHeight(2), 857);
  EXPECT_EQ(PresetNeededHeight(5), 597);
  EXPECT_EQ(LayoutMain(1770, 857, Scaled(EnglishMeasures())).preset, 3);
  EXPECT_EQ(LayoutMain(1770, 856, Scaled(EnglishMeasures())).preset, 4);
  EXPECT_EQ(LayoutMain(1770, 999, Scaled(EnglishMeasures())).infoCardRect.Height(), 146);
}

TEST(MainLayoutPresets, SidebarStackFitsExactlyAtTheNeededHeight) {
  for (int dpi : {96, 144}) {
    DpiGuard guard(dpi);
    for (int i = 0; i < kPresetCount; ++i) {
      const MainLayout l = LayoutMain(ScaleDpi(1180), PresetNeededHeight(i), Scaled(EnglishMeasures()));
      const DensityPreset& p = kDensityPresets[static_cast<size_t>(i)];
      EXPECT_EQ(l.styleToggle.top - l.restart.bottom, ScaleDpi(10)) << dpi << " dpi, preset " << i + 1;
      EXPECT_EQ(l.quickActions[0].Height(), ScaleDpi(p.buttonHeight));
      EXPECT_EQ(l.quickActions[1].top - l.quickActions[0].bottom, ScaleDpi(p.gap));
      EXPECT_EQ(l.infoCardRect.IsEmpty(), !p.showsCard);
    }
  }
}

TEST(MainLayoutPresets, LosingTheCardMovesTheQuickActionsUp) {
  for (int dpi : {96, 144}) {
    DpiGuard guard(dpi);
    const MainLayout withCard = LayoutMain(ScaleDpi(1180), PresetNeededHeight(2), Scaled(EnglishMeasures()));
    const MainLayout without = LayoutMain(ScaleDpi(1180), PresetNeededHeight(2) - 1, Scaled(EnglishMeasures()));
    ASSERT_EQ(withCard.preset, 3);
    ASSERT_EQ(without.preset, 4);
    EXPECT_FALSE(withCard.infoCardRect.IsEmpty());
    EXPECT_TRUE(without.infoCardRect.IsEmpty());
    // Same density, so everything below the card moves up by the card and its gap.
    EXPECT_EQ(withCard.quickActions[0].top - without.quickActions[0].top,
              withCard.infoCardRect.Height() + ScaleDpi(8));
    EXPECT_EQ(withCard.quickActions[0].Height(), without.quickActions[0].Height());
  }
}

TEST(MainLayoutSidebar, WidthBadgeAndLabelFollowTheClientWidth) {
  for (int dpi : {96, 144}) {
    DpiGuard guard(dpi);
    const MainMeasures m = Scaled(EnglishMeasures());
    EXPECT_EQ(LayoutMain(ScaleDpi(999), 800, m).sidebarWidth, ScaleDpi(256));
    EXPECT_EQ(LayoutMain(ScaleDpi(1000), 800, m).sidebarWidth, ScaleDpi(284));

    // A title that leaves room for the badge only in the wide sidebar.
    MainMeasures longTitle = m;
    longTitle.titleWidth = ScaleDpi(150);
    const MainLayout narrow = LayoutMain(ScaleDpi(999), 800, longTitle);
    const MainLayout wide = LayoutMain(ScaleDpi(1000), 800, longTitle);
    EXPECT_TRUE(narrow.badgeRect.IsEmpty());
    ASSERT_FALSE(wide.badgeRect.IsEmpty());
    EXPECT_EQ(wide.badgeRect.left, wide.titleRect.right + ScaleDpi(7));
    EXPECT_EQ(wide.badgeRect.Width(), longTitle.badgeTextWidth + ScaleDpi(12));
    EXPECT_LE(wide.badgeRect.right, wide.sidebarWidth - ScaleDpi(16));
    EXPECT_FALSE(LayoutMain(ScaleDpi(999), 800, m).badgeRect.IsEmpty());

    // The store label goes once the main area is narrower than S(640).
    const int edge = ScaleDpi(256) + ScaleDpi(640);
    const MainLayout withLabel = LayoutMain(edge, 800, m);
    const MainLayout noLabel = LayoutMain(edge - 1, 800, m);
    const int left = ScaleDpi(256) + ScaleDpi(20);
    EXPECT_EQ(withLabel.storeLabelRect.Width(), m.storeLabelWidth);
    EXPECT_EQ(withLabel.storeSelector.left, left + m.storeLabelWidth + ScaleDpi(8));
    EXPECT_TRUE(noLabel.storeLabelRect.IsEmpty());
    EXPECT_EQ(noLabel.storeSelector.left, left);
    // The selector ends S(16) before the browse button in both cases.
    EXPECT_EQ(noLabel.browse.left - noLabel.storeSelector.right, ScaleDpi(16));
    EXPECT_EQ(noLabel.refresh.right, edge - 1 - ScaleDpi(20));
  }
}

TEST(MainLayoutHeader, GroupsWrapToNewRowsAndTheListShrinks) {
  for (int dpi : {96, 144}) {
    DpiGuard guard(dpi);
    const MainMeasures en = Scaled(EnglishMeasures());
    const MainMeasures vi = Scaled(VietnameseMeasures());

    // Wide: time-out, presets and check box share one row.
    const MainLayout one = LayoutMain(ScaleDpi(1400), ScaleDpi(800), en);
    EXPECT_EQ(one.headerRect.Height(), HeaderHeightForRows(1));
    EXPECT_EQ(one.timeoutPresets[0].top, one.timeoutFrameRect.top + ScaleDpi(2));
    EXPECT_EQ(one.showBootMenu.top, one.timeoutFrameRect.top);
    EXPECT_EQ(one.timeoutPresets[0].left, one.apply.right + ScaleDpi(14));
    EXPECT_EQ(one.showBootMenu.left, one.timeoutPresets[4].right + ScaleDpi(14));

    // The longer Vietnamese check box label no longer fits after the presets.
    const MainLayout two = LayoutMain(ScaleDpi(1050), ScaleDpi(800), vi);
    EXPECT_EQ(two.headerRect.Height(), HeaderHeightForRows(2));
    EXPECT_EQ(two.timeoutPresets[0].top, two.timeoutFrameRect.top + ScaleDpi(2));
    EXPECT_EQ(two.showBootMenu.top, two.timeoutFrameRect.top + ScaleDpi(40));
    EXPECT_EQ(two.showBootMenu.left, two.sidebarWidth + ScaleDpi(20));
    EXPECT_EQ(two.busyBarRect.bottom, two.headerRect.bottom);
    EXPECT_EQ(two.busyBarRect.Height(), ScaleDpi(3));

    // At the narrowest, the presets wrap too, and the check box follows them.
    const MainLayout narrow = LayoutMain(ScaleDpi(760), ScaleDpi(800), en);
    EXPECT_EQ(narrow.headerRect.Height(), HeaderHeightForRows(2));
    EXPECT_EQ(narrow.timeoutPresets[0].left, narrow.sidebarWidth + ScaleDpi(20));
    EXPECT_EQ(narrow.showBootMenu.top, narrow.timeoutPresets[0].top - ScaleDpi(2));

    // A check box too long to follow the presets takes a third row.
    MainMeasures longBox = en;
    longBox.checkBoxWidth = ScaleDpi(300);
    const MainLayout three = LayoutMain(ScaleDpi(760), ScaleDpi(800), longBox);
    EXPECT_EQ(three.headerRect.Height(), HeaderHeightForRows(3));
    // A group wider than the whole row stays on the row it starts.
    longBox.timeoutLabelWidth = ScaleDpi(900);
    EXPECT_EQ(LayoutMain(ScaleDpi(760), ScaleDpi(800), longBox).timeoutFrameRect.top, ScaleDpi(58));

    // The entries list takes what the header leaves above the log.
    EXPECT_EQ(three.entries.top, three.headerRect.bottom);
    EXPECT_EQ(three.entries.bottom, three.logRect.top);
    EXPECT_EQ(narrow.entries.Height() - three.entries.Height(), ScaleDpi(32) + ScaleDpi(8));
  }
}

// The field sits inside its painted frame, centred on the row whatever the font height.
TEST(MainLayoutHeader, TimeoutFieldSitsInsideItsFrame) {
  for (int dpi : {96, 144}) {
    DpiGuard guard(dpi);
    for (int editHeight : {ScaleDpi(14), ScaleDpi(18), ScaleDpi(24)}) {
      MainMeasures m = Scaled(EnglishMeasures());
      m.editHeight = editHeight;
      const MainLayout l = LayoutMain(ScaleDpi(1180), ScaleDpi(760), m);
      EXPECT_TRUE(Inside(l.timeoutEdit, l.timeoutFrameRect)) << dpi << " " << editHeight;
      EXPECT_LE(std::abs((l.timeoutEdit.top - l.timeoutFrameRect.top) - (l.timeoutFrameRect.bottom - l.timeoutEdit.bottom)), 1);
      EXPECT_LE(std::abs((l.clockRect.top - l.timeoutFrameRect.top) - (l.timeoutFrameRect.bottom - l.clockRect.bottom)), 1);
    }
  }
}

TEST(MainLayoutLog, PaneHeightAndRowFollowTheClient) {
  for (int dpi : {96, 144}) {
    DpiGuard guard(dpi);
    const MainMeasures m = Scaled(EnglishMeasures());
    const int width = ScaleDpi(1180);
    const MainLayout tall = LayoutMain(width, ScaleDpi(640), m);
    const MainLayout shortOne = LayoutMain(width, ScaleDpi(640) - 1, m);
    EXPECT_EQ(tall.logView.Height(), ScaleDpi(96));
    EXPECT_EQ(shortOne.logView.Height(), ScaleDpi(62));
    // The smaller pane gives its height to the entries list; the bottom margin stays.
    EXPECT_EQ(shortOne.logRect.Height(), tall.logRect.Height() - (ScaleDpi(96) - ScaleDpi(62)));
    EXPECT_EQ(shortOne.logRect.bottom - shortOne.logView.bottom, ScaleDpi(12));
    EXPECT_EQ(tall.logRect.bottom - tall.logView.bottom, ScaleDpi(12));
  }
}

// Every size from the smallest client the minimum window allows upwards, in both
// languages: the parts of each panel stay apart and inside their panel.
TEST(MainLayoutProperties, NothingOverlapsFromTheSmallestClientUp) {
  for (int dpi : {96, 144}) {
    DpiGuard guard(dpi);
    for (const MainMeasures& base : {EnglishMeasures(), VietnameseMeasures()}) {
      const MainMeasures m = Scaled(base);
      for (int w = ScaleDpi(760); w <= ScaleDpi(1700); w += ScaleDpi(37)) {
        for (int h = ScaleDpi(500); h <= ScaleDpi(1000); h += ScaleDpi(23)) {
          const MainLayout l = LayoutMain(w, h, m);
          const std::string where = std::to_string(dpi) + " dpi " + std::to_string(w) + "x" + std::to_string(h);
          const Rect sidebar{0, 0, l.sidebarWidth, h};
          const auto sidebarParts = SidebarParts(l);
          const auto headerParts = HeaderParts(l);
          const auto logParts = LogParts(l);
          ExpectDisjoint(sidebarParts, where);
          ExpectWithin(sidebarParts, sidebar, where);
          // The busy bar lies over the header's bottom padding, under no control.
          ExpectDisjoint(headerParts, where);
          ExpectWithin(headerParts, l.headerRect, where);
          ExpectDisjoint(logParts, where);
          ExpectWithin(logParts, l.logRect, where);
          EXPECT_FALSE(Overlap(l.headerRect, l.logRect)) << where;
          EXPECT_EQ(l.entries.top, l.headerRect.bottom) << where;
          EXPECT_EQ(l.entries.bottom, l.logRect.top) << where;
          EXPECT_EQ(l.entries.left, l.sidebarWidth) << where;
          EXPECT_EQ(l.entries.right, w) << where;
          EXPECT_GT(l.entries.Height(), 0) << where;
          EXPECT_GT(l.storeSelector.Width(), 0) << where;
          EXPECT_GT(l.statusRect.Width(), 0) << where;
          if (HasFailure()) return;
        }
      }
    }
  }
}

TEST(MainLayoutInfoRow, ValueIsRightAlignedAndNeverReachesTheLabel) {
  for (int dpi : {96, 144}) {
    DpiGuard guard(dpi);
    const Rect row{100, 50, 100 + ScaleDpi(200), 50 + ScaleDpi(19)};
    const InfoRowGeometry fits = LayoutInfoRow(row, ScaleDpi(60), ScaleDpi(80));
    ASSERT_TRUE(fits.showsValue);
    EXPECT_EQ(fits.value.right, row.right);
    EXPECT_EQ(fits.value.Width(), ScaleDpi(80));
    EXPECT_EQ(fits.dot.right, fits.value.left - ScaleDpi(6));
    EXPECT_EQ(fits.dot.Width(), ScaleDpi(7));
    EXPECT_EQ(fits.dot.Height(), ScaleDpi(7));
    EXPECT_EQ(fits.dot.top, row.top + 1 + (row.Height() - ScaleDpi(7)) / 2);

    // A long value is cut so that S(22) stay free after the label (room for the dot).
    const InfoRowGeometry cut = LayoutInfoRow(row, ScaleDpi(60), ScaleDpi(500));
    EXPECT_EQ(cut.value.left, row.left + ScaleDpi(60) + ScaleDpi(22));
    EXPECT_GE(cut.dot.left, row.left + ScaleDpi(60));

    EXPECT_FALSE(LayoutInfoRow(row, ScaleDpi(178), ScaleDpi(40)).showsValue);
    EXPECT_TRUE(LayoutInfoRow(row, ScaleDpi(177), ScaleDpi(40)).showsValue);
  }
}

TEST(MainLayoutBusyBar, SweepsAcrossAndStartsAgain) {
  DpiGuard dpi(96);
  const Rect strip{284, 101, 1180, 104};  // 896 wide: the bar is a quarter, 224
  EXPECT_TRUE(BusyBarSpan(strip, 0).IsEmpty());
  const Rect entering = BusyBarSpan(strip, 10);  // head at 120
  EXPECT_EQ(entering.left, 284);
  EXPECT_EQ(entering.right, 404);
  EXPECT_EQ(entering.top, 101);
  EXPECT_EQ(entering.bottom, 104);
  const Rect middle = BusyBarSpan(strip, 40);  // head at 480
  EXPECT_EQ(middle.left, 284 + 480 - 224);
  EXPECT_EQ(middle.Width(), 224);
  const Rect leaving = BusyBarSpan(strip, 90);  // head at 1080, past the end
  EXPECT_EQ(leaving.right, 1180);
  EXPECT_EQ(leaving.left, 284 + 1080 - 224);
  const Rect again = BusyBarSpan(strip, 94);  // 1128 wraps to 8
  EXPECT_EQ(again.left, 284);
  EXPECT_EQ(again.right, 292);

  // A narrow strip still gets a bar of S(80).
  SetDpi(144);
  EXPECT_EQ(BusyBarSpan(Rect{0, 0, 200, 4}, 10).Width(), 120);
  EXPECT_TRUE(BusyBarSpan(Rect{}, 5).IsEmpty());
}

TEST(MainTexts, InformationCardRows) {
  zel::test::LanguageGuard english(false);
  auto rows = InfoCardRows(L"Windows PE (X:)", L"UEFI", 3, 10);
  EXPECT_EQ(rows[0].value, L"1.0.0.1 PE");
  EXPECT_EQ(rows[0].dot, Violet);
  EXPECT_EQ(rows[1].value, L"Windows PE (X:)");
  EXPECT_EQ(rows[1].dot, Accent);
  EXPECT_EQ(rows[2].dot, Success);
  EXPECT_EQ(rows[3].label, L"Entries:");
  EXPECT_EQ(rows[3].value, L"3 (10s)");
  EXPECT_EQ(rows[3].dot, kNoColour);
  // Only the exact word is UEFI.
  for (const wchar_t* other : {L"Legacy BIOS", L"Unknown", L"uefi", L"UEFI ", L""}) {
    EXPECT_EQ(InfoCardRows(L"Windows", other, 0, 0)[2].dot, Warning) << std::wstring(other).size();
  }
  zel::g_vietnamese = true;
  rows = InfoCardRows(L"Windows", L"Legacy BIOS", 12, 0);
  EXPECT_EQ(rows[2].label, L"Chuẩn Firmware:");
  EXPECT_EQ(rows[3].value, L"12 (0s)");
}

// The bracketed key in each label is the keyboard shortcut of that command.
TEST(MainTexts, QuickActionLabelsNameTheirShortcutKeys) {
  const std::pair<int, wchar_t> keys[] = {{kAddWinPeId, L'1'},   {kAddWindowsId, L'2'}, {kBackupBcdId, L'3'},
                                          {kRestoreBcdId, L'4'}, {kRawViewId, L'5'},    {kBackupEfiId, L'7'},
                                          {kRestoreEfiId, L'8'}, {kRepairEfiId, L'9'},  {kFirmwareRestartId, L'B'}};
  for (bool vietnamese : {true, false}) {
    zel::test::LanguageGuard language(vietnamese);
    for (const auto& [id, key] : keys) {
      const std::wstring text = MainControlText(id);
      ASSERT_GE(text.size(), 4u) << id;
      const std::wstring expected{L'[', key, L']', L' '};
      EXPECT_EQ(text.substr(0, 4), expected) << id;
    }
  }
  ASSERT_EQ(kQuickActions.size(), 8u);
  EXPECT_EQ(kQuickActions.front().id, kAddWinPeId);
  EXPECT_EQ(kQuickActions.back().id, kRepairEfiId);
}

}  // namespace
}  // namespace ui
