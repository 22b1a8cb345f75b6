#include "sim/bcdedit/listing.h"

#include "core/text.h"
#include "sim/bcdedit/identifiers.h"

namespace sim {
namespace {

constexpr size_t kValueColumn = 24;
constexpr std::wstring_view kLineEnd = L"\r\n";
constexpr size_t kGuidLength = 38;

std::wstring ShownId(const std::wstring& guid, const ListingStyle& style) {
  // The running loader is named {current} even when it is also the default.
  if (!style.currentId.empty() && zel::EqualsNoCase(guid, style.currentId)) return L"{current}";
  if (!style.defaultId.empty() && zel::EqualsNoCase(guid, style.defaultId)) return L"{default}";
  const std::wstring alias = WellKnownAlias(guid);
  return alias.empty() ? guid : alias;
}

// Puts aliases in place of the GUIDs inside a value ("...boot.wim,{ramdiskoptions}").
std::wstring ShownValue(const std::wstring& value, const ListingStyle& style) {
  if (style.verbose) return value;
  std::wstring out;
  size_t i = 0;
  while (i < value.size()) {
    if (value[i] == L'{' && i + kGuidLength <= value.size() &&
        IsBraceGuid(std::wstring_view(value).substr(i, kGuidLength))) {
      out += ShownId(value.substr(i, kGuidLength), style);
      i += kGuidLength;
    } else {
      out.push_back(value[i++]);
    }
  }
  return out;
}

void AppendElement(std::wstring& out, const std::wstring& name,
                   const std::vector<std::wstring>& values, const ListingStyle& style) {
  for (size_t i = 0; i < values.size(); ++i) {
    std::wstring line = i == 0 ? name : std::wstring();
    line.resize(line.size() < kValueColumn ? kValueColumn : line.size() + 1, L' ');
    out += line;
    out += ShownValue(values[i], style);
    out += kLineEnd;
  }
}

}  // namespace

std::wstring FormatListing(const std::vector<const BcdObject*>& objects, const ListingStyle& style) {
  std::wstring out(kLineEnd);
  for (size_t i = 0; i < objects.size(); ++i) {
    const BcdObject& object = *objects[i];
    if (i > 0) out += kLineEnd;
    out += object.title;
    out += kLineEnd;
    out.append(object.title.size(), L'-');
    out += kLineEnd;
    AppendElement(out, L"identifier", {object.id}, style);
    for (const auto& element : object.elements) AppendElement(out, element.name, element.values, style);
  }
  return out;
}

}  // namespace sim
