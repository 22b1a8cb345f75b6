#include "core/exact_names.h"

#include <optional>
#include <vector>

#include "core/platform.h"
#include "core/store_selection.h"

namespace zel {
namespace {

// Where Windows keeps the running system's store once it has loaded it.
const std::wstring kSystemStoreKey = L"BCD00000000\\";
// The element type of an object's description, and the value that holds an element.
const std::wstring kDescriptionElement = L"12000004";
const std::wstring kElementValue = L"Element";

}  // namespace

std::wstring DescriptionKey(const std::wstring& id) {
  return L"Objects\\" + id + L"\\Elements\\" + kDescriptionElement;
}

void ReadExactDescriptions(const std::wstring& storePath, BcdSnapshot& snapshot) {
  if (snapshot.entries.empty()) return;
  Platform& platform = CurrentPlatform();
  std::vector<std::optional<std::wstring>> texts(snapshot.entries.size());
  if (storePath.empty() || IsSystemStoreFile(storePath)) {
    for (size_t i = 0; i < snapshot.entries.size(); ++i) {
      std::wstring text;
      if (platform.RegistryString(kSystemStoreKey + DescriptionKey(snapshot.entries[i].identifier), kElementValue,
                                  text)) {
        texts[i] = std::move(text);
      }
    }
  } else {
    std::vector<std::wstring> keys;
    for (const auto& entry : snapshot.entries) keys.push_back(DescriptionKey(entry.identifier));
    texts = platform.HiveFileStrings(storePath, keys, kElementValue);
    texts.resize(snapshot.entries.size());
  }
  for (size_t i = 0; i < snapshot.entries.size(); ++i) {
    if (!texts[i]) continue;
    BootEntry& entry = snapshot.entries[i];
    entry.descriptionExact = true;
    // An empty description keeps the name the listing's reader gave it; nothing was lost.
    if (!texts[i]->empty()) entry.description = std::move(*texts[i]);
  }
}

bool DescriptionMayBeLossy(const BootEntry& entry) {
  return !entry.descriptionExact && entry.description.find(L'?') != std::wstring::npos;
}

}  // namespace zel
