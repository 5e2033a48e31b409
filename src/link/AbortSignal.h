#pragma once
#include <functional>
#include <mutex>

namespace varnok {

// Lets another thread end a wait of the link at once: releasing Connect while the instrument is silent
// must not leave the technician waiting for the time-out. A wait enters with the function that stops
// it; Abort calls that function, and every later wait fails at once until Reset.
class AbortSignal {
 public:
  // Any thread.
  void Abort() {
    std::lock_guard lock(mutex_);
    aborted_ = true;
    if (stop_) stop_();
  }
  bool Aborted() const {
    std::lock_guard lock(mutex_);
    return aborted_;
  }
  void Reset() {
    std::lock_guard lock(mutex_);
    aborted_ = false;
  }
  // The waiting thread: false (and nothing installed) when the signal was already given.
  bool Enter(std::function<void()> stop) {
    std::lock_guard lock(mutex_);
    if (aborted_) return false;
    stop_ = std::move(stop);
    return true;
  }
  // The waiting thread, after the wait: true unless the signal was given meanwhile.
  bool Leave() {
    std::lock_guard lock(mutex_);
    stop_ = nullptr;
    return !aborted_;
  }

 private:
  mutable std::mutex mutex_;
  bool aborted_ = false;
  std::function<void()> stop_;
};

}  // namespace varnok
