#include "core/ErrorToneWave.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace varnok {

std::vector<float> ErrorToneWave(int sampleRate) {
  if (sampleRate <= 0) return {};
  const int frames = sampleRate * kErrorToneMs / 1000;
  const double fade = sampleRate * 0.003;
  std::vector<float> wave(static_cast<std::size_t>(frames));
  for (int i = 0; i < frames; ++i) {
    const double edge = std::min({1.0, i / fade, (frames - 1 - i) / fade});
    wave[static_cast<std::size_t>(i)] =
        static_cast<float>(0.5 * edge * std::sin(2.0 * std::numbers::pi * kErrorToneHz * i / sampleRate));
  }
  return wave;
}

}  // namespace varnok
