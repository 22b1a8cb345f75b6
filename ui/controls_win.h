#pragma once
// Owner-drawn buttons, check boxes and the drop-down button; the store picker's
// menu items; edit colours; the clipboard.
#include <windows.h>

#include <string>
#include <vector>

#include "ui/button_look.h"
#include "ui/theme_win.h"

namespace ui {

class Canvas;
// Paints a button of the given style and state over the whole canvas (the
// owner-draw handler and the developer gallery share it).
void DrawButtonFace(Canvas& canvas, const ButtonStyle& style, ButtonFlags flags, bool checked, const std::wstring& text);

HWND CreateOwnerButton(HWND parent, int id, const std::wstring& text, const ButtonStyle& style);
void SetChecked(HWND button, bool checked);
// The style a button was made with; false for a window that is not one of ours.
bool ButtonStyleOf(HWND button, ButtonStyle& style);
bool IsChecked(HWND button);
void SetButtonIcon(HWND button, int icon);
int ButtonNaturalWidth(HWND button);

// WM_DRAWITEM and WM_MEASUREITEM for our buttons and store menu items; false
// for anything else, which then gets default handling.
bool HandleOwnerDraw(UINT message, LPARAM lParam);

// The store picker sets these while its popup menu is open.
void SetStoreMenuItems(const std::vector<std::wstring>* items, int current, int minimumWidth);

// The WM_CTLCOLOREDIT answer: colours of the current style and a cached brush.
HBRUSH EditColours(HDC dc);
// Drops the cached edit brush; the next use makes one in the new style's colour.
void ResetEditBrush();

bool CopyTextToClipboard(HWND owner, const std::wstring& text);
std::wstring GetWindowTextString(HWND window);

}  // namespace ui
