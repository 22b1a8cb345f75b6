#include "core/efi_backup.h"

#include <algorithm>

#include "core/backup_folder.h"
#include "core/backup_history.h"
#include "core/command_runner.h"
#include "core/esp.h"
#include "core/platform.h"
#include "core/system.h"
#include "core/text.h"

namespace zel {
namespace {

// A path step made only of dots and blanks with two or more dots: Windows drops
// trailing dots and blanks from a name, so ".. " or "..." can still mean the parent.
bool IsParentLikeStep(const std::wstring& step) {
  return step.find_first_not_of(L". ") == std::wstring::npos && std::count(step.begin(), step.end(), L'.') >= 2;
}

bool IsUnsafeMember(const std::wstring& member) {
  if (member[0] == L'/') return true;                       // absolute, or a UNC path
  if (member.size() >= 2 && member[1] == L':') return true;  // a drive
  if (member == L".." || member.rfind(L"../", 0) == 0 || member.find(L"/../") != std::wstring::npos) return true;
  // No file on the partition has a colon in its name; one can only name a drive or a stream.
  if (member.find(L':') != std::wstring::npos) return true;
  size_t start = 0;
  while (start <= member.size()) {
    const size_t end = std::min(member.find(L'/', start), member.size());
    if (IsParentLikeStep(member.substr(start, end - start))) return true;
    start = end + 1;
  }
  return false;
}

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

const wchar_t kEfiSnapshotPrefix[] = L"EFI_";

// Packs the whole partition into `zipPath`, mounted for the tar run only. A failed
// run leaves no partial archive behind and reports tar's own output.
bool PackPartition(const std::wstring& tar, const std::wstring& zipPath, Fault& error) {
  EspMount esp;
  if (!esp.Mount(error)) return false;
  const CommandResult packed =
      RunProcess(tar, L"-a -cf " + Quoted(zipPath) + L" -C " + esp.Letter() + L"\\ .", kLongToolTimeoutMs);
  esp.Release();
  if (packed.Succeeded()) return true;
  DeleteFileForce(zipPath);
  error = Said(packed.output);
  return false;
}

}  // namespace

std::wstring FindTar() {
  const std::wstring tar = SystemToolPath(L"tar.exe");
  return FileExists(tar) ? tar : std::wstring();
}

bool CheckArchiveListing(const std::wstring& listing, Fault& error) {
  error.clear();
  for (const auto& raw : SplitLines(listing)) {
    std::wstring member = Trim(raw);
    std::replace(member.begin(), member.end(), L'\\', L'/');
    if (member.empty()) continue;
    if (IsUnsafeMember(member)) {
      error = {FaultKind::UnsafeArchivePath, member};
      return false;
    }
  }
  return true;
}

bool BackupEfi(const std::wstring& zipPath, Fault& error) {
  error.clear();
  const std::wstring tar = FindTar();
  if (tar.empty()) {
    error = {FaultKind::NoTar, {}};
    return false;
  }
  // Written beside the target first and moved over it in one step, so an older
  // backup survives any failure.
  const std::wstring temporary = zipPath + L".tmp-" + std::to_wstring(CurrentPlatform().ProcessId()) + L".zip";
  DeleteFileForce(temporary);
  if (!PackPartition(tar, temporary, error)) return false;
  const uint32_t moved = CurrentPlatform().MoveFileReplacing(temporary, zipPath);
  if (moved != 0) {
    error = Said(Win32ErrorText(moved));
    DeleteFileForce(temporary);
    return false;
  }
  return true;
}

bool SnapshotEfiBeforeChange(std::wstring& snapshotPath, Fault& error) {
  return SnapshotEfiBeforeChange(L"", snapshotPath, error);
}

bool SnapshotEfiBeforeChange(const std::wstring& changeDescription, std::wstring& snapshotPath, Fault& error) {
  snapshotPath.clear();
  error.clear();
  const std::wstring tar = FindTar();
  if (tar.empty()) {
    error = {FaultKind::NoTar, {}};
    return false;
  }
  const std::wstring folder = FindBackupFolder();
  if (folder.empty()) {
    error = {FaultKind::NoEfiBackupFolder, {}};
    return false;
  }
  const std::wstring path = NewBackupPath(folder, kEfiSnapshotPrefix, L".zip");
  if (!PackPartition(tar, path, error)) return false;
  RememberOwnBackup(path);
  PruneAutomaticBackups(folder, kEfiSnapshotPrefix, L".zip");
  RecordBackup(path, L"", changeDescription);
  snapshotPath = path;
  return true;
}

bool ListingHasEfiRoot(const std::wstring& listing) {
  for (const auto& raw : SplitLines(listing)) {
    std::wstring member = Trim(raw);
    std::replace(member.begin(), member.end(), L'\\', L'/');
    while (member.starts_with(L"./")) member.erase(0, 2);
    if (member.size() >= 4 && member[3] == L'/' && EqualsNoCase(member.substr(0, 3), L"EFI")) return true;
  }
  return false;
}

bool CheckEfiArchive(const std::wstring& zipPath, bool& hasEfiRoot, Fault& error) {
  error.clear();
  hasEfiRoot = false;
  if (!FileExists(zipPath)) {
    error = {FaultKind::EfiBackupMissing, zipPath};
    return false;
  }
  const std::wstring tar = FindTar();
  if (tar.empty()) {
    error = {FaultKind::NoTarToExtract, {}};
    return false;
  }
  const CommandResult listing = RunProcess(tar, L"-tf " + Quoted(zipPath), kLongToolTimeoutMs);
  if (!listing.Succeeded()) {
    error = Said(listing.output);
    return false;
  }
  if (!CheckArchiveListing(listing.output, error)) return false;
  hasEfiRoot = ListingHasEfiRoot(listing.output);
  return true;
}

bool RestoreEfi(const std::wstring& zipPath, Fault& error) {
  // Every member is checked again right before anything is mounted or written:
  // the file may have changed since the user was asked.
  bool hasEfiRoot = false;
  if (!CheckEfiArchive(zipPath, hasEfiRoot, error)) return false;
  EspMount esp;
  if (!esp.Mount(error)) return false;
  const CommandResult extracted =
      RunProcess(FindTar(), L"-xf " + Quoted(zipPath) + L" -C " + esp.Letter() + L"\\", kLongToolTimeoutMs);
  esp.Release();
  if (extracted.Succeeded()) return true;
  error = Said(extracted.output);
  return false;
}

bool RepairEfi(const std::wstring& windowsDrive, Fault& error) {
  error.clear();
  const std::wstring drive = NormalizeDriveRoot(windowsDrive);
  const std::wstring windowsFolder = drive + L"\\Windows";
  const uint32_t attributes = CurrentPlatform().FileAttributes(windowsFolder);
  // Only a plain drive may reach bcdboot's command line.
  if (drive.size() != 2 || drive[1] != L':' || attributes == kInvalidFileAttributes ||
      (attributes & kAttributeDirectory) == 0) {
    error = {FaultKind::WindowsMissing, windowsFolder};
    return false;
  }
  EspMount esp;
  if (!esp.Mount(error)) return false;
  const std::wstring own = windowsFolder + L"\\System32\\bcdboot.exe";
  const std::wstring bcdboot = FileExists(own) ? own : SystemToolPath(L"bcdboot.exe");
  const CommandResult result =
      RunProcess(bcdboot, Quoted(windowsFolder) + L" /s " + esp.Letter() + L" /f UEFI", kLongToolTimeoutMs);
  esp.Release();
  if (result.Succeeded()) return true;
  error = Said(result.output);
  return false;
}

}  // namespace zel
