#pragma once
// Runs `work` on a thread of its own when one can be had, else at once; the
// destructor waits for it. For independent steps of one job on a worker thread.
#include <functional>
#include <system_error>
#include <thread>

namespace zel {

class Concurrently {
 public:
  explicit Concurrently(const std::function<void()>& work) {
    try {
      thread_ = std::thread(work);
    } catch (const std::system_error&) {
      work();
    }
  }
  ~Concurrently() {
    if (thread_.joinable()) thread_.join();
  }
  Concurrently(const Concurrently&) = delete;
  Concurrently& operator=(const Concurrently&) = delete;

 private:
  std::thread thread_;
};

}  // namespace zel
