#pragma once
// The elements that the write commands know: their names, the objects they
// apply to and the values they take. Typed values are checked and turned into
// the text bcdedit prints for them ("Yes", "partition=D:", lower-case GUIDs).
#include <string>
#include <string_view>
#include <vector>

#include "sim/bcdedit/store.h"

namespace sim {

// What an object is, told by its title; decides which elements apply to it.
enum ObjectKind : unsigned {
  kBootManagerKind = 1,    // Windows Boot Manager, Firmware Boot Manager
  kOsLoaderKind = 2,       // Windows Boot Loader, Boot Loader Settings
  kDeviceOptionsKind = 4,  // Device options
  kOtherKind = 8,          // every other application or settings object
  kAnyKind = 15,           // library elements apply to all of them
};

ObjectKind KindOf(const BcdObject& object);

// The firmware's objects, by title as well: its boot manager ({fwbootmgr}), and
// the applications it starts, which are all its lists may name: the Windows
// Boot Manager and the "Firmware Application (101fffff)" objects.
bool IsFirmwareBootManager(const BcdObject& object);
bool IsFirmwareApplication(const BcdObject& object);

enum class ValueType {
  kText,        // kept as typed
  kBoolean,     // yes/no/on/off/true/false/1/0, printed Yes or No
  kInteger,     // decimal digits, printed without leading zeros
  kChoice,      // one word of `choices`, printed as spelled there
  kDevice,      // boot, partition=X:, ramdisk=[X:]\path,{options}
  kObject,      // one identifier of an existing object
  kObjectList,  // one or more identifiers of existing objects
  // One or more identifiers that need not name objects of this store: a new
  // store has no {bootloadersettings}, yet a new loader inherits from it.
  kReferenceList,
};

struct ElementInfo {
  std::wstring_view name;  // as bcdedit prints it
  unsigned kinds;          // ObjectKind bits
  ValueType type;
  std::wstring_view choices;  // kChoice only: the accepted words, separated by '|'
};

// The element of this name (any case) that applies to the object; null when
// the simulator does not know the name or the element does not apply there.
const ElementInfo* FindElement(std::wstring_view name, const BcdObject& object);

// Checks the values typed for an element and gives them as the store keeps
// them; identifiers (aliases, {default}, {current} included) become lower-case
// GUIDs of existing objects. On failure returns bcdedit's message and leaves
// `values` untouched; on success returns an empty view.
std::wstring_view NormalizeValues(const ElementInfo& element, const std::vector<std::wstring>& typed,
                                  const BcdStore& store, bool systemStore,
                                  std::vector<std::wstring>& values);

// A text value as the store keeps it: leading blanks dropped (the file cannot
// hold them); false for a text with a line break.
bool NormalizeText(std::wstring_view text, std::wstring& value);

// A decimal number without sign or leading zeros; false when `text` is not one
// or does not fit in 64 bits.
bool NormalizeInteger(std::wstring_view text, std::wstring& value);

// Sets an element, replacing an element of the same name (any case) in place.
// A new element goes where bcdedit lists it: before the first known element
// that comes after it in the listing order, else at the end.
void PutElement(BcdObject& object, std::wstring_view name, std::vector<std::wstring> values);
void RemoveElement(BcdObject& object, std::wstring_view name);

}  // namespace sim
