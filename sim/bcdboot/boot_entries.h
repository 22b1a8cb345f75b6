#pragma once
// What bcdboot writes into a store: the boot manager when the store has none,
// and one "Windows Boot Loader" per Windows installation, refreshed in place
// when the store already starts that Windows.
#include <string>

#include "sim/bcdboot/bcdboot.h"
#include "sim/bcdedit/store.h"

namespace sim {

struct WindowsBoot {
  std::wstring windowsDrive;  // "D:"
  std::wstring systemDrive;   // "S:" for a store on a system partition; empty for the system store
  Firmware firmware = Firmware::kUefi;
  bool keepDefault = false;
  std::wstring locale;
};

// The firmware a store boots by, told by its boot manager's path
// (\EFI\...\bootmgfw.efi or \bootmgr); UEFI for a store without one.
Firmware FirmwareOfStore(const BcdStore& store);

// Adds or refreshes the loader of that Windows, puts it first in the boot
// menu and, unless keepDefault (and a default exists), makes it the default.
// Returns the loader's GUID.
std::wstring RegisterWindows(BcdStore& store, const WindowsBoot& boot);

}  // namespace sim
