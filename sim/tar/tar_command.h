#pragma once
// The simulated tar: the three forms our program runs, on real files.
//   -a -cf ARCHIVE.zip -C DIR .     pack everything under DIR
//   -tf ARCHIVE                     print one member name per line
//   -xf ARCHIVE -C DIR              unpack into DIR, refusing unsafe names
// Files are reached through std::filesystem, so the same code runs on both
// build trees; paths are native ones (Windows paths under Wine).
#include <string>
#include <string_view>
#include <vector>

#include "sim/common/outcome.h"

namespace sim {

// Runs one tar invocation. Messages follow the real tool's "tar: ..." lines;
// exit code 0 on success, 1 on any failure.
Outcome ExecuteTar(const std::vector<std::wstring>& args);

// Why a member name must not be extracted ("Path contains '..'", "Path is
// absolute", ...), or empty when it is safe. Backslashes count as separators,
// as they do on Windows, and a step of dots and blanks with two or more dots
// counts as "..", since Windows drops trailing dots and blanks from names.
std::string_view UnsafeMemberReason(std::string_view name);

}  // namespace sim
