#pragma once
// New Windows entries (through bcdboot, or built by hand with rollback), new
// WinPE RAM-disk entries, and new store files to hold them.
#include <string>
#include <vector>

#include "core/bcd_model.h"
#include "core/fault.h"

namespace zel {

// Creates a missing store file with a boot manager; nothing to do for the system store or an existing file.
bool EnsureStoreFile(const std::wstring& storePath, bool legacyBios, Fault& error);

struct WindowsEntryRequest {
  std::wstring windowsDrive;  // as typed: d, D: or D:\ (well, anything)
  std::wstring description;
  MenuPolicy policy = MenuPolicy::Standard;
  bool addFirst = false;
  bool setDefault = false;
  bool useBcdboot = false;
  bool legacyBios = false;
};
bool CreateWindowsEntry(const std::wstring& storePath, const WindowsEntryRequest& request, std::wstring& createdId,
                        Fault& error);
// Drives holding a Windows installation (UEFI or BIOS loader present).
std::vector<std::wstring> FindWindowsDrives();

struct WinPeEntryRequest {
  std::wstring imagePath;  // the .wim
  std::wstring description;
  MenuPolicy policy = MenuPolicy::Standard;
  bool addFirst = false;
  bool setDefault = false;
  bool bootOnce = false;
  bool legacyBios = false;
};
bool CreateWinPeEntry(const std::wstring& storePath, const WinPeEntryRequest& request, std::wstring& createdId,
                      Fault& error);
// boot.sdi, looked for on the image's own drive first, then on every other drive.
bool FindBootSdi(const std::wstring& imagePath, bool legacyBios, std::wstring& sdiDevice, std::wstring& sdiPath);

// The steps that finish a configured new entry, for both kinds: its menu policy (a failure
// is ignored), its place in the display order, then default, next boot and menu display.
// False, with bcdedit's message in `error`, when the entry could not join the display
// order: the caller removes what it made.
bool FinishNewEntry(const std::wstring& storePath, const std::wstring& id, MenuPolicy policy, bool addFirst,
                    bool setDefault, bool bootOnce, Fault& error);

// The folder a new store file goes in ("D:\BCD" -> "D:\", "D:\Boot\BCD" -> "D:\Boot", "BCD" -> "").
std::wstring StoreParentFolder(const std::wstring& storePath);

}  // namespace zel
