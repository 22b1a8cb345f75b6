#pragma once
// bcdedit's listing of objects: the text that /enum prints.
#include <string>
#include <vector>

#include "sim/bcdedit/store.h"

namespace sim {

// How GUIDs are shown. The verbose listing prints every GUID as it is; the
// short one shows {current}, {default} and the fixed aliases in their place.
struct ListingStyle {
  bool verbose = true;
  std::wstring currentId;  // empty for a store that is not the running system's
  std::wstring defaultId;
};

// The listing of `objects`, in the given order: an empty line first, then per
// object its title, a dashes line as long as the title, the identifier line
// and one line per element, element names in a 24-character column, further
// list values on their own indented lines; one empty line between objects;
// CR LF line ends.
std::wstring FormatListing(const std::vector<const BcdObject*>& objects, const ListingStyle& style);

}  // namespace sim
