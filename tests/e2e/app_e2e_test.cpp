// The real program, started and driven from outside under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/command_runner.h"
#include "core/concurrently.h"
#include "core/utf8.h"
#include "tests/e2e/app_driver.h"
#include "ui/views/main_texts.h"

namespace zel::test {
namespace {

TEST(AppEndToEnd, StartsLoadsTheSystemStoreAndReloadsOnF5) {
  SimSandbox sim;
  sim.UseSystemStore(sim.CopyStore(L"uefi-win11.txt", L"system.txt"));
  AppDriver app(sim, "Language=en\r\n");
  ASSERT_TRUE(app.Started());
  ASSERT_TRUE(app.WaitForLog(L"> bcdedit (system) /enum all /v [OK]")) << WideToUtf8(app.LogText());
  EXPECT_NE(app.LogText().find(L"Zel Quillon PE started. No .NET or VC++ Redistributable required."), std::wstring::npos);
  std::vector<std::wstring> calls = sim.LogLines();  // run at the same time, logged in any order
  std::sort(calls.begin(), calls.end());
  EXPECT_EQ(calls, (std::vector<std::wstring>{L"bcdedit /enum all /v", L"bcdedit /enum {current} /v",
                                              L"bcdedit /enum {default} /v"}));
  app.Key(VK_F5);
  for (int i = 0; i < 100 && sim.LogLines().size() < 6; ++i) Sleep(100);
  EXPECT_EQ(sim.LogLines().size(), 6u);

  // Copy Log puts the whole log on the clipboard, each line ending in CR LF.
  const std::wstring log = app.LogText();
  EXPECT_TRUE(log.ends_with(L"\r\n"));
  EXPECT_TRUE(app.Close());
}

TEST(AppEndToEnd, ASecondInstanceSaysSoAndLeaves) {
  SimSandbox sim;
  sim.UseSystemStore(sim.CopyStore(L"empty.txt", L"system.txt"));
  AppDriver app(sim, "Language=en\r\n");
  ASSERT_TRUE(app.Started());
  HANDLE second = app.StartAnother();
  ASSERT_NE(second, nullptr);
  const HWND box = WaitForWindowOf(GetProcessId(second), L"#32770");
  ASSERT_NE(box, nullptr) << "no message from the second instance";
  wchar_t text[128] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 128);  // the static text of a message box
  EXPECT_EQ(std::wstring(text), L"Zel Quillon PE is already running.");
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_EQ(WaitForSingleObject(second, 10000), WAIT_OBJECT_0);
  DWORD code = 99;
  GetExitCodeProcess(second, &code);
  CloseHandle(second);
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(app.Running());
}

TEST(AppEndToEnd, WhileBusyShortcutsAreDroppedAndClosingIsRefused) {
  SimSandbox sim;
  sim.UseSystemStore(sim.CopyStore(L"uefi-win11.txt", L"system.txt"));
  SetEnvironmentVariableW(L"ZQ_SIM_DELAY_MS", L"1500");  // every tool run takes a while
  AppDriver app(sim, "Language=en\r\n");
  ASSERT_TRUE(app.Started());
  Sleep(500);  // the first load is running now
  app.Key('6');
  app.Command(ui::kBackupBcdId);
  PostMessageW(app.Main(), WM_CLOSE, 0, 0);
  Sleep(500);
  EXPECT_TRUE(app.Running()) << "closed during a job";
  ASSERT_TRUE(app.WaitForLog(L"/enum all /v [OK]", 30000));
  Sleep(2000);  // anything queued would have started by now
  EXPECT_EQ(sim.LogLines().size(), 3u) << "a dropped command ran later";
  SetEnvironmentVariableW(L"ZQ_SIM_DELAY_MS", nullptr);
  EXPECT_TRUE(app.Close(20000));
}

TEST(AppEndToEnd, LanguageAndStyleSwitchesRewriteTheSettings) {
  SimSandbox sim;
  sim.UseSystemStore(sim.CopyStore(L"bios-legacy.txt", L"system.txt"));
  // Lines that are not the program's, far past the 64 KiB it once read, go through byte for byte.
  std::string kept = "# kept\r\n\r\nOther=1\n";
  for (int i = 0; kept.size() < 100000; ++i) kept += "note " + std::to_string(i) + " \xC3\xA2\r\n";
  AppDriver app(sim, kept + "Language=vi\r\n");
  ASSERT_TRUE(app.Started());
  ASSERT_TRUE(app.WaitForLog(L"/enum all /v [OK]"));
  const std::wstring vietnamese = app.ControlText(ui::kAddWinPeId);
  app.Command(ui::kLanguageToggleId);
  ASSERT_TRUE(app.Idle());
  EXPECT_EQ(app.SettingsFile(), kept + "Language=en\r\nStyle=dark\r\n");
  EXPECT_NE(app.ControlText(ui::kAddWinPeId), vietnamese);
  EXPECT_NE(app.ControlText(ui::kAddWinPeId).find(L"[1]"), std::wstring::npos);
  app.Command(ui::kLanguageToggleId);
  ASSERT_TRUE(app.Idle());
  EXPECT_EQ(app.ControlText(ui::kAddWinPeId), vietnamese);
  EXPECT_EQ(app.SettingsFile(), kept + "Language=vi\r\nStyle=dark\r\n");

  const std::wstring darkText = app.ControlText(ui::kStyleToggleId);
  app.Command(ui::kStyleToggleId);
  ASSERT_TRUE(app.Idle());
  EXPECT_EQ(app.SettingsFile(), kept + "Language=vi\r\nStyle=light\r\n");
  EXPECT_NE(app.ControlText(ui::kStyleToggleId), darkText);

  // The new text goes to a temporary file beside it that then replaces it: none is left over,
  // and when that file cannot be written the old one stays as it was.
  const std::wstring temporary = app.Folder() + L"\\settings.cfg.tmp";
  EXPECT_EQ(GetFileAttributesW(temporary.c_str()), INVALID_FILE_ATTRIBUTES);
  ASSERT_TRUE(CreateDirectoryW(temporary.c_str(), nullptr));
  app.Command(ui::kStyleToggleId);
  ASSERT_TRUE(app.Idle());
  EXPECT_EQ(app.ControlText(ui::kStyleToggleId), darkText);
  EXPECT_EQ(app.SettingsFile(), kept + "Language=vi\r\nStyle=light\r\n");
  EXPECT_TRUE(app.Close(20000));
}

// A DLL with a system name put beside the program, as on a shared stick: the file dialog
// library, loaded late, gets its dependencies from the system folder only. Wine is told to
// prefer a file over its built-in copy of that DLL for the program, as Windows has no built-in ones.
TEST(AppEndToEnd, ASystemDllBesideTheProgramIsNotLoaded) {
  SimSandbox sim;
  sim.UseSystemStore(sim.CopyStore(L"uefi-win11.txt", L"system.txt"));
  const std::wstring folder = sim.Folder() + L"\\app";
  std::filesystem::create_directories(std::filesystem::path(folder));
  ASSERT_TRUE(
      CopyFileW(BesideThisProgram(L"zq-test-planted.dll").c_str(), (folder + L"\\winspool.drv").c_str(), FALSE));
  struct NativeFirst {
    const wchar_t* key = L"Software\\Wine\\AppDefaults\\ZelQuillonPE.exe\\DllOverrides";
    NativeFirst() {
      RegSetKeyValueW(HKEY_CURRENT_USER, key, L"winspool.drv", REG_SZ, L"native,builtin", sizeof(L"native,builtin"));
    }
    ~NativeFirst() { RegDeleteKeyValueW(HKEY_CURRENT_USER, key, L"winspool.drv"); }
  } nativeFirst;
  AppDriver app(sim, "Language=en\r\n");
  ASSERT_TRUE(app.Started());
  ASSERT_TRUE(app.WaitForLog(L"/enum all /v [OK]"));
  app.Command(ui::kBackupBcdId);  // its save dialog loads the library
  ASSERT_TRUE(app.ChooseFile(L""));
  EXPECT_EQ(GetFileAttributesW((folder + L"\\planted-dll-loaded").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(app.Close());
}


double MsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// From CreateProcess until the bare window (same build, manifest, a font and a button) is visible.
double MsToBareWindow() {
  const std::wstring exe = BesideThisProgram(L"..\\zq-bare-window.exe");
  std::wstring line = L"\"" + exe + L"\"";
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION info{};
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return -1;
  const HWND window = WaitForWindowOf(info.dwProcessId, L"ZqBareWindow", 20000);
  const double ms = window ? MsSince(start) : -1;
  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(info.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 9);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return ms;
}

// From CreateProcess until the store is loaded: the time-out box shows the store's 30 seconds
// instead of its initial 10. Asked by message every few milliseconds, which costs the program far
// less than copying its log would.
double MsToLoaded(SimSandbox& sim, std::vector<double>& shown, const std::wstring& program = L"") {
  AppDriver app(sim, "Language=en\r\n", program);
  if (!app.Started()) return -1;
  shown.push_back(app.MsToWindow());
  const HWND timeoutBox = GetDlgItem(app.Main(), ui::kTimeoutEditId);
  double loaded = 0;
  while ((loaded = app.MsSinceLaunch()) < 30000) {
    wchar_t text[8] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(timeoutBox, WM_GETTEXT, 8, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, &ignored);
    if (std::wstring(text) == L"30") break;
    Sleep(2);
  }
  EXPECT_NE(app.LogText().find(L"> bcdedit (system) /enum all /v [OK]"), std::wstring::npos);
  EXPECT_TRUE(app.Close(20000));
  return loaded;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Prints the start-up times. ZQ_STARTUP_RUNS repeats every measurement (medians are printed);
// ZQ_STARTUP_BEFORE names another build of the program (a Windows path), timed in the same run.
TEST(AppEndToEnd, StartUpTimings) {
  SimSandbox sim;
  sim.UseSystemStore(sim.CopyStore(L"uefi-win11.txt", L"system.txt"));
  wchar_t setting[MAX_PATH] = {};
  const int runs = GetEnvironmentVariableW(L"ZQ_STARTUP_RUNS", setting, MAX_PATH) ? std::max(1, _wtoi(setting)) : 1;
  const std::wstring before = GetEnvironmentVariableW(L"ZQ_STARTUP_BEFORE", setting, MAX_PATH) ? setting : L"";
  std::vector<double> tools, slowest, together, bare, shown, loaded, shownBefore, loadedBefore;
  for (int run = 0; run < runs; ++run) {
    // The three enumerations by themselves, run straight from here one after the other; the program
    // runs them at the same time, so the slowest one is its floor.
    double sum = 0, most = 0;
    for (const wchar_t* what : {L"/enum all /v", L"/enum {default} /v", L"/enum {current} /v"}) {
      LARGE_INTEGER start;
      QueryPerformanceCounter(&start);
      RunBcdedit(L"", what);
      const double ms = MsSince(start);
      sum += ms;
      most = std::max(most, ms);
    }
    tools.push_back(sum);
    slowest.push_back(most);
    // The same three at once, as the program runs them: on two cores under Wine, three process starts
    // compete, so this, not the slowest alone, is what the machine allows.
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    {
      const Concurrently byDefault([] { RunBcdedit(L"", L"/enum {default} /v"); });
      const Concurrently current([] { RunBcdedit(L"", L"/enum {current} /v"); });
      RunBcdedit(L"", L"/enum all /v");
    }
    together.push_back(MsSince(start));
    bare.push_back(MsToBareWindow());
    ASSERT_GT(bare.back(), 0) << "the bare window did not start";
    if (!before.empty()) loadedBefore.push_back(MsToLoaded(sim, shownBefore, before));
    loaded.push_back(MsToLoaded(sim, shown));
    ASSERT_GT(loaded.back(), 0) << "the program did not start";
    EXPECT_LT(loaded.back() - sum, 5000.0);  // a hang or a lost reload, not a speed goal: Wine's process start varies
  }
  std::printf("start-up (median of %d): bare window shown %.0f ms; window shown %.0f ms, store loaded %.0f ms; the three "
              "bcdedit runs alone %.0f ms one after the other, the slowest %.0f ms, all three at once %.0f ms; the "
              "program's own share (loaded - slowest - bare) %.0f ms, beside the three at once (loaded - at once - "
              "bare) %.0f ms\n",
              runs, Median(bare), Median(shown), Median(loaded), Median(tools), Median(slowest), Median(together),
              Median(loaded) - Median(slowest) - Median(bare), Median(loaded) - Median(together) - Median(bare));
  if (!loadedBefore.empty()) {
    std::printf("start-up of the other build: window shown %.0f ms, store loaded %.0f ms; its own share beside the three "
                "runs one after the other (loaded - all three - bare) %.0f ms\n",
                Median(shownBefore), Median(loadedBefore), Median(loadedBefore) - Median(tools) - Median(bare));
  }
}

}  // namespace
}  // namespace zel::test

namespace zel::test {
namespace {

// A store whose menu lists `count` Windows entries.
std::wstring StoreOfManyEntries(SimSandbox& sim, int count) {
  std::string order, loaders;
  for (int i = 0; i < count; ++i) {
    char id[40];
    std::snprintf(id, sizeof id, "{%08x-1111-2222-3333-444444444444}", i + 1);
    order += (i ? "                        " : "displayorder            ") + std::string(id) + "\n";
    loaders += "\nobject " + std::string(id) + " Windows Boot Loader\ndevice                  partition=C:\n"
               "path                    \\Windows\\system32\\winload.efi\ndescription             Windows " +
               std::to_string(i + 1) + "\nosdevice                partition=C:\n";
  }
  const std::wstring path = sim.Folder() + L"\\many.txt";
  std::ofstream(std::filesystem::path(path), std::ios::binary)
      << "zq-sim-bcd-store 1\n\nobject {9dea862c-5cdd-4e70-acc1-f32b344d4795} Windows Boot Manager\n"
         "description             Windows Boot Manager\n"
      << order << "timeout                 30\n" << loaders;
  return path;
}

// The real window's paints, asked for from here and waited for: the whole window, then the
// list alone, with 50 cards. Printed; the limits are far above the goal of 10 ms each, to
// catch a paint gone quadratic, not Wine's variance.
TEST(AppEndToEnd, PaintTimingsOfFiftyCards) {
  SimSandbox sim;
  sim.UseSystemStore(StoreOfManyEntries(sim, 50));
  AppDriver app(sim, "Language=en\r\n");
  ASSERT_TRUE(app.Started() && app.WaitForLog(L"/enum all /v [OK]"));
  ASSERT_TRUE(app.Idle());
  const HWND main = app.Main(), list = GetDlgItem(main, ui::kEntriesId);
  const auto medianMs = [](HWND window, UINT flags) {
    std::vector<double> times;
    for (int i = 0; i < 30; ++i) {
      LARGE_INTEGER start;
      QueryPerformanceCounter(&start);
      RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | flags);
      times.push_back(MsSince(start));
    }
    return Median(times);
  };
  const double whole = medianMs(main, RDW_ALLCHILDREN), cards = medianMs(list, 0);
  std::printf("paint of the whole window %.2f ms, of the list of 50 cards %.2f ms (medians of 30; goal 10 ms each)\n",
              whole, cards);
  EXPECT_LT(whole, 250.0);
  EXPECT_LT(cards, 100.0);
  EXPECT_TRUE(app.Close());
}

}  // namespace
}  // namespace zel::test
