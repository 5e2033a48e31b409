#include <pthread.h>

#include <csignal>

#include "tools/varnok-sim/StopRequest.h"

namespace varnok::sim {

namespace {

sigset_t StopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

}  // namespace

StopRequest::StopRequest() {
  const sigset_t set = StopSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void StopRequest::Wait() {
  const sigset_t set = StopSignals();
  int signal = 0;
  sigwait(&set, &signal);
}

}  // namespace varnok::sim
