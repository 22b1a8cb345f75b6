#pragma once
// The process-wide language flag. Written on the UI thread only (never while a
// job runs); the core never reads it: what it reports is worded here, at the edge.
#include <atomic>

namespace zel {

extern std::atomic<bool> g_vietnamese;  // true = Vietnamese (the default), false = English

// Picks the member of a text pair for the current language.
inline const wchar_t* Pick(const wchar_t* vietnamese, const wchar_t* english) {
  return g_vietnamese.load(std::memory_order_relaxed) ? vietnamese : english;
}

}  // namespace zel
