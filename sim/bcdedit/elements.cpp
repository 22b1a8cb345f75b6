#include "sim/bcdedit/elements.h"

#include <algorithm>
#include <iterator>

#include "core/text.h"
#include "sim/bcdedit/identifiers.h"
#include "sim/bcdedit/messages.h"

namespace sim {
namespace {

// In the order bcdedit lists elements, so that a new element lands where the
// real tool would print it. An element may appear once per kind of object.
constexpr ElementInfo kElements[] = {
    {L"device", kAnyKind, ValueType::kDevice, {}},
    {L"path", kAnyKind, ValueType::kText, {}},
    {L"description", kAnyKind, ValueType::kText, {}},
    {L"locale", kAnyKind, ValueType::kText, {}},
    {L"inherit", kAnyKind, ValueType::kReferenceList, {}},
    {L"recoverysequence", kAnyKind, ValueType::kReferenceList, {}},
    {L"displaymessage", kAnyKind, ValueType::kText, {}},
    {L"displaymessageoverride", kAnyKind, ValueType::kText, {}},
    {L"recoveryenabled", kAnyKind, ValueType::kBoolean, {}},
    {L"badmemoryaccess", kAnyKind, ValueType::kBoolean, {}},
    {L"isolatedcontext", kAnyKind, ValueType::kBoolean, {}},
    {L"bootems", kAnyKind, ValueType::kBoolean, {}},
    {L"debugtype", kAnyKind, ValueType::kChoice, L"Serial|1394|USB|Net|Local"},
    // Boot manager.
    {L"default", kBootManagerKind, ValueType::kObject, {}},
    {L"resumeobject", kBootManagerKind, ValueType::kObject, {}},
    {L"displayorder", kBootManagerKind, ValueType::kObjectList, {}},
    {L"bootsequence", kBootManagerKind, ValueType::kObjectList, {}},
    {L"toolsdisplayorder", kBootManagerKind, ValueType::kObjectList, {}},
    {L"timeout", kBootManagerKind, ValueType::kInteger, {}},
    {L"displaybootmenu", kBootManagerKind, ValueType::kBoolean, {}},
    // Windows loader.
    {L"osdevice", kOsLoaderKind, ValueType::kDevice, {}},
    {L"systemroot", kOsLoaderKind, ValueType::kText, {}},
    {L"resumeobject", kOsLoaderKind, ValueType::kObject, {}},
    {L"detecthal", kOsLoaderKind, ValueType::kBoolean, {}},
    {L"nx", kOsLoaderKind, ValueType::kChoice, L"OptIn|OptOut|AlwaysOn|AlwaysOff"},
    {L"bootmenupolicy", kOsLoaderKind, ValueType::kChoice, L"Legacy|Standard"},
    {L"hypervisorlaunchtype", kOsLoaderKind, ValueType::kChoice, L"Off|Auto"},
    {L"winpe", kOsLoaderKind, ValueType::kBoolean, {}},
    {L"advancedoptions", kOsLoaderKind, ValueType::kBoolean, {}},
    {L"onetimeadvancedoptions", kOsLoaderKind, ValueType::kBoolean, {}},
    {L"nointegritychecks", kOsLoaderKind, ValueType::kBoolean, {}},
    {L"testsigning", kOsLoaderKind, ValueType::kBoolean, {}},
    {L"safeboot", kOsLoaderKind, ValueType::kChoice, L"Minimal|Network|DsRepair"},
    {L"safebootalternateshell", kOsLoaderKind, ValueType::kBoolean, {}},
    {L"bootlog", kOsLoaderKind, ValueType::kBoolean, {}},
    {L"sos", kOsLoaderKind, ValueType::kBoolean, {}},
    {L"basevideo", kOsLoaderKind, ValueType::kBoolean, {}},
    {L"quietboot", kOsLoaderKind, ValueType::kBoolean, {}},
    {L"bootstatuspolicy", kOsLoaderKind, ValueType::kChoice,
     L"DisplayAllFailures|IgnoreAllFailures|IgnoreShutdownFailures|IgnoreBootFailures|IgnoreCheckpointFailures|"
     L"DisplayShutdownFailures|DisplayBootFailures|DisplayCheckpointFailures"},
    // RAM-disk device options.
    {L"ramdisksdidevice", kDeviceOptionsKind, ValueType::kDevice, {}},
    {L"ramdisksdipath", kDeviceOptionsKind, ValueType::kText, {}},
};

bool Same(std::wstring_view a, std::wstring_view b) {
  return zel::EqualsNoCase(std::wstring(a), std::wstring(b));
}

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.size() >= prefix.size() && Same(text.substr(0, prefix.size()), prefix);
}

// Index in kElements of the entry that applies to this kind, or npos.
size_t ElementIndex(std::wstring_view name, ObjectKind kind) {
  for (size_t i = 0; i < std::size(kElements); ++i) {
    if ((kElements[i].kinds & kind) != 0 && Same(kElements[i].name, name)) return i;
  }
  return std::wstring_view::npos;
}

bool NormalizeBoolean(std::wstring_view text, std::wstring& value) {
  for (const wchar_t* yes : {L"yes", L"on", L"true", L"1"}) {
    if (Same(text, yes)) return value = L"Yes", true;
  }
  for (const wchar_t* no : {L"no", L"off", L"false", L"0"}) {
    if (Same(text, no)) return value = L"No", true;
  }
  return false;
}

bool NormalizeChoice(std::wstring_view choices, std::wstring_view text, std::wstring& value) {
  while (!choices.empty()) {
    const size_t bar = choices.find(L'|');
    const std::wstring_view word = choices.substr(0, bar);
    if (Same(word, text)) return value = std::wstring(word), true;
    choices = bar == std::wstring_view::npos ? std::wstring_view() : choices.substr(bar + 1);
  }
  return false;
}

// A volume as bcdedit takes it: a drive ("d:" is printed "D:") or an NT device path.
bool NormalizeVolume(std::wstring_view text, std::wstring& value) {
  if (text.size() == 2 && text[1] == L':' &&
      ((text[0] >= L'a' && text[0] <= L'z') || (text[0] >= L'A' && text[0] <= L'Z'))) {
    value = {static_cast<wchar_t>(text[0] & ~0x20), L':'};
    return true;
  }
  if (StartsWith(text, L"\\Device\\") && text.size() > 8) {
    value = std::wstring(text);
    return true;
  }
  return false;
}

// ramdisk=[volume]\path,{options}: the options object must exist and be device options.
std::wstring_view NormalizeRamdisk(std::wstring_view rest, const BcdStore& store, bool systemStore,
                                   std::wstring& value) {
  const size_t close = rest.find(L']');
  if (rest.empty() || rest[0] != L'[' || close == std::wstring_view::npos) return messages::kBadDevice;
  std::wstring volume;
  const std::wstring_view inside = rest.substr(1, close - 1);
  if (Same(inside, L"boot")) {
    volume = L"boot";
  } else if (!NormalizeVolume(inside, volume)) {
    return messages::kBadDevice;
  }
  const std::wstring_view after = rest.substr(close + 1);
  const size_t comma = after.rfind(L',');
  if (comma == std::wstring_view::npos || comma < 2 || after[0] != L'\\') return messages::kBadDevice;
  const Resolved options = ResolveIdentifier(store, after.substr(comma + 1), systemStore);
  if (options.lookup == Lookup::kInvalid) return messages::kBadDevice;
  if (options.lookup == Lookup::kNotFound) return messages::kEntryNotFound;
  if (KindOf(*store.FindObject(options.id)) != kDeviceOptionsKind) return messages::kBadDevice;
  value = L"ramdisk=[" + volume + L"]" + std::wstring(after.substr(0, comma)) + L"," + options.id;
  return {};
}

std::wstring_view NormalizeDevice(std::wstring_view text, const BcdStore& store, bool systemStore,
                                  std::wstring& value) {
  constexpr std::wstring_view kPartition = L"partition=";
  constexpr std::wstring_view kRamdisk = L"ramdisk=";
  if (Same(text, L"boot")) {
    value = L"boot";
    return {};
  }
  if (StartsWith(text, kPartition)) {
    std::wstring volume;
    if (!NormalizeVolume(text.substr(kPartition.size()), volume)) return messages::kBadDevice;
    value = std::wstring(kPartition) + volume;
    return {};
  }
  if (StartsWith(text, kRamdisk)) {
    return NormalizeRamdisk(text.substr(kRamdisk.size()), store, systemStore, value);
  }
  return messages::kBadDevice;
}

std::wstring_view NormalizeObject(std::wstring_view text, const BcdStore& store, bool systemStore,
                                  std::wstring& value) {
  const Resolved resolved = ResolveIdentifier(store, text, systemStore);
  if (resolved.lookup != Lookup::kFound) return LookupMessage(resolved.lookup);
  value = resolved.id;
  return {};
}

// A brace GUID or a fixed alias stands for itself; {default} and {current}
// only mean something through the store.
std::wstring_view NormalizeReference(std::wstring_view text, const BcdStore& store, bool systemStore,
                                     std::wstring& value) {
  std::wstring guid = IsBraceGuid(text) ? zel::ToLower(std::wstring(text)) : WellKnownGuid(text);
  if (guid.empty()) return NormalizeObject(text, store, systemStore, value);
  value = std::move(guid);
  return {};
}

std::wstring_view NormalizeOne(const ElementInfo& element, const std::wstring& typed,
                               const BcdStore& store, bool systemStore, std::wstring& value) {
  switch (element.type) {
    case ValueType::kText:
      return NormalizeText(typed, value) ? std::wstring_view() : messages::kBadValue;
    case ValueType::kBoolean:
      return NormalizeBoolean(typed, value) ? std::wstring_view() : messages::kBadBoolean;
    case ValueType::kInteger:
      return NormalizeInteger(typed, value) ? std::wstring_view() : messages::kBadInteger;
    case ValueType::kChoice:
      return NormalizeChoice(element.choices, typed, value) ? std::wstring_view() : messages::kBadValue;
    case ValueType::kDevice:
      return NormalizeDevice(typed, store, systemStore, value);
    case ValueType::kObject:
    case ValueType::kObjectList:
      return NormalizeObject(typed, store, systemStore, value);
    case ValueType::kReferenceList:
      return NormalizeReference(typed, store, systemStore, value);
  }
  return messages::kBadValue;
}

}  // namespace

ObjectKind KindOf(const BcdObject& object) {
  const std::wstring& title = object.title;
  if (title == L"Windows Boot Manager" || title == L"Firmware Boot Manager") return kBootManagerKind;
  if (title == L"Windows Boot Loader" || title == L"Boot Loader Settings") return kOsLoaderKind;
  if (title == L"Device options") return kDeviceOptionsKind;
  return kOtherKind;
}

bool IsFirmwareBootManager(const BcdObject& object) { return object.title == L"Firmware Boot Manager"; }

bool IsFirmwareApplication(const BcdObject& object) {
  return object.title == L"Windows Boot Manager" || object.title == L"Firmware Application (101fffff)";
}

const ElementInfo* FindElement(std::wstring_view name, const BcdObject& object) {
  const size_t index = ElementIndex(name, KindOf(object));
  return index == std::wstring_view::npos ? nullptr : &kElements[index];
}

std::wstring_view NormalizeValues(const ElementInfo& element, const std::vector<std::wstring>& typed,
                                  const BcdStore& store, bool systemStore,
                                  std::vector<std::wstring>& values) {
  const bool list = element.type == ValueType::kObjectList || element.type == ValueType::kReferenceList;
  if (typed.empty() || (!list && typed.size() != 1)) return messages::kBadSetCommand;
  std::vector<std::wstring> normalized;
  for (const auto& text : typed) {
    std::wstring value;
    const std::wstring_view failure = NormalizeOne(element, text, store, systemStore, value);
    if (!failure.empty()) return failure;
    // A list names each object once; the first mention keeps its place.
    if (!list || std::find(normalized.begin(), normalized.end(), value) == normalized.end()) {
      normalized.push_back(std::move(value));
    }
  }
  values = std::move(normalized);
  return {};
}

bool NormalizeText(std::wstring_view text, std::wstring& value) {
  // Our program never sends either; a person typing at the console cannot.
  if (text.find_first_of(L"\r\n") != std::wstring_view::npos) return false;
  value = std::wstring(text.substr(std::min(text.find_first_not_of(L" \t"), text.size())));
  return true;
}

bool NormalizeInteger(std::wstring_view text, std::wstring& value) {
  if (text.empty()) return false;
  unsigned long long number = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return false;
    const unsigned digit = static_cast<unsigned>(c - L'0');
    if (number > (~0ULL - digit) / 10) return false;
    number = number * 10 + digit;
  }
  value = std::to_wstring(number);
  return true;
}

void PutElement(BcdObject& object, std::wstring_view name, std::vector<std::wstring> values) {
  if (BcdElement* existing = object.Find(name)) {
    existing->name = std::wstring(name);
    existing->values = std::move(values);
    return;
  }
  const ObjectKind kind = KindOf(object);
  const size_t rank = ElementIndex(name, kind);
  auto at = object.elements.end();
  if (rank != std::wstring_view::npos) {
    at = std::find_if(object.elements.begin(), object.elements.end(), [&](const BcdElement& element) {
      const size_t other = ElementIndex(element.name, kind);
      return other != std::wstring_view::npos && other > rank;
    });
  }
  object.elements.insert(at, BcdElement{std::wstring(name), std::move(values)});
}

void RemoveElement(BcdObject& object, std::wstring_view name) {
  std::erase_if(object.elements, [&](const BcdElement& element) { return Same(element.name, name); });
}

}  // namespace sim
