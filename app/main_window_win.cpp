// The main window's procedure: commands, shortcuts, the busy rules, job
// completions, DPI changes, and the four commands it carries out itself
// (language, style, copy log, clear log).
#include "app/main_window_win.h"

#include "app/actions.h"
#include "app/command_log.h"
#include "app/jobs_win.h"
#include "app/settings.h"
#include "core/firmware.h"
#include "core/language.h"
#include "core/text.h"
#include "ui/controls_win.h"
#include "ui/theme_win.h"
#include "ui/views/entries_view_win.h"

namespace app {
namespace {

using zel::Pick;

constexpr wchar_t kMainClass[] = L"ZelQuillonPE.Main";

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

// Looked up at run time: older systems and Windows PE builds lack it.
int WindowDpi(HWND window) {
  static const auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  return getDpi ? static_cast<int>(getDpi(window)) : 0;
}

void TakeDpi(int dpi) {
  dpi = std::max(dpi, 96);
  if (dpi == ui::CurrentDpi()) return;
  ui::SetDpi(dpi);
  ui::RecreateFonts();
}

void OnEntryAction(ui::CardAction action) {
  switch (action) {
    case ui::CardAction::ShowInMenu:
      ActionShowInMenu();
      break;
    case ui::CardAction::MoveUp:
      ActionMove(-1);
      break;
    case ui::CardAction::MoveDown:
      ActionMove(+1);
      break;
    case ui::CardAction::SetDefault:
      ActionSetDefault();
      break;
    case ui::CardAction::Policy:
      ActionPolicy();
      break;
    case ui::CardAction::Rename:
      ActionRename();
      break;
    case ui::CardAction::BootOnce:
      ActionBootOnce();
      break;
    case ui::CardAction::Delete:
      ActionDelete();
      break;
    default:
      break;
  }
}

void OnCreate(HWND window) {
  AppState& state = State();
  state.view.window = window;
  if (const int dpi = WindowDpi(window)) TakeDpi(dpi);
  ui::LoadAppIcon(state.view);
  ui::CreateMainControls(state.view, state.shown);
  state.shown.snapshot = &state.snapshot;
  ui::EntriesHost host;
  host.snapshot = &state.snapshot;
  host.selectedEntryId = &state.selectedEntryId;
  host.busy = &g_busy;
  host.onAction = OnEntryAction;
  ui::SetEntriesHost(state.view.entries, host);
  ui::ApplyTitleBarStyle(window);
  AppendLog(Pick(L"Zel Quillon PE đã khởi động. Không cần .NET hoặc VC++ Redistributable.",
                 L"Zel Quillon PE started. No .NET or VC++ Redistributable required."));
  PostMessageW(window, WM_COMMAND, ui::kRefreshId, 0);
}

void SwitchStyle(HWND window) {
  ui::g_darkTheme = !ui::g_darkTheme;
  ui::ResetEditBrush();
  SaveSettings();
  ui::ApplyTexts(State().view);
  ui::SetButtonIcon(GetDlgItem(window, ui::kStyleToggleId), ui::g_darkTheme ? 14 : 13);
  ui::ApplyTitleBarStyle(window);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void SwitchLanguage() {
  AppState& state = State();
  zel::g_vietnamese = !zel::g_vietnamese;
  SaveSettings();
  ui::ApplyTexts(state.view);
  state.shown.firmwareLabel = zel::FirmwareTypeLabel();
  ui::ApplyStoreSelectorText(state.view, state.shown.selectedStorePath);
  state.shown.statusText = ui::ReadyStatusText();
  ui::Relayout(state.view);
}

void CopyLog(HWND window) {
  const ui::TextView* log = State().view.log;
  if (log && ui::CopyTextToClipboard(window, ui::GetAllText(log))) {
    SetStatus(Pick(L"Đã sao chép nhật ký vào bộ nhớ tạm.", L"Log copied to clipboard."));
  }
}

void ClearLog() {
  ui::TextView* log = State().view.log;
  if (!log) return;
  log->content.lines.clear();
  ui::Rewrap(log);
  InvalidateRect(log->hwnd, nullptr, FALSE);
}

void OnCommand(HWND window, int id, int notification) {
  AppState& state = State();
  if (id == ui::kTimeoutEditId) {  // focus colour of the edit frame, busy or not
    if (notification == EN_SETFOCUS || notification == EN_KILLFOCUS) ui::InvalidateTimeoutFrame(state.view);
    return;
  }
  if (g_busy) return;  // dropped, not deferred
  switch (id) {
    case IDOK:
      if (GetFocus() == state.view.timeoutEdit) {
        ActionTimeout();
      } else if (GetFocus() == state.view.entries) {
        ActionRename();
      }
      break;
    case ui::kStoreSelectorId:
      ShowStorePicker();
      break;
    case ui::kBrowseId:
      BrowseStoreFile();
      break;
    case ui::kRefreshId:
      RefreshBcd();
      break;
    case ui::kAddWinPeId:
      ActionCreateWinPe();
      break;
    case ui::kAddWindowsId:
      ActionCreateWindows();
      break;
    case ui::kBackupBcdId:
      ActionBackup();
      break;
    case ui::kRestoreBcdId:
      ActionRestore();
      break;
    case ui::kRawViewId:
      if (state.snapshot.loaded) {
        ShowRawBcd();
      } else {
        RefreshBcd(ShowRawBcd);
      }
      break;
    case ui::kRenameKeyId:
      ActionRename();
      break;
    case ui::kDeleteKeyId:
      ActionDelete();
      break;
    case ui::kShowBootMenuId:
      ActionToggleMenu();
      break;
    case ui::kApplyTimeoutId:
      ActionTimeout();
      break;
    case ui::kBackupEfiId:
      ActionBackupEfi();
      break;
    case ui::kRestoreEfiId:
      ActionRestoreEfi();
      break;
    case ui::kRepairEfiId:
      ActionRepairEfi();
      break;
    case ui::kFirmwareRestartId:
      ActionPower(L"bios");
      break;
    case ui::kRestartId:
      ActionPower(L"restart");
      break;
    case ui::kShutdownId:
      ActionPower(L"shutdown");
      break;
    case ui::kStyleToggleId:
      SwitchStyle(window);
      break;
    case ui::kLanguageToggleId:
      SwitchLanguage();
      break;
    case ui::kCopyLogId:
      CopyLog(window);
      break;
    case ui::kClearLogId:
      ClearLog();
      break;
    default:
      if (id >= ui::kTimeoutPresetFirstId && id < ui::kTimeoutPresetFirstId + static_cast<int>(ui::kTimeoutPresetSeconds.size())) {
        const int seconds = ui::kTimeoutPresetSeconds[static_cast<size_t>(id - ui::kTimeoutPresetFirstId)];
        SetWindowTextW(state.view.timeoutEdit, std::to_wstring(seconds).c_str());
        ActionTimeout();
      }
  }
}

void OnDpiChanged(HWND window, WPARAM wParam, LPARAM lParam) {
  AppState& state = State();
  TakeDpi(HIWORD(wParam));
  ui::LoadAppIcon(state.view);
  SendMessageW(state.view.timeoutEdit, WM_SETFONT, reinterpret_cast<WPARAM>(ui::Font(ui::Semibold13)), TRUE);
  const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
  SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  ui::Relayout(state.view);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  AppState& state = State();
  switch (message) {
    case WM_CREATE:
      OnCreate(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) {
        ui::LayoutMain(state.view, LOWORD(lParam), HIWORD(lParam));
        InvalidateRect(window, nullptr, FALSE);
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      ui::PaintMainArea(dc, state.view, state.shown, ps.rcPaint);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_CLOSE:
      if (g_busy) {
        MessageBeep(MB_ICONEXCLAMATION);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR:
      if (g_busy) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return 1;
      }
      break;
    case WM_GETMINMAXINFO:
      ui::SetMinimumTrackSize(window, *reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      if (ui::HandleOwnerDraw(message, lParam)) return TRUE;
      break;
    case WM_CTLCOLOREDIT:
      return reinterpret_cast<LRESULT>(ui::EditColours(reinterpret_cast<HDC>(wParam)));
    case WM_TIMER:
      if (wParam == kBusyTimer && !TakeLostJobResult()) {
        ++state.shown.busyFrame;
        ui::InvalidateBusyBar(state.view);
      }
      return 0;
    case WM_MOUSEWHEEL: {
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const HWND log = state.view.log ? state.view.log->hwnd : nullptr;
      SendMessageW(WindowFromPoint(at) == log ? log : state.view.entries, WM_MOUSEWHEEL, wParam, lParam);
      return 0;
    }
    case WM_DPICHANGED:
      OnDpiChanged(window, wParam, lParam);
      return 0;
    case WM_COMMAND:
      OnCommand(window, LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_JOB_DONE:
      CompleteJob(lParam);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

bool RegisterMainWindowClasses(HINSTANCE instance) {
  ui::RegisterEntriesClass(instance);
  WNDCLASSEXW cls{sizeof(cls)};
  cls.lpfnWndProc = MainWindowProc;
  cls.hInstance = instance;
  cls.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(101));
  cls.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(101), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), 0));
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.lpszClassName = kMainClass;
  return RegisterClassExW(&cls) != 0;
}

HWND CreateMainWindow(HINSTANCE instance) {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const ui::Size size = ui::InitialMainSize(work.right - work.left, work.bottom - work.top);
  const int x = work.left + (work.right - work.left - size.width) / 2;
  const int y = work.top + (work.bottom - work.top - size.height) / 2;
  return CreateWindowExW(0, kMainClass, ui::MainWindowTitle().c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y,
                         size.width, size.height, nullptr, nullptr, instance, nullptr);
}

bool PreTranslateKey(const MSG& msg) {
  const HWND main = State().view.window;
  if (msg.message != WM_KEYDOWN || GetActiveWindow() != main || main == nullptr) return false;
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  wchar_t className[16] = {};
  if (HWND focus = GetFocus(); focus && GetClassNameW(focus, className, 16) && zel::EqualsNoCase(className, L"EDIT")) {
    return false;  // digits typed into the time-out box stay there
  }
  WPARAM key = msg.wParam;
  if (key >= VK_NUMPAD1 && key <= VK_NUMPAD9) key = '1' + (key - VK_NUMPAD1);
  int command = 0;
  switch (key) {
    case '1': command = ui::kAddWinPeId; break;
    case '2': command = ui::kAddWindowsId; break;
    case '3': command = ui::kBackupBcdId; break;
    case '4': command = ui::kRestoreBcdId; break;
    case '5': command = ui::kRawViewId; break;
    case '6': case VK_F5: command = ui::kRefreshId; break;
    case '7': command = ui::kBackupEfiId; break;
    case '8': command = ui::kRestoreEfiId; break;
    case '9': command = ui::kRepairEfiId; break;
    case 'B': command = ui::kFirmwareRestartId; break;
    case 'R': command = ui::kRestartId; break;
    case 'S': command = ui::kShutdownId; break;
    case VK_F2: command = ui::kRenameKeyId; break;
    case VK_DELETE: command = ui::kDeleteKeyId; break;
    default: return false;
  }
  PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(command), 0);
  return true;
}

void ShowSnapshot() {
  AppState& state = State();
  state.shown.snapshot = &state.snapshot;
  ui::LayoutEntries(state.view.entries);
  ui::EnsureVisible(state.view.entries, state.selectedEntryId);
  SetWindowTextW(state.view.timeoutEdit, std::to_wstring(state.snapshot.timeoutSeconds).c_str());
  ui::SetChecked(GetDlgItem(state.view.window, ui::kShowBootMenuId), state.snapshot.displayBootMenu);
  InvalidateRect(state.view.window, nullptr, FALSE);  // the information card
}

void InvalidateBusyBar() { ui::InvalidateBusyBar(State().view); }
void InvalidateStatus() { ui::InvalidateStatus(State().view); }

}  // namespace app
