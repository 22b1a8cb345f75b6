#pragma once
// Single-step changes to an existing store, each one or a few bcdedit runs.
// Every operation returns true when done and fills `error` (empty on success,
// else bcdedit's own message or a fixed message in the current language).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/bcd_model.h"
#include "core/fault.h"

namespace zel {

// The shared RAM-disk options object; deleting an entry never removes it.
inline const std::wstring RamdiskOptionsGuid = L"{ae5534e0-a924-466c-b836-758539a3ee3a}";

bool RenameEntry(const std::wstring& storePath, const std::wstring& id, const std::wstring& name, Fault& error);
// Deletes the entry and, for a RAM-disk entry, the options object only it used.
// When that object stays because it may serve something else, the call still
// succeeds and `error` holds a note saying so, for the log.
bool DeleteEntry(const std::wstring& storePath, const std::wstring& id, Fault& error);
bool SetMenuTimeout(const std::wstring& storePath, int32_t seconds, Fault& error);
bool SetDisplayBootMenu(const std::wstring& storePath, bool show, Fault& error);
bool SetDisplayOrder(const std::wstring& storePath, const std::vector<std::wstring>& ids, Fault& error);
bool SetBootMenuPolicy(const std::wstring& storePath, const std::wstring& id, MenuPolicy policy, Fault& error);
// The policy's name, as bcdedit writes and lists it.
const wchar_t* PolicyName(MenuPolicy policy);
// Any listed value other than Legacy counts as Standard, as the boot manager treats it.
MenuPolicy PolicyOf(const BootEntry& entry);
bool SetDefaultEntry(const std::wstring& storePath, const std::wstring& id, Fault& error);
bool SetBootSequence(const std::wstring& storePath, const std::wstring& id, Fault& error);

// The display order after moving `id` one place up or down; nothing when it is
// not listed or already at that end.
std::optional<std::vector<std::wstring>> MoveInDisplayOrder(const std::vector<std::wstring>& order,
                                                            const std::wstring& id, bool up);
// The display order with a hidden entry added at the end of the menu.
std::vector<std::wstring> ShowInDisplayOrder(const std::vector<std::wstring>& order, const std::wstring& id);

// The RAM-disk options object that the entry's own device (else osdevice) element
// names as "ramdisk=[...]...,{guid}" in a verbose listing; empty when none.
std::wstring RamdiskOptionsIdIn(const std::wstring& listing, const std::wstring& entryId);
// True for a brace GUID of the 8-4-4-4-12 form and nothing else.
bool IsGuidText(const std::wstring& text);
// Identifiers go onto the command line unquoted, so only a well-formed GUID may:
// false, with the reason in `error`, for anything else.
bool CheckEntryId(const std::wstring& id, Fault& error);

}  // namespace zel
