// The main window's children: creation from the control table, texts and placement.
#include <algorithm>

#include "core/firmware.h"
#include "ui/canvas_win.h"
#include "ui/controls_win.h"
#include "ui/theme_win.h"
#include "ui/views/entries_view_win.h"
#include "ui/views/main_view_win.h"

namespace ui {
namespace {

constexpr int kSidebarSlot = 1, kSurfaceSlot = 2;
constexpr int kAppIconResource = 101;

// Icons and labels of commands come from the command table; this is how each control looks.
struct ControlDef {
  int id;
  ButtonVariant variant;
  int surface;
  FontSlot font;
  bool leftAligned;
};

// The header's buttons, in creation order around the time-out field.
constexpr ControlDef kStoreSelector{kStoreSelectorId, ButtonVariant::DropDown, kSurfaceSlot, Regular12, true};
constexpr ControlDef kBrowse{kBrowseId, ButtonVariant::Default, kSurfaceSlot, Regular12, false};
constexpr ControlDef kRefresh{kRefreshId, ButtonVariant::Default, kSurfaceSlot, Regular12, false};
constexpr ControlDef kApply{kApplyTimeoutId, ButtonVariant::Primary, kSurfaceSlot, Semibold12, false};
constexpr ControlDef kShowBootMenu{kShowBootMenuId, ButtonVariant::CheckBox, kSurfaceSlot, Regular13, true};
// The sidebar's buttons after the quick actions.
constexpr ControlDef kSidebarButtons[] = {
    {kFirmwareOrderId, ButtonVariant::Default, kSidebarSlot, Regular12, true},
    {kFirmwareRestartId, ButtonVariant::Default, kSidebarSlot, Regular12, true},
    {kRestartId, ButtonVariant::Default, kSidebarSlot, Semibold11, false},
    {kShutdownId, ButtonVariant::Danger, kSidebarSlot, Semibold11, false},
    {kStyleToggleId, ButtonVariant::Default, kSidebarSlot, Semibold12, false},
    {kLanguageToggleId, ButtonVariant::Default, kSidebarSlot, Semibold12, false},
};
constexpr ControlDef kLogButtons[] = {
    {kCopyLogId, ButtonVariant::Subtle, kSurfaceSlot, Regular11, false},
    {kClearLogId, ButtonVariant::Subtle, kSurfaceSlot, Regular11, false},
};

IconId StyleIcon() { return g_darkTheme ? kIconMoon : kIconSun; }

const CommandFace* FindFace(const MainView& view, int id) {
  for (const CommandFace& face : view.commands) {
    if (face.id == id) return &face;
  }
  return nullptr;
}

// The style toggle's icon follows the style; every other control has its command's icon, or none.
HWND MakeButton(const MainView& view, const ControlDef& def, const std::wstring& text) {
  const CommandFace* face = FindFace(view, def.id);
  const int icon = def.id == kStyleToggleId ? StyleIcon() : face ? face->icon : kIconNone;
  return CreateOwnerButton(view.window, def.id, text, ButtonStyle{def.variant, icon, def.surface, def.font, def.leftAligned});
}

HWND MakeTimeoutEdit(HWND parent) {
  HWND edit = CreateWindowExW(0, L"EDIT", L"10", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_NUMBER | ES_CENTER, 0, 0, 0, 0,
                              parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTimeoutEditId)), UiInstance(), nullptr);
  if (edit) {
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(Font(Semibold13)), FALSE);
    SendMessageW(edit, EM_SETLIMITTEXT, 4, 0);
  }
  return edit;
}

// A failed child is simply not there: it is skipped, and sizes never go negative. Children
// move without repainting one by one; LayoutMain redraws the whole window once at the end,
// which under Wine takes a quarter of the time of some thirty separate repaints.
void Place(HWND child, Rect r) {
  if (child) {
    SetWindowPos(child, nullptr, r.left, r.top, std::max(0, r.Width()), std::max(0, r.Height()),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  }
}

void PlaceById(HWND parent, int id, Rect r) { Place(GetDlgItem(parent, id), r); }

int NaturalWidth(HWND parent, int id) { return ButtonNaturalWidth(GetDlgItem(parent, id)); }

MainMeasures Measure(HWND window) {
  MainMeasures m;
  m.titleWidth = MeasureTextWidth(L"Zel Quillon", Bold16).width;
  m.badgeTextWidth = MeasureTextWidth(L"PE", Semibold11).width;
  m.storeLabelWidth = MeasureTextWidth(StoreLabelText(), Semibold13).width;
  m.timeoutLabelWidth = MeasureTextWidth(TimeoutLabelText(), Semibold13).width;
  m.logTitleWidth = MeasureTextWidth(LogTitleText(), Semibold12).width;
  m.editHeight = FontHeight(Semibold13);
  m.browseWidth = NaturalWidth(window, kBrowseId);
  m.refreshWidth = NaturalWidth(window, kRefreshId);
  m.applyWidth = NaturalWidth(window, kApplyTimeoutId);
  m.checkBoxWidth = NaturalWidth(window, kShowBootMenuId);
  m.copyWidth = NaturalWidth(window, kCopyLogId);
  m.clearWidth = NaturalWidth(window, kClearLogId);
  return m;
}

}  // namespace

void LoadAppIcon(MainView& view) {
  if (!view.appIconHandle) {
    view.appIconHandle.reset(static_cast<HICON>(
        LoadImageW(UiInstance(), MAKEINTRESOURCEW(kAppIconResource), IMAGE_ICON, 256, 256, 0)));
  }
  view.appIcon = IconToImage(view.appIconHandle.get(), ScaleDpi(38));
}

void CreateMainControls(MainView& view, MainViewState& state, std::span<const CommandFace> commands) {
  view.commands = commands;
  HWND w = view.window;
  MakeButton(view, kStoreSelector, StoreDisplayName(state.selectedStorePath));
  MakeButton(view, kBrowse, L"");
  MakeButton(view, kRefresh, L"");
  view.timeoutEdit = MakeTimeoutEdit(w);
  MakeButton(view, kApply, L"");
  for (int i = 0; i < kTimeoutPresetCount; ++i) {
    const int id = kTimeoutPresetFirstId + i;
    MakeButton(view, ControlDef{id, ButtonVariant::Default, kSurfaceSlot, Regular11, false}, MainControlText(id));
  }
  SetChecked(MakeButton(view, kShowBootMenu, L""), true);
  view.entries = CreateEntriesList(w, kEntriesId);
  bool first = true;
  for (const CommandFace& face : commands) {
    if (!face.quickAction) continue;
    // The first quick action is the one most runs start with, so it stands out.
    MakeButton(view,
               ControlDef{face.id, first ? ButtonVariant::Primary : ButtonVariant::Default, kSidebarSlot,
                          first ? Semibold12 : Regular12, true},
               L"");
    first = false;
  }
  for (const ControlDef& def : kSidebarButtons) MakeButton(view, def, L"");
  for (const ControlDef& def : kLogButtons) MakeButton(view, def, L"");
  view.log = CreateTextView(w, kLogViewId);

  state.environmentLabel = zel::EnvironmentLabel();
  state.firmware = zel::MachineFirmware();
  state.statusText = StatusText(Status::Ready);
  ApplyTexts(view);
}

void ApplyTexts(const MainView& view) {
  for (const CommandFace& face : view.commands) {
    if (face.english) SetWindowTextW(GetDlgItem(view.window, face.id), CommandText(face).c_str());
  }
  SetWindowTextW(GetDlgItem(view.window, kStyleToggleId), MainControlText(kStyleToggleId).c_str());
}

void ApplyStoreSelectorText(const MainView& view, const std::wstring& storePath) {
  HWND selector = GetDlgItem(view.window, kStoreSelectorId);
  if (!selector) return;
  SetWindowTextW(selector, StoreDisplayName(storePath).c_str());
  InvalidateRect(selector, nullptr, FALSE);
}

void LayoutMain(MainView& view, int width, int height) {
  HWND w = view.window;
  view.layout = LayoutMain(width, height, Measure(w));
  const MainLayout& l = view.layout;

  PlaceById(w, kStoreSelectorId, l.storeSelector);
  PlaceById(w, kBrowseId, l.browse);
  PlaceById(w, kRefreshId, l.refresh);
  Place(view.timeoutEdit, l.timeoutEdit);
  PlaceById(w, kApplyTimeoutId, l.apply);
  for (int i = 0; i < kTimeoutPresetCount; ++i) PlaceById(w, kTimeoutPresetFirstId + i, l.timeoutPresets[i]);
  PlaceById(w, kShowBootMenuId, l.showBootMenu);
  Place(view.entries, l.entries);
  size_t slot = 0;
  for (const CommandFace& face : view.commands) {
    if (face.quickAction && slot < l.quickActions.size()) PlaceById(w, face.id, l.quickActions[slot++]);
  }
  PlaceById(w, kFirmwareOrderId, l.firmwareOrder);
  PlaceById(w, kFirmwareRestartId, l.firmwareRestart);
  PlaceById(w, kRestartId, l.restart);
  PlaceById(w, kShutdownId, l.shutdown);
  PlaceById(w, kStyleToggleId, l.styleToggle);
  PlaceById(w, kLanguageToggleId, l.languageToggle);
  PlaceById(w, kCopyLogId, l.copyLog);
  PlaceById(w, kClearLogId, l.clearLog);
  if (view.log) Place(view.log->hwnd, l.logView);
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Relayout(MainView& view) {
  RECT client{};
  GetClientRect(view.window, &client);
  LayoutMain(view, client.right, client.bottom);
  // The cards' texts and widths follow the language and DPI, which a size change alone would miss.
  if (view.entries) LayoutEntries(view.entries);
  RedrawWindow(view.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

namespace {
void InvalidatePart(const MainView& view, Rect r) {
  if (r.IsEmpty()) return;
  const RECT area = ToRECT(r);
  InvalidateRect(view.window, &area, FALSE);
}
}  // namespace

void SetMinimumTrackSize(HWND window, MINMAXINFO& info) {
  MONITORINFO monitor{sizeof(monitor)};
  if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) monitor.rcWork = RECT{};
  const Size minimum =
      MinimumMainSize(monitor.rcWork.right - monitor.rcWork.left, monitor.rcWork.bottom - monitor.rcWork.top);
  info.ptMinTrackSize = POINT{minimum.width, minimum.height};
}

void TakeDpi(int dpi) {
  dpi = std::max(dpi, 96);
  if (dpi == CurrentDpi()) return;
  SetDpi(dpi);
  RecreateFonts();
}

void ApplyDpiChange(MainView& view, int dpi, const RECT& suggested) {
  TakeDpi(dpi);
  LoadAppIcon(view);
  // The edit keeps the handle it was given, which RecreateFonts has just deleted.
  SendMessageW(view.timeoutEdit, WM_SETFONT, reinterpret_cast<WPARAM>(Font(Semibold13)), TRUE);
  SetWindowPos(view.window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  Relayout(view);
}

HWND WheelTarget(const MainView& view, POINT screenPoint) {
  // By the log's rectangle, not by the window under the point: that one may belong to another
  // program, which the turn was not meant for either.
  const HWND log = view.log ? view.log->hwnd : nullptr;
  RECT r{};
  return log && IsWindowVisible(log) && GetWindowRect(log, &r) && PtInRect(&r, screenPoint) ? log : view.entries;
}

void InvalidateBusyBar(const MainView& view) { InvalidatePart(view, view.layout.busyBarRect); }
void InvalidateStatus(const MainView& view) { InvalidatePart(view, view.layout.statusRect); }
void InvalidateTimeoutFrame(const MainView& view) { InvalidatePart(view, view.layout.timeoutFrameRect); }

}  // namespace ui
