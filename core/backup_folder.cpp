#include "core/backup_folder.h"

#include <algorithm>
#include <cstdio>

#include "core/text.h"

namespace zel {

std::wstring ModuleDirectory() {
  const std::wstring path = CurrentPlatform().ModuleFileName();
  const size_t slash = path.find_last_of(L"\\/");
  if (path.empty() || slash == std::wstring::npos) return L".";
  return path.substr(0, slash);
}

bool IsWritableFolder(const std::wstring& folder) {
  Platform& platform = CurrentPlatform();
  if (!platform.CreateFolders(folder)) return false;
  const uint32_t attributes = platform.FileAttributes(folder);
  if (attributes == kInvalidFileAttributes || (attributes & kAttributeDirectory) == 0) return false;
  // Read-only media and protected folders only show themselves when a file is actually made.
  const std::wstring probe = folder + L"\\.write-test-" + std::to_wstring(platform.ProcessId()) + L".tmp";
  if (!platform.CreateProbeFile(probe)) return false;
  platform.RemoveFile(probe);
  return true;
}

std::wstring FindBackupFolder() {
  const std::wstring beside = ModuleDirectory() + L"\\Backups";
  if (IsWritableFolder(beside)) return beside;
  const std::wstring temp = CurrentPlatform().TempFolder();
  if (temp.empty()) return {};
  const std::wstring fallback = temp + L"ZelQuillon\\Backups";
  return IsWritableFolder(fallback) ? fallback : std::wstring();
}

std::wstring TimestampText(const LocalTime& t) {
  wchar_t text[40];
  std::swprintf(text, 40, L"%04u%02u%02u-%02u%02u%02u-%03u", t.year, t.month, t.day, t.hour, t.minute, t.second,
                t.millisecond);
  return text;
}

std::wstring TimestampText() { return TimestampText(CurrentPlatform().Now()); }

void DeleteFileForce(const std::wstring& path) {
  Platform& platform = CurrentPlatform();
  const uint32_t attributes = platform.FileAttributes(path);
  if (attributes == kInvalidFileAttributes || (attributes & kAttributeDirectory)) return;
  if (attributes & (kAttributeReadOnly | kAttributeHidden | kAttributeSystem)) {
    platform.SetAttributes(path, kAttributeNormal);
  }
  platform.RemoveFile(path);
}

void PruneBackups(const std::wstring& folder) {
  Platform& platform = CurrentPlatform();
  struct Backup {
    std::wstring path;
    uint64_t created;
  };
  std::vector<Backup> backups;
  for (const auto& item : platform.ListFolder(folder)) {
    const std::wstring name = ToLower(item.name);
    if (!item.isFile || name.size() < 8 || name.rfind(L"bcd_", 0) != 0 || !name.ends_with(L".bcd")) continue;
    const std::wstring path = folder + L"\\" + item.name;
    backups.push_back(Backup{path, platform.CreationTime(path)});
  }
  if (backups.size() <= kKeptAutomaticBackups) return;
  std::sort(backups.begin(), backups.end(), [](const Backup& a, const Backup& b) { return a.created > b.created; });
  for (size_t i = kKeptAutomaticBackups; i < backups.size(); ++i) {
    DeleteFileForce(backups[i].path);
    for (const auto& suffix : HiveLogSuffixes) DeleteFileForce(backups[i].path + suffix);
  }
}

}  // namespace zel
