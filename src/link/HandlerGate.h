#pragma once
#include <algorithm>
#include <deque>
#include <exception>
#include <functional>
#include <string>

namespace varnok {

// The order in which the window's handlers reach the instrument. A handler that talks to the link runs
// to its end before the next one starts, even while its exchanges wait and the window goes on serving
// the technician: a click that arrives meanwhile runs afterwards, in the order of the clicks, and a timer
// tick that falls due meanwhile is dropped, except that one tick of each timer waits and runs afterwards
// (a window blocked by the exchange behaved the same way). So the commands of one handler keep their
// order and no other handler's command comes between them.
class HandlerGate {
 public:
  using Handler = std::function<void()>;
  // Shows a handler's failure (a conversion failure, a file that cannot be read) in the one error display.
  using FailureReport = std::function<void(const std::string& message)>;

  // Runs `handler` now when no handler is running, else queues it behind the running one.
  void Run(Handler handler);
  // A tick of `timer`: runs now when no handler is running; otherwise it waits, unless a tick of the same
  // timer already waits, in which case it is dropped.
  void Tick(const void* timer, Handler handler);
  // True while a handler runs (including its waits).
  bool Busy() const { return running_; }
  // Handlers waiting behind the running one.
  std::size_t Waiting() const { return queue_.size(); }

  // With a report, a handler's exception ends that handler only; it is reported and the next one runs.
  // Without one, the exception leaves Run (the gate stays usable).
  void SetFailureReport(FailureReport report) { report_ = std::move(report); }

 private:
  struct Entry {
    const void* timer;
    Handler handler;
  };
  void Drain();

  std::deque<Entry> queue_;
  bool running_ = false;
  FailureReport report_;
};

// Kept in the header: every feature library includes the link interface without linking the link.
inline void HandlerGate::Run(Handler handler) {
  queue_.push_back({nullptr, std::move(handler)});
  if (!running_) Drain();
}

inline void HandlerGate::Tick(const void* timer, Handler handler) {
  if (running_) {
    const bool waiting =
        std::any_of(queue_.begin(), queue_.end(), [timer](const Entry& e) { return e.timer == timer; });
    if (!waiting) queue_.push_back({timer, std::move(handler)});
    return;
  }
  queue_.push_back({timer, std::move(handler)});
  Drain();
}

inline void HandlerGate::Drain() {
  struct Running {
    bool& flag;
    explicit Running(bool& f) : flag(f) { flag = true; }
    ~Running() { flag = false; }
  } running(running_);
  while (!queue_.empty()) {
    Handler handler = std::move(queue_.front().handler);
    queue_.pop_front();
    if (!report_) {
      handler();
      continue;
    }
    try {
      handler();
    } catch (const std::exception& e) {
      report_(e.what());
    } catch (...) {
      report_("Unexpected failure");
    }
  }
}

}  // namespace varnok
