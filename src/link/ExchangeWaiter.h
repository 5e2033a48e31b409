#pragma once
#include <functional>

namespace varnok {

// How the command layer waits for the link. Every exchange, name lookup, connection attempt and close
// goes through here. The window's waiter runs them on a link thread of its own and keeps the window
// painting meanwhile; the command-line client and the tests run them in place.
class ExchangeWaiter {
 public:
  virtual ~ExchangeWaiter() = default;
  // Runs `exchange` and returns when it has ended. Exchanges run one at a time, in the order given.
  virtual void Wait(const std::function<void()>& exchange) = 0;
  // From inside an exchange: `update` runs on the waiting thread, in order, before Wait returns.
  virtual void Post(std::function<void()> update) = 0;
  // Runs `work` after every exchange already given, without waiting for it (closing a link whose peer
  // stopped reading may linger for seconds). `work` must own what it uses.
  virtual void Later(std::function<void()> work) = 0;
};

// Runs everything at once on the caller's thread.
class InlineWaiter final : public ExchangeWaiter {
 public:
  void Wait(const std::function<void()>& exchange) override { exchange(); }
  void Post(std::function<void()> update) override { update(); }
  void Later(std::function<void()> work) override { work(); }
};

}  // namespace varnok
