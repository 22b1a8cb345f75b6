#pragma once
// Where automatic backups (of stores and of the EFI partition) go, how they are
// named in time, and how the folder is kept from growing without end.
#include <array>
#include <span>
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
constexpr size_t kTimestampLength = 19;
std::wstring TimestampText(const LocalTime& time);
std::wstring TimestampText();
// folder\<namePrefix><time stamp><extension> that does not exist yet ("_2", "_3"... added
// when the same millisecond already has one).
std::wstring NewBackupPath(const std::wstring& folder, const std::wstring& namePrefix, const std::wstring& extension);
// True when text[at...] is a time stamp as TimestampText writes it.
bool IsTimestampAt(const std::wstring& text, size_t at);

// What orders automatic backups in time: the last time stamp in the name (empty
// when there is none: such a file counts as the oldest), then the "_n" that follows
// it for backups of one millisecond, then the name itself.
struct BackupAge {
  std::wstring stamp;
  uint64_t sequence = 0;
  std::wstring name;  // lower case

  explicit BackupAge(const std::wstring& lowerName);
  bool operator>(const BackupAge& other) const;
};

// Deletes a file even when it is read-only, hidden or system; silent about failures.
void DeleteFileForce(const std::wstring& path);

// The automatic backups this process wrote. Pruning never deletes them: with the
// clock set back, the newest backup has the oldest name. Thread-safe.
void RememberOwnBackup(const std::wstring& path);
bool IsOwnBackup(const std::wstring& path);

// Keeps kKeptAutomaticBackups of the folder's automatic backups (files named
// <namePrefix>...<time stamp>...<extension>, without regard to case; a name without
// a time stamp was given by hand and is never deleted): first the ones this
// process wrote, then the newest by the time stamp in the name, the name breaking
// ties. The rest go, each with its companion files (path + suffix).
void PruneAutomaticBackups(const std::wstring& folder, const std::wstring& namePrefix, const std::wstring& extension,
                           std::span<const std::wstring> companionSuffixes = {});
// The store backups (BCD_*.bcd) with their hive logs.
void PruneBackups(const std::wstring& folder);

}  // namespace zel
