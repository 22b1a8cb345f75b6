#pragma once
// The user's words for what the core reported, in the language in use: called on
// the UI thread when a job's result arrives.
#include <string>

#include "core/fault.h"

namespace app {

std::wstring FaultText(const zel::Fault& fault);

}  // namespace app
