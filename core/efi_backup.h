#pragma once
// Backing up, restoring and repairing the EFI System Partition. Each operation
// mounts the partition for the length of one tool run and unmounts it on every path.
#include <string>

#include "core/fault.h"

namespace zel {

// tar.exe in the system folder, or empty when this system has none.
std::wstring FindTar();
// True when every member of a `tar -tf` listing stays inside the extraction folder.
bool CheckArchiveListing(const std::wstring& listing, Fault& error);
// Packs the partition into a ZIP; an older archive at that path is replaced in one
// step, and kept when anything fails.
bool BackupEfi(const std::wstring& zipPath, Fault& error);
// The automatic copy of the partition taken before a restore or a repair: a ZIP in
// the backup folder named EFI_<time stamp>.zip, the snapshots pruned to the newest 30.
bool SnapshotEfiBeforeChange(std::wstring& snapshotPath, Fault& error);
// The same, and the snapshot's line in the folder's history names the change that follows.
bool SnapshotEfiBeforeChange(const std::wstring& changeDescription, std::wstring& snapshotPath, Fault& error);
// True when a `tar -tf` listing has an EFI folder at its root ("EFI/...", "EFI\...",
// "./EFI/...", any case); an archive without one is probably not a partition backup.
bool ListingHasEfiRoot(const std::wstring& listing);
// Lists a restore archive and checks every member; `hasEfiRoot` tells whether it
// looks like a backup of the partition. Nothing is mounted.
bool CheckEfiArchive(const std::wstring& zipPath, bool& hasEfiRoot, Fault& error);
bool RestoreEfi(const std::wstring& zipPath, Fault& error);
// Rewrites the partition's boot files and store from the Windows on the given drive.
bool RepairEfi(const std::wstring& windowsDrive, Fault& error);

}  // namespace zel
