#include "core/bcd_store.h"

#include <optional>

#include "core/bcd_parser.h"
#include "core/command_runner.h"
#include "core/concurrently.h"
#include "core/exact_names.h"
#include "core/text.h"

namespace zel {

BcdSnapshot LoadBcdSnapshot(const std::wstring& storePath) {
  // The three enumerations do not depend on each other: one round trip instead of three.
  CommandResult all, byDefault, current;
  {
    const Concurrently defaultRun([&] { byDefault = RunBcdedit(storePath, L"/enum {default} /v"); });
    std::optional<Concurrently> currentRun;
    if (storePath.empty()) currentRun.emplace([&] { current = RunBcdedit(storePath, L"/enum {current} /v"); });
    all = RunBcdedit(storePath, L"/enum all /v");
  }

  BcdSnapshot snapshot;
  snapshot.rawText = all.output;
  if (!all.Succeeded()) {
    snapshot.error = SaidOr(all.output, FaultKind::StoreUnreadable);
    return snapshot;
  }
  snapshot.loaded = true;
  // Both are optional: a store without a default, or an offline file, still loads.
  if (byDefault.Succeeded()) snapshot.defaultId = FirstGuid(byDefault.output);
  if (current.Succeeded()) snapshot.currentId = FirstGuid(current.output);

  ParseListing(snapshot.rawText, snapshot);
  // After every bcdedit run has ended: a store file opened as a hive is locked while open.
  ReadExactDescriptions(storePath, snapshot);
  return snapshot;
}

}  // namespace zel
