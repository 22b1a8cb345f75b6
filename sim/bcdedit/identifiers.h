#pragma once
// Object identifiers as bcdedit accepts them: brace GUIDs, the fixed
// well-known aliases, and {default} / {current}, which depend on the store.
#include <string>
#include <string_view>

#include "sim/bcdedit/store.h"

namespace sim {

constexpr std::wstring_view kBootManagerId = L"{9dea862c-5cdd-4e70-acc1-f32b344d4795}";

// True when the whole text is one brace GUID (8-4-4-4-12 hex digits, any case).
bool IsBraceGuid(std::wstring_view text);

// The fixed GUID of a well-known alias such as "{bootmgr}" (any case), or empty.
std::wstring WellKnownGuid(std::wstring_view alias);
// The alias of a fixed GUID (lower case), or empty.
std::wstring WellKnownAlias(std::wstring_view guid);
// The title of the object that `/create <alias>` makes for a fixed GUID, or empty.
std::wstring WellKnownTitle(std::wstring_view guid);

// A fresh random GUID (lower case, in braces) that names no object of the
// store and no well-known object.
std::wstring NewObjectGuid(const BcdStore& store);

// The boot manager's `default` entry, or empty when there is none.
std::wstring DefaultEntryId(const BcdStore& store);

enum class Lookup { kFound, kNotFound, kInvalid };

struct Resolved {
  Lookup lookup = Lookup::kInvalid;
  std::wstring id;  // lower-case GUID of an object in the store, when found
};

// What bcdedit prints when an identifier does not resolve; empty for kFound.
std::wstring_view LookupMessage(Lookup lookup);

// Resolves what a command names, case-insensitively. {current} means something
// only for the running system's store; an offline store has no running loader.
Resolved ResolveIdentifier(const BcdStore& store, std::wstring_view text, bool systemStore);

}  // namespace sim
