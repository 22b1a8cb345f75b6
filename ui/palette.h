#pragma once
// Colours, the two styles, colour blending and DPI scaling: what every painter shares.
// Colours are Windows COLORREF values (0x00BBGGRR) so the Win32 side can hand them to
// GDI as they are; canvas pixels use 0x00RRGGBB (see ui/pixels.h for the conversion).
#include <cstdint>

namespace ui {

using Colour = uint32_t;

// "No colour" for an optional fill or border: all bits set, which no COLORREF uses.
inline constexpr Colour kNoColour = 0xFFFFFFFFu;

constexpr Colour Rgb(unsigned r, unsigned g, unsigned b) {
  return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}
constexpr unsigned RedOf(Colour c) { return c & 0xFFu; }
constexpr unsigned GreenOf(Colour c) { return (c >> 8) & 0xFFu; }
constexpr unsigned BlueOf(Colour c) { return (c >> 16) & 0xFFu; }

// Ten slots; the order is the slot number.
struct Palette {
  Colour Background;  // main client area, entries list
  Colour Sidebar;
  Colour Surface;     // header panel, log header, menu items, dialog body, default buttons
  Colour Card;        // inner cards
  Colour Hover;
  Colour Pressed;
  Colour Border;      // borders and one-pixel dividers
  Colour Text;        // primary text and icons
  Colour MutedText;   // labels, section titles, subtitles, chevrons
  Colour Input;       // edit fields, unchecked check boxes, the drop-down button
};

inline constexpr Palette kDarkPalette = {
    Rgb(0x0D, 0x11, 0x17), Rgb(0x13, 0x18, 0x22), Rgb(0x17, 0x1D, 0x29), Rgb(0x11, 0x16, 0x20),
    Rgb(0x1F, 0x27, 0x37), Rgb(0x1D, 0x2B, 0x48), Rgb(0x26, 0x2F, 0x42), Rgb(0xF1, 0xF5, 0xF9),
    Rgb(0x94, 0xA3, 0xB8), Rgb(0x12, 0x17, 0x21)};

inline constexpr Palette kLightPalette = {
    Rgb(0xF3, 0xF5, 0xFA), Rgb(0xFF, 0xFF, 0xFF), Rgb(0xFF, 0xFF, 0xFF), Rgb(0xF8, 0xFA, 0xFC),
    Rgb(0xEF, 0xF4, 0xFF), Rgb(0xE0, 0xEA, 0xFF), Rgb(0xDC, 0xE3, 0xF0), Rgb(0x0F, 0x17, 0x2A),
    Rgb(0x64, 0x74, 0x8B), Rgb(0xFF, 0xFF, 0xFF)};

// The same in both styles.
inline constexpr Colour Accent = Rgb(0x3B, 0x82, 0xF6);
inline constexpr Colour AccentHover = Rgb(0x60, 0xA5, 0xFA);
inline constexpr Colour AccentPressed = Rgb(0x4F, 0x46, 0xE5);
inline constexpr Colour Danger = Rgb(0xEF, 0x44, 0x44);
inline constexpr Colour Success = Rgb(0x10, 0xB9, 0x81);
inline constexpr Colour Warning = Rgb(0xF5, 0x9E, 0x0B);
inline constexpr Colour Violet = Rgb(0x8B, 0x5C, 0xF6);
inline constexpr Colour White = Rgb(0xFF, 0xFF, 0xFF);

// True = dark style (the default until the settings are read). UI thread only.
extern bool g_darkTheme;

// The palette of the current style; painters fetch it at the start of each paint.
const Palette& CurrentPalette();

// Weight a (0..255) of c1 over c0, per 8-bit channel, rounded. Works on any
// 0x00XXYYZZ layout since both colours use the same one.
Colour Blend(Colour c0, Colour c1, int a);

// Same contract as the Win32 MulDiv: a*b/c in 64 bits, rounded half away from
// zero; -1 when c is 0 or the result does not fit in 32 bits.
int MulDivRound(int a, int b, int c);

// The one DPI value of the UI (never below 96, initially 96).
int CurrentDpi();
void SetDpi(int dpi);

// A length in 96-DPI units converted to device pixels at the current DPI.
int ScaleDpi(int v);

}  // namespace ui
