#include "sim/bcdboot/boot_entries.h"

#include <algorithm>

#include "core/text.h"
#include "sim/bcdedit/elements.h"
#include "sim/bcdedit/identifiers.h"

namespace sim {
namespace {

constexpr wchar_t kLoaderTitle[] = L"Windows Boot Loader";
// What the real tool names a Windows it adds; the user renames it later if needed.
constexpr wchar_t kLoaderDescription[] = L"Windows 11";

bool Same(const std::wstring& a, const std::wstring& b) { return zel::EqualsNoCase(a, b); }

std::wstring LoaderPath(Firmware firmware) {
  return firmware == Firmware::kUefi ? L"\\Windows\\system32\\winload.efi" : L"\\Windows\\system32\\winload.exe";
}

void EnsureBootManager(BcdStore& store, const WindowsBoot& boot) {
  if (store.FindObject(kBootManagerId) != nullptr) return;
  BcdObject manager{std::wstring(kBootManagerId), L"Windows Boot Manager", {}};
  if (!boot.systemDrive.empty()) PutElement(manager, L"device", {L"partition=" + boot.systemDrive});
  PutElement(manager, L"path", {boot.firmware == Firmware::kUefi ? L"\\EFI\\Microsoft\\Boot\\bootmgfw.efi" : L"\\bootmgr"});
  PutElement(manager, L"description", {L"Windows Boot Manager"});
  PutElement(manager, L"locale", {boot.locale});
  PutElement(manager, L"inherit", {WellKnownGuid(L"{globalsettings}")});
  PutElement(manager, L"timeout", {L"30"});
  // The boot manager leads the store, as /enum all lists it first.
  store.objects.insert(store.objects.begin(), std::move(manager));
}

// The loader that already starts this Windows (not a WinPE entry), if any.
BcdObject* FindLoader(BcdStore& store, const std::wstring& windowsDrive) {
  for (auto& object : store.objects) {
    if (object.title == kLoaderTitle && Same(object.FirstValue(L"osdevice"), L"partition=" + windowsDrive) &&
        Same(object.FirstValue(L"systemroot"), L"\\Windows") && !Same(object.FirstValue(L"winpe"), L"Yes")) {
      return &object;
    }
  }
  return nullptr;
}

// Where Windows is and how to start it; a refreshed entry keeps its description and settings.
void PutLocation(BcdObject& loader, const WindowsBoot& boot) {
  PutElement(loader, L"device", {L"partition=" + boot.windowsDrive});
  PutElement(loader, L"path", {LoaderPath(boot.firmware)});
  PutElement(loader, L"osdevice", {L"partition=" + boot.windowsDrive});
  PutElement(loader, L"systemroot", {L"\\Windows"});
}

std::wstring AddLoader(BcdStore& store, const WindowsBoot& boot) {
  BcdObject loader{NewObjectGuid(store), kLoaderTitle, {}};
  PutLocation(loader, boot);
  PutElement(loader, L"description", {kLoaderDescription});
  PutElement(loader, L"locale", {boot.locale});
  PutElement(loader, L"inherit", {WellKnownGuid(L"{bootloadersettings}")});
  PutElement(loader, L"recoveryenabled", {L"No"});
  PutElement(loader, L"nx", {L"OptIn"});
  PutElement(loader, L"bootmenupolicy", {L"Standard"});
  store.objects.push_back(std::move(loader));
  return store.objects.back().id;
}

}  // namespace

Firmware FirmwareOfStore(const BcdStore& store) {
  const BcdObject* manager = store.FindObject(kBootManagerId);
  const std::wstring path = manager ? zel::ToLower(manager->FirstValue(L"path")) : std::wstring();
  const bool bios = !path.empty() && !(path.size() >= 4 && path.compare(path.size() - 4, 4, L".efi") == 0);
  return bios ? Firmware::kBios : Firmware::kUefi;
}

std::wstring RegisterWindows(BcdStore& store, const WindowsBoot& boot) {
  EnsureBootManager(store, boot);
  std::wstring id;
  if (BcdObject* existing = FindLoader(store, boot.windowsDrive)) {
    PutLocation(*existing, boot);
    id = existing->id;
  } else {
    id = AddLoader(store, boot);
  }

  BcdObject& manager = *store.FindObject(kBootManagerId);  // after the append, which may move objects
  std::vector<std::wstring> order;
  if (const BcdElement* listed = manager.Find(L"displayorder")) order = listed->values;
  order.erase(std::remove_if(order.begin(), order.end(), [&](const std::wstring& entry) { return Same(entry, id); }),
              order.end());
  order.insert(order.begin(), id);
  PutElement(manager, L"displayorder", std::move(order));
  if (!boot.keepDefault || DefaultEntryId(store).empty()) PutElement(manager, L"default", {id});
  return id;
}

}  // namespace sim
