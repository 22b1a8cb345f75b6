#pragma once
// The Win32 side of the theme: the ten UI fonts for the current DPI, text
// measuring, the dark title bar, and the toolkit's start-up.
#include <windows.h>

#include <string>

namespace ui {

enum FontSlot {
  Regular11,
  Semibold11,
  Regular12,
  Semibold12,
  Regular13,
  Semibold13,
  Bold15,
  Bold17,
  Bold16,
  Mono12,
  kFontSlotCount
};

HFONT Font(FontSlot slot);
int FontHeight(FontSlot slot);  // the text-metric height measured when the font was made
// Replaces every font with one made for the current DPI.
void RecreateFonts();
void DestroyFonts();

struct TextExtent {
  int width = 0;
  int height = 0;
};
// The text's width (plus 2 when not empty, for ClearType overhang) and height.
TextExtent MeasureTextWidth(const std::wstring& text, FontSlot slot);
// The height of the text wrapped to `width`, as the wrapped painters draw it.
int MeasureTextHeight(const std::wstring& text, FontSlot slot, int width);

// Dark or light title bar by the current style, where the system supports it.
void ApplyTitleBarStyle(HWND window);

// Once at start-up: instance, DPI, fonts, and the toolkit's window classes.
bool InitUi(HINSTANCE instance);
HINSTANCE UiInstance();

// Text flag sets of the painters.
constexpr UINT kSingleLine = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
constexpr UINT kSingleLineCentred = kSingleLine | DT_CENTER;
constexpr UINT kWrapped = DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL;

}  // namespace ui
