#include "core/system.h"

#include "core/platform.h"
#include "core/text.h"

namespace zel {

std::wstring Win32ErrorText(uint32_t code) {
  const std::wstring message = Trim(CurrentPlatform().SystemErrorMessage(code));
  if (!message.empty()) return message;
  return L"Win32 error " + std::to_wstring(code);
}

bool FileExists(const std::wstring& path) {
  const uint32_t attributes = CurrentPlatform().FileAttributes(path);
  return attributes != kInvalidFileAttributes && (attributes & kAttributeDirectory) == 0;
}

std::vector<std::wstring> ListDriveLetters() {
  std::vector<std::wstring> letters;
  for (const auto& root : CurrentPlatform().LogicalDriveRoots()) {
    if (root.size() >= 2) letters.push_back(root.substr(0, 2));
  }
  return letters;
}

std::vector<std::wstring> ListVolumes() {
  std::vector<std::wstring> volumes;
  for (auto name : CurrentPlatform().VolumeNames()) {
    if (name.empty()) continue;
    if (name.back() != L'\\') name.push_back(L'\\');
    volumes.push_back(std::move(name));
  }
  return volumes;
}

}  // namespace zel
