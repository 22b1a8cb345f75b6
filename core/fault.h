#pragma once
// What went wrong, as a kind and its details; the program words it in the user's
// language. The core never chooses a language: its workers only report.
#include <cstdint>
#include <string>

namespace zel {

enum class FaultKind : uint8_t {
  None,
  Said,  // `detail` is a tool's or the system's own message, shown as it stands
  // The store and its backups
  StoreUnreadable,       // bcdedit failed and printed nothing
  BackupFileMissing,     // detail: the file
  NoBackupFolder,
  BadEntryId,            // detail: the identifier
  EmptyName,
  EmptyOrder,
  KeptOptions,           // a deletion's note, not a failure; detail: the options object kept
  // New entries
  BcdbootStoreNotReachable,  // detail: the selected store
  BcdFolderNotCreated,       // detail: the folder
  NewStoreNotCreated,        // detail: bcdedit's message
  WindowsMissing,            // detail: the Windows folder
  WindowsEntryNotCreated,    // detail: bcdedit's message
  WindowsEntryNotConfigured,
  WindowsNotAddedToMenu,
  WimMissing,                // detail: the image
  WimWithoutDriveLetter,
  BootSdiMissing,
  RamdiskOptionsNotCreated,  // detail: bcdedit's message
  WinPeEntryNotCreated,
  WinPeEntryNotConfigured,
  WinPeNotAddedToMenu,
  // The EFI System Partition
  NoFreeDriveLetter,
  EspNotMounted,
  NoTar,
  NoTarToExtract,
  UnsafeArchivePath,   // detail: the member
  NoEfiBackupFolder,
  EfiBackupMissing,    // detail: the file
  // Firmware and power
  NotUefi,
  PrivilegeNotEnabled,   // detail: the system's message
  FirmwareSetupUnsupported,
  OsIndicationsNotWritten,  // detail: the system's message
  NoRestartTool,
  FirmwareOrderUnreadable,
  FirmwareManagerUnreadable,
  FirmwareOrderRepeats,
  FirmwareOrderIncomplete,
  NotInFirmwareOrder,  // detail: the identifier
};

struct Fault {
  FaultKind kind = FaultKind::None;
  std::wstring detail;

  bool empty() const { return kind == FaultKind::None; }
  bool operator==(const Fault&) const = default;
  void clear() { *this = {}; }
};

// A tool's or the system's message as the fault.
inline Fault Said(std::wstring message) { return {FaultKind::Said, std::move(message)}; }
// A tool's message when it printed one, else the fault of the given kind.
inline Fault SaidOr(std::wstring message, FaultKind otherwise) {
  return message.empty() ? Fault{otherwise, {}} : Said(std::move(message));
}

}  // namespace zel
