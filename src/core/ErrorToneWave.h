#pragma once
#include <vector>

namespace varnok {

inline constexpr double kErrorToneHz = 2200.0;
inline constexpr int kErrorToneMs = 50;

// The error tone as samples in -1..1 (2200 Hz, 50 ms, a 3 ms fade at both ends against clicks).
std::vector<float> ErrorToneWave(int sampleRate);

}  // namespace varnok
