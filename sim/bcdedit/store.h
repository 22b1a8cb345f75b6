#pragma once
// The simulated BCD store: objects in a fixed order, each with a GUID, the
// type line bcdedit prints as its title, and named elements that hold one or
// more values. It lives in a small UTF-8 text file (format in sim/README.md)
// that a person can read and edit; SaveStore writes the canonical form, and
// a canonical file loads and saves back byte for byte.
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct BcdElement {
  std::wstring name;                 // as written, e.g. "displayorder"; matched without case
  std::vector<std::wstring> values;  // at least one; lists such as displayorder hold several

  bool operator==(const BcdElement&) const = default;
};

struct BcdObject {
  std::wstring id;     // brace GUID, lower case
  std::wstring title;  // "Windows Boot Loader", "Device options", ...
  std::vector<BcdElement> elements;

  const BcdElement* Find(std::wstring_view name) const;
  BcdElement* Find(std::wstring_view name);
  // The element's first value, or empty when the object has no such element.
  std::wstring FirstValue(std::wstring_view name) const;
  bool operator==(const BcdObject&) const = default;
};

struct BcdStore {
  std::vector<std::wstring> comments;  // header comment lines, text after the '#'
  std::wstring currentId;              // the running system's loader; empty if none
  std::vector<BcdObject> objects;

  const BcdObject* FindObject(std::wstring_view id) const;  // id compared without case
  BcdObject* FindObject(std::wstring_view id);
  bool operator==(const BcdStore&) const = default;
};

// Parses a store file. On failure returns false, leaves `store` untouched and
// says in `error` which line is wrong and why (for developers; the tool itself
// answers with the store-corrupt message).
bool LoadStore(std::string_view bytes, BcdStore& store, std::wstring& error);

// The canonical file text of a store.
std::string SaveStore(const BcdStore& store);

}  // namespace sim
