// bcdedit /set [<identifier>] <element> <value> [<value>...]
// bcdedit /deletevalue [<identifier>] <element>
#include "core/text.h"
#include "sim/bcdedit/elements.h"
#include "sim/bcdedit/identifiers.h"
#include "sim/bcdedit/messages.h"
#include "sim/bcdedit/session.h"

namespace sim {

namespace {

// Without an identifier first, the tool works on the running loader, as the real one does.
size_t ElementArgument(const CommandArgs& args) {
  return !args.empty() && !args[0].empty() && args[0][0] == L'{' ? 1 : 0;
}

// The object the command names and the element named at args[first]; on failure, bcdedit's message.
std::wstring_view FindTarget(Session& session, const CommandArgs& args, size_t first, BcdObject*& object,
                             const ElementInfo*& element) {
  const Resolved target = ResolveIdentifier(session.store, first == 1 ? args[0] : L"{current}", session.systemStore);
  if (target.lookup != Lookup::kFound) return LookupMessage(target.lookup);
  object = session.store.FindObject(target.id);
  element = FindElement(args[first], *object);
  return element == nullptr ? messages::kBadElement : std::wstring_view();
}

}  // namespace

Outcome RunSet(Session& session, const CommandArgs& args) {
  const size_t first = ElementArgument(args);
  if (args.size() < first + 2) return Failure(messages::kBadSetCommand);
  BcdObject* object = nullptr;
  const ElementInfo* element = nullptr;
  if (const std::wstring_view failure = FindTarget(session, args, first, object, element); !failure.empty()) {
    return Failure(failure);
  }
  std::vector<std::wstring> values;
  const std::vector<std::wstring> typed(args.begin() + static_cast<std::ptrdiff_t>(first + 1), args.end());
  const std::wstring_view failure = NormalizeValues(*element, typed, session.store, session.systemStore, values);
  if (!failure.empty()) return Failure(failure);
  // The firmware keeps its order and next boot as its own boot options: only its applications have one.
  const bool names = element->type == ValueType::kObject || element->type == ValueType::kObjectList;
  if (names && IsFirmwareBootManager(*object)) {
    for (const auto& id : values) {
      if (!IsFirmwareApplication(*session.store.FindObject(id))) return Failure(messages::kNotFirmwareApplication);
    }
  }

  PutElement(*object, element->name, std::move(values));
  session.changed = true;
  return {0, std::wstring(messages::kSuccess)};
}

Outcome RunDeleteValue(Session& session, const CommandArgs& args) {
  const size_t first = ElementArgument(args);
  if (args.size() != first + 1) return Failure(messages::kBadDeleteValueCommand);
  BcdObject* object = nullptr;
  const ElementInfo* element = nullptr;
  if (const std::wstring_view failure = FindTarget(session, args, first, object, element); !failure.empty()) {
    return Failure(failure);
  }
  const BcdElement* held = object->Find(element->name);
  if (held == nullptr) return Failure(messages::kValueNotSet);
  object->elements.erase(object->elements.begin() + (held - object->elements.data()));
  session.changed = true;
  return {0, std::wstring(messages::kSuccess)};
}

}  // namespace sim
