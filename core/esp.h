#pragma once
// The EFI System Partition, mounted at a temporary drive letter for one job.
#include <string>

#include "core/fault.h"

namespace zel {

// Mounts the partition at the highest free letter from Z: down to D:.
bool MountEsp(std::wstring& mountLetter, Fault& error);
void UnmountEsp(const std::wstring& mountLetter);

// Holds a mount for one operation and removes it on every path: explicitly with
// Release() as soon as the tool is done, or when the holder goes out of scope.
class EspMount {
 public:
  EspMount() = default;
  ~EspMount() { Release(); }
  EspMount(const EspMount&) = delete;
  EspMount& operator=(const EspMount&) = delete;

  bool Mount(Fault& error) { return MountEsp(letter_, error); }
  const std::wstring& Letter() const { return letter_; }
  void Release() {
    if (!letter_.empty()) UnmountEsp(letter_);
    letter_.clear();
  }

 private:
  std::wstring letter_;
};

}  // namespace zel
