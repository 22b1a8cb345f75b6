#include "core/bcd_parser.h"

#include <algorithm>
#include <unordered_map>

#include "core/text.h"

namespace zel {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// bcdedit underlines every object title with dashes; blanks around them are tolerated.
bool IsDashLine(const std::wstring& line) {
  const std::wstring trimmed = Trim(line);
  return trimmed.size() >= 5 && trimmed.find_first_not_of(L'-') == std::wstring::npos;
}

// An element line: a lower-case name in column one, blanks, then a value.
bool IsElementLine(const std::wstring& line) {
  if (line.empty() || line[0] < L'a' || line[0] > L'z') return false;
  size_t end = 0;
  while (end < line.size() && !IsBlank(line[end])) {
    if (line[end] >= L'A' && line[end] <= L'Z') return false;
    ++end;
  }
  return end < line.size() && !Trim(line.substr(end)).empty();
}

// The line above a dash line is the next object's title when a blank line or the
// start of the listing comes before it, or when it cannot be the last element of
// the previous object.
bool IsTitleAt(const std::vector<std::wstring>& lines, size_t at) {
  return at == 0 || Trim(lines[at - 1]).empty() || !IsElementLine(lines[at]);
}

// What the line below a dash line names: the object's GUID, or nothing when it
// holds an alias such as {current} (listings without /v). The key is translated in
// other display languages, so only the last word of the line is read.
enum class Heading { kNone, kGuid, kAlias };

Heading ReadHeading(const std::wstring& line, std::wstring& guid) {
  const std::wstring trimmed = Trim(line);
  size_t start = trimmed.size();
  while (start > 0 && !IsBlank(trimmed[start - 1])) --start;
  const std::wstring value = trimmed.substr(start);
  if (value.size() == 38 && ExtractGuid(value, 0, guid)) return Heading::kGuid;
  if (value.size() < 3 || value.front() != L'{' || value.back() != L'}') return Heading::kNone;
  for (size_t i = 1; i + 1 < value.size(); ++i) {
    const wchar_t c = ToLowerChar(value[i]);
    if (!((c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9'))) return Heading::kNone;
  }
  return Heading::kAlias;
}

// The display order with a first-place index, so membership and place cost O(1)
// even for stores with thousands of objects. GUIDs from ExtractGuid are lower
// case, so exact keys give the case-insensitive answer.
class DisplayOrder {
 public:
  explicit DisplayOrder(std::vector<std::wstring>& list) : list_(list) {}
  void Add(const std::wstring& guid) {
    const std::wstring key = ToLower(guid);
    if (places_.emplace(key, static_cast<int32_t>(list_.size()) + 1).second) list_.push_back(guid);
  }
  int32_t PlaceOf(const std::wstring& guid) const {
    const auto found = places_.find(ToLower(guid));
    return found == places_.end() ? 0 : found->second;
  }

 private:
  std::vector<std::wstring>& list_;
  std::unordered_map<std::wstring, int32_t> places_;
};

bool IsYes(const std::wstring& value) {
  return EqualsNoCase(value, L"yes") || EqualsNoCase(value, L"true") || EqualsNoCase(value, L"on") || value == L"1";
}

// The repair switches that are plain Yes/No elements.
struct Switch {
  const wchar_t* key;
  bool BootOptions::*flag;
};
constexpr Switch kSwitches[] = {
    {L"safebootalternateshell", &BootOptions::alternateShell}, {L"bootlog", &BootOptions::bootLog},
    {L"basevideo", &BootOptions::baseVideo},                   {L"quietboot", &BootOptions::quietBoot},
    {L"sos", &BootOptions::sos},                               {L"testsigning", &BootOptions::testSigning},
    {L"nointegritychecks", &BootOptions::noIntegrityChecks},   {L"advancedoptions", &BootOptions::advancedOptions},
    {L"onetimeadvancedoptions", &BootOptions::oneTimeAdvancedOptions}};

// False when the key is none of the repair switches.
bool HandleOptionKey(const KeyValue& kv, BootOptions& options) {
  for (const Switch& s : kSwitches) {
    if (kv.key == s.key) {
      options.*s.flag = IsYes(kv.value);
      return true;
    }
  }
  if (kv.key == L"safeboot") {
    options.safeBoot = EqualsNoCase(kv.value, L"network")    ? SafeBoot::Network
                       : EqualsNoCase(kv.value, L"dsrepair") ? SafeBoot::DsRepair
                                                             : SafeBoot::Minimal;  // the default of the element
  } else if (kv.key == L"recoveryenabled") {
    options.recoveryDisabled = !IsYes(kv.value);
  } else if (kv.key == L"bootstatuspolicy") {
    options.bootStatusPolicy = kv.value;
  } else {
    return false;
  }
  return true;
}

void HandleEntryKey(const KeyValue& kv, BootEntry& entry) {
  if (HandleOptionKey(kv, entry.options)) return;
  if (kv.key == L"description") {
    entry.description = kv.value;
  } else if (kv.key == L"device") {
    entry.device = kv.value;
  } else if (kv.key == L"osdevice") {
    entry.osDevice = kv.value;
  } else if (kv.key == L"path") {
    entry.path = kv.value;
  } else if (kv.key == L"bootmenupolicy") {
    entry.bootMenuPolicy = kv.value;
  } else if (kv.key == L"winpe") {
    entry.isWinPe = EqualsNoCase(kv.value, L"yes") || EqualsNoCase(kv.value, L"true");
  }
}

void HandleManagerKey(const KeyValue& kv, BcdSnapshot& snapshot) {
  std::wstring guid;
  if (kv.key == L"default") {
    if (ExtractGuid(kv.value, 0, guid)) snapshot.defaultId = guid;
  } else if (kv.key == L"bootsequence") {
    if (ExtractGuid(kv.value, 0, guid)) snapshot.bootSequenceId = guid;
  } else if (kv.key == L"timeout") {
    ParseInt32(kv.value, snapshot.timeoutSeconds);
  } else if (kv.key == L"displaybootmenu") {
    const std::wstring v = ToLower(kv.value);
    snapshot.displayBootMenu = !(v == L"no" || v == L"false");
  }
}

// displayorder lists its first GUID on its own line and the rest on indented
// continuation lines; the list ends at the next element that starts in column one.
void TrackDisplayOrder(const std::wstring& line, const KeyValue& kv, bool& inList, DisplayOrder& order) {
  if (kv.key == L"displayorder") {
    inList = true;
  } else if (!kv.key.empty() && !IsBlank(line[0])) {
    inList = false;
  }
  std::wstring guid;
  if (inList && ExtractGuid(line, 0, guid)) order.Add(guid);
}

void FinishEntry(BootEntry& entry, const std::wstring& blockText, BcdSnapshot& snapshot,
                 const DisplayOrder& order) {
  const std::wstring lower = ToLower(blockText);
  entry.isWindows = lower.find(L"winload.") != std::wstring::npos || lower.find(L"\\ntldr") != std::wstring::npos;
  const int32_t place = order.PlaceOf(entry.identifier);
  // Resume objects, settings, firmware applications and tools appear only when the menu lists them.
  if (!entry.isWindows && !entry.isWinPe && place == 0) return;
  if (entry.description.empty()) {
    entry.description = entry.isWinPe ? L"Windows PE" : entry.isWindows ? L"Windows Boot Entry" : L"Boot Entry";
  }
  entry.isDefault = !snapshot.defaultId.empty() && EqualsNoCase(entry.identifier, snapshot.defaultId);
  entry.isCurrent = !snapshot.currentId.empty() && EqualsNoCase(entry.identifier, snapshot.currentId);
  entry.isBootSequence = !snapshot.bootSequenceId.empty() && EqualsNoCase(entry.identifier, snapshot.bootSequenceId);
  entry.displayOrderIndex = place;
  entry.inDisplayOrder = place != 0;
  snapshot.entries.push_back(std::move(entry));
}

}  // namespace

KeyValue ParseKeyValue(const std::wstring& line) {
  KeyValue kv;
  size_t keyStart = 0;
  while (keyStart < line.size() && IsBlank(line[keyStart])) ++keyStart;
  if (keyStart == line.size()) return kv;
  size_t keyEnd = keyStart;
  while (keyEnd < line.size() && !IsBlank(line[keyEnd])) ++keyEnd;
  kv.key = ToLower(line.substr(keyStart, keyEnd - keyStart));
  size_t valueStart = keyEnd;
  while (valueStart < line.size() && IsBlank(line[valueStart])) ++valueStart;
  if (valueStart < line.size()) kv.value = Trim(line.substr(valueStart));
  return kv;
}

bool IsBootManagerBlock(const ObjectBlock& block) { return EqualsNoCase(block.identifier, BootManagerGuid); }

std::vector<ObjectBlock> SplitIntoBlocks(const std::wstring& listing) {
  std::vector<ObjectBlock> blocks;
  const std::vector<std::wstring> lines = SplitLines(listing);
  bool reading = false;  // inside an object named by a GUID
  for (size_t i = 0; i < lines.size(); ++i) {
    std::wstring guid;
    const Heading heading = i > 0 && IsDashLine(lines[i - 1]) ? ReadHeading(lines[i], guid) : Heading::kNone;
    if (heading != Heading::kNone) {
      // The dashes and the title above them belong to the new object. Left in the
      // previous block, a title such as "Device options" would read as its device.
      if (reading) {
        auto& previous = blocks.back().lines;
        previous.pop_back();
        if (previous.size() > 1 && IsTitleAt(lines, i - 2)) previous.pop_back();
      }
      // An object named by an alias cannot be told apart from the others: its lines are skipped.
      reading = heading == Heading::kGuid;
      if (reading) blocks.push_back(ObjectBlock{guid, {}});
    }
    if (reading) blocks.back().lines.push_back(lines[i]);
  }
  return blocks;
}

void ParseListing(const std::wstring& listing, BcdSnapshot& snapshot) {
  // An identifier that heads two blocks means a forged or damaged listing (a
  // description with line breaks can print a whole block): the first block is
  // read, and the identifier is marked so that nothing edits it.
  std::vector<ObjectBlock> blocks;
  std::unordered_map<std::wstring, int> heads;
  for (auto& block : SplitIntoBlocks(listing)) {
    const int count = ++heads[block.identifier];
    if (count == 1) {
      blocks.push_back(std::move(block));
    } else if (count == 2) {
      snapshot.suspectIds.push_back(block.identifier);
    }
  }
  // Entries are judged against the boot manager's default, boot sequence and
  // display order, so its block goes first.
  std::stable_partition(blocks.begin(), blocks.end(), IsBootManagerBlock);

  DisplayOrder order(snapshot.displayOrder);
  for (auto& block : blocks) {
    const bool manager = IsBootManagerBlock(block);
    BootEntry entry;
    entry.identifier = block.identifier;
    bool inList = false;
    std::wstring blockText;
    for (const auto& line : block.lines) {
      blockText += line;
      blockText += L'\n';
      const KeyValue kv = ParseKeyValue(line);
      if (manager) {
        HandleManagerKey(kv, snapshot);
        TrackDisplayOrder(line, kv, inList, order);
      } else {
        HandleEntryKey(kv, entry);
      }
    }
    if (!manager) FinishEntry(entry, blockText, snapshot, order);
  }

  if (snapshot.displayOrder.empty()) {
    for (size_t i = 0; i < snapshot.entries.size(); ++i) {
      snapshot.entries[i].inDisplayOrder = true;
      snapshot.entries[i].displayOrderIndex = static_cast<int32_t>(i) + 1;
    }
  }
  std::stable_sort(snapshot.entries.begin(), snapshot.entries.end(), [](const BootEntry& a, const BootEntry& b) {
    if (a.inDisplayOrder != b.inDisplayOrder) return a.inDisplayOrder;
    return a.displayOrderIndex < b.displayOrderIndex;
  });
}

}  // namespace zel
