// bcdedit /enum [all | active | firmware | <identifier>] [/v]
#include <algorithm>
#include <iterator>

#include "core/text.h"
#include "sim/bcdedit/elements.h"
#include "sim/bcdedit/identifiers.h"
#include "sim/bcdedit/listing.h"
#include "sim/bcdedit/messages.h"
#include "sim/bcdedit/session.h"

namespace sim {
namespace {

// Real enumeration types that the simulator does not model (they need object
// types, which the store does not keep): named, so the answer says so plainly.
constexpr std::wstring_view kUnsupportedTypes[] = {L"bootapp", L"bootmgr", L"osloader", L"resume", L"inherit"};

// The boot manager, then the entries of its display order that exist.
std::vector<const BcdObject*> ActiveObjects(const BcdStore& store) {
  std::vector<const BcdObject*> objects;
  const BcdObject* manager = store.FindObject(kBootManagerId);
  if (manager == nullptr) return objects;
  objects.push_back(manager);
  if (const BcdElement* order = manager->Find(L"displayorder")) {
    for (const auto& id : order->values) {
      const BcdObject* entry = store.FindObject(zel::Trim(id));
      if (entry != nullptr) objects.push_back(entry);
    }
  }
  return objects;
}

// The firmware's boot manager first, as bcdedit lists it, then its applications in store order.
std::vector<const BcdObject*> FirmwareObjects(const BcdStore& store) {
  std::vector<const BcdObject*> objects;
  for (const auto& object : store.objects) {
    if (IsFirmwareBootManager(object)) objects.push_back(&object);
  }
  for (const auto& object : store.objects) {
    if (IsFirmwareApplication(object)) objects.push_back(&object);
  }
  return objects;
}

}  // namespace

Outcome RunEnum(Session& session, const CommandArgs& args) {
  bool verbose = false;
  std::wstring target;
  for (const auto& arg : args) {
    if (zel::EqualsNoCase(arg, L"/v")) {
      verbose = true;
    } else if (target.empty() && !arg.empty() && arg[0] != L'/') {
      target = arg;
    } else {
      return Failure(messages::kBadOptions);
    }
  }

  const BcdStore& store = session.store;
  std::vector<const BcdObject*> objects;
  const std::wstring type = zel::ToLower(target);
  if (type.empty() || type == L"active") {
    objects = ActiveObjects(store);
  } else if (type == L"all") {
    for (const auto& object : store.objects) objects.push_back(&object);
  } else if (type == L"firmware") {
    objects = FirmwareObjects(store);
  } else if (std::find(std::begin(kUnsupportedTypes), std::end(kUnsupportedTypes), type) !=
             std::end(kUnsupportedTypes)) {
    return Failure(messages::kUnsupportedType);
  } else {
    const Resolved resolved = ResolveIdentifier(store, target, session.systemStore);
    if (resolved.lookup == Lookup::kInvalid) return Failure(messages::kBadIdentifier);
    if (resolved.lookup == Lookup::kNotFound) return Failure(messages::kEntryNotFound);
    objects.push_back(store.FindObject(resolved.id));
  }
  // An empty result of a type listing is not an error: a new store is empty.
  if (objects.empty()) return {0, std::wstring(messages::kNoMatchingObjects)};

  ListingStyle style;
  style.verbose = verbose;
  if (session.systemStore) style.currentId = store.currentId;
  style.defaultId = DefaultEntryId(store);
  return {0, FormatListing(objects, style)};
}

}  // namespace sim
