#pragma once
// The program after its first load, in English, on a copy of the UEFI sample:
// the starting point of most end-to-end flows.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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
  // Waits for the reload that follows a change: its last enumeration, then a moment for its completion.
  bool Reloaded() const {
    for (int i = 0; i < 200; ++i) {
      if (Contains(sim.LogLines(), L"bcdedit /enum {current} /v")) {
        Sleep(300);
        return true;
      }
      Sleep(50);
    }
    return false;
  }
  SimSandbox sim;
  std::wstring store;
  std::unique_ptr<AppDriver> app;
  bool ok = false;
};

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
