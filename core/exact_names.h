#pragma once
// bcdedit prints in the OEM code page, so a name outside it comes back with "?"
// in place of its letters. The store itself keeps UTF-16: where it can be read
// directly, the entries get their exact descriptions from it.
#include <string>

#include "core/bcd_model.h"

namespace zel {

// The registry key, under a store's root, that holds an object's description.
std::wstring DescriptionKey(const std::wstring& id);

// Replaces the listing's descriptions of `snapshot` with the store's own where
// they can be read, and marks those entries exact. The running system's store
// (an empty path, or the file the system has loaded) is read where the system
// has loaded it; any other file is opened read-only for the moment of the read.
// Where nothing can be read, the listing's text stands.
void ReadExactDescriptions(const std::wstring& storePath, BcdSnapshot& snapshot);

// True when the shown description may have lost letters on the way through the
// console: it was not read exactly and it holds the replacement "?".
bool DescriptionMayBeLossy(const BootEntry& entry);

}  // namespace zel
