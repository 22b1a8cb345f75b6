#pragma once
// Sets the language for one test and puts the previous one back, even when an assertion ends the test early.
#include "ui/language.h"

namespace zel::test {

class LanguageGuard {
 public:
  explicit LanguageGuard(bool vietnamese) : saved_(g_vietnamese) { g_vietnamese = vietnamese; }
  ~LanguageGuard() { g_vietnamese = saved_; }
  LanguageGuard(const LanguageGuard&) = delete;
  LanguageGuard& operator=(const LanguageGuard&) = delete;

 private:
  bool saved_;
};

}  // namespace zel::test
