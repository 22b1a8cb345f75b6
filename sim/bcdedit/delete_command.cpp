// bcdedit /delete <identifier> [/f] [/cleanup | /nocleanup]
//
// As the real tool, clean-up is the default: the deleted object's identifier
// leaves every element that names it (display orders, boot sequence, default,
// resumeobject, ...), and a Windows loader takes its resume object along when
// no other loader uses it. /nocleanup deletes the object alone and leaves the
// references dangling.
#include <algorithm>

#include "core/text.h"
#include "sim/bcdedit/elements.h"
#include "sim/bcdedit/identifiers.h"
#include "sim/bcdedit/messages.h"
#include "sim/bcdedit/session.h"

namespace sim {
namespace {

std::wstring ResumeObjectOf(const BcdObject& object) {
  return zel::ToLower(zel::Trim(object.FirstValue(L"resumeobject")));
}

// The resume object that only the loader `id` refers to; empty when there is none.
std::wstring OrphanedResumeObject(const BcdStore& store, const std::wstring& id) {
  const BcdObject& loader = *store.FindObject(id);
  if (KindOf(loader) != kOsLoaderKind) return {};
  const std::wstring resume = ResumeObjectOf(loader);
  const BcdObject* object = IsBraceGuid(resume) ? store.FindObject(resume) : nullptr;
  if (object == nullptr || object->title != L"Resume from Hibernate") return {};
  for (const auto& other : store.objects) {
    if (other.id != id && KindOf(other) == kOsLoaderKind && ResumeObjectOf(other) == resume) return {};
  }
  return resume;
}

// Drops every value that is exactly `id`; an element left without values goes.
void RemoveReferences(BcdStore& store, const std::wstring& id) {
  for (auto& object : store.objects) {
    for (auto& element : object.elements) {
      std::erase_if(element.values,
                    [&](const std::wstring& value) { return zel::EqualsNoCase(zel::Trim(value), id); });
    }
    std::erase_if(object.elements, [](const BcdElement& element) { return element.values.empty(); });
  }
}

}  // namespace

Outcome RunDelete(Session& session, const CommandArgs& args) {
  bool force = false;
  bool cleanup = false;
  bool noCleanup = false;
  std::vector<std::wstring> targets;
  for (const auto& arg : args) {
    const std::wstring lower = zel::ToLower(arg);
    if (lower == L"/f") {
      force = true;
    } else if (lower == L"/cleanup") {
      cleanup = true;
    } else if (lower == L"/nocleanup") {
      noCleanup = true;
    } else if (!arg.empty() && arg[0] == L'/') {
      return Failure(messages::kBadOptions);
    } else {
      targets.push_back(arg);
    }
  }
  if (targets.size() != 1 || (cleanup && noCleanup)) return Failure(messages::kBadOptions);

  BcdStore& store = session.store;
  const Resolved target = ResolveIdentifier(store, targets[0], session.systemStore);
  if (target.lookup != Lookup::kFound) return Failure(LookupMessage(target.lookup));
  if (!force && !WellKnownAlias(target.id).empty()) return Failure(messages::kNeedsForce);

  std::vector<std::wstring> doomed{target.id};
  if (!noCleanup) {
    const std::wstring resume = OrphanedResumeObject(store, target.id);
    if (!resume.empty()) doomed.push_back(resume);
  }
  for (const auto& id : doomed) {
    std::erase_if(store.objects, [&](const BcdObject& object) { return object.id == id; });
    if (!noCleanup) RemoveReferences(store, id);
  }
  session.changed = true;
  return {0, std::wstring(messages::kSuccess)};
}

}  // namespace sim
