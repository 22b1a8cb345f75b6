// The boot manager's own commands:
//   bcdedit /default <identifier>
//   bcdedit /timeout <seconds>
//   bcdedit /displayorder | /bootsequence | /toolsdisplayorder
//           <identifier>... | <identifier> /addfirst | /addlast | /remove
#include <algorithm>

#include "core/text.h"
#include "sim/bcdedit/elements.h"
#include "sim/bcdedit/identifiers.h"
#include "sim/bcdedit/messages.h"
#include "sim/bcdedit/session.h"

namespace sim {
namespace {

enum class ListEdit { kReplace, kAddFirst, kAddLast, kRemove };

Outcome Done(Session& session) {
  session.changed = true;
  return {0, std::wstring(messages::kSuccess)};
}

bool ReadListSwitch(const std::wstring& arg, ListEdit& edit) {
  const std::wstring lower = zel::ToLower(arg);
  if (lower == L"/addfirst") return edit = ListEdit::kAddFirst, true;
  if (lower == L"/addlast") return edit = ListEdit::kAddLast, true;
  if (lower == L"/remove") return edit = ListEdit::kRemove, true;
  return false;
}

// /remove may name an object that is already gone, so that a stale list can be
// cleaned; every other form names existing objects only.
std::wstring_view ResolveListItem(const Session& session, const std::wstring& text, ListEdit edit,
                                  std::wstring& id) {
  const Resolved resolved = ResolveIdentifier(session.store, text, session.systemStore);
  if (resolved.lookup == Lookup::kFound) {
    id = resolved.id;
    return {};
  }
  if (resolved.lookup == Lookup::kNotFound && edit == ListEdit::kRemove) {
    id = IsBraceGuid(text) ? zel::ToLower(text) : WellKnownGuid(text);
    if (!id.empty()) return {};
  }
  return LookupMessage(resolved.lookup);
}

std::vector<std::wstring> CurrentList(const BcdObject& manager, std::wstring_view name) {
  std::vector<std::wstring> list;
  if (const BcdElement* element = manager.Find(name)) {
    for (const auto& value : element->values) list.push_back(zel::ToLower(zel::Trim(value)));
  }
  return list;
}

void AddUnique(std::vector<std::wstring>& list, const std::wstring& id) {
  if (std::find(list.begin(), list.end(), id) == list.end()) list.push_back(id);
}

Outcome RunListCommand(Session& session, const CommandArgs& args, std::wstring_view name) {
  ListEdit edit = ListEdit::kReplace;
  std::vector<std::wstring> typed;
  for (const auto& arg : args) {
    if (!arg.empty() && arg[0] == L'/') {
      if (edit != ListEdit::kReplace || !ReadListSwitch(arg, edit)) return Failure(messages::kBadOptions);
    } else {
      typed.push_back(arg);
    }
  }
  if (typed.empty() || (edit != ListEdit::kReplace && typed.size() != 1)) {
    return Failure(messages::kBadOptions);
  }
  BcdObject* manager = session.store.FindObject(kBootManagerId);
  if (manager == nullptr) return Failure(messages::kEntryNotFound);

  std::vector<std::wstring> ids;
  for (const auto& text : typed) {
    std::wstring id;
    const std::wstring_view failure = ResolveListItem(session, text, edit, id);
    if (!failure.empty()) return Failure(failure);
    AddUnique(ids, id);  // duplicates collapse, the first mention keeps its place
  }

  std::vector<std::wstring> list = CurrentList(*manager, name);
  if (edit != ListEdit::kReplace) std::erase(list, ids.front());  // an entry already listed moves
  switch (edit) {
    case ListEdit::kReplace:
      list = ids;
      break;
    case ListEdit::kAddFirst:
      list.insert(list.begin(), ids.front());
      break;
    case ListEdit::kAddLast:
      list.push_back(ids.front());
      break;
    case ListEdit::kRemove:
      break;
  }
  // The tool deletes a list element that loses its last value.
  if (list.empty()) {
    RemoveElement(*manager, name);
  } else {
    PutElement(*manager, name, std::move(list));
  }
  return Done(session);
}

}  // namespace

Outcome RunDefault(Session& session, const CommandArgs& args) {
  if (args.size() != 1) return Failure(messages::kBadOptions);
  const Resolved entry = ResolveIdentifier(session.store, args[0], session.systemStore);
  if (entry.lookup != Lookup::kFound) return Failure(LookupMessage(entry.lookup));
  BcdObject* manager = session.store.FindObject(kBootManagerId);
  if (manager == nullptr) return Failure(messages::kEntryNotFound);
  PutElement(*manager, L"default", {entry.id});
  return Done(session);
}

Outcome RunTimeout(Session& session, const CommandArgs& args) {
  if (args.size() != 1) return Failure(messages::kBadOptions);
  std::wstring seconds;
  if (!NormalizeInteger(args[0], seconds)) return Failure(messages::kBadInteger);
  BcdObject* manager = session.store.FindObject(kBootManagerId);
  if (manager == nullptr) return Failure(messages::kEntryNotFound);
  PutElement(*manager, L"timeout", {seconds});
  return Done(session);
}

Outcome RunDisplayOrder(Session& session, const CommandArgs& args) {
  return RunListCommand(session, args, L"displayorder");
}

Outcome RunBootSequence(Session& session, const CommandArgs& args) {
  return RunListCommand(session, args, L"bootsequence");
}

Outcome RunToolsDisplayOrder(Session& session, const CommandArgs& args) {
  return RunListCommand(session, args, L"toolsdisplayorder");
}

}  // namespace sim
