#pragma once
// What one BCD store holds, as the program shows and edits it. Built whole on a
// worker thread, then handed to the UI thread, which owns it from then on.
#include <cstdint>
#include <string>
#include <vector>

#include "core/fault.h"
#include "core/text.h"

namespace zel {

// The Windows Boot Manager object, always written in lower case.
inline const std::wstring BootManagerGuid = L"{9dea862c-5cdd-4e70-acc1-f32b344d4795}";

enum class MenuPolicy { Standard, Legacy };

enum class SafeBoot { Off, Minimal, Network, DsRepair };

// The repair switches of a Windows entry, as the listing shows them.
struct BootOptions {
  SafeBoot safeBoot = SafeBoot::Off;
  bool alternateShell = false;  // safe mode with a command prompt
  bool bootLog = false;
  bool baseVideo = false;
  bool quietBoot = false;  // no boot animation
  bool sos = false;        // driver names while loading
  bool testSigning = false;
  bool noIntegrityChecks = false;
  bool recoveryDisabled = false;  // recoveryenabled No
  std::wstring bootStatusPolicy;  // as listed; empty when unset
  bool advancedOptions = false;
  bool oneTimeAdvancedOptions = false;
};

struct BootEntry {
  std::wstring identifier;  // lower-case brace GUID
  std::wstring description;
  bool descriptionExact = false;  // read from the store itself, not from the console listing
  std::wstring device;
  std::wstring osDevice;
  std::wstring path;
  std::wstring bootMenuPolicy = L"Standard";  // as listed, shown as it is
  BootOptions options;
  bool isWinPe = false;
  bool isWindows = false;
  bool isDefault = false;
  bool isCurrent = false;
  bool isBootSequence = false;
  bool inDisplayOrder = false;    // false: hidden from the boot menu
  int32_t displayOrderIndex = 0;  // 1-based place in the menu; 0 when not listed
};

struct BcdSnapshot {
  bool loaded = false;
  int32_t timeoutSeconds = 10;
  bool displayBootMenu = true;
  std::wstring defaultId;
  std::wstring currentId;  // only read for the system store
  std::wstring bootSequenceId;
  std::wstring rawText;  // the whole /enum all /v output, kept even when the run failed
  Fault error;           // why loading failed; empty on success
  std::vector<std::wstring> displayOrder;
  std::vector<BootEntry> entries;  // boot menu order, then hidden Windows and WinPE entries
  // Lower-case identifiers that head more than one block of the listing (the boot
  // manager's too): shown once, from the first block, and never to be edited.
  std::vector<std::wstring> suspectIds;
};

inline bool IsSuspect(const BcdSnapshot& snapshot, const std::wstring& id) {
  return ContainsNoCase(snapshot.suspectIds, id);
}

}  // namespace zel
