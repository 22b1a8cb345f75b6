// WinPE RAM-disk entries: an options object naming boot.sdi, and a loader whose
// device is the .wim image in a RAM disk. Any essential failure removes both.
#include <algorithm>

#include "core/bcd_edit.h"
#include "core/command_runner.h"
#include "core/entry_create.h"
#include "core/system.h"
#include "core/text.h"

namespace zel {
namespace {

// BIOS media carry the PCAT copy of boot.sdi, UEFI media the EFI one; either works as a last resort.
const wchar_t* const kBiosSdiPaths[] = {L"\\Boot\\boot.sdi", L"\\Windows\\Boot\\DVD\\PCAT\\boot.sdi",
                                        L"\\Windows\\Boot\\DVD\\EFI\\boot.sdi", L"\\Windows\\System32\\boot.sdi"};
const wchar_t* const kUefiSdiPaths[] = {L"\\Boot\\boot.sdi", L"\\Windows\\Boot\\DVD\\EFI\\boot.sdi",
                                        L"\\Windows\\Boot\\DVD\\PCAT\\boot.sdi", L"\\Windows\\System32\\boot.sdi"};

// Undoes a half-made creation; results are ignored because the error is already set.
void RollBack(const std::wstring& storePath, const std::wstring& entryId, const std::wstring& optionsId) {
  if (!entryId.empty()) RunBcdedit(storePath, L"/delete " + entryId + L" /cleanup /f");
  RunBcdedit(storePath, L"/delete " + optionsId + L" /f");
}

// "ramdisk=[D:]\sources\boot.wim,{options}" in double quotes.
std::wstring RamdiskValue(const std::wstring& imagePath, const std::wstring& drive, const std::wstring& optionsId) {
  std::wstring relative = imagePath.size() > 2 ? imagePath.substr(2) : std::wstring();
  if (relative.empty() || relative[0] != L'\\') relative.insert(0, 1, L'\\');
  return L"\"ramdisk=[" + drive + L"]" + relative + L"," + optionsId + L"\"";
}

}  // namespace

bool FindBootSdi(const std::wstring& imagePath, bool legacyBios, std::wstring& sdiDevice, std::wstring& sdiPath) {
  std::vector<std::wstring> drives;
  const std::wstring imageDrive = DrivePrefix(imagePath);
  if (!imageDrive.empty()) drives.push_back(imageDrive);
  for (const auto& drive : ListDriveLetters()) {
    if (std::find(drives.begin(), drives.end(), drive) == drives.end()) drives.push_back(drive);
  }
  for (const auto& drive : drives) {
    for (const wchar_t* path : legacyBios ? kBiosSdiPaths : kUefiSdiPaths) {
      if (FileExists(drive + path)) {
        sdiDevice = L"partition=" + drive;
        sdiPath = path;
        return true;
      }
    }
  }
  return false;
}

bool CreateWinPeEntry(const std::wstring& storePath, const WinPeEntryRequest& request, std::wstring& createdId,
                      Fault& error) {
  createdId.clear();
  error.clear();
  if (!FileExists(request.imagePath)) {
    error = {FaultKind::WimMissing, request.imagePath};
    return false;
  }
  const std::wstring drive = DrivePrefix(request.imagePath);
  if (drive.empty()) {
    error = {FaultKind::WimWithoutDriveLetter, {}};
    return false;
  }
  // Looked for before a new store file is made: a refused creation leaves nothing behind.
  std::wstring sdiDevice, sdiPath;
  if (!FindBootSdi(request.imagePath, request.legacyBios, sdiDevice, sdiPath)) {
    error = {FaultKind::BootSdiMissing, {}};
    return false;
  }
  if (!EnsureStoreFile(storePath, request.legacyBios, error)) return false;
  std::wstring description = SanitizeDescription(request.description);
  if (description.empty()) description = L"Zel WinPE";

  const CommandResult options = RunBcdedit(storePath, L"/create /d \"" + description + L" ramdisk options\" /device");
  const std::wstring optionsId = options.Succeeded() ? FirstGuid(options.output) : std::wstring();
  if (optionsId.empty()) {
    error = {FaultKind::RamdiskOptionsNotCreated, options.output};
    return false;
  }
  Fault output;
  if (!RunBcdeditStep(storePath, L"/set " + optionsId + L" ramdisksdidevice " + sdiDevice, output) ||
      !RunBcdeditStep(storePath, L"/set " + optionsId + L" ramdisksdipath \"" + sdiPath + L"\"", output)) {
    error = {FaultKind::RamdiskOptionsNotCreated, output.detail};
    RollBack(storePath, L"", optionsId);
    return false;
  }

  const CommandResult entry = RunBcdedit(storePath, L"/create /d \"" + description + L"\" /application osloader");
  const std::wstring entryId = entry.Succeeded() ? FirstGuid(entry.output) : std::wstring();
  if (entryId.empty()) {
    error = {FaultKind::WinPeEntryNotCreated, entry.output};
    RollBack(storePath, L"", optionsId);
    return false;
  }

  const std::wstring ramdisk = RamdiskValue(request.imagePath, drive, optionsId);
  const std::wstring settings[] = {
      L"device " + ramdisk,
      L"osdevice " + ramdisk,
      std::wstring(L"path ") +
          (request.legacyBios ? L"\\windows\\system32\\boot\\winload.exe" : L"\\windows\\system32\\boot\\winload.efi"),
      L"systemroot \\windows",
      L"winpe yes",
      L"detecthal yes",
  };
  for (const auto& setting : settings) {
    if (!RunBcdeditStep(storePath, L"/set " + entryId + L" " + setting, output)) {
      error = {FaultKind::WinPeEntryNotConfigured, output.detail};
      RollBack(storePath, entryId, optionsId);
      return false;
    }
  }
  if (!FinishNewEntry(storePath, entryId, request.policy, request.addFirst, request.setDefault, request.bootOnce,
                      output)) {
    error = {FaultKind::WinPeNotAddedToMenu, output.detail};
    RollBack(storePath, entryId, optionsId);
    return false;
  }
  createdId = entryId;
  return true;
}

}  // namespace zel
