#include "sim/bcdedit/registry_mirror_win.h"

#include <windows.h>

#include <string>
#include <vector>

#include "core/text.h"

namespace sim {
namespace {

const wchar_t kObjectsKey[] = L"BCD00000000\\Objects";
const wchar_t kDescriptionKey[] = L"\\Elements\\12000004";

class Key {
 public:
  Key(HKEY parent, const std::wstring& path) {
    if (RegCreateKeyExW(parent, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr) != ERROR_SUCCESS) {
      key_ = nullptr;
    }
  }
  ~Key() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

std::vector<std::wstring> SubkeyNames(HKEY key) {
  std::vector<std::wstring> names;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

}  // namespace

void MirrorToRegistry(const BcdStore& store) {
  const Key objects(HKEY_LOCAL_MACHINE, kObjectsKey);
  if (objects.Get() == nullptr) return;
  // Several bcdedit runs may mirror the same store at once: every step is
  // idempotent, so they end in the same state.
  for (const auto& name : SubkeyNames(objects.Get())) {
    if (store.FindObject(name) == nullptr) RegDeleteTreeW(objects.Get(), name.c_str());
  }
  for (const auto& object : store.objects) {
    const std::wstring path = zel::ToLower(object.id) + kDescriptionKey;
    const BcdElement* description = object.Find(L"description");
    if (description == nullptr) {
      RegDeleteTreeW(objects.Get(), path.c_str());
      continue;
    }
    const Key element(objects.Get(), path);
    if (element.Get() == nullptr) continue;
    const std::wstring& text = description->values.front();
    RegSetValueExW(element.Get(), L"Element", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
}

}  // namespace sim
