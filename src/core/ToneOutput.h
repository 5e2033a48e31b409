#pragma once
#include <memory>

namespace varnok {

// The error tone: 2200 Hz for 50 ms, returning when it has ended. Tests count tones with a fake.
class ToneOutput {
 public:
  virtual ~ToneOutput() = default;
  virtual void PlayErrorTone() = 0;
};

// The platform's sound: a generated tone on the default audio output, or the system's alert sound
// where there is no audio output.
std::unique_ptr<ToneOutput> MakeSystemToneOutput();

}  // namespace varnok
