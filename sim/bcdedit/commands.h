#pragma once
// The simulated bcdedit: one argument vector in, printed text and exit code out.
// The store is reached only through the callbacks in StoreFiles, so this code
// runs the same in unit tests, in the Windows tool and in the host tool.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/bcdedit/store.h"
#include "sim/common/outcome.h"

namespace sim {

struct StoreFiles {
  // The running system's store file; empty when none is configured.
  std::wstring systemStorePath;
  // Reads a whole file; false when it does not exist or cannot be read.
  std::function<bool(const std::wstring& path, std::string& bytes)> read;
  // Replaces a whole file safely; used once a command has changed the store.
  std::function<bool(const std::wstring& path, std::string_view bytes)> write;
  // Shown the system store as it stands after every command that opened it, so
  // that the registry can hold it as Windows holds the hive it has loaded. May be empty.
  std::function<void(const BcdStore& store)> mirrorSystemStore;
};

// Runs one bcdedit invocation. `/store <path>` may come first and selects a
// store file instead of the system store. Commands: /enum, /set, /deletevalue, /delete,
// /create, /createstore, /default, /timeout, /displayorder, /bootsequence,
// /toolsdisplayorder, /export, /import (sim/README.md). No arguments behave as
// /enum. A command that fails changes nothing; one that succeeds and changed
// the store has it saved before the outcome is returned.
Outcome ExecuteBcdedit(const std::vector<std::wstring>& args, const StoreFiles& files);

}  // namespace sim
