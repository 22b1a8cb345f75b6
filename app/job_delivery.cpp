#include "app/job_delivery.h"

namespace app {

bool DeliverCompletion(std::unique_ptr<Completion> completion, const std::function<bool(Completion*)>& post, int attempts,
                       const std::function<void()>& pause, std::atomic<bool>& lost) {
  for (int attempt = 0; attempt < attempts; ++attempt) {
    if (attempt > 0) pause();
    if (post(completion.get())) {
      completion.release();  // the receiver frees it
      return true;
    }
  }
  lost.store(true);
  return false;
}

}  // namespace app
