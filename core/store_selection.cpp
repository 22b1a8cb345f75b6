#include "core/store_selection.h"

#include <algorithm>

#include "core/platform.h"
#include "core/system.h"
#include "core/text.h"

namespace zel {

std::wstring StoreLabel(const std::wstring& storePath) {
  if (storePath.empty()) return L"System";
  if (storePath.size() >= 2 && storePath[1] == L':') {
    const wchar_t letter = storePath[0];
    return std::wstring(L"Store-") + ((letter >= L'a' && letter <= L'z') ? static_cast<wchar_t>(letter - 32) : letter);
  }
  return L"Store";
}

bool SplitDevicePath(const std::wstring& path, std::wstring& device, std::wstring& remainder) {
  if (path.size() >= 3 && path[1] == L':') {
    device = path.substr(0, 2);
    remainder = path.substr(2);
    return true;
  }
  const std::wstring volumePrefix = L"\\\\?\\Volume{";
  const size_t brace = path.find(L'}');
  if (path.size() >= 11 && path.compare(0, 11, volumePrefix) == 0 && brace != std::wstring::npos) {
    device = path.substr(4, brace - 4 + 1);
    remainder = path.substr(brace + 1);
    return true;
  }
  return false;
}

bool IsSystemStoreFile(const std::wstring& storePath) {
  std::wstring device, remainder;
  if (!SplitDevicePath(storePath, device, remainder)) return false;
  Platform& platform = CurrentPlatform();
  std::wstring hive;
  if (!platform.RegistryString(L"SYSTEM\\CurrentControlSet\\Control\\hivelist", L"\\REGISTRY\\MACHINE\\BCD00000000",
                               hive)) {
    return false;
  }
  std::wstring ntDevice;
  if (!platform.DosDeviceTarget(device, ntDevice)) return false;
  return EqualsNoCase(ntDevice + remainder, Trim(hive));
}

std::vector<std::wstring> FindStoreFiles() {
  std::vector<std::wstring> candidates;
  for (const auto& drive : ListDriveLetters()) {
    candidates.push_back(drive + L"\\EFI\\Microsoft\\Boot\\BCD");
    candidates.push_back(drive + L"\\Boot\\BCD");
  }
  for (const auto& volume : ListVolumes()) {
    candidates.push_back(volume + L"EFI\\Microsoft\\Boot\\BCD");
    candidates.push_back(volume + L"Boot\\BCD");
  }
  std::vector<std::wstring> found;
  for (const auto& path : candidates) {
    if (FileExists(path)) found.push_back(path);
  }
  std::sort(found.begin(), found.end(), [](const std::wstring& a, const std::wstring& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](wchar_t x, wchar_t y) { return ToLowerChar(x) < ToLowerChar(y); });
  });
  found.erase(std::unique(found.begin(), found.end(), EqualsNoCase), found.end());
  return found;
}

}  // namespace zel
