// A bcdedit that hangs during a change, with the real program: the window stays
// alive while it waits, and the program's time-out ends the tool and reports the
// change failed. Over two minutes long, so ctest runs it as a test of its own.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "core/command_runner.h"
#include "core/win_handle.h"
#include "tests/e2e/started_app.h"
#include "tests/support/files.h"
#include "ui/canvas_win.h"
#include "ui/views/main_texts.h"

namespace zel::test {
namespace {

// The bcdedit processes the program started, from the Wine process list.
int BcdeditChildren(DWORD parent) {
  const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{sizeof(entry)};
  int count = 0;
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
    if (entry.th32ParentProcessID == parent && lstrcmpiW(entry.szExeFile, L"bcdedit.exe") == 0) ++count;
  }
  return count;
}

// One screen row across the busy bar's strip, the pixels just above the entries list.
std::vector<ui::Pixel> BusyBarRow(HWND list) {
  RECT r{};
  GetWindowRect(list, &r);
  ui::Canvas row(r.right - r.left, 1);
  const HDC screen = GetDC(nullptr);
  BitBlt(row.Dc(), 0, 0, row.Width(), 1, screen, r.left, r.top - 2, SRCCOPY);
  ReleaseDC(nullptr, screen);
  const ui::PixelView pixels = row.Pixels();
  return std::vector<ui::Pixel>(pixels.bits, pixels.bits + pixels.width);
}

double Seconds(ULONGLONG fromMs) { return static_cast<double>(GetTickCount64() - fromMs) / 1000.0; }

TEST(HangEndToEnd, AHungBcdeditIsEndedByTheTimeOutWhileTheWindowStaysAlive) {
  Started s(L"", [](SimSandbox& sim) { sim.DelayWhen(L"bcdedit /timeout 5", kBcdeditTimeoutMs + 60000); });
  ASSERT_TRUE(s.ok);
  ui::InitUi(GetModuleHandleW(nullptr));
  const std::string storeBefore = ReadBytes(s.store);
  DWORD app = 0;
  GetWindowThreadProcessId(s.app->Main(), &app);
  SetWindowPos(s.app->Main(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);  // nothing covers the bar

  SetWindowTextW(GetDlgItem(s.app->Main(), ui::kTimeoutEditId), L"5");
  s.app->Command(ui::kApplyTimeoutId);
  ULONGLONG started = 0;
  for (int i = 0; i < 400 && !started; ++i) {
    if (Contains(s.sim.LogLines(), L"bcdedit /timeout 5")) started = GetTickCount64();
    Sleep(50);
  }
  ASSERT_NE(started, 0u) << "the change never ran";

  // While the tool hangs: the window answers at once, its busy bar moves, a second command is dropped.
  Sleep(2000);
  DWORD_PTR ignored = 0;
  EXPECT_NE(SendMessageTimeoutW(s.app->Main(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored), 0) << "not answering";
  std::set<std::vector<ui::Pixel>> bars;
  for (int i = 0; i < 8; ++i, Sleep(120)) bars.insert(BusyBarRow(GetDlgItem(s.app->Main(), ui::kEntriesId)));
  EXPECT_GE(bars.size(), 2u) << "the busy bar did not move";
  s.app->Command(ui::kRefreshId);
  EXPECT_EQ(BcdeditChildren(app), 1);

  // The time-out: the tool's process goes, then the error is reported. The report follows the kill within
  // milliseconds, often inside one poll, so what is measured is the last moment the tool was still running.
  double aliveAt = 0;
  HWND dialog = nullptr;
  while (!dialog && Seconds(started) < kBcdeditTimeoutMs / 1000.0 + 30) {
    if (BcdeditChildren(app) > 0) aliveAt = Seconds(started);
    dialog = WaitForWindowOf(app, L"ZelQuillonPE.Dialog", 20);
  }
  const double reportedAt = Seconds(started);
  ASSERT_NE(dialog, nullptr) << "no report " << reportedAt << " s after the tool started";
  std::printf("hung bcdedit: logged at 0 s, last seen running at %.2f s, reported at %.2f s: at most %.0f ms from the "
              "end of the tool to the report (time-out %u s)\n",
              aliveAt, reportedAt, (reportedAt - aliveAt) * 1000, kBcdeditTimeoutMs / 1000);
  EXPECT_GE(aliveAt, kBcdeditTimeoutMs / 1000.0 - 1);  // not ended before the time-out
  Answer(*s.app, L"Zel Quillon PE \u2014 Error", kFirstButton);
  EXPECT_NE(s.app->LogText().find(L"> Change timeout [Error] Process timed out and was terminated."), std::wstring::npos);
  EXPECT_EQ(ReadBytes(s.store), storeBefore);
  EXPECT_EQ(BcdeditChildren(app), 0);
  EXPECT_FALSE(Contains(s.sim.LogLines(), L"bcdedit /enum all /v")) << "the dropped refresh ran later";
}

}  // namespace
}  // namespace zel::test
