#pragma once
// The modal dialog machinery shared by the three dialog kinds.
#include <windows.h>

#include <string>

#include "ui/canvas_win.h"

namespace ui {

class Dialog {
 public:
  virtual ~Dialog() = default;
  virtual void OnCreate() = 0;
  virtual void OnPaint(Canvas& canvas, int width, int height) = 0;
  virtual void OnCommand(int id, int notification) = 0;
  virtual HWND InitialFocus() = 0;
  // WM_DRAWITEM and WM_MEASUREITEM of the dialog's own controls; false passes them on.
  virtual bool OnOwnerDraw(UINT /*message*/, LPARAM /*lParam*/) { return false; }

  HWND hwnd = nullptr;
  HWND owner = nullptr;
  int result = -1;
  bool closed = false;

  // Ends the dialog with `value`; the owner is enabled first so that it is activated again.
  void Close(int value);
};

// Creates the dialog window, runs its modal loop and returns its result.
int RunModal(Dialog& dialog, HWND owner, const std::wstring& title, int clientWidth, int clientHeight);

// Footer buttons: height and top for a client of the given height.
int FooterButtonHeight();
int FooterButtonTop(int clientHeight);

}  // namespace ui
