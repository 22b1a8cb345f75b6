// Making objects and stores:
//   bcdedit /create [<identifier>] /d <description> [/application <type> | /device]
//   bcdedit /createstore <file>
#include "core/text.h"
#include "sim/bcdedit/elements.h"
#include "sim/bcdedit/identifiers.h"
#include "sim/bcdedit/messages.h"
#include "sim/bcdedit/session.h"

namespace sim {
namespace {

struct Application {
  std::wstring_view type;   // the word after /application
  std::wstring_view title;  // the type line the listing prints
};

constexpr Application kApplications[] = {
    {L"osloader", L"Windows Boot Loader"},
    {L"bootsector", L"Real-mode Boot Sector"},
    {L"resume", L"Resume from Hibernate"},
};

std::wstring ApplicationTitle(const std::wstring& type) {
  const std::wstring lower = zel::ToLower(type);
  for (const auto& application : kApplications) {
    if (application.type == lower) return std::wstring(application.title);
  }
  return {};
}

struct CreateRequest {
  std::wstring identifier;  // as typed; empty: a new GUID
  std::wstring description;
  bool hasDescription = false;
  std::wstring title;  // from /application or /device; empty when neither was given
};

bool ReadCreateArgs(const CommandArgs& args, CreateRequest& request) {
  size_t i = 0;
  if (!args.empty() && !args[0].empty() && args[0][0] == L'{') request.identifier = args[i++];
  for (; i < args.size(); ++i) {
    const std::wstring lower = zel::ToLower(args[i]);
    const bool hasNext = i + 1 < args.size();
    if (lower == L"/d" && hasNext && !request.hasDescription) {
      request.description = args[++i];
      request.hasDescription = true;
    } else if (lower == L"/application" && hasNext && request.title.empty()) {
      request.title = ApplicationTitle(args[++i]);
      if (request.title.empty()) return false;
    } else if (lower == L"/device" && request.title.empty()) {
      request.title = L"Device options";
    } else {
      return false;
    }
  }
  return request.hasDescription;
}

}  // namespace

Outcome RunCreate(Session& session, const CommandArgs& args) {
  CreateRequest request;
  if (!ReadCreateArgs(args, request)) return Failure(messages::kBadOptions);
  std::wstring description;
  if (!NormalizeText(request.description, description)) return Failure(messages::kBadValue);

  BcdStore& store = session.store;
  std::wstring id;
  std::wstring title = request.title;
  if (request.identifier.empty()) {
    if (title.empty()) return Failure(messages::kBadOptions);
    id = NewObjectGuid(store);
  } else {
    const std::wstring& typed = request.identifier;
    id = IsBraceGuid(typed) ? zel::ToLower(typed) : WellKnownGuid(typed);
    if (id.empty()) return Failure(messages::kBadIdentifier);
    // A well-known object has a fixed type; any other identifier needs one.
    const std::wstring fixedTitle = WellKnownTitle(id);
    if (fixedTitle.empty() == title.empty()) return Failure(messages::kBadOptions);
    if (title.empty()) title = fixedTitle;
    if (store.FindObject(id) != nullptr) return Failure(messages::kEntryExists);
  }
  store.objects.push_back({id, title, {{L"description", {description}}}});
  session.changed = true;
  return {0, L"The entry " + id + L" was successfully created.\r\n"};
}

Outcome RunCreateStore(Session& session, const CommandArgs& args) {
  // The store named here is the one made; /store cannot name another.
  if (!session.systemStore || args.size() != 1 || args[0].empty()) return Failure(messages::kBadOptions);
  const StoreFiles& files = session.files;
  std::string existing;
  if (files.read && files.read(args[0], existing)) return Failure(messages::kStoreFileExists);
  if (!files.write || !files.write(args[0], SaveStore(BcdStore{}))) {
    return Failure(messages::kStoreNotCreated);
  }
  return {0, std::wstring(messages::kSuccess)};
}

}  // namespace sim
