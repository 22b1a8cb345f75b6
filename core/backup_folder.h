#pragma once
// Where automatic BCD backups go, how they are named in time, and how the
// folder is kept from growing without end.
#include <array>
#include <string>

#include "core/platform.h"

namespace zel {

// A BCD store is a registry hive; these are its transaction logs beside it.
inline const std::array<std::wstring, 3> HiveLogSuffixes = {L".LOG", L".LOG1", L".LOG2"};
constexpr size_t kKeptAutomaticBackups = 30;

// The executable's folder without a trailing separator; "." when unknown.
std::wstring ModuleDirectory();
// Creates the folder (and parents) if needed and proves a file can be made in it.
bool IsWritableFolder(const std::wstring& folder);
// "Backups" beside the executable, else the temporary folder's ZelQuillon\Backups; empty when neither works.
std::wstring FindBackupFolder();
// "20250302-090507-004" for the given time; TimestampText() for now.
std::wstring TimestampText(const LocalTime& time);
std::wstring TimestampText();
// Deletes a file even when it is read-only, hidden or system; silent about failures.
void DeleteFileForce(const std::wstring& path);
// Keeps the newest automatic backups (BCD_*.bcd) of a folder, deleting older ones with their logs.
void PruneBackups(const std::wstring& folder);

}  // namespace zel
