#include "sim/bcdedit/identifiers.h"

#include <chrono>
#include <cstdint>
#include <random>

#include "core/text.h"
#include "sim/bcdedit/messages.h"

namespace sim {
namespace {

struct Alias {
  std::wstring_view name;
  std::wstring_view guid;
  std::wstring_view title;  // the type line of the object /create makes under this alias
};

constexpr Alias kAliases[] = {
    {L"{bootmgr}", kBootManagerId, L"Windows Boot Manager"},
    {L"{fwbootmgr}", L"{a5a30fa2-3d06-4e9f-b5f4-a01df9d1fcba}", L"Firmware Boot Manager"},
    {L"{memdiag}", L"{b2721d73-1db4-4c62-bf78-c548a880142d}", L"Windows Memory Tester"},
    {L"{ntldr}", L"{466f5a88-0af2-4f76-9038-095b170dc21c}", L"Windows Legacy OS Loader"},
    {L"{ramdiskoptions}", L"{ae5534e0-a924-466c-b836-758539a3ee3a}", L"Device options"},
    {L"{globalsettings}", L"{7ea2e1ac-2e61-4728-aaa3-896d9d0a9f0e}", L"Global Settings"},
    {L"{bootloadersettings}", L"{6efb52bf-1766-41db-a6b3-0ee5eff72bd7}", L"Boot Loader Settings"},
    {L"{resumeloadersettings}", L"{1afa9c49-16ab-4a5c-901b-212802da9460}", L"Resume Loader Settings"},
    {L"{dbgsettings}", L"{4636856e-540f-4170-a130-a84776f4c654}", L"Debugger Settings"},
    {L"{emssettings}", L"{0ce4991b-e6b3-4b16-b23c-5e0d9250e5d9}", L"EMS Settings"},
    {L"{badmemory}", L"{5189b25c-5558-4bf2-bca4-289b11bd29e2}", L"RAM Defects"},
    {L"{hypervisorsettings}", L"{7ff607e0-4395-11db-b0de-0800200c9a66}", L"Hypervisor Settings"},
};

const Alias* FindByGuid(std::wstring_view guid) {
  const std::wstring lower = zel::ToLower(std::wstring(guid));
  for (const auto& entry : kAliases) {
    if (entry.guid == lower) return &entry;
  }
  return nullptr;
}

// Seeded once per process from the system's entropy and the clock, so that two
// tool runs do not share a sequence even where random_device is weak.
std::mt19937_64& Engine() {
  static std::mt19937_64 engine = [] {
    std::random_device device;
    const auto now = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::seed_seq seed{device(), device(), device(), static_cast<unsigned>(now),
                       static_cast<unsigned>(now >> 32)};
    return std::mt19937_64(seed);
  }();
  return engine;
}

// A version 4 GUID in braces and lower case, the form bcdedit gives new objects.
std::wstring RandomGuid() {
  static constexpr wchar_t kHex[] = L"0123456789abcdef";
  const uint64_t high = Engine()();
  const uint64_t low = Engine()();
  wchar_t digits[32];
  for (int i = 0; i < 16; ++i) {
    digits[i] = kHex[(high >> (60 - 4 * i)) & 0xF];
    digits[16 + i] = kHex[(low >> (60 - 4 * i)) & 0xF];
  }
  digits[12] = L'4';                           // version
  digits[16] = kHex[8 + ((low >> 60) & 0x3)];  // variant 10xx
  std::wstring guid = L"{";
  for (int i = 0; i < 32; ++i) {
    if (i == 8 || i == 12 || i == 16 || i == 20) guid.push_back(L'-');
    guid.push_back(digits[i]);
  }
  guid.push_back(L'}');
  return guid;
}

bool IsHex(wchar_t c) {
  return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

}  // namespace

bool IsBraceGuid(std::wstring_view text) {
  if (text.size() != 38 || text.front() != L'{' || text.back() != L'}') return false;
  for (size_t i = 1; i < 37; ++i) {
    const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    if (dash ? text[i] != L'-' : !IsHex(text[i])) return false;
  }
  return true;
}

std::wstring WellKnownGuid(std::wstring_view alias) {
  const std::wstring lower = zel::ToLower(std::wstring(alias));
  for (const auto& entry : kAliases) {
    if (entry.name == lower) return std::wstring(entry.guid);
  }
  return std::wstring();
}

std::wstring WellKnownAlias(std::wstring_view guid) {
  const Alias* alias = FindByGuid(guid);
  return alias != nullptr ? std::wstring(alias->name) : std::wstring();
}

std::wstring WellKnownTitle(std::wstring_view guid) {
  const Alias* alias = FindByGuid(guid);
  return alias != nullptr ? std::wstring(alias->title) : std::wstring();
}

std::wstring NewObjectGuid(const BcdStore& store) {
  for (;;) {
    std::wstring guid = RandomGuid();
    if (store.FindObject(guid) == nullptr && FindByGuid(guid) == nullptr) return guid;
  }
}

std::wstring DefaultEntryId(const BcdStore& store) {
  const BcdObject* manager = store.FindObject(kBootManagerId);
  if (manager == nullptr) return std::wstring();
  const std::wstring value = zel::Trim(manager->FirstValue(L"default"));
  return IsBraceGuid(value) ? zel::ToLower(value) : std::wstring();
}

std::wstring_view LookupMessage(Lookup lookup) {
  switch (lookup) {
    case Lookup::kFound:
      return {};
    case Lookup::kNotFound:
      return messages::kEntryNotFound;
    case Lookup::kInvalid:
      break;
  }
  return messages::kBadIdentifier;
}

Resolved ResolveIdentifier(const BcdStore& store, std::wstring_view text, bool systemStore) {
  const std::wstring lower = zel::ToLower(std::wstring(text));
  std::wstring id;
  if (lower == L"{default}") {
    id = DefaultEntryId(store);
  } else if (lower == L"{current}") {
    if (systemStore) id = store.currentId;
  } else if (IsBraceGuid(lower)) {
    id = lower;
  } else {
    id = WellKnownGuid(lower);
    if (id.empty()) return {Lookup::kInvalid, {}};
  }
  if (id.empty() || store.FindObject(id) == nullptr) return {Lookup::kNotFound, {}};
  return {Lookup::kFound, id};
}

}  // namespace sim
