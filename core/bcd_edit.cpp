#include "core/bcd_edit.h"

#include <algorithm>

#include "core/command_runner.h"
#include "core/language.h"
#include "core/text.h"

namespace zel {
namespace {

bool Run(const std::wstring& storePath, const std::wstring& arguments, std::wstring& error) {
  const CommandResult result = RunBcdedit(storePath, arguments);
  error = result.Succeeded() ? std::wstring() : result.output;
  return result.Succeeded();
}

// Identifiers go onto the command line unquoted, so only a well-formed GUID may.
bool CheckId(const std::wstring& id, std::wstring& error) {
  if (IsGuidText(id)) return true;
  error = Pick(L"Mã định danh mục khởi động không hợp lệ: ", L"Invalid boot entry identifier: ") + id;
  return false;
}

size_t CountOccurrences(const std::wstring& text, const std::wstring& needle) {
  size_t count = 0;
  for (size_t at = text.find(needle); at != std::wstring::npos; at = text.find(needle, at + needle.size())) ++count;
  return count;
}

}  // namespace

bool IsGuidText(const std::wstring& text) {
  std::wstring guid;
  return text.size() == 38 && ExtractGuid(text, 0, guid) && EqualsNoCase(guid, text);
}

bool RenameEntry(const std::wstring& storePath, const std::wstring& id, const std::wstring& name, std::wstring& error) {
  if (!CheckId(id, error)) return false;
  const std::wstring clean = SanitizeDescription(name);
  if (clean.empty()) {
    error = Pick(L"Tên hiển thị không được để trống.", L"The display name must not be empty.");
    return false;
  }
  return Run(storePath, L"/set " + id + L" description \"" + clean + L"\"", error);
}

std::wstring RamdiskOptionsIdIn(const std::wstring& listing) {
  const size_t start = listing.find(L"ramdisk=[");
  if (start == std::wstring::npos) return {};
  const size_t end = listing.find(L"\r\n", start);
  const std::wstring line = listing.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
  const size_t comma = line.find_last_of(L',');
  if (comma == std::wstring::npos) return {};
  std::wstring guid;
  return ExtractGuid(line, comma, guid) ? guid : std::wstring();
}

bool DeleteEntry(const std::wstring& storePath, const std::wstring& id, std::wstring& error) {
  if (!CheckId(id, error)) return false;
  // Read the entry first: once it is gone, nothing says which options object it used.
  const CommandResult entry = RunBcdedit(storePath, L"/enum " + id + L" /v");
  const std::wstring optionsId = entry.Succeeded() ? RamdiskOptionsIdIn(entry.output) : std::wstring();

  if (!Run(storePath, L"/delete " + id + L" /cleanup", error) &&
      !Run(storePath, L"/delete " + id + L" /cleanup /f", error)) {
    return false;
  }
  error.clear();
  if (optionsId.empty() || EqualsNoCase(optionsId, RamdiskOptionsGuid)) return true;

  // Another entry may boot from the same options: its device line names them too,
  // besides the options object's own identifier line.
  const CommandResult all = RunBcdedit(storePath, L"/enum all /v");
  if (!all.Succeeded()) return true;
  if (CountOccurrences(ToLower(all.output), ToLower(optionsId)) < 2) {
    RunBcdedit(storePath, L"/delete " + optionsId + L" /f");
  }
  return true;
}

bool SetMenuTimeout(const std::wstring& storePath, int32_t seconds, std::wstring& error) {
  const int32_t clamped = std::clamp<int32_t>(seconds, 0, 3600);
  return Run(storePath, L"/timeout " + std::to_wstring(clamped), error);
}

bool SetDisplayBootMenu(const std::wstring& storePath, bool show, std::wstring& error) {
  return Run(storePath, std::wstring(L"/set {bootmgr} displaybootmenu ") + (show ? L"yes" : L"no"), error);
}

bool SetDisplayOrder(const std::wstring& storePath, const std::vector<std::wstring>& ids, std::wstring& error) {
  if (ids.empty()) {
    error = Pick(L"Danh sách thứ tự khởi động đang trống.", L"The boot display order is empty.");
    return false;
  }
  std::wstring arguments = L"/displayorder";
  for (const auto& id : ids) {
    if (!CheckId(id, error)) return false;
    arguments += L" " + id;
  }
  return Run(storePath, arguments, error);
}

bool SetBootMenuPolicy(const std::wstring& storePath, const std::wstring& id, const std::wstring& policy,
                       std::wstring& error) {
  if (!CheckId(id, error)) return false;
  const wchar_t* word = EqualsNoCase(policy, L"Legacy") ? L"Legacy" : L"Standard";
  return Run(storePath, L"/set " + id + L" bootmenupolicy " + word, error);
}

bool SetDefaultEntry(const std::wstring& storePath, const std::wstring& id, std::wstring& error) {
  if (!CheckId(id, error)) return false;
  return Run(storePath, L"/default " + id, error);
}

bool SetBootSequence(const std::wstring& storePath, const std::wstring& id, std::wstring& error) {
  if (!CheckId(id, error)) return false;
  return Run(storePath, L"/bootsequence " + id, error);
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
