// The entry point: preferences, one instance per logon, the toolkit, the main
// window, and the message loop.
#include <windows.h>

#include "app/app_state_win.h"
#include "app/main_window_win.h"
#include "app/settings.h"
#include "core/language.h"
#include "core/win_handle.h"
#include "ui/controls_win.h"
#include "ui/theme_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  app::LoadSettings();

  zel::UniqueHandle mutex(CreateMutexW(nullptr, FALSE, L"Local\\ZelQuillonPE.Instance"));
  if (!mutex.Valid() || GetLastError() == ERROR_ALREADY_EXISTS) {
    MessageBoxW(nullptr, zel::Pick(L"Zel Quillon PE đang chạy.", L"Zel Quillon PE is already running."),
                L"Zel Quillon PE", MB_ICONEXCLAMATION);
    return 0;
  }

  if (!ui::InitUi(instance) || !app::RegisterMainWindowClasses(instance)) return 1;
  HWND window = app::CreateMainWindow(instance);
  if (window == nullptr) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);
  SetFocus(app::State().view.entries);

  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (app::PreTranslateKey(msg)) continue;
    if (IsDialogMessageW(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  ui::DestroyFonts();
  ui::ResetEditBrush();
  return static_cast<int>(msg.wParam);
}
