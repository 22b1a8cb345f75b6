#include "tests/e2e/app_driver.h"
#include "ui/views/main_texts.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace zel::test {
std::wstring BesideThisProgram(const std::wstring& name) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self);
  return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

namespace {

struct FindArgs {
  DWORD processId;
  const wchar_t* className;
  HWND found;
};

HANDLE Launch(const std::wstring& exe, PROCESS_INFORMATION& info) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  std::wstring line = L"\"" + exe + L"\"";
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return nullptr;
  }
  return info.hProcess;
}

}  // namespace

HWND WaitForWindowOf(DWORD processId, const wchar_t* className, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 10) {
    FindArgs args{processId, className, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) CALLBACK -> BOOL {
          auto* a = reinterpret_cast<FindArgs*>(param);
          DWORD owner = 0;
          GetWindowThreadProcessId(window, &owner);
          wchar_t name[64] = {};
          GetClassNameW(window, name, 64);
          if (owner == a->processId && lstrcmpW(name, a->className) == 0 && IsWindowVisible(window)) {
            a->found = window;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&args));
    if (args.found) return args.found;
    Sleep(10);
  }
  return nullptr;
}

AppDriver::AppDriver(SimSandbox& sim, const std::string& settings, const std::wstring& program)
    : folder_(sim.Folder() + L"\\app"), exe_(folder_ + L"\\ZelQuillonPE.exe") {
  std::filesystem::create_directories(std::filesystem::path(folder_));
  CopyFileW((program.empty() ? BesideThisProgram(L"..\\ZelQuillonPE.exe") : program).c_str(), exe_.c_str(), FALSE);
  if (!settings.empty()) std::ofstream(std::filesystem::path(folder_ + L"\\settings.cfg"), std::ios::binary) << settings;
  QueryPerformanceCounter(&launched_);
  if (!Launch(exe_, process_)) return;
  main_ = WaitForWindowOf(process_.dwProcessId, L"ZelQuillonPE.Main", 20000);
  msToWindow_ = MsSinceLaunch();
}

AppDriver::~AppDriver() {
  if (process_.hProcess) {
    if (Running() && !Close(5000)) TerminateProcess(process_.hProcess, 9);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
}

double AppDriver::MsSinceLaunch() const {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart - launched_.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HANDLE AppDriver::StartAnother() const {
  PROCESS_INFORMATION info{};
  HANDLE process = Launch(exe_, info);
  if (process) CloseHandle(info.hThread);
  return process;
}

void AppDriver::Command(int id) const { PostMessageW(main_, WM_COMMAND, static_cast<WPARAM>(id), 0); }

void AppDriver::Key(WPARAM key) const {
  // The program's message loop sees the key as if typed into its focused control.
  GUITHREADINFO gui{sizeof(gui)};
  GetGUIThreadInfo(process_.dwThreadId, &gui);
  HWND target = gui.hwndFocus ? gui.hwndFocus : main_;
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

std::wstring AppDriver::LogText(int waitMs) const {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
  for (int waited = 0; waited < waitMs; waited += 10) {
    if (waited % 300 == 0) Command(ui::kCopyLogId);  // dropped while the program is busy, so asked again
    Sleep(10);
    if (!OpenClipboard(nullptr)) continue;
    std::wstring text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) text = chars;
      GlobalUnlock(data);
    }
    CloseClipboard();
    if (!text.empty()) return text;
  }
  return {};
}

bool AppDriver::WaitForLog(const std::wstring& text, int timeoutMs) const {
  const DWORD start = GetTickCount();
  while (static_cast<int>(GetTickCount() - start) < timeoutMs) {
    if (LogText(1000).find(text) != std::wstring::npos) return true;
    Sleep(100);
  }
  return false;
}

std::wstring AppDriver::ControlText(int id) const {
  wchar_t text[256] = {};
  GetWindowTextW(GetDlgItem(main_, id), text, 256);
  return text;
}

std::string AppDriver::SettingsFile() const {
  std::ifstream file(std::filesystem::path(folder_ + L"\\settings.cfg"), std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

bool AppDriver::Close(int timeoutMs) {
  PostMessageW(main_, WM_CLOSE, 0, 0);
  return WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0;
}

HWND AppDriver::WaitForDialog(int timeoutMs) const {
  const HWND dialog = WaitForWindowOf(process_.dwProcessId, L"ZelQuillonPE.Dialog", timeoutMs);
  // Keys go to the focused control, which is in the dialog only once it has taken the focus.
  for (int waited = 0; dialog && waited < 2000; waited += 10) {
    GUITHREADINFO gui{sizeof(gui)};
    if (GetGUIThreadInfo(process_.dwThreadId, &gui) && IsChild(dialog, gui.hwndFocus)) break;
    Sleep(10);
  }
  return dialog;
}

std::wstring AppDriver::TitleOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

std::vector<std::pair<int, std::wstring>> AppDriver::ButtonsOf(HWND dialog) {
  std::vector<std::pair<int, std::wstring>> buttons;
  EnumChildWindows(
      dialog,
      [](HWND child, LPARAM list) CALLBACK -> BOOL {
        wchar_t name[16] = {}, text[256] = {};
        GetClassNameW(child, name, 16);
        GetWindowTextW(child, text, 256);
        if (lstrcmpiW(name, L"BUTTON") == 0) {
          reinterpret_cast<std::vector<std::pair<int, std::wstring>>*>(list)->emplace_back(GetDlgCtrlID(child), text);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&buttons));
  return buttons;
}

bool AppDriver::WaitClosed(HWND dialog, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 20) {
    if (!IsWindow(dialog)) return true;
    Sleep(20);
  }
  return false;
}

bool AppDriver::ChooseFile(const std::wstring& path, int timeoutMs) const {
  const HWND dialog = WaitForWindowOf(process_.dwProcessId, L"#32770", timeoutMs);
  if (!dialog) return false;
  if (path.empty()) {
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    return WaitClosed(dialog);
  }
  // The file name box is an edit inside the combo box with the id cmb13.
  HWND edit = nullptr;
  EnumChildWindows(
      dialog,
      [](HWND child, LPARAM found) CALLBACK -> BOOL {
        wchar_t name[16] = {};
        GetClassNameW(child, name, 16);
        if (lstrcmpiW(name, L"Edit") != 0 || GetDlgCtrlID(child) != 0x47C) return TRUE;
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&edit));
  if (!edit) return false;
  SetWindowTextW(edit, path.c_str());
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  return WaitClosed(dialog);
}

bool AppDriver::UseMenu(const std::vector<WPARAM>& keys, int timeoutMs) const {
  const HWND menu = WaitForWindowOf(process_.dwProcessId, L"#32768", timeoutMs);
  if (!menu) return false;
  for (const WPARAM key : keys) {
    PostMessageW(menu, WM_KEYDOWN, key, 1);
    PostMessageW(menu, WM_KEYUP, key, 0xC0000001);
  }
  return WaitClosed(menu);
}

bool AppDriver::Running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

}  // namespace zel::test
