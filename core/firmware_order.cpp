#include "core/firmware_order.h"

#include <algorithm>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "core/bcd_edit.h"
#include "core/bcd_model.h"
#include "core/bcd_parser.h"
#include "core/command_runner.h"
#include "core/text.h"

namespace zel {
namespace {

bool StartsInColumnOne(const std::wstring& line) { return !line.empty() && line[0] != L' ' && line[0] != L'\t'; }

bool EndsWithNoCase(const std::wstring& text, const std::wstring& tail) {
  return text.size() >= tail.size() && EqualsNoCase(text.substr(text.size() - tail.size()), tail);
}

// What the listing holds, with the sets that keep membership O(1): a forged
// listing may name thousands of objects.
struct Reading {
  FirmwareOrder& order;
  std::unordered_set<std::wstring> listed, suspect;

  void AddSuspect(const std::wstring& id) {
    if (suspect.insert(id).second) order.suspectIds.push_back(id);
  }
  // One value of the order. With /v every value is a GUID: an alias or any other
  // text means the order cannot be written back whole, so it is damaged.
  void AddToOrder(const std::wstring& value) {
    if (!IsGuidText(value)) {
      order.orderDamaged = true;
    } else if (!listed.insert(ToLower(value)).second) {
      AddSuspect(ToLower(value));
    } else {
      order.displayOrder.push_back(ToLower(value));
    }
  }
};

// The order's first value follows its name; the rest come on indented lines
// until the next element in column one or a blank line.
void ReadManager(const ObjectBlock& block, Reading& reading) {
  FirmwareOrder& order = reading.order;
  order.hasManager = true;
  bool inOrder = false, orderSeen = false, sequenceSeen = false, timeoutSeen = false;
  for (const auto& line : block.lines) {
    const KeyValue kv = ParseKeyValue(line);
    if (kv.key.empty() || StartsInColumnOne(line)) inOrder = false;
    if (kv.key.empty()) continue;
    if (!StartsInColumnOne(line)) {
      if (inOrder) reading.AddToOrder(Trim(line));
    } else if (kv.key == L"displayorder") {
      // A second order in one block can only come from a description with line breaks.
      if (orderSeen) order.orderDamaged = true;
      orderSeen = inOrder = true;
      reading.AddToOrder(kv.value);
    } else if (kv.key == L"bootsequence" && !sequenceSeen) {
      sequenceSeen = true;
      if (IsGuidText(kv.value)) order.bootSequenceId = ToLower(kv.value);
    } else if (kv.key == L"timeout" && !timeoutSeen) {
      timeoutSeen = true;
      int32_t seconds = 0;
      if (ParseInt32(kv.value, seconds) && seconds >= 0) order.timeoutSeconds = seconds;
    }
  }
}

// The first element of each name counts: a description printed with line breaks
// comes after device and path and cannot replace them.
FirmwareApp ReadApp(const ObjectBlock& block) {
  FirmwareApp app;
  app.identifier = block.identifier;
  bool description = false, device = false, path = false;
  for (const auto& line : block.lines) {
    if (!StartsInColumnOne(line)) continue;
    const KeyValue kv = ParseKeyValue(line);
    for (auto [name, seen, field] : {std::tuple{L"description", &description, &app.description},
                                     {L"device", &device, &app.device}, {L"path", &path, &app.path}}) {
      if (kv.key == name && !*seen) {
        *seen = true;
        *field = kv.value;
      }
    }
  }
  app.isWindowsBootManager =
      app.identifier == BootManagerGuid || EndsWithNoCase(app.path, L"\\EFI\\Microsoft\\Boot\\bootmgfw.efi");
  return app;
}

// Why a change must not be built on this listing; empty when it may.
Fault Untrusted(const FirmwareOrder& order) {
  std::unordered_set<std::wstring> suspect;
  for (const auto& id : order.suspectIds) suspect.insert(ToLower(id));
  if (!order.hasManager || suspect.contains(FirmwareBootManagerGuid)) {
    return {FaultKind::FirmwareManagerUnreadable, {}};
  }
  std::unordered_set<std::wstring> seen;
  for (const auto& id : order.displayOrder) {
    const std::wstring lower = ToLower(id);
    if (!IsGuidText(id) || suspect.contains(lower) || !seen.insert(lower).second) {
      return {FaultKind::FirmwareOrderRepeats, {}};
    }
  }
  if (order.orderDamaged) {
    return {FaultKind::FirmwareOrderIncomplete, {}};
  }
  return {};
}

Fault NotListed(const std::wstring& id) { return {FaultKind::NotInFirmwareOrder, id}; }

}  // namespace

bool IsSuspect(const FirmwareOrder& order, const std::wstring& id) { return ContainsNoCase(order.suspectIds, id); }

FirmwareOrder ParseFirmwareListing(const std::wstring& listing) {
  FirmwareOrder order;
  Reading reading{order, {}, {}};
  std::vector<ObjectBlock> blocks;
  std::unordered_set<std::wstring> heads;
  for (auto& block : SplitIntoBlocks(listing)) {
    // An identifier heading two blocks is read from its first and never changed.
    if (heads.insert(block.identifier).second) {
      blocks.push_back(std::move(block));
    } else {
      reading.AddSuspect(block.identifier);
    }
  }
  std::unordered_map<std::wstring, FirmwareApp> apps;
  std::vector<std::wstring> printed;
  for (const auto& block : blocks) {
    if (block.identifier == FirmwareBootManagerGuid) {
      ReadManager(block, reading);
    } else {
      apps[block.identifier] = ReadApp(block);
      printed.push_back(block.identifier);
    }
  }
  // An id of the order without a block of its own is still part of the order that gets written back.
  for (const auto& id : order.displayOrder) {
    const auto found = apps.find(id);
    order.apps.push_back(found != apps.end() ? found->second : FirmwareApp{.identifier = id});
  }
  for (const auto& id : printed) {
    if (!reading.listed.contains(id)) order.unlisted.push_back(apps[id]);
  }
  for (auto* list : {&order.apps, &order.unlisted}) {
    for (auto& app : *list) app.isBootSequence = app.identifier == order.bootSequenceId;
  }
  return order;
}

FirmwareOrder LoadFirmwareOrder() {
  // Firmware objects are the running machine's: never a store file.
  const CommandResult result = RunBcdedit(L"", L"/enum firmware /v");
  FirmwareOrder order;
  if (result.Succeeded()) order = ParseFirmwareListing(result.output);
  order.rawText = result.output;
  order.loaded = result.Succeeded();
  if (!order.loaded) {
    order.error = SaidOr(result.output, FaultKind::FirmwareOrderUnreadable);
  }
  return order;
}

std::optional<std::vector<std::wstring>> MoveInFirmwareOrder(const std::vector<std::wstring>& order,
                                                             const std::wstring& id, FirmwareMove move) {
  if (move != FirmwareMove::First) return MoveInDisplayOrder(order, id, move == FirmwareMove::Up);
  const auto found =
      std::find_if(order.begin(), order.end(), [&](const std::wstring& element) { return EqualsNoCase(element, id); });
  if (found == order.end() || found == order.begin()) return std::nullopt;
  std::vector<std::wstring> moved(order);
  std::rotate(moved.begin(), moved.begin() + (found - order.begin()), moved.begin() + (found - order.begin()) + 1);
  return moved;
}

bool MoveFirmwareApp(const FirmwareOrder& order, const std::wstring& id, FirmwareMove move, Fault& error) {
  error = Untrusted(order);
  if (!error.empty() || !CheckEntryId(id, error)) return false;
  if (!ContainsNoCase(order.displayOrder, id)) {
    error = NotListed(id);
    return false;
  }
  const auto moved = MoveInFirmwareOrder(order.displayOrder, id, move);
  if (!moved) return true;  // already at that end
  std::wstring arguments = L"/set {fwbootmgr} displayorder";
  for (const auto& element : *moved) arguments += L" " + element;
  return RunBcdeditStep(L"", arguments, error);
}

bool SetFirmwareBootNext(const FirmwareOrder& order, const std::wstring& id, Fault& error) {
  error = Untrusted(order);
  if (!error.empty() || !CheckEntryId(id, error)) return false;
  const auto same = [&id](const FirmwareApp& app) { return EqualsNoCase(app.identifier, id); };
  if (IsSuspect(order, id) || (std::none_of(order.apps.begin(), order.apps.end(), same) &&
                               std::none_of(order.unlisted.begin(), order.unlisted.end(), same))) {
    error = NotListed(id);
    return false;
  }
  return RunBcdeditStep(L"", L"/set {fwbootmgr} bootsequence " + ToLower(id), error);
}

}  // namespace zel
