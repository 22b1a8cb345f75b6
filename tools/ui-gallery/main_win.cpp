// ui-gallery: a developer's window showing every button variant in every state,
// the check box, the text view and each dialog kind, in either style, so the
// toolkit can be looked at (and screenshotted) without the application.
//   ui-gallery.exe [--light] [--message|--question|--form|--text]
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/canvas_win.h"
#include "ui/controls_win.h"
#include "ui/dialogs_win.h"
#include "ui/text_view_win.h"
#include "ui/theme_win.h"

namespace {

using namespace ui;

constexpr int kStyleButton = 1;
constexpr int kMessageButton = 2;
constexpr int kFormButton = 3;
constexpr int kTextButton = 4;
constexpr int kCheckBox = 5;
constexpr UINT kOpenDialog = WM_APP + 7;

std::wstring g_startDialog;
TextView* g_textView = nullptr;

const wchar_t* const kVariantNames[] = {L"Default", L"Primary", L"Danger", L"Subtle", L"Drop-down", L"Check box"};
const wchar_t* const kStateNames[] = {L"normal", L"hovered", L"pressed", L"focused", L"disabled"};

ButtonFlags FlagsFor(int state) {
  ButtonFlags flags;
  flags.hovered = state == 1;
  flags.pressed = state == 2;
  flags.focusRing = state == 3;
  flags.disabled = state == 4;
  return flags;
}

// The state grid: every variant (rows) in every state (columns), drawn with the
// same face painter the real buttons use.
void PaintGrid(Canvas& canvas, int left, int top) {
  const Palette& p = CurrentPalette();
  const int cellWidth = ScaleDpi(150), cellHeight = ScaleDpi(34), gap = ScaleDpi(10), labelWidth = ScaleDpi(90);
  for (int state = 0; state < 5; ++state) {
    canvas.DrawText(kStateNames[state],
                    Rect{left + labelWidth + state * (cellWidth + gap), top, left + labelWidth + state * (cellWidth + gap) + cellWidth, top + ScaleDpi(20)},
                    Semibold11, p.MutedText, kSingleLineCentred);
  }
  for (int variant = 0; variant < 6; ++variant) {
    const int y = top + ScaleDpi(24) + variant * (cellHeight + gap);
    canvas.DrawText(kVariantNames[variant], Rect{left, y, left + labelWidth, y + cellHeight}, Semibold12, p.Text,
                    kSingleLine);
    for (int state = 0; state < 5; ++state) {
      ButtonStyle style;
      style.variant = static_cast<ButtonVariant>(variant);
      style.icon = variant == 0 ? 19 : variant == 1 ? 3 : variant == 2 ? 5 : variant == 3 ? 11 : 0;
      style.surface = 0;
      style.font = Semibold12;
      Canvas cell(cellWidth, cellHeight);
      const bool checked = variant == 5 && state % 2 == 0;
      DrawButtonFace(cell, style, FlagsFor(state), checked,
                     variant == 4 ? L"System BCD Store" : variant == 5 ? L"Checked option" : L"Backup BCD");
      const int x = left + labelWidth + state * (cellWidth + gap);
      BitBlt(canvas.Dc(), x, y, cellWidth, cellHeight, cell.Dc(), 0, 0, SRCCOPY);
    }
  }
}

void Paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  Canvas canvas(client.right, client.bottom);
  const Palette& p = CurrentPalette();
  canvas.FillRect(Rect{0, 0, client.right, client.bottom}, p.Background);
  canvas.DrawText(L"Zel Quillon PE — UI gallery", Rect{ScaleDpi(20), ScaleDpi(14), client.right, ScaleDpi(44)}, Bold17,
                  p.Text, kSingleLine);
  PaintGrid(canvas, ScaleDpi(20), ScaleDpi(56));
  // Badges and icons as the cards use them.
  const int y = ScaleDpi(56) + ScaleDpi(24) + 6 * ScaleDpi(44) + ScaleDpi(10);
  canvas.FillRoundRect(Rect{ScaleDpi(20), y, ScaleDpi(64), y + ScaleDpi(22)}, ScaleDpi(6), Accent, Accent, 1, 36, 85);
  canvas.DrawText(L"PE", Rect{ScaleDpi(20), y, ScaleDpi(64), y + ScaleDpi(22)}, Semibold11, Accent, kSingleLineCentred);
  for (int icon = 1; icon <= 32; ++icon) {
    const int x = ScaleDpi(80) + (icon - 1) * ScaleDpi(28);
    canvas.DrawIcon(icon, x, y + ScaleDpi(2), ScaleDpi(18), icon % 4 == 0 ? Accent : p.Text);
  }
  canvas.Present(dc, 0, 0);
  EndPaint(window, &ps);
}

void Layout(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  const int top = ScaleDpi(56) + ScaleDpi(24) + 6 * ScaleDpi(44) + ScaleDpi(46);
  int x = ScaleDpi(20);
  for (int id : {kStyleButton, kMessageButton, kFormButton, kTextButton, kCheckBox}) {
    HWND button = GetDlgItem(window, id);
    const int width = ButtonNaturalWidth(button) + ScaleDpi(8);
    MoveWindow(button, x, top, width, ScaleDpi(34), TRUE);
    x += width + ScaleDpi(10);
  }
  if (g_textView) {
    MoveWindow(g_textView->hwnd, ScaleDpi(20), top + ScaleDpi(48), client.right - ScaleDpi(40),
               client.bottom - top - ScaleDpi(68), TRUE);
  }
}

void OpenDialog(HWND window, const std::wstring& which) {
  if (which == L"--message" || which == L"--question") {
    const bool question = which == L"--question";
    ShowMessage(window, question ? L"Zel Quillon PE — Confirm" : L"Zel Quillon PE — Error",
                question ? L"Delete the boot entry \"WinPE Rescue (x64)\"? A backup of the store is taken first."
                         : L"The boot configuration data store could not be opened.\r\nThe system cannot find the file specified.",
                question ? MessageKind::Question : MessageKind::Error,
                question ? std::vector<std::wstring>{L"Delete", L"Cancel"} : std::vector<std::wstring>{L"OK"},
                question ? 0 : -1, question ? 1 : 0);
  } else if (which == L"--form") {
    FormSpec form;
    form.title = L"Add WinPE Boot Entry";
    form.description = L"Boots a .wim image from a RAM disk. boot.sdi is looked for on the image's drive first.";
    form.fields = {
        FormField{FieldType::ReadOnly, L"Image", L"D:\\sources\\boot.wim", false, false},
        FormField{FieldType::Text, L"Description", L"WinPE Rescue (x64)", false, true},
        FormField{FieldType::CheckBox, L"Put it first in the boot menu", L"", true, false},
        FormField{FieldType::CheckBox, L"Boot it once at the next start", L"", false, false},
    };
    form.okText = L"Create";
    form.cancelText = L"Cancel";
    ShowForm(window, form);
  } else if (which == L"--text") {
    std::wstring text;
    for (int i = 0; i < 60; ++i) {
      text += L"identifier              {" + std::to_wstring(10000000 + i) + L"-0000-4000-8000-000000000000}\r\n";
    }
    ShowText(window, L"Raw BCD", text);
  }
}

LRESULT CALLBACK GalleryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      ButtonStyle style{ButtonVariant::Default, g_darkTheme ? 14 : 13, 0, Semibold12, false};
      CreateOwnerButton(window, kStyleButton, L"Switch style", style);
      style.icon = 28;
      CreateOwnerButton(window, kMessageButton, L"Message", style);
      style.variant = ButtonVariant::Primary;
      style.icon = 7;
      CreateOwnerButton(window, kFormButton, L"Form", style);
      style.variant = ButtonVariant::Subtle;
      style.icon = 18;
      CreateOwnerButton(window, kTextButton, L"Text", style);
      HWND box = CreateOwnerButton(window, kCheckBox, L"Show boot menu", ButtonStyle{ButtonVariant::CheckBox, 0, 0, Regular13, false});
      SetChecked(box, true);
      g_textView = CreateTextView(window, 6);
      g_textView->surface = 0;
      SetText(g_textView, L"[11:02:03] Zel Quillon PE started (Windows PE (X:), UEFI)\n[11:02:04] > bcdedit /enum all /v [OK]\n"
                          L"[11:02:05] > Rename boot entry [OK]\n[11:02:06] A line long enough to wrap: " +
                              std::wstring(140, L'=') + L"\n[11:02:07] Tiếng Việt: Khởi động lại vào BIOS");
      Layout(window);
      if (!g_startDialog.empty()) PostMessageW(window, kOpenDialog, 0, 0);
      return 0;
    }
    case kOpenDialog:
      OpenDialog(window, g_startDialog);
      return 0;
    case WM_SIZE:
      Layout(window);
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kStyleButton:
          g_darkTheme = !g_darkTheme;
          ResetEditBrush();
          SetButtonIcon(GetDlgItem(window, kStyleButton), g_darkTheme ? 14 : 13);
          ApplyTitleBarStyle(window);
          InvalidateRect(window, nullptr, FALSE);
          RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
          break;
        case kMessageButton:
          OpenDialog(window, L"--question");
          break;
        case kFormButton:
          OpenDialog(window, L"--form");
          break;
        case kTextButton:
          OpenDialog(window, L"--text");
          break;
        case kCheckBox:
          SetChecked(reinterpret_cast<HWND>(lParam), !IsChecked(reinterpret_cast<HWND>(lParam)));
          break;
      }
      return 0;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      if (HandleOwnerDraw(message, lParam)) return TRUE;
      break;
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
  const std::wstring options = commandLine ? commandLine : L"";
  for (size_t start = 0; start < options.size();) {
    const size_t end = std::min(options.find(L' ', start), options.size());
    const std::wstring arg = options.substr(start, end - start);
    if (arg == L"--light") g_darkTheme = false;
    if (arg.rfind(L"--", 0) == 0 && arg != L"--light") g_startDialog = arg;
    start = end + 1;
  }
  if (!InitUi(instance)) return 1;
  WNDCLASSEXW cls{sizeof(cls)};
  cls.lpfnWndProc = GalleryProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.lpszClassName = L"ZelQuillonPE.Gallery";
  RegisterClassExW(&cls);
  HWND window = CreateWindowExW(0, cls.lpszClassName, L"Zel Quillon PE — UI gallery", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                CW_USEDEFAULT, CW_USEDEFAULT, ScaleDpi(1000), ScaleDpi(760), nullptr, nullptr, instance,
                                nullptr);
  if (!window) return 1;
  ApplyTitleBarStyle(window);
  ShowWindow(window, show);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  DestroyFonts();
  return static_cast<int>(msg.wParam);
}
