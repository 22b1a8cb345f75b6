#pragma once
// How a worker hands its result to the UI thread. The UI thread's queue can
// refuse a post (it is full), so a refused post is tried again a few times; a
// result that still cannot go is freed and the loss recorded, for the UI thread
// to notice and leave the busy state instead of waiting for it for ever.
#include <atomic>
#include <functional>
#include <memory>

namespace app {

using Completion = std::function<void()>;

// True when `post` accepted the completion, which then belongs to the receiver.
// Otherwise, after `attempts` refusals with `pause` between them, the completion
// is freed here and `lost` is set.
bool DeliverCompletion(std::unique_ptr<Completion> completion, const std::function<bool(Completion*)>& post, int attempts,
                       const std::function<void()>& pause, std::atomic<bool>& lost);

}  // namespace app
