#include "app/LinkThreadWaiter.h"

#include <atomic>
#include <chrono>
#include <memory>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

namespace varnok {

LinkThreadWaiter::LinkThreadWaiter(std::function<void(bool)> busyChanged)
    : busyChanged_(std::move(busyChanged)), thread_([this] { Run(); }) {}

LinkThreadWaiter::~LinkThreadWaiter() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  // What is queued still runs (a close of the link lingers at most its linger time).
  thread_.join();
}

void LinkThreadWaiter::Run() {
  for (;;) {
    std::function<void()> job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (jobs_.empty()) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    job();
  }
}

void LinkThreadWaiter::Enqueue(std::function<void()> job) {
  {
    std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
  }
  wake_.notify_one();
}

void LinkThreadWaiter::RunPosted() {
  for (;;) {
    std::function<void()> update;
    {
      std::lock_guard lock(mutex_);
      if (posted_.empty()) return;
      update = std::move(posted_.front());
      posted_.pop_front();
    }
    update();
  }
}

void LinkThreadWaiter::Wait(const std::function<void()>& exchange) {
  if (depth_ > 0) ++nestedWaits_;
  ++depth_;
  if (busyChanged_) busyChanged_(true);
  auto done = std::make_shared<std::atomic<bool>>(false);
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(QThread::currentThread());
  Enqueue([&exchange, done, dispatcher] {
    exchange();
    done->store(true);
    if (dispatcher != nullptr) dispatcher->wakeUp();
  });
  while (!done->load()) {
    RunPosted();
    if (dispatcher != nullptr) {
      QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  RunPosted();
  --depth_;
  if (busyChanged_) busyChanged_(false);
}

void LinkThreadWaiter::Post(std::function<void()> update) {
  {
    std::lock_guard lock(mutex_);
    posted_.push_back(std::move(update));
  }
  if (auto* dispatcher = QCoreApplication::instance() != nullptr
                             ? QAbstractEventDispatcher::instance(QCoreApplication::instance()->thread())
                             : nullptr) {
    dispatcher->wakeUp();
  }
}

void LinkThreadWaiter::Later(std::function<void()> work) { Enqueue(std::move(work)); }

}  // namespace varnok
