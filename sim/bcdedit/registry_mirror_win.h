#pragma once
// Windows keeps the running system's store loaded in the registry under
// HKLM\BCD00000000, in UTF-16, where a program can read names that the console
// output cannot carry. The simulated bcdedit keeps the same place up to date.
#include "sim/bcdedit/store.h"

namespace sim {

// Writes every object's description to HKLM\BCD00000000\Objects\{id}\Elements\12000004
// (value "Element", REG_SZ) and removes objects and descriptions the store no longer has.
// Best effort: a registry that refuses leaves the program on its fallback, as on Windows PE.
void MirrorToRegistry(const BcdStore& store);

}  // namespace sim
