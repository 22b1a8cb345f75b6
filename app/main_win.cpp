// The entry point: preferences, one instance per logon, the toolkit, the main
// window, and the message loop.
#include <windows.h>

#include "app/app_state_win.h"
#include "app/main_window_win.h"
#include "app/settings.h"
#include "core/command_runner.h"
#include "core/win_handle.h"
#include "ui/controls_win.h"
#include "ui/language.h"
#include "ui/theme_win.h"

namespace {

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

// The program runs elevated from sticks and shared folders, where anyone can put a
// DLL with a system name beside it: every later load (what the dialog library and
// the system itself pull in) searches only the system folder. Looked up at run
// time, since older systems lack the function; there the working folder at least
// leaves the search.
void LoadDllsFromSystemFolderOnly() {
  const auto restrict = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (restrict == nullptr || !restrict(LOAD_LIBRARY_SEARCH_SYSTEM32)) SetDllDirectoryW(L"");
}

// The 32-bit build on 64-bit Windows reaches the tools through Sysnative; where that alias
// is missing (or the tools are), nothing the program offers could work.
bool NeedsThe64BitBuild() {
#ifdef _WIN64
  return false;
#else
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64 &&
         GetFileAttributesW(zel::SystemToolPath(L"bcdedit.exe").c_str()) == INVALID_FILE_ATTRIBUTES;
#endif
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  LoadDllsFromSystemFolderOnly();
  // Probing an empty card reader or optical drive must fail quietly, not stop the user with a "no disk" box.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  app::LoadSettings();
  if (NeedsThe64BitBuild()) {
    MessageBoxW(nullptr,
                zel::Pick(L"Bản 32-bit này không dùng được công cụ hệ thống của Windows 64-bit (bcdedit.exe). Hãy dùng "
                          L"bản 64-bit (x64) trên máy này.",
                          L"This 32-bit build cannot reach the system tools of 64-bit Windows (bcdedit.exe). Use the "
                          L"64-bit build (x64) on this computer."),
                L"Zel Quillon PE", MB_ICONERROR);
    return 1;
  }

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
