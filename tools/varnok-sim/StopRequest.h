#pragma once

namespace varnok::sim {

// The request to end the program, as the platform delivers it: SIGINT or SIGTERM on POSIX systems;
// Ctrl+C, Ctrl+Break, the console window closing or the session ending on Windows.
// One implementation file per platform. Make it before any thread starts (POSIX: the signals are
// blocked for every thread started later, so only Wait sees them).
class StopRequest {
 public:
  StopRequest();
  StopRequest(const StopRequest&) = delete;
  StopRequest& operator=(const StopRequest&) = delete;

  // Blocks until the request arrives.
  void Wait();
};

}  // namespace varnok::sim
