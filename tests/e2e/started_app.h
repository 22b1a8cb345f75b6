#pragma once
// The program after its first load, in English, on a copy of the UEFI sample:
// the starting point of most end-to-end flows.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/utf8.h"
#include "tests/e2e/app_driver.h"

namespace zel::test {

inline bool Contains(const std::vector<std::wstring>& lines, const std::wstring& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

struct Started {
  // `failWhen`: tool runs to fail; `prepare`: anything else the sandbox needs. Both happen
  // before the program starts, because it and its tools inherit the environment.
  explicit Started(const std::wstring& failWhen = L"", const std::function<void(SimSandbox&)>& prepare = nullptr) {
    store = sim.CopyStore(L"uefi-win11.txt", L"system.txt");
    sim.UseSystemStore(store);
    sim.FailWhen(failWhen);
    if (prepare) prepare(sim);
    const char* settings = "Language=en\r\n";
    app = std::make_unique<AppDriver>(sim, settings);
    ok = app->Started() && app->WaitForLog(L"/enum all /v [OK]");
    sim.ClearLog();
  }
  // Waits until the tools were asked for `call`, then until the program is idle again.
  bool Finished(const std::wstring& call) const {
    for (int i = 0; i < 200; ++i) {
      if (Contains(sim.LogLines(), call)) return app->Idle();
      Sleep(50);
    }
    return false;
  }
  // The reload that follows a change: its last enumeration, then its completion.
  bool Reloaded() const { return Finished(L"bcdedit /enum {current} /v"); }
  SimSandbox sim;
  std::wstring store;
  std::unique_ptr<AppDriver> app;
  bool ok = false;
};

// Buttons of the program's dialogs, by control id: the first is the confirming one.
constexpr int kFirstButton = 100, kSecondButton = 101;

// The program's next dialog: its title and, when given, its buttons' texts in id order;
// then `press` is pressed and the dialog must go.
inline void Answer(const AppDriver& app, const std::wstring& title, int press, const std::vector<std::wstring>& buttons = {}) {
  const HWND dialog = app.WaitForDialog();
  ASSERT_NE(dialog, nullptr) << "no dialog \"" << WideToUtf8(title) << "\"";
  EXPECT_EQ(AppDriver::TitleOf(dialog), title);
  if (!buttons.empty()) {
    auto found = AppDriver::ButtonsOf(dialog);
    std::sort(found.begin(), found.end());
    std::vector<std::wstring> texts;
    for (const auto& button : found) texts.push_back(button.second);
    EXPECT_EQ(texts, buttons) << WideToUtf8(title);
  }
  PostMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(press), 0);
  ASSERT_TRUE(AppDriver::WaitClosed(dialog)) << WideToUtf8(title);
}

// A file put where the program looks for it, outside the sandbox, for one test;
// removed afterwards unless it was there before (then `made` is false).
struct PlacedFile {
  PlacedFile(const std::wstring& where, const std::string& bytes) : path(where) {
    const std::filesystem::path file(path);
    made = !std::filesystem::exists(file);
    if (!made) return;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
  }
  ~PlacedFile() {
    if (made) DeleteFileW(path.c_str());
  }
  PlacedFile(const PlacedFile&) = delete;
  PlacedFile& operator=(const PlacedFile&) = delete;
  std::wstring path;
  bool made = false;
};

}  // namespace zel::test
