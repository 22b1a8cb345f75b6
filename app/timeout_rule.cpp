#include <cstdint>

#include "app/actions.h"
#include "core/text.h"

namespace app {

bool ParseTimeoutText(const std::wstring& text, int& seconds) {
  int32_t value = 0;
  // Taken as unsigned, a negative value is huge: only 0..3600 pass.
  if (!zel::ParseInt32(zel::Trim(text), value) || static_cast<uint32_t>(value) > 3600u) return false;
  seconds = value;
  return true;
}

}  // namespace app
