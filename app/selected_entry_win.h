#pragma once
// The entry the entry actions work on, and the check that refuses one the listing cannot vouch for.
#include <string>

#include "core/bcd_model.h"

namespace app {

// The selected entry of the loaded snapshot; null when none is selected.
const zel::BootEntry* SelectedEntry();
// Says so and returns true when the listing names `id` more than once.
bool RefusedAsSuspect(const std::wstring& id);
// The entry, and the boot manager as well when the change touches it.
bool RefusedAsSuspect(const zel::BootEntry& entry, bool touchesManager);

}  // namespace app
