#pragma once
// Lets a failed expectation show a fault's kind and detail.
#include <ostream>
#include <string>

#include "core/fault.h"

namespace zel {

inline void PrintTo(const Fault& fault, std::ostream* out) {
  *out << "Fault{" << static_cast<int>(fault.kind) << ", \"";
  for (wchar_t c : fault.detail) *out << (c < 0x80 ? static_cast<char>(c) : '?');
  *out << "\"}";
}

}  // namespace zel
