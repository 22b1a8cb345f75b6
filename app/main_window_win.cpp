// The main window's procedure: dispatch of the command table and its shortcuts,
// the busy rules, job completions, DPI changes, and the four commands it carries
// out itself (language, style, copy log, clear log).
#include "app/main_window_win.h"

#include "app/actions.h"
#include "app/command_log.h"
#include "app/commands.h"
#include "app/fault_text.h"
#include "app/jobs_win.h"
#include "app/settings.h"
#include "core/firmware.h"
#include "core/text.h"
#include "ui/controls_win.h"
#include "ui/language.h"
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
    case ui::CardAction::Options:
      ActionBootOptions();
      break;
    default:
      break;
  }
}

void OnCreate(HWND window) {
  AppState& state = State();
  state.view.window = window;
  if (const int dpi = WindowDpi(window)) ui::TakeDpi(dpi);
  ui::LoadAppIcon(state.view);
  ui::CreateMainControls(state.view, state.shown, kCommandFaces);
  state.shown.snapshot = &state.snapshot;
  ui::EntriesHost host;
  host.snapshot = &state.snapshot;
  host.loadError = &state.loadError;
  host.selectedEntryId = &state.selectedEntryId;
  host.busy = &state.shown.busy;
  host.onAction = OnEntryAction;
  ui::SetEntriesHost(state.view.entries, host);
  ui::ApplyTitleBarStyle(window);
  AppendLog(Pick(L"Zel Quillon PE đã khởi động. Không cần .NET hoặc VC++ Redistributable.",
                 L"Zel Quillon PE started. No .NET or VC++ Redistributable required."));
  // The first load starts now, so the tools run while the window is shown and painted.
  RefreshBcd();
}

// The shortcuts are the command table's keys; these name the ones that are no character.
static_assert(ui::kKeyDelete == VK_DELETE && ui::kKeyF2 == VK_F2 && ui::kKeyF5 == VK_F5 && VK_NUMPAD1 == 0x61);

const Command* FindCommand(int id) {
  for (const Command& command : kCommands) {
    if (command.id == id) return &command;
  }
  return nullptr;
}

void Run(const Command& command) {
  switch (command.needs) {
    case Needs::Nothing:
      break;
    case Needs::SelectedStore:
    case Needs::LoadedStore:
      if (!EnsureStoreLoaded(command.needs == Needs::SelectedStore)) return;
      break;
    case Needs::Snapshot:
      if (!State().snapshot.loaded) {
        RefreshBcd(command.run);
        return;
      }
      break;
  }
  command.run();
}

void OnCommand(int id, int notification) {
  AppState& state = State();
  if (id == ui::kTimeoutEditId) {  // focus colour of the edit frame, busy or not
    if (notification == EN_SETFOCUS || notification == EN_KILLFOCUS) ui::InvalidateTimeoutFrame(state.view);
    return;
  }
  if (IsBusy()) return;  // dropped, not deferred
  if (id == IDOK) {
    if (GetFocus() == state.view.timeoutEdit) {
      ActionTimeout();
    } else if (GetFocus() == state.view.entries) {
      ActionRename();
    }
  } else if (id >= ui::kTimeoutPresetFirstId &&
             id < ui::kTimeoutPresetFirstId + static_cast<int>(ui::kTimeoutPresetSeconds.size())) {
    const int seconds = ui::kTimeoutPresetSeconds[static_cast<size_t>(id - ui::kTimeoutPresetFirstId)];
    SetWindowTextW(state.view.timeoutEdit, std::to_wstring(seconds).c_str());
    ActionTimeout();
  } else if (const Command* command = FindCommand(id)) {
    Run(*command);
  }
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
      if (IsBusy()) {
        MessageBeep(MB_ICONEXCLAMATION);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR:
      if (IsBusy()) {
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
      SendMessageW(ui::WheelTarget(state.view, at), WM_MOUSEWHEEL, wParam, lParam);
      return 0;
    }
    case WM_DPICHANGED:
      ui::ApplyDpiChange(state.view, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
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
  if (msg.message != WM_KEYDOWN || main == nullptr) return false;
  KeyContext context;
  context.mainWindowActive = GetActiveWindow() == main;
  context.ctrlHeld = GetKeyState(VK_CONTROL) < 0;
  context.altHeld = GetKeyState(VK_MENU) < 0;
  wchar_t className[16] = {};
  const HWND focus = GetFocus();  // digits typed into the time-out box stay there
  context.focusInTextBox = focus && GetClassNameW(focus, className, 16) && zel::EqualsNoCase(className, L"EDIT");
  const int command = ShortcutCommand(static_cast<int>(msg.wParam), context);
  if (command == 0) return false;
  PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(command), 0);
  return true;
}

void SwitchStyle() {
  HWND window = State().view.window;
  ui::g_darkTheme = !ui::g_darkTheme;
  ui::ResetEditBrush();
  SaveSettings();
  ui::ApplyTexts(State().view);
  ui::SetButtonIcon(GetDlgItem(window, ui::kStyleToggleId), ui::g_darkTheme ? ui::kIconMoon : ui::kIconSun);
  ui::ApplyTitleBarStyle(window);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void SwitchLanguage() {
  AppState& state = State();
  zel::g_vietnamese = !zel::g_vietnamese;
  SaveSettings();
  ui::ApplyTexts(state.view);
  ui::ApplyStoreSelectorText(state.view, state.shown.selectedStorePath);
  state.shown.statusText = ui::StatusText(ui::Status::Ready);
  state.loadError = FaultText(state.snapshot.error);  // a failed load, said again in the new language
  ui::Relayout(state.view);
}

void CopyLog() {
  const ui::TextView* log = State().view.log;
  if (log && ui::CopyTextToClipboard(State().view.window, ui::GetAllText(log))) {
    SetStatus(ui::StatusText(ui::Status::LogCopied));
  }
}

void ClearLog() {
  ui::TextView* log = State().view.log;
  if (!log) return;
  log->content.lines.clear();
  ui::Rewrap(log);
  InvalidateRect(log->hwnd, nullptr, FALSE);
}

void ActionRefresh() { RefreshBcd(); }

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
