#pragma once
// What a bcdedit command works on, shared by the command files. A command gets
// the store already loaded; one that changes it sets `changed`, and
// ExecuteBcdedit saves the store only after the command succeeded.
#include <string>
#include <vector>

#include "sim/bcdedit/commands.h"
#include "sim/bcdedit/store.h"
#include "sim/common/outcome.h"

namespace sim {

struct Session {
  const StoreFiles& files;
  std::wstring storePath;    // the store file in use
  bool systemStore = true;   // false when /store named the file
  BcdStore store;
  bool changed = false;
};

// A command's own arguments: everything after its name.
using CommandArgs = std::vector<std::wstring>;

Outcome Failure(std::wstring_view message);

// One function per command, grouped in files by what they work on.
Outcome RunEnum(Session& session, const CommandArgs& args);
Outcome RunSet(Session& session, const CommandArgs& args);
Outcome RunDeleteValue(Session& session, const CommandArgs& args);
Outcome RunDelete(Session& session, const CommandArgs& args);
Outcome RunCreate(Session& session, const CommandArgs& args);
Outcome RunCreateStore(Session& session, const CommandArgs& args);
Outcome RunDefault(Session& session, const CommandArgs& args);
Outcome RunTimeout(Session& session, const CommandArgs& args);
Outcome RunDisplayOrder(Session& session, const CommandArgs& args);
Outcome RunBootSequence(Session& session, const CommandArgs& args);
Outcome RunToolsDisplayOrder(Session& session, const CommandArgs& args);
Outcome RunExport(Session& session, const CommandArgs& args);
Outcome RunImport(Session& session, const CommandArgs& args);

}  // namespace sim
