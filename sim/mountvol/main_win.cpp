// mountvol.exe stand-in for tests and the demo: the folder named by ZQ_SIM_ESP
// plays the EFI System Partition and gets a real drive letter through Wine's
// mount manager. Letters it gives away are recorded in the prefix's registry,
// so that /D never takes a letter it did not give (C:, Wine's Z:).
#include <windows.h>

#include "core/utf8.h"
#include "sim/common/argv.h"
#include "sim/common/tool_main_win.h"
#include "sim/mountvol/mount_manager_win.h"
#include "sim/mountvol/mountvol.h"

namespace {

constexpr wchar_t kRecordKey[] = L"Software\\ZelQuillonSim\\mountvol";

std::wstring RecordName(wchar_t letter) { return {letter, L':'}; }

bool ReadRecord(wchar_t letter, std::wstring& unixPath) {
  wchar_t value[4 * MAX_PATH] = {};
  DWORD size = sizeof value - sizeof(wchar_t);  // room for the terminator RegGetValueW may need
  if (RegGetValueW(HKEY_CURRENT_USER, kRecordKey, RecordName(letter).c_str(), RRF_RT_REG_SZ, nullptr, value,
                   &size) != ERROR_SUCCESS) {
    return false;
  }
  unixPath = value;
  return true;
}

uint32_t WriteRecord(wchar_t letter, const std::wstring& unixPath) {
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, kRecordKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                   nullptr);
  if (status != ERROR_SUCCESS) return static_cast<uint32_t>(status);
  status = RegSetValueExW(key, RecordName(letter).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(unixPath.c_str()),
                          static_cast<DWORD>((unixPath.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return static_cast<uint32_t>(status);
}

void ForgetRecord(wchar_t letter) { RegDeleteKeyValueW(HKEY_CURRENT_USER, kRecordKey, RecordName(letter).c_str()); }

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool LetterInUse(wchar_t letter) { return (GetLogicalDrives() & (1u << (letter - L'A'))) != 0; }

// Ours when recorded and the mount manager still shows the recorded folder;
// a record that no longer matches is stale and dropped.
bool MountedByUs(wchar_t letter) {
  std::wstring recorded;
  if (!ReadRecord(letter, recorded)) return false;
  std::string shown;
  if (!sim::QueryUnixDrive(letter, shown)) return true;  // the manager cannot tell: trust the record
  if (zel::Utf8ToWide(shown) == recorded) return true;
  ForgetRecord(letter);
  return false;
}

uint32_t Mount(wchar_t letter, const std::wstring& folder) {
  std::string unixPath;
  if (!sim::UnixPathOf(folder, unixPath)) return ERROR_PATH_NOT_FOUND;
  const uint32_t error = sim::DefineUnixDrive(letter, unixPath);
  if (error != 0) return error;
  const uint32_t recorded = WriteRecord(letter, zel::Utf8ToWide(unixPath));
  if (recorded != 0) sim::RemoveUnixDrive(letter);  // unrecorded, it could never be removed again
  return recorded;
}

uint32_t Unmount(wchar_t letter) {
  const uint32_t error = sim::RemoveUnixDrive(letter);
  if (error == 0) ForgetRecord(letter);
  return error;
}

std::wstring ErrorText(uint32_t error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
      reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = length > 0 ? std::wstring(text, length) : L"Error " + std::to_wstring(error) + L".";
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' ')) {
    message.pop_back();
  }
  return message + L"\r\n";
}

}  // namespace

int wmain() {
  return sim::RunSimulatedTool(L"mountvol", [](const std::wstring& argumentText) {
    sim::MountHost host;
    host.espFolder = sim::ReadEnvironment(L"ZQ_SIM_ESP");
    host.isFolder = IsFolder;
    host.letterInUse = LetterInUse;
    host.mountedByUs = MountedByUs;
    host.mount = Mount;
    host.unmount = Unmount;
    host.errorText = ErrorText;
    return sim::ExecuteMountvol(sim::SplitArguments(argumentText), host);
  });
}
