#pragma once
// The one narrow interface through which the core reaches the machine. The
// Win32 implementation is the default on Windows; tests install a scripted fake
// and assert the exact command lines an operation runs.
#include <cstdint>
#include <string>
#include <vector>

#include "core/command_result.h"

namespace zel {

constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;
constexpr uint32_t kAttributeReadOnly = 0x1;
constexpr uint32_t kAttributeHidden = 0x2;
constexpr uint32_t kAttributeSystem = 0x4;
constexpr uint32_t kAttributeDirectory = 0x10;

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
