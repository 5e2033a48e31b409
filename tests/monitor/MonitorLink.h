#pragma once
#include <vector>

#include "tests/support/FakeInstrumentLink.h"

namespace varnok::testing {

// The shared fake link as the monitor tests set it up: a command the script does not answer fails
// with -1, and the bytes past a reply hold a marker, so code that reads past the reply shows wrong
// values.
struct MonitorLink : FakeInstrumentLink {
  static constexpr std::uint8_t kBeyondReply = 0x42;  // 0x42424242 reads as 48.56 as a float
  MonitorLink() {
    defaultReply = {-1, {}};
    beyondReply = kBeyondReply;
  }
};

// A (200, 60) reply in which value k is `base + k`.
inline Bytes BlockOf60(float base) {
  std::vector<float> values(60);
  for (int k = 0; k < 60; ++k) values[k] = base + static_cast<float>(k);
  return FloatBytes(values);
}

}  // namespace varnok::testing
