#include "calibration/PagePopulator.h"

#include "calibration/ReservedMemory.h"

namespace varnok {

PagePopulator::PagePopulator() {
  thread_ = std::thread([this] {
    std::unique_lock lock(mutex_);
    while (true) {
      changed_.wait(lock, [this] { return stop_ || !ranges_.empty(); });
      if (stop_) return;
      const auto [at, bytes] = ranges_.front();
      ranges_.pop_front();
      lock.unlock();
      PopulateMemory(at, bytes);
      lock.lock();
    }
  });
}

PagePopulator::~PagePopulator() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void PagePopulator::Post(void* at, std::size_t bytes) {
  {
    std::lock_guard lock(mutex_);
    ranges_.emplace_back(at, bytes);
  }
  changed_.notify_one();
}

}  // namespace varnok
