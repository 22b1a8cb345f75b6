#include "ui/language.h"

namespace zel {

std::atomic<bool> g_vietnamese{true};

}  // namespace zel
