#pragma once
// The main window: its class, its procedure, the keyboard shortcuts, and what
// the rest of the application asks of it.
#include <windows.h>

namespace app {

bool RegisterMainWindowClasses(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);
// Offered every message before the dialog manager; true when it was a shortcut.
bool PreTranslateKey(const MSG& message);

// After a reload: list, selection, time-out box, menu check box, information panel.
void ShowSnapshot();
void InvalidateBusyBar();
void InvalidateStatus();

}  // namespace app
