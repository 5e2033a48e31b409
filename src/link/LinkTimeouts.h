#pragma once
#include <chrono>

namespace varnok {

// Every time limit of the link in one place. The defaults are the instrument's; tests shorten them.
struct LinkTimeouts {
  // Each wait for the socket to become writable or readable.
  std::chrono::milliseconds tcpWait{4000};
  // The whole TCP connect (a bound of our own, about Windows' default, instead of Linux's two minutes).
  std::chrono::milliseconds tcpConnect{21000};
  // A serial read of n bytes may take n * serialPerByte + serialConstant.
  std::chrono::milliseconds serialPerByte{5};
  std::chrono::milliseconds serialConstant{1000};
};

}  // namespace varnok
