// bcdedit /set [<identifier>] <element> <value> [<value>...]
// bcdedit /deletevalue [<identifier>] <element>
#include <algorithm>

#include "core/text.h"
#include "sim/bcdedit/elements.h"
#include "sim/bcdedit/identifiers.h"
#include "sim/bcdedit/messages.h"
#include "sim/bcdedit/session.h"

namespace sim {

Outcome RunSet(Session& session, const CommandArgs& args) {
  // Without an identifier the tool sets the running loader, as the real one does.
  const bool named = !args.empty() && !args[0].empty() && args[0][0] == L'{';
  const size_t first = named ? 1 : 0;
  if (args.size() < first + 2) return Failure(messages::kBadSetCommand);

  BcdStore& store = session.store;
  const Resolved target = ResolveIdentifier(store, named ? args[0] : L"{current}", session.systemStore);
  if (target.lookup != Lookup::kFound) return Failure(LookupMessage(target.lookup));
  BcdObject& object = *store.FindObject(target.id);

  const ElementInfo* element = FindElement(args[first], object);
  if (element == nullptr) return Failure(messages::kBadElement);
  std::vector<std::wstring> values;
  const std::vector<std::wstring> typed(args.begin() + static_cast<std::ptrdiff_t>(first + 1), args.end());
  const std::wstring_view failure = NormalizeValues(*element, typed, store, session.systemStore, values);
  if (!failure.empty()) return Failure(failure);

  PutElement(object, element->name, std::move(values));
  session.changed = true;
  return {0, std::wstring(messages::kSuccess)};
}

Outcome RunDeleteValue(Session& session, const CommandArgs& args) {
  const bool named = !args.empty() && !args[0].empty() && args[0][0] == L'{';
  const size_t first = named ? 1 : 0;
  if (args.size() != first + 1) return Failure(messages::kBadDeleteValueCommand);

  BcdStore& store = session.store;
  const Resolved target = ResolveIdentifier(store, named ? args[0] : L"{current}", session.systemStore);
  if (target.lookup != Lookup::kFound) return Failure(LookupMessage(target.lookup));
  BcdObject& object = *store.FindObject(target.id);
  const ElementInfo* element = FindElement(args[first], object);
  if (element == nullptr) return Failure(messages::kBadElement);
  auto& elements = object.elements;
  const auto found = std::find_if(elements.begin(), elements.end(),
                                  [element](const BcdElement& e) { return zel::EqualsNoCase(e.name, std::wstring(element->name)); });
  if (found == elements.end()) return Failure(messages::kValueNotSet);
  elements.erase(found);
  session.changed = true;
  return {0, std::wstring(messages::kSuccess)};
}

}  // namespace sim
