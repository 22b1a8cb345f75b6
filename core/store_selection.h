#pragma once
// How a BCD store is referred to, found on the machine, named in backups, and
// recognised as the hive the running system has loaded.
#include <string>
#include <vector>

namespace zel {

// "System", "Store-D" for a drive path, "Store" for anything else.
std::wstring StoreLabel(const std::wstring& storePath);
// True when the path names the file the running system has loaded as its BCD hive.
bool IsSystemStoreFile(const std::wstring& storePath);
// Existing store files on every drive and volume (volumes without a letter too),
// sorted without regard to case, each listed once per name.
std::vector<std::wstring> FindStoreFiles();

// Splits "E:\Boot\BCD" into "E:" and "\Boot\BCD", and "\\?\Volume{g}\x" into
// "Volume{g}" and "\x"; false for any other form.
bool SplitDevicePath(const std::wstring& path, std::wstring& device, std::wstring& remainder);

}  // namespace zel
