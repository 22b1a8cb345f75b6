#pragma once
// Saving a BCD store to a file and bringing it back. An offline store file is
// copied; the live system hive goes through bcdedit /export and /import.
#include <string>

#include "core/fault.h"

namespace zel {

bool ExportStore(const std::wstring& storePath, const std::wstring& targetFile, Fault& error);
bool ImportStore(const std::wstring& storePath, const std::wstring& backupFile, Fault& error);
// The automatic backup taken before every change: into the backup folder, under
// a unique time-stamped name, pruned to the newest 30. A store file that does
// not exist yet has nothing to save: true with an empty backup path.
bool BackupStoreBeforeChange(const std::wstring& storePath, std::wstring& backupFile, Fault& error);
// The same, and the backup's line in the folder's history names the change that follows.
bool BackupStoreBeforeChange(const std::wstring& storePath, const std::wstring& changeDescription,
                             std::wstring& backupFile, Fault& error);

}  // namespace zel
