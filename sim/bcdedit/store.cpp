#include "sim/bcdedit/store.h"

#include <utility>

#include "core/text.h"
#include "core/utf8.h"
#include "sim/bcdedit/identifiers.h"

namespace sim {
namespace {

constexpr std::wstring_view kMagic = L"zq-sim-bcd-store 1";
constexpr std::wstring_view kUtf8Bom = L"\xFEFF";
// Element values start in this column, as in bcdedit's own listing.
constexpr size_t kValueColumn = 24;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
  return zel::EqualsNoCase(std::wstring(a), std::wstring(b));
}

// Splits "token   rest": the token ends at the first blank, the rest starts after the blanks.
void SplitToken(const std::wstring& line, std::wstring& token, std::wstring& rest) {
  size_t end = 0;
  while (end < line.size() && !IsBlank(line[end])) ++end;
  size_t start = end;
  while (start < line.size() && IsBlank(line[start])) ++start;
  token = line.substr(0, end);
  rest = line.substr(start);
}

class Reader {
 public:
  bool Read(const std::vector<std::wstring>& lines, BcdStore& store, std::wstring& error) {
    if (lines.empty() || zel::Trim(lines[0]) != kMagic) {
      return Fail(1, L"not a simulated store: the first line must be \"" + std::wstring(kMagic) + L"\"", error);
    }
    for (size_t i = 1; i < lines.size(); ++i) {
      std::wstring problem;
      if (!ReadLine(lines[i], problem)) return Fail(i + 1, problem, error);
    }
    store = std::move(store_);
    return true;
  }

 private:
  static bool Fail(size_t line, const std::wstring& problem, std::wstring& error) {
    error = L"line " + std::to_wstring(line) + L": " + problem;
    return false;
  }

  bool ReadLine(const std::wstring& line, std::wstring& problem) {
    if (zel::Trim(line).empty()) {
      element_ = nullptr;  // a list does not continue across a blank line
      return true;
    }
    if (line[0] == L'#') {
      if (object_ != nullptr) {
        problem = L"comments belong in the header, before the first object";
        return false;
      }
      store_.comments.push_back(line.substr(1));
      return true;
    }
    if (IsBlank(line[0])) return ReadContinuation(line, problem);
    std::wstring token, rest;
    SplitToken(line, token, rest);
    if (token == L"object") return ReadObject(rest, problem);
    if (object_ == nullptr) {
      if (token == L"current") return ReadCurrent(rest, problem);
      problem = L"\"" + token + L"\" before the first object";
      return false;
    }
    return ReadElement(token, rest, problem);
  }

  bool ReadCurrent(const std::wstring& rest, std::wstring& problem) {
    if (!store_.currentId.empty() || !IsBraceGuid(rest)) {
      problem = L"\"current\" takes one brace GUID, once";
      return false;
    }
    store_.currentId = zel::ToLower(rest);
    return true;
  }

  bool ReadObject(const std::wstring& rest, std::wstring& problem) {
    std::wstring id, title;
    SplitToken(rest, id, title);
    if (!IsBraceGuid(id) || title.empty()) {
      problem = L"an object line is \"object {GUID} Title\"";
      return false;
    }
    id = zel::ToLower(id);
    if (store_.FindObject(id) != nullptr) {
      problem = L"object " + id + L" appears twice";
      return false;
    }
    store_.objects.push_back({id, title, {}});
    object_ = &store_.objects.back();
    element_ = nullptr;
    return true;
  }

  bool ReadElement(const std::wstring& name, const std::wstring& value, std::wstring& problem) {
    if (object_->Find(name) != nullptr) {
      problem = L"element \"" + name + L"\" appears twice; continue a list on indented lines";
      return false;
    }
    object_->elements.push_back({name, {value}});
    element_ = &object_->elements.back();
    return true;
  }

  bool ReadContinuation(const std::wstring& line, std::wstring& problem) {
    if (element_ == nullptr) {
      problem = L"an indented line continues the element right above it";
      return false;
    }
    size_t start = 0;
    while (IsBlank(line[start])) ++start;
    element_->values.push_back(line.substr(start));
    return true;
  }

  BcdStore store_;
  // Point into store_.objects / its elements; a push_back that moves them
  // always resets these right after, to the new last item.
  BcdObject* object_ = nullptr;
  BcdElement* element_ = nullptr;
};

void AppendLine(std::wstring& out, std::wstring_view text) {
  out.append(text);
  out.push_back(L'\n');
}

}  // namespace

const BcdElement* BcdObject::Find(std::wstring_view name) const {
  for (const auto& element : elements) {
    if (EqualsNoCase(element.name, name)) return &element;
  }
  return nullptr;
}

BcdElement* BcdObject::Find(std::wstring_view name) {
  return const_cast<BcdElement*>(std::as_const(*this).Find(name));
}

std::wstring BcdObject::FirstValue(std::wstring_view name) const {
  const BcdElement* element = Find(name);
  return element != nullptr && !element->values.empty() ? element->values.front() : std::wstring();
}

const BcdObject* BcdStore::FindObject(std::wstring_view id) const {
  for (const auto& object : objects) {
    if (EqualsNoCase(object.id, id)) return &object;
  }
  return nullptr;
}

BcdObject* BcdStore::FindObject(std::wstring_view id) {
  return const_cast<BcdObject*>(std::as_const(*this).FindObject(id));
}

bool LoadStore(std::string_view bytes, BcdStore& store, std::wstring& error) {
  std::wstring text = zel::Utf8ToWide(bytes);
  // Windows editors like to add a byte order mark; it carries no content.
  if (text.starts_with(kUtf8Bom)) text.erase(0, kUtf8Bom.size());
  Reader reader;
  return reader.Read(zel::SplitLines(text), store, error);
}

std::string SaveStore(const BcdStore& store) {
  std::wstring out;
  AppendLine(out, kMagic);
  for (const auto& comment : store.comments) AppendLine(out, L"#" + comment);
  if (!store.currentId.empty()) AppendLine(out, L"current " + store.currentId);
  for (const auto& object : store.objects) {
    out.push_back(L'\n');
    AppendLine(out, L"object " + object.id + L" " + object.title);
    for (const auto& element : object.elements) {
      for (size_t i = 0; i < element.values.size(); ++i) {
        std::wstring line = i == 0 ? element.name : std::wstring();
        if (!element.values[i].empty()) {
          line.resize(line.size() < kValueColumn ? kValueColumn : line.size() + 1, L' ');
          line += element.values[i];
        }
        AppendLine(out, line);
      }
    }
  }
  return zel::WideToUtf8(out);
}

}  // namespace sim
