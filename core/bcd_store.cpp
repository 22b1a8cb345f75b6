#include "core/bcd_store.h"

#include "core/bcd_parser.h"
#include "core/command_runner.h"
#include "core/exact_names.h"
#include "core/language.h"
#include "core/text.h"

namespace zel {

BcdSnapshot LoadBcdSnapshot(const std::wstring& storePath) {
  BcdSnapshot snapshot;
  CommandResult all = RunBcdedit(storePath, L"/enum all /v");
  snapshot.rawText = all.output;
  if (!all.Succeeded()) {
    snapshot.error = !all.output.empty() ? all.output : Pick(L"Không thể mở kho BCD.", L"Could not open the BCD store.");
    return snapshot;
  }
  snapshot.loaded = true;

  // Both are optional: a store without a default, or an offline file, still loads.
  const CommandResult byDefault = RunBcdedit(storePath, L"/enum {default} /v");
  if (byDefault.Succeeded()) snapshot.defaultId = FirstGuid(byDefault.output);
  if (storePath.empty()) {
    const CommandResult current = RunBcdedit(storePath, L"/enum {current} /v");
    if (current.Succeeded()) snapshot.currentId = FirstGuid(current.output);
  }

  ParseListing(snapshot.rawText, snapshot);
  ReadExactDescriptions(storePath, snapshot);
  return snapshot;
}

}  // namespace zel
