#include "core/bcd_edit.h"

#include <algorithm>

#include "core/bcd_parser.h"
#include "core/command_runner.h"
#include "core/text.h"

namespace zel {
namespace {

bool StartsInColumnOne(const std::wstring& line) { return !line.empty() && line[0] != L' ' && line[0] != L'\t'; }

bool HasElement(const ObjectBlock& block, std::initializer_list<const wchar_t*> names) {
  for (const auto& line : block.lines) {
    if (!StartsInColumnOne(line)) continue;  // continuation lines hold no name
    const std::wstring key = ParseKeyValue(line).key;
    for (const wchar_t* name : names) {
      if (key == name) return true;
    }
  }
  return false;
}

enum class Options { kGone, kUnused, kKept };

// What a fresh listing of the whole store says about an options object. It may go
// only when its own single block holds the SDI settings, it is neither the boot
// manager nor a loader nor in the menu, and no other object names it.
Options JudgeOptions(const std::wstring& listing, const std::wstring& optionsId) {
  const std::wstring id = ToLower(optionsId);
  const std::vector<ObjectBlock> blocks = SplitIntoBlocks(listing);
  const ObjectBlock* own = nullptr;
  bool named = false;
  for (const auto& block : blocks) {
    if (block.identifier != id) {
      for (const auto& line : block.lines) named = named || ToLower(line).find(id) != std::wstring::npos;
    } else if (own != nullptr) {
      return Options::kKept;  // two blocks: a forged or damaged listing
    } else {
      own = &block;
    }
  }
  if (own == nullptr) return Options::kGone;
  if (named || id == BootManagerGuid || !HasElement(*own, {L"ramdisksdidevice", L"ramdisksdipath"}) ||
      HasElement(*own, {L"path", L"winpe", L"device", L"osdevice"})) {
    return Options::kKept;
  }
  BcdSnapshot snapshot;
  ParseListing(listing, snapshot);
  const bool shown = std::any_of(snapshot.entries.begin(), snapshot.entries.end(),
                                 [&id](const BootEntry& entry) { return entry.identifier == id; });
  return shown || ContainsNoCase(snapshot.displayOrder, id) ? Options::kKept : Options::kUnused;
}

}  // namespace

bool IsGuidText(const std::wstring& text) {
  std::wstring guid;
  return text.size() == 38 && ExtractGuid(text, 0, guid) && EqualsNoCase(guid, text);
}

bool CheckEntryId(const std::wstring& id, Fault& error) {
  if (IsGuidText(id)) return true;
  error = {FaultKind::BadEntryId, id};
  return false;
}

bool RenameEntry(const std::wstring& storePath, const std::wstring& id, const std::wstring& name, Fault& error) {
  if (!CheckEntryId(id, error)) return false;
  const std::wstring clean = SanitizeDescription(name);
  if (clean.empty()) {
    error = {FaultKind::EmptyName, {}};
    return false;
  }
  return RunBcdeditStep(storePath, L"/set " + id + L" description \"" + clean + L"\"", error);
}

std::wstring RamdiskOptionsIdIn(const std::wstring& listing, const std::wstring& entryId) {
  for (const auto& block : SplitIntoBlocks(listing)) {
    if (!EqualsNoCase(block.identifier, entryId)) continue;
    // The first device element of the entry's first block, else its first osdevice:
    // whatever a description prints further down cannot name another object.
    for (const wchar_t* name : {L"device", L"osdevice"}) {
      for (const auto& line : block.lines) {
        const KeyValue kv = ParseKeyValue(line);
        if (!StartsInColumnOne(line) || kv.key != name) continue;
        const size_t comma = kv.value.find_last_of(L',');
        if (!kv.value.starts_with(L"ramdisk=[") || comma == std::wstring::npos) return {};
        const std::wstring guid = kv.value.substr(comma + 1);
        return IsGuidText(guid) ? ToLower(guid) : std::wstring();
      }
    }
    return {};
  }
  return {};
}

bool DeleteEntry(const std::wstring& storePath, const std::wstring& id, Fault& error) {
  if (!CheckEntryId(id, error)) return false;
  // Read the entry first: once it is gone, nothing says which options object it used.
  const CommandResult entry = RunBcdedit(storePath, L"/enum " + id + L" /v");
  const std::wstring optionsId = entry.Succeeded() ? RamdiskOptionsIdIn(entry.output, id) : std::wstring();

  if (!RunBcdeditStep(storePath, L"/delete " + id + L" /cleanup", error) &&
      !RunBcdeditStep(storePath, L"/delete " + id + L" /cleanup /f", error)) {
    return false;
  }
  error.clear();
  if (optionsId.empty() || EqualsNoCase(optionsId, RamdiskOptionsGuid)) return true;

  // The options go only when the store, read again, proves nothing else needs them.
  const CommandResult all = RunBcdedit(storePath, L"/enum all /v");
  const Options verdict = all.Succeeded() ? JudgeOptions(all.output, optionsId) : Options::kKept;
  if (verdict == Options::kUnused) {
    RunBcdedit(storePath, L"/delete " + optionsId + L" /f");
  } else if (verdict == Options::kKept) {
    error = {FaultKind::KeptOptions, optionsId};
  }
  return true;
}

bool SetMenuTimeout(const std::wstring& storePath, int32_t seconds, Fault& error) {
  const int32_t clamped = std::clamp<int32_t>(seconds, 0, 3600);
  return RunBcdeditStep(storePath, L"/timeout " + std::to_wstring(clamped), error);
}

bool SetDisplayBootMenu(const std::wstring& storePath, bool show, Fault& error) {
  return RunBcdeditStep(storePath, std::wstring(L"/set {bootmgr} displaybootmenu ") + (show ? L"yes" : L"no"), error);
}

bool SetDisplayOrder(const std::wstring& storePath, const std::vector<std::wstring>& ids, Fault& error) {
  if (ids.empty()) {
    error = {FaultKind::EmptyOrder, {}};
    return false;
  }
  std::wstring arguments = L"/displayorder";
  for (const auto& id : ids) {
    if (!CheckEntryId(id, error)) return false;
    arguments += L" " + id;
  }
  return RunBcdeditStep(storePath, arguments, error);
}

const wchar_t* PolicyName(MenuPolicy policy) { return policy == MenuPolicy::Legacy ? L"Legacy" : L"Standard"; }

MenuPolicy PolicyOf(const BootEntry& entry) {
  return EqualsNoCase(entry.bootMenuPolicy, L"Legacy") ? MenuPolicy::Legacy : MenuPolicy::Standard;
}

bool SetBootMenuPolicy(const std::wstring& storePath, const std::wstring& id, MenuPolicy policy, Fault& error) {
  if (!CheckEntryId(id, error)) return false;
  return RunBcdeditStep(storePath, L"/set " + id + L" bootmenupolicy " + PolicyName(policy), error);
}

bool SetDefaultEntry(const std::wstring& storePath, const std::wstring& id, Fault& error) {
  if (!CheckEntryId(id, error)) return false;
  return RunBcdeditStep(storePath, L"/default " + id, error);
}

bool SetBootSequence(const std::wstring& storePath, const std::wstring& id, Fault& error) {
  if (!CheckEntryId(id, error)) return false;
  return RunBcdeditStep(storePath, L"/bootsequence " + id, error);
}

std::optional<std::vector<std::wstring>> MoveInDisplayOrder(const std::vector<std::wstring>& order,
                                                            const std::wstring& id, bool up) {
  const auto found =
      std::find_if(order.begin(), order.end(), [&](const std::wstring& element) { return EqualsNoCase(element, id); });
  if (found == order.end()) return std::nullopt;
  const size_t at = static_cast<size_t>(found - order.begin());
  if (up ? at == 0 : at + 1 == order.size()) return std::nullopt;
  std::vector<std::wstring> moved(order);
  std::swap(moved[at], moved[up ? at - 1 : at + 1]);
  return moved;
}

std::vector<std::wstring> ShowInDisplayOrder(const std::vector<std::wstring>& order, const std::wstring& id) {
  std::vector<std::wstring> shown(order);
  shown.push_back(id);
  return shown;
}

}  // namespace zel
