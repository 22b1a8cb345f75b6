#include "core/language.h"

namespace zel {

std::atomic<bool> g_vietnamese{true};

}  // namespace zel
