#include "core/entry_create.h"

#include "core/bcd_edit.h"
#include "core/command_runner.h"
#include "core/platform.h"
#include "core/store_selection.h"
#include "core/system.h"
#include "core/text.h"

namespace zel {
namespace {

bool IsFolder(const std::wstring& path) {
  const uint32_t attributes = CurrentPlatform().FileAttributes(path);
  return attributes != kInvalidFileAttributes && (attributes & kAttributeDirectory) != 0;
}

// The loader's own bcdboot matches the Windows being added; the running system's is the fallback.
std::wstring BcdbootFor(const std::wstring& windowsFolder) {
  const std::wstring own = windowsFolder + L"\\System32\\bcdboot.exe";
  return FileExists(own) ? own : SystemToolPath(L"bcdboot.exe");
}


// bcdboot writes the running system's store (no /s), or the one store file of its
// firmware kind on the drive named by /s. Any other selected store would be left
// alone while bcdboot changed another: refused. `drive` is empty for no /s.
bool BcdbootTarget(const std::wstring& storePath, bool legacyBios, std::wstring& drive, Fault& error) {
  drive.clear();
  if (storePath.empty() || IsSystemStoreFile(storePath)) return true;
  const std::wstring letter = DrivePrefix(storePath);
  const wchar_t lower = letter.empty() ? L'\0' : ToLowerChar(letter[0]);
  const wchar_t* written = legacyBios ? L"\\Boot\\BCD" : L"\\EFI\\Microsoft\\Boot\\BCD";
  if (lower >= L'a' && lower <= L'z' && EqualsNoCase(storePath, letter + written)) {
    drive = letter;
    return true;
  }
  error = {FaultKind::BcdbootStoreNotReachable, storePath};
  return false;
}

}  // namespace

std::wstring StoreParentFolder(const std::wstring& storePath) {
  const size_t slash = storePath.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return {};
  std::wstring parent = storePath.substr(0, slash);
  while (!parent.empty() && (parent.back() == L'\\' || parent.back() == L'/')) parent.pop_back();
  if (parent.size() == 2 && parent[1] == L':') parent += L'\\';  // keep a drive's root separator
  return parent;
}

bool EnsureStoreFile(const std::wstring& storePath, bool legacyBios, Fault& error) {
  error.clear();
  if (storePath.empty() || FileExists(storePath)) return true;
  const std::wstring parent = StoreParentFolder(storePath);
  if (!parent.empty() && !CurrentPlatform().CreateFolders(parent)) {
    error = {FaultKind::BcdFolderNotCreated, parent};
    return false;
  }
  const CommandResult created =
      RunProcess(SystemToolPath(L"bcdedit.exe"), L"/createstore \"" + storePath + L"\"", kBcdeditTimeoutMs);
  if (!created.Succeeded()) {
    error = {FaultKind::NewStoreNotCreated, created.output};
    return false;
  }
  // A store without a boot manager cannot boot anything; these only tune it, so failures are ignored.
  RunBcdedit(storePath, L"/create {bootmgr} /d \"Windows Boot Manager\"");
  const std::wstring drive = DrivePrefix(storePath);
  if (!drive.empty()) RunBcdedit(storePath, L"/set {bootmgr} device partition=" + drive);
  if (!legacyBios) RunBcdedit(storePath, L"/set {bootmgr} path \\EFI\\Microsoft\\Boot\\bootmgfw.efi");
  RunBcdedit(storePath, L"/timeout 10");
  return true;
}

bool CreateWindowsEntry(const std::wstring& storePath, const WindowsEntryRequest& request, std::wstring& createdId,
                        Fault& error) {
  createdId.clear();
  error.clear();
  const std::wstring drive = NormalizeDriveRoot(request.windowsDrive);
  const std::wstring windowsFolder = drive + L"\\Windows";
  // Only a plain drive may reach the command lines below, where it stands unquoted.
  if (drive.size() != 2 || drive[1] != L':' || !IsFolder(windowsFolder)) {
    error = {FaultKind::WindowsMissing, windowsFolder};
    return false;
  }

  if (request.useBcdboot) {
    std::wstring target;
    if (!BcdbootTarget(storePath, request.legacyBios, target, error)) return false;
    std::wstring arguments = L"\"" + windowsFolder + L"\"";
    if (!target.empty()) arguments += L" /s " + target + (request.legacyBios ? L" /f BIOS" : L" /f UEFI");
    if (!request.setDefault) arguments += L" /d";
    const CommandResult result = RunProcess(BcdbootFor(windowsFolder), arguments, kLongToolTimeoutMs);
    if (result.Succeeded()) return true;
    error = Said(result.output);
    return false;
  }

  if (!EnsureStoreFile(storePath, request.legacyBios, error)) return false;
  std::wstring description = SanitizeDescription(request.description);
  if (description.empty()) description = L"Windows (" + drive + L")";
  const CommandResult created = RunBcdedit(storePath, L"/create /d \"" + description + L"\" /application osloader");
  const std::wstring id = created.Succeeded() ? FirstGuid(created.output) : std::wstring();
  if (id.empty()) {
    error = {FaultKind::WindowsEntryNotCreated, created.output};
    return false;
  }
  Fault output;
  const std::wstring settings[] = {
      L"device partition=" + drive,
      L"osdevice partition=" + drive,
      std::wstring(L"path ") + (request.legacyBios ? L"\\Windows\\system32\\winload.exe" : L"\\Windows\\system32\\winload.efi"),
      L"systemroot \\Windows",
      L"inherit {bootloadersettings}",
  };
  for (const auto& setting : settings) {
    if (!RunBcdeditStep(storePath, L"/set " + id + L" " + setting, output)) {
      RunBcdedit(storePath, L"/delete " + id + L" /cleanup /f");
      error = {FaultKind::WindowsEntryNotConfigured, output.detail};
      return false;
    }
  }
  if (!FinishNewEntry(storePath, id, request.policy, request.addFirst, request.setDefault, false, output)) {
    RunBcdedit(storePath, L"/delete " + id + L" /cleanup /f");
    error = {FaultKind::WindowsNotAddedToMenu, output.detail};
    return false;
  }
  createdId = id;
  return true;
}

bool FinishNewEntry(const std::wstring& storePath, const std::wstring& id, MenuPolicy policy, bool addFirst,
                    bool setDefault, bool bootOnce, Fault& error) {
  Fault ignored;
  SetBootMenuPolicy(storePath, id, policy, ignored);
  if (!RunBcdeditStep(storePath, L"/displayorder " + id + (addFirst ? L" /addfirst" : L" /addlast"), error)) return false;
  if (setDefault) RunBcdedit(storePath, L"/default " + id);
  if (bootOnce) RunBcdedit(storePath, L"/bootsequence " + id);
  RunBcdedit(storePath, L"/set {bootmgr} displaybootmenu yes");
  return true;
}

std::vector<std::wstring> FindWindowsDrives() {
  std::vector<std::wstring> drives;
  for (const auto& drive : ListDriveLetters()) {
    if (FileExists(drive + L"\\Windows\\System32\\winload.efi") || FileExists(drive + L"\\Windows\\System32\\winload.exe")) {
      drives.push_back(drive);
    }
  }
  return drives;
}

}  // namespace zel
