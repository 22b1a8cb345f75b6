#pragma once
// The firmware's own boot order: the {fwbootmgr} object of the running system's
// store, which Windows keeps in step with the firmware's boot options. Read from
// `bcdedit /enum firmware /v`; every change is one bcdedit run on the system
// store, never on a store file, whose copy of these objects the firmware ignores.
// Changes return true when done and fill `error` as the edits in bcd_edit.h do.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/fault.h"

namespace zel {

inline const std::wstring FirmwareBootManagerGuid = L"{a5a30fa2-3d06-4e9f-b5f4-a01df9d1fcba}";

struct FirmwareApp {
  std::wstring identifier;  // lower-case brace GUID
  std::wstring description;
  std::wstring device;
  std::wstring path;
  bool isWindowsBootManager = false;  // {bootmgr} itself, or an application that starts bootmgfw.efi
  bool isBootSequence = false;        // boots once at the next restart
};

struct FirmwareOrder {
  bool loaded = false;
  std::wstring rawText;  // the whole listing, kept even when the run failed
  Fault error;           // why loading failed; empty on success
  bool hasManager = false;
  int32_t timeoutSeconds = -1;  // -1 when not listed
  std::wstring bootSequenceId;
  std::vector<std::wstring> displayOrder;  // lower-case GUIDs, each once, in the firmware's order
  std::vector<FirmwareApp> apps;           // one per displayOrder id, in that order
  std::vector<FirmwareApp> unlisted;       // applications listed outside the order, in listing order
  // Identifiers that head two blocks or appear twice in the order (the firmware
  // boot manager's too): shown once and never written into a change.
  std::vector<std::wstring> suspectIds;
  bool orderDamaged = false;  // the order held something other than GUIDs, or came twice
};

bool IsSuspect(const FirmwareOrder& order, const std::wstring& id);

// Any text is accepted: what is not recognised yields less, never an error.
FirmwareOrder ParseFirmwareListing(const std::wstring& listing);
// Runs `bcdedit /enum firmware /v` on the system store and parses it; call on a worker thread.
FirmwareOrder LoadFirmwareOrder();

enum class FirmwareMove { Up, Down, First };

// The order after the move; nothing when `id` is not listed or already at that end.
std::optional<std::vector<std::wstring>> MoveInFirmwareOrder(const std::vector<std::wstring>& order,
                                                             const std::wstring& id, FirmwareMove move);

// `/set {fwbootmgr} displayorder` with the whole moved order. At an end there is
// nothing to do: true, and nothing runs.
bool MoveFirmwareApp(const FirmwareOrder& order, const std::wstring& id, FirmwareMove move, Fault& error);
// `/set {fwbootmgr} bootsequence {id}`: the application boots once at the next restart.
bool SetFirmwareBootNext(const FirmwareOrder& order, const std::wstring& id, Fault& error);

}  // namespace zel
