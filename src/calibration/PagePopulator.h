#pragma once
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

namespace varnok {

// Backs committed memory with pages on a thread of its own (see PopulateMemory), so that whoever fills
// that memory next finds it ready instead of waiting for each first touch. Backing only takes pages:
// what the memory holds is never changed, so it may go on while the memory is written.
class PagePopulator {
 public:
  PagePopulator();
  // Drops what is not yet done and waits for the thread: the memory handed over must stay mapped until
  // then.
  ~PagePopulator();
  PagePopulator(const PagePopulator&) = delete;
  PagePopulator& operator=(const PagePopulator&) = delete;

  void Post(void* at, std::size_t bytes);

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::pair<void*, std::size_t>> ranges_;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace varnok
