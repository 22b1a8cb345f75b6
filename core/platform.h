#pragma once
// The one narrow interface through which the core reaches the machine. The
// Win32 implementation is the default on Windows; tests install a scripted fake
// and assert the exact command lines an operation runs.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/command_result.h"

namespace zel {

constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;
constexpr uint32_t kAttributeReadOnly = 0x1;
constexpr uint32_t kAttributeHidden = 0x2;
constexpr uint32_t kAttributeSystem = 0x4;
constexpr uint32_t kAttributeDirectory = 0x10;
constexpr uint32_t kAttributeNormal = 0x80;

// Local wall-clock time, as the system reports it.
struct LocalTime {
  unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

// One entry of a folder listing ("." and ".." never appear).
struct FolderItem {
  std::wstring name;  // the last path component
  bool isFile = false;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Starts a program hidden and waits for it (see RunProcess).
  virtual CommandResult RunProcess(const std::wstring& program, const std::wstring& arguments,
                                   uint32_t timeoutMs) = 0;
  // The Windows system folder, or empty when it cannot be read.
  virtual std::wstring SystemDirectory() = 0;
  // The system's own message for an error code, or empty when it has none.
  virtual std::wstring SystemErrorMessage(uint32_t code) = 0;
  // Attributes of a path, or kInvalidFileAttributes when it does not exist.
  virtual uint32_t FileAttributes(const std::wstring& path) = 0;
  // Root strings of the logical drives ("C:\", "D:\"), as the system lists them.
  virtual std::vector<std::wstring> LogicalDriveRoots() = 0;
  // Volume GUID paths, as the system lists them.
  virtual std::vector<std::wstring> VolumeNames() = 0;

  // The running executable's full path; empty when it cannot be read whole.
  virtual std::wstring ModuleFileName() = 0;
  // The temporary folder, ending in a backslash; empty when unknown.
  virtual std::wstring TempFolder() = 0;
  // Creates a folder and its missing parents; an existing folder is no error.
  virtual bool CreateFolders(const std::wstring& path) = 0;
  // Creates (or truncates) a file for writing, unshared, and closes it again.
  virtual bool CreateProbeFile(const std::wstring& path) = 0;
  virtual bool RemoveFile(const std::wstring& path) = 0;
  virtual bool SetAttributes(const std::wstring& path, uint32_t attributes) = 0;
  // Copies a file over any existing target; returns 0 or the system error code.
  virtual uint32_t CopyFileTo(const std::wstring& from, const std::wstring& to) = 0;
  // The folder's entries; empty when it cannot be opened.
  virtual std::vector<FolderItem> ListFolder(const std::wstring& folder) = 0;
  // The last `maxBytes` bytes of a file (all of a smaller one); false when it cannot be read.
  virtual bool ReadFileEnd(const std::wstring& path, size_t maxBytes, std::string& bytes) = 0;
  // Adds bytes at the end of a file, creating it when missing, in one write, so that
  // what two writers add never interleaves; returns 0 or the system error code.
  virtual uint32_t AppendToFile(const std::wstring& path, const std::string& bytes) = 0;
  // Creates (or truncates) a file that holds just these bytes, flushed to the disk;
  // returns 0 or the system error code.
  virtual uint32_t WriteNewFile(const std::wstring& path, const std::string& bytes) = 0;
  // Creation time as a 64-bit FILETIME value; 0 when it cannot be read.
  virtual uint64_t CreationTime(const std::wstring& path) = 0;
  virtual LocalTime Now() = 0;
  virtual uint32_t ProcessId() = 0;

  // Bit 0 = A:, bit 25 = Z: for every drive letter in use.
  virtual uint32_t LogicalDriveMask() = 0;
  // Moves a file over any existing target, copying across volumes; returns 0 or the system error code.
  virtual uint32_t MoveFileReplacing(const std::wstring& from, const std::wstring& to) = 0;
  // An environment variable's value; empty when unset or 16 characters or longer.
  virtual std::wstring ShortEnvironmentVariable(const std::wstring& name) = 0;

  // A REG_SZ value under HKEY_LOCAL_MACHINE; false when it cannot be read.
  virtual bool RegistryString(const std::wstring& key, const std::wstring& value, std::wstring& text) = 0;
  // The first NT device path behind a DOS device name ("E:", "Volume{...}").
  virtual bool DosDeviceTarget(const std::wstring& device, std::wstring& target) = 0;
  // True when the key exists under HKEY_LOCAL_MACHINE and can be opened for reading.
  virtual bool RegistryKeyExists(const std::wstring& key) = 0;
  // REG_SZ values from a hive file opened privately and read-only, closed again
  // before returning: one result per key (relative to the hive's root), empty
  // where nothing was read; all empty when the file could not be opened.
  virtual std::vector<std::optional<std::wstring>> HiveFileStrings(const std::wstring& hiveFile,
                                                                   const std::vector<std::wstring>& keys,
                                                                   const std::wstring& value) = 0;

  // 1 for BIOS, 2 for UEFI; 0 when the type cannot be read (or the call is missing).
  virtual int FirmwareType() = 0;
  // Enables a privilege in the process token; returns 0 or the system error code
  // (ERROR_NOT_ALL_ASSIGNED when the token lacks it).
  virtual uint32_t EnablePrivilege(const std::wstring& name) = 0;
  // Reads an 8-byte UEFI variable; returns the number of bytes read (0 on failure).
  virtual uint32_t ReadFirmwareVariable(const std::wstring& name, const std::wstring& vendorGuid, uint64_t& value,
                                        uint32_t& attributes) = 0;
  // Writes an 8-byte UEFI variable; returns 0 or the system error code.
  virtual uint32_t WriteFirmwareVariable(const std::wstring& name, const std::wstring& vendorGuid, uint64_t value,
                                         uint32_t attributes) = 0;
};

// The platform in use: the installed override, else the build's default.
Platform& CurrentPlatform();

// Installs a platform for the lifetime of this object (tests). Not thread-safe:
// install it before any worker starts.
class ScopedPlatform {
 public:
  explicit ScopedPlatform(Platform& platform);
  ~ScopedPlatform();
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  Platform* previous_;
};

// Defined by the build's platform file (Win32, or a host stand-in where nothing runs).
Platform& DefaultPlatform();

}  // namespace zel
