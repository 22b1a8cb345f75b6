#include "core/backup_folder.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <set>
#include <tuple>

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

namespace {

std::mutex g_ownBackupsLock;
std::set<std::wstring> g_ownBackups;  // lower case

bool IsDigits(const std::wstring& text, size_t at, size_t count) {
  if (at + count > text.size()) return false;
  for (size_t i = at; i < at + count; ++i) {
    if (text[i] < L'0' || text[i] > L'9') return false;
  }
  return true;
}

}  // namespace

bool IsTimestampAt(const std::wstring& text, size_t at) {
  return IsDigits(text, at, 8) && IsDigits(text, at + 9, 6) && IsDigits(text, at + 16, 3) && text[at + 8] == L'-' &&
         text[at + 15] == L'-';
}

BackupAge::BackupAge(const std::wstring& lowerName) : name(lowerName) {
  for (size_t at = lowerName.size(); at-- > 0;) {
    if (IsTimestampAt(lowerName, at)) {
      stamp = lowerName.substr(at, kTimestampLength);
      size_t i = at + kTimestampLength;
      if (i < lowerName.size() && lowerName[i] == L'_') {
        for (++i; IsDigits(lowerName, i, 1) && sequence < 1000000000; ++i) {
          sequence = sequence * 10 + (lowerName[i] - L'0');
        }
      }
      break;
    }
  }
}

bool BackupAge::operator>(const BackupAge& other) const {
  return std::tie(stamp, sequence, name) > std::tie(other.stamp, other.sequence, other.name);
}

std::wstring NewBackupPath(const std::wstring& folder, const std::wstring& namePrefix, const std::wstring& extension) {
  const std::wstring base = folder + L"\\" + namePrefix + TimestampText();
  std::wstring candidate = base + extension;
  for (int n = 2; CurrentPlatform().FileAttributes(candidate) != kInvalidFileAttributes; ++n) {
    candidate = base + L"_" + std::to_wstring(n) + extension;
  }
  return candidate;
}

void RememberOwnBackup(const std::wstring& path) {
  const std::lock_guard<std::mutex> lock(g_ownBackupsLock);
  g_ownBackups.insert(ToLower(path));
}

bool IsOwnBackup(const std::wstring& path) {
  const std::lock_guard<std::mutex> lock(g_ownBackupsLock);
  return g_ownBackups.count(ToLower(path)) != 0;
}

void PruneAutomaticBackups(const std::wstring& folder, const std::wstring& namePrefix, const std::wstring& extension,
                           std::span<const std::wstring> companionSuffixes) {
  struct Backup {
    std::wstring path;
    BackupAge age;
  };
  const std::wstring prefix = ToLower(namePrefix);
  const std::wstring suffix = ToLower(extension);
  size_t own = 0;
  std::vector<Backup> others;
  for (const auto& item : CurrentPlatform().ListFolder(folder)) {
    const std::wstring name = ToLower(item.name);
    if (!item.isFile || name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix)) {
      continue;
    }
    const std::wstring path = folder + L"\\" + item.name;
    const BackupAge age(name);
    // A name without a time stamp was given by hand ("BCD_before-repair.bcd"): not ours to delete.
    if (age.stamp.empty()) continue;
    if (IsOwnBackup(path)) {
      ++own;
    } else {
      others.push_back(Backup{path, age});
    }
  }
  const size_t keptOthers = own >= kKeptAutomaticBackups ? 0 : kKeptAutomaticBackups - own;
  if (others.size() <= keptOthers) return;
  std::sort(others.begin(), others.end(), [](const Backup& a, const Backup& b) { return a.age > b.age; });
  for (size_t i = keptOthers; i < others.size(); ++i) {
    DeleteFileForce(others[i].path);
    for (const auto& companion : companionSuffixes) DeleteFileForce(others[i].path + companion);
  }
}

void PruneBackups(const std::wstring& folder) { PruneAutomaticBackups(folder, L"BCD_", L".bcd", HiveLogSuffixes); }

}  // namespace zel
