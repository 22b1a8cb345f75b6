#include "ui/theme_win.h"

#include "ui/palette.h"

namespace ui {

LRESULT CALLBACK TextViewProc(HWND, UINT, WPARAM, LPARAM);  // text_view_win.cpp
LRESULT CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);    // dialog_win.cpp

namespace {

HINSTANCE g_instance = nullptr;
HFONT g_fonts[kFontSlotCount] = {};
int g_fontHeights[kFontSlotCount] = {};

enum class Kind { Regular, Semibold, Bold, Mono };
struct FontSpec {
  int size;
  Kind kind;
};
constexpr FontSpec kFontSpecs[kFontSlotCount] = {
    {11, Kind::Regular}, {11, Kind::Semibold}, {12, Kind::Regular}, {12, Kind::Semibold}, {13, Kind::Regular},
    {13, Kind::Semibold}, {15, Kind::Bold},     {17, Kind::Bold},    {16, Kind::Bold},    {12, Kind::Mono},
};

// One screen-compatible DC for font tests, metrics and measuring, kept for the process.
HDC MeasuringDc() {
  static HDC dc = CreateCompatibleDC(nullptr);
  return dc;
}

int CALLBACK FoundFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one match is enough
}

bool FaceInstalled(const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExW(MeasuringDc(), &query, FoundFace, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

// Which faces this system has, tested once for the process.
struct Faces {
  const wchar_t* base;
  bool semibold;
  const wchar_t* mono;
};
const Faces& InstalledFaces() {
  static const Faces faces = [] {
    Faces f{};
    f.base = FaceInstalled(L"Segoe UI") ? L"Segoe UI" : L"Tahoma";
    f.semibold = FaceInstalled(L"Segoe UI Semibold");
    f.mono = FaceInstalled(L"Consolas") ? L"Consolas" : FaceInstalled(L"Lucida Console") ? L"Lucida Console" : L"Courier New";
    return f;
  }();
  return faces;
}

HFONT MakeFont(const FontSpec& font) {
  const Faces& faces = InstalledFaces();
  const wchar_t* face = faces.base;
  int weight = FW_NORMAL;
  DWORD pitch = DEFAULT_PITCH;
  switch (font.kind) {
    case Kind::Regular:
      break;
    case Kind::Semibold:
      face = faces.semibold ? L"Segoe UI Semibold" : faces.base;
      weight = faces.semibold ? FW_SEMIBOLD : FW_BOLD;
      break;
    case Kind::Bold:
      weight = FW_BOLD;
      break;
    case Kind::Mono:
      face = faces.mono;
      pitch = FIXED_PITCH;
      break;
  }
  return CreateFontW(-ScaleDpi(font.size), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, pitch, face);
}

using DwmSetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);

}  // namespace

HFONT Font(FontSlot slot) { return g_fonts[slot]; }
int FontHeight(FontSlot slot) { return g_fontHeights[slot]; }

void RecreateFonts() {
  HDC dc = MeasuringDc();
  // No font about to be deleted may stay selected in the measuring DC.
  SelectObject(dc, GetStockObject(SYSTEM_FONT));
  for (int slot = 0; slot < kFontSlotCount; ++slot) {
    if (g_fonts[slot]) DeleteObject(g_fonts[slot]);
    g_fonts[slot] = MakeFont(kFontSpecs[slot]);
    HGDIOBJ previous = SelectObject(dc, g_fonts[slot]);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    g_fontHeights[slot] = metrics.tmHeight;
    SelectObject(dc, previous);
  }
}

void DestroyFonts() {
  SelectObject(MeasuringDc(), GetStockObject(SYSTEM_FONT));
  for (auto& font : g_fonts) {
    if (font) DeleteObject(font);
    font = nullptr;
  }
}

TextExtent MeasureTextWidth(const std::wstring& text, FontSlot slot) {
  HDC dc = MeasuringDc();
  HGDIOBJ previous = SelectObject(dc, Font(slot));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, previous);
  return TextExtent{size.cx > 0 ? size.cx + 2 : size.cx, size.cy};
}

int MeasureTextHeight(const std::wstring& text, FontSlot slot, int width) {
  HDC dc = MeasuringDc();
  HGDIOBJ previous = SelectObject(dc, Font(slot));
  RECT rect{0, 0, width > 1 ? width : 1, 0};
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | kWrapped);
  SelectObject(dc, previous);
  return rect.bottom;
}

void ApplyTitleBarStyle(HWND window) {
  // Windows PE has no DWM: then the system draws its own title bar and that is fine.
  static const DwmSetWindowAttributeFn setAttribute = [] {
    HMODULE dwm = LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return dwm ? reinterpret_cast<DwmSetWindowAttributeFn>(
                     reinterpret_cast<void*>(GetProcAddress(dwm, "DwmSetWindowAttribute")))
               : nullptr;
  }();
  if (setAttribute == nullptr || window == nullptr) return;
  const BOOL dark = g_darkTheme ? TRUE : FALSE;
  if (FAILED(setAttribute(window, 20, &dark, sizeof(dark)))) setAttribute(window, 19, &dark, sizeof(dark));
}

bool InitUi(HINSTANCE instance) {
  g_instance = instance;
  HDC screen = GetDC(nullptr);
  SetDpi(GetDeviceCaps(screen, LOGPIXELSX));
  ReleaseDC(nullptr, screen);
  RecreateFonts();

  WNDCLASSEXW textView{sizeof(textView)};
  textView.style = CS_HREDRAW | CS_VREDRAW;
  textView.lpfnWndProc = TextViewProc;
  textView.hInstance = instance;
  textView.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  textView.lpszClassName = L"ZelQuillonPE.TextView";
  WNDCLASSEXW dialog{sizeof(dialog)};
  dialog.lpfnWndProc = DialogProc;
  dialog.hInstance = instance;
  dialog.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  dialog.lpszClassName = L"ZelQuillonPE.Dialog";
  return RegisterClassExW(&textView) != 0 && RegisterClassExW(&dialog) != 0;
}

HINSTANCE UiInstance() { return g_instance; }

}  // namespace ui
