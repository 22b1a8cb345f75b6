#pragma once
// Reading a BCD store through bcdedit.
#include <string>

#include "core/bcd_model.h"

namespace zel {

// Reads the system store (empty path) or a store file. Never throws; a failure
// is reported in `loaded` and `error`. Runs up to three bcdedit commands at the
// same time, then reads the entries' exact names where the store allows it:
// call it on a worker thread.
BcdSnapshot LoadBcdSnapshot(const std::wstring& storePath);

}  // namespace zel
