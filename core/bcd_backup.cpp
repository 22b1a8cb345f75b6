#include "core/bcd_backup.h"

#include "core/backup_folder.h"
#include "core/backup_history.h"
#include "core/command_runner.h"
#include "core/platform.h"
#include "core/store_selection.h"
#include "core/system.h"

namespace zel {
namespace {

constexpr uint32_t kProtectiveAttributes = kAttributeReadOnly | kAttributeHidden | kAttributeSystem;

bool IsOfflineStoreFile(const std::wstring& storePath) {
  return !storePath.empty() && !IsSystemStoreFile(storePath);
}


}  // namespace

bool ExportStore(const std::wstring& storePath, const std::wstring& targetFile, Fault& error) {
  error.clear();
  if (IsOfflineStoreFile(storePath)) {
    const uint32_t code = CurrentPlatform().CopyFileTo(storePath, targetFile);
    if (code == 0) return true;
    error = Said(Win32ErrorText(code));
    return false;
  }
  return RunBcdeditStep(L"", L"/export \"" + targetFile + L"\"", error);  // the live store: never with /store
}

bool ImportStore(const std::wstring& storePath, const std::wstring& backupFile, Fault& error) {
  error.clear();
  if (!FileExists(backupFile)) {
    error = {FaultKind::BackupFileMissing, backupFile};
    return false;
  }
  if (!IsOfflineStoreFile(storePath)) return RunBcdeditStep(L"", L"/import \"" + backupFile + L"\"", error);

  // A store file on boot media is often read-only, hidden and system: lift that
  // for the copy, and put it back whatever happens.
  Platform& platform = CurrentPlatform();
  const uint32_t attributes = platform.FileAttributes(storePath);
  const bool known = attributes != kInvalidFileAttributes;
  if (known && (attributes & kProtectiveAttributes)) platform.SetAttributes(storePath, kAttributeNormal);
  const uint32_t code = platform.CopyFileTo(backupFile, storePath);
  if (known) platform.SetAttributes(storePath, attributes);
  if (code != 0) {
    error = Said(Win32ErrorText(code));
    return false;
  }
  // The old hive's transaction logs would be replayed over the restored file.
  for (const auto& suffix : HiveLogSuffixes) DeleteFileForce(storePath + suffix);
  return true;
}

bool BackupStoreBeforeChange(const std::wstring& storePath, std::wstring& backupFile, Fault& error) {
  return BackupStoreBeforeChange(storePath, L"", backupFile, error);
}

bool BackupStoreBeforeChange(const std::wstring& storePath, const std::wstring& changeDescription,
                             std::wstring& backupFile, Fault& error) {
  backupFile.clear();
  error.clear();
  if (!storePath.empty() && !FileExists(storePath)) return true;
  const std::wstring folder = FindBackupFolder();
  if (folder.empty()) {
    error = {FaultKind::NoBackupFolder, {}};
    return false;
  }
  const std::wstring candidate = NewBackupPath(folder, L"BCD_" + StoreLabel(storePath) + L"_", L".bcd");
  if (!ExportStore(storePath, candidate, error)) return false;
  RememberOwnBackup(candidate);
  PruneBackups(folder);
  RecordBackup(candidate, storePath, changeDescription);
  backupFile = candidate;
  return true;
}

}  // namespace zel
