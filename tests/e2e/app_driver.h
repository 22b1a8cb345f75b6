#pragma once
// Drives the real ZelQuillonPE.exe from another process, as a user would: it
// starts the program in a private folder with its own store, finds its
// windows, sends commands by control id, answers dialogs through their buttons
// and reads the command log through "Copy Log" and the clipboard.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/sim_sandbox.h"

namespace zel::test {

class AppDriver {
 public:
  // Copies the program (by default the one built beside the tests) into the sandbox
  // (so its settings and backups stay there) with the given settings.cfg text, then starts it.
  explicit AppDriver(SimSandbox& sim, const std::string& settings = "", const std::wstring& program = L"");
  ~AppDriver();
  AppDriver(const AppDriver&) = delete;
  AppDriver& operator=(const AppDriver&) = delete;

  bool Started() const { return main_ != nullptr; }
  // Milliseconds from process creation until the main window was visible.
  double MsToWindow() const { return msToWindow_; }
  double MsSinceLaunch() const;
  HWND Main() const { return main_; }
  const std::wstring& Folder() const { return folder_; }
  // Starts the program again from the same folder (a second instance); returns its process.
  HANDLE StartAnother() const;

  void Command(int id) const;
  void Key(WPARAM key) const;  // a key press sent to the focused control of the program
  // The command log as "Copy Log" puts it on the clipboard.
  std::wstring LogText(int waitMs = 5000) const;
  // Waits until the program has handled everything sent to it so far and is not busy
  // (its "Copy Log" answers only then); false after the time-out.
  bool Idle(int timeoutMs = 10000) const { return !LogText(timeoutMs).empty(); }
  // Waits until the log holds `text`; false after the time-out.
  bool WaitForLog(const std::wstring& text, int timeoutMs = 20000) const;
  std::wstring ControlText(int id) const;
  std::string SettingsFile() const;
  // Asks the program to close; true when it exited within the time.
  bool Close(int timeoutMs = 10000);
  bool Running() const;
  // The program's next dialog once its first control has the focus; its title, and the texts of
  // its buttons by control id.
  HWND WaitForDialog(int timeoutMs = 15000) const;
  static std::wstring TitleOf(HWND window);
  static std::vector<std::pair<int, std::wstring>> ButtonsOf(HWND dialog);
  // Waits until the dialog is gone; false after the time-out.
  static bool WaitClosed(HWND dialog, int timeoutMs = 10000);
  // The program's common file dialog: types `path` as the file name and presses
  // its OK button (an empty path presses Cancel). False when no dialog came or it stayed.
  bool ChooseFile(const std::wstring& path, int timeoutMs = 20000) const;
  // The program's pop-up menu: sends these keys to it once it is open.
  bool UseMenu(const std::vector<WPARAM>& keys, int timeoutMs = 10000) const;

 private:
  std::wstring folder_;
  std::wstring exe_;
  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
  LARGE_INTEGER launched_{};
  double msToWindow_ = 0;
};

// A file in the build tree's folder, relative to the folder of the running test program.
std::wstring BesideThisProgram(const std::wstring& name);

// A top-level window of the given class owned by the process, waited for.
HWND WaitForWindowOf(DWORD processId, const wchar_t* className, int timeoutMs = 10000);

}  // namespace zel::test
