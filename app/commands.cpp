#include "app/commands.h"

namespace app {

int CommandForKey(int virtualKey) {
  // The number pad's digits act as the row of digits.
  constexpr int kNumpad1 = 0x61, kNumpad9 = 0x69;
  if (virtualKey >= kNumpad1 && virtualKey <= kNumpad9) virtualKey = '1' + (virtualKey - kNumpad1);
  for (const ui::CommandFace& face : kCommandFaces) {
    if (face.key != 0 && (face.key == virtualKey || face.secondKey == virtualKey)) return face.id;
  }
  return 0;
}

int ShortcutCommand(int virtualKey, const KeyContext& context) {
  if (!context.mainWindowActive || context.altHeld || context.focusInTextBox) return 0;
  return CommandForKey(context.ctrlHeld ? (ui::kCtrlKey | virtualKey) : virtualKey);
}

}  // namespace app
