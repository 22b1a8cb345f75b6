// The system store to and from a file:
//   bcdedit /export <file>
//   bcdedit /import <file>
// Both work on the running system's store only, so /store is refused.
#include "sim/bcdedit/messages.h"
#include "sim/bcdedit/session.h"

namespace sim {
namespace {

bool IsFileArgument(const Session& session, const CommandArgs& args) {
  return session.systemStore && args.size() == 1 && !args[0].empty();
}

}  // namespace

Outcome RunExport(Session& session, const CommandArgs& args) {
  if (!IsFileArgument(session, args)) return Failure(messages::kBadOptions);
  // The copy is a whole store file, written as safely as the store itself.
  const StoreFiles& files = session.files;
  if (!files.write || !files.write(args[0], SaveStore(session.store))) {
    return Failure(messages::kExportFailed);
  }
  return {0, std::wstring(messages::kSuccess)};
}

Outcome RunImport(Session& session, const CommandArgs& args) {
  if (!IsFileArgument(session, args)) return Failure(messages::kBadOptions);
  std::string bytes;
  if (!session.files.read || !session.files.read(args[0], bytes)) return Failure(messages::kImportNotFound);
  BcdStore imported;
  std::wstring detail;
  if (!LoadStore(bytes, imported, detail)) return Failure(messages::kImportCorrupt);
  // The objects come from the file; which loader is running does not, and the
  // header comments describe this machine's store.
  session.store.objects = std::move(imported.objects);
  session.changed = true;
  return {0, std::wstring(messages::kSuccess)};
}

}  // namespace sim
