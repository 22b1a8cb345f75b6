#pragma once
// A read-only, scrollable, monospaced line viewer (the command log, the raw
// store text). Hard-wrapped at the column count; no selection, Ctrl+C copies all.
#include <windows.h>

#include <string>

#include "ui/text_rows.h"

namespace ui {

struct TextView {
  HWND hwnd = nullptr;
  int surface = 2;  // palette slot painted around the rounded frame
  TextRows content;
  bool ownedByWindow = false;  // set once the window exists; its WM_NCDESTROY then frees the object
};

// The window owns the returned object and frees it when it is destroyed.
TextView* CreateTextView(HWND parent, int id);
void SetText(TextView* view, const std::wstring& text);
std::wstring GetAllText(const TextView* view);
// Re-wraps for the window's current size; callers repaint afterwards.
void Rewrap(TextView* view);

}  // namespace ui
