#include "ui/button_look.h"

namespace ui {

Colour SurfaceColour(const Palette& p, int slot) {
  switch (slot) {
    case 0:
      return p.Background;
    case 1:
      return p.Sidebar;
    case 3:
      return p.Card;
    default:
      return p.Surface;
  }
}

ButtonLook ResolveButtonLook(const ButtonStyle& style, ButtonFlags flags, const Palette& p) {
  // A disabled button neither hovers nor presses.
  const bool pressed = flags.pressed && !flags.disabled;
  const bool hovered = flags.hovered && !flags.disabled;
  ButtonLook look;
  look.background = SurfaceColour(p, style.surface);
  look.text = p.Text;
  switch (style.variant) {
    case ButtonVariant::Segment:
      if (flags.selected) {
        look.fill = pressed ? AccentPressed : hovered ? AccentHover : Accent;
        look.text = White;
        break;
      }
      [[fallthrough]];
    case ButtonVariant::Default:
      look.fill = pressed ? p.Pressed : hovered ? p.Hover : p.Surface;
      look.border = p.Border;
      break;
    case ButtonVariant::Primary:
      look.fill = pressed ? AccentPressed : hovered ? AccentHover : Accent;
      look.text = White;
      break;
    case ButtonVariant::Danger:
      if (hovered || pressed) {
        look.fill = Danger;
        look.text = White;
      } else {
        look.text = Danger;
        look.fill = Blend(look.background, Danger, 32);
        look.border = Blend(look.background, Danger, 85);
      }
      break;
    case ButtonVariant::Subtle:
      if (pressed) {
        look.fill = p.Pressed;
      } else if (hovered) {
        look.fill = p.Hover;
      }
      look.text = hovered ? p.Text : p.MutedText;
      break;
    case ButtonVariant::DropDown:
      look.fill = p.Input;
      look.border = (hovered || pressed) ? Blend(p.Border, p.Text, 80) : p.Border;
      break;
    case ButtonVariant::CheckBox:
      break;
  }
  if (flags.focusRing && style.variant != ButtonVariant::CheckBox) {
    // An accent ring would vanish on a chosen segment's accent fill.
    look.border = style.variant == ButtonVariant::Segment && flags.selected ? p.Text : Accent;
  }
  if (flags.disabled) {
    if (look.fill != kNoColour) look.fill = Blend(look.background, look.fill, 112);
    if (look.border != kNoColour) look.border = Blend(look.background, look.border, 112);
    look.text = Blend(look.background, look.text, 112);
  }
  return look;
}

}  // namespace ui
