// The Windows-side UI tests need the toolkit started once: fonts, DPI, window classes.
#include <windows.h>

#include <gtest/gtest.h>

#include "ui/theme_win.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (!ui::InitUi(GetModuleHandleW(nullptr))) return 2;
  const int result = RUN_ALL_TESTS();
  ui::DestroyFonts();
  return result;
}
