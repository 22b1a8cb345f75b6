#include "sim/bcdedit/commands.h"

#include <algorithm>

#include "core/text.h"
#include "sim/bcdedit/messages.h"
#include "sim/bcdedit/session.h"

namespace sim {
namespace {

using Handler = Outcome (*)(Session&, const CommandArgs&);

struct Command {
  std::wstring_view name;  // lower case; matched without case
  bool opensStore;         // false for commands that make a store, such as /createstore
  Handler run;
};

constexpr Command kCommands[] = {
    {L"/enum", true, &RunEnum},
    {L"/set", true, &RunSet},
    {L"/deletevalue", true, &RunDeleteValue},
    {L"/delete", true, &RunDelete},
    {L"/create", true, &RunCreate},
    {L"/createstore", false, &RunCreateStore},
    {L"/default", true, &RunDefault},
    {L"/timeout", true, &RunTimeout},
    {L"/displayorder", true, &RunDisplayOrder},
    {L"/bootsequence", true, &RunBootSequence},
    {L"/toolsdisplayorder", true, &RunToolsDisplayOrder},
    {L"/export", true, &RunExport},
    {L"/import", true, &RunImport},
};

const Command* FindCommand(const std::wstring& name) {
  const std::wstring lower = zel::ToLower(name);
  for (const auto& command : kCommands) {
    if (command.name == lower) return &command;
  }
  return nullptr;
}

bool OpenStore(Session& session, Outcome& failure) {
  std::string bytes;
  if (session.storePath.empty() || !session.files.read || !session.files.read(session.storePath, bytes)) {
    failure = Failure(messages::kStoreNotFound);
    return false;
  }
  std::wstring detail;
  if (!LoadStore(bytes, session.store, detail)) {
    failure = Failure(messages::kStoreCorrupt);
    return false;
  }
  return true;
}

}  // namespace

Outcome Failure(std::wstring_view message) { return {1, std::wstring(message)}; }

Outcome ExecuteBcdedit(const std::vector<std::wstring>& args, const StoreFiles& files) {
  Session session{files, files.systemStorePath, true, {}, false};
  size_t next = 0;
  if (!args.empty() && zel::EqualsNoCase(args[0], L"/store")) {
    if (args.size() < 2 || args[1].empty()) return Failure(messages::kBadOptions);
    session.storePath = args[1];
    session.systemStore = false;
    next = 2;
  }
  // Without a command the tool lists the boot menu, as if /enum were given.
  const Command* command = next < args.size() ? FindCommand(args[next]) : FindCommand(L"/enum");
  if (command == nullptr) return Failure(messages::kUnknownCommand);
  const CommandArgs rest(args.begin() + static_cast<std::ptrdiff_t>(std::min(next + 1, args.size())),
                         args.end());

  Outcome failure;
  if (command->opensStore && !OpenStore(session, failure)) return failure;
  // A failed command may have changed the copy in memory: the mirror shows what the file holds.
  const bool mirrored = command->opensStore && session.systemStore && files.mirrorSystemStore;
  if (mirrored) files.mirrorSystemStore(session.store);
  Outcome outcome = command->run(session, rest);
  if (outcome.exitCode == 0 && session.changed) {
    if (!files.write || !files.write(session.storePath, SaveStore(session.store))) {
      return Failure(messages::kStoreNotWritten);
    }
    if (mirrored) files.mirrorSystemStore(session.store);
  }
  return outcome;
}

}  // namespace sim
