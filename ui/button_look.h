#pragma once
// How an owner-drawn button looks in a given state: the colour decisions, kept
// apart from the painting so they can be checked without a window.
#include "ui/palette.h"

namespace ui {

enum class ButtonVariant { Default = 0, Primary = 1, Danger = 2, Subtle = 3, DropDown = 4, CheckBox = 5,
                           Segment = 6 };  // one of a row of choices: the chosen one is filled

struct ButtonStyle {
  ButtonVariant variant = ButtonVariant::Default;
  int icon = 0;
  int surface = 2;  // palette slot 0..3 the button sits on
  int font = 0;     // FontSlot
  bool leftAligned = false;
};

struct ButtonFlags {
  bool pressed = false;
  bool hovered = false;
  bool focusRing = false;
  bool disabled = false;
  bool selected = false;  // a chosen segment
};

struct ButtonLook {
  Colour background = 0;
  Colour fill = kNoColour;
  Colour border = kNoColour;
  Colour text = 0;
};

Colour SurfaceColour(const Palette& palette, int slot);
ButtonLook ResolveButtonLook(const ButtonStyle& style, ButtonFlags flags, const Palette& palette);

}  // namespace ui
