#pragma once
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "link/ExchangeWaiter.h"

namespace varnok {

// The window's waiter. Every exchange, lookup, connection attempt and close runs on one link thread, in
// the order given; the user-interface thread serves its events while an exchange waits (repaints,
// resizing, tab switches, scrolling), so the window never stops responding. What runs meanwhile is kept
// in order by the handler gate. `busyChanged` is told when a wait begins and when it ends.
class LinkThreadWaiter final : public ExchangeWaiter {
 public:
  explicit LinkThreadWaiter(std::function<void(bool waiting)> busyChanged = {});
  ~LinkThreadWaiter() override;
  LinkThreadWaiter(const LinkThreadWaiter&) = delete;
  LinkThreadWaiter& operator=(const LinkThreadWaiter&) = delete;

  void Wait(const std::function<void()>& exchange) override;
  void Post(std::function<void()> update) override;
  void Later(std::function<void()> work) override;

  // Waits that began while another one was waiting (none, by design: the handler gate rules them out).
  int NestedWaits() const { return nestedWaits_; }

 private:
  void Run();
  void Enqueue(std::function<void()> job);
  void RunPosted();

  std::function<void(bool)> busyChanged_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  std::deque<std::function<void()>> posted_;
  bool stopping_ = false;
  int depth_ = 0;
  int nestedWaits_ = 0;
  std::thread thread_;
};

}  // namespace varnok
