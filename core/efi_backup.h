#pragma once
// Backing up, restoring and repairing the EFI System Partition. Each operation
// mounts the partition for the length of one tool run and unmounts it on every path.
#include <string>

namespace zel {

// tar.exe in the system folder, or empty when this system has none.
std::wstring FindTar();
// True when every member of a `tar -tf` listing stays inside the extraction folder.
bool CheckArchiveListing(const std::wstring& listing, std::wstring& error);
bool BackupEfi(const std::wstring& zipPath, std::wstring& error);
bool RestoreEfi(const std::wstring& zipPath, std::wstring& error);
// Rewrites the partition's boot files and store from the Windows on the given drive.
bool RepairEfi(const std::wstring& windowsDrive, std::wstring& error);

}  // namespace zel
