#include "core/platform.h"

namespace zel {
namespace {
Platform* g_override = nullptr;
}  // namespace

Platform& CurrentPlatform() { return g_override ? *g_override : DefaultPlatform(); }

ScopedPlatform::ScopedPlatform(Platform& platform) : previous_(g_override) { g_override = &platform; }

ScopedPlatform::~ScopedPlatform() { g_override = previous_; }

}  // namespace zel
