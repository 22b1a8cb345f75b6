#pragma once
// Turns bcdedit's verbose listing (/enum all /v) into a BcdSnapshot. Any text is
// accepted: what is not recognised yields fewer entries, never an error.
#include <string>
#include <vector>

#include "core/bcd_model.h"

namespace zel {

// One object section of the listing: its identifier and its lines, identifier line first.
struct ObjectBlock {
  std::wstring identifier;
  std::vector<std::wstring> lines;
};

struct KeyValue {
  std::wstring key;  // lower case
  std::wstring value;
};

// The key is the first run of characters that are not blanks or tabs, wherever it
// starts (lower-cased); the value is the trimmed rest after the following blanks.
KeyValue ParseKeyValue(const std::wstring& line);
bool IsBootManagerBlock(const ObjectBlock& block);
// Cuts the listing into object sections; lines before the first section are dropped.
std::vector<ObjectBlock> SplitIntoBlocks(const std::wstring& listing);

// Fills the boot manager settings and entries of `snapshot` from a listing.
// `defaultId` and `currentId` may already be set (from /enum {default} and
// {current}); the boot manager's own default element overrides the former.
void ParseListing(const std::wstring& listing, BcdSnapshot& snapshot);

}  // namespace zel
