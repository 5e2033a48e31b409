#pragma once
#include <asio.hpp>
#include <functional>
#include <memory>

#include "tools/varnok-sim/ReplyPlan.h"

namespace varnok::sim {

// Carries out the steps of a plan one after the other on `stream`: waits each step's pause, writes its
// bytes. Calls `done` after the last write, or `stop` with the action of the first step that is not a
// write (or kClose when a write fails). `keepAlive` holds the session while the plan runs.
template <typename Stream>
void RunPlan(Stream& stream, asio::steady_timer& timer, std::shared_ptr<Plan> plan, std::size_t i,
             std::shared_ptr<void> keepAlive, std::function<void()> done,
             std::function<void(Step::Action)> stop) {
  if (i == plan->size()) {
    done();
    return;
  }
  auto go = [&stream, &timer, plan, i, keepAlive, done, stop]() {
    Step& step = (*plan)[i];
    if (step.action != Step::Action::kWrite) {
      stop(step.action);
      return;
    }
    asio::async_write(stream, asio::buffer(step.bytes),
                      [&stream, &timer, plan, i, keepAlive, done, stop](std::error_code ec, std::size_t) {
                        if (ec) {
                          stop(Step::Action::kClose);
                          return;
                        }
                        RunPlan(stream, timer, plan, i + 1, keepAlive, done, stop);
                      });
  };
  if ((*plan)[i].delay.count() > 0) {
    timer.expires_after((*plan)[i].delay);
    timer.async_wait([go](std::error_code ec) {
      if (!ec) go();
    });
  } else {
    go();
  }
}

}  // namespace varnok::sim
