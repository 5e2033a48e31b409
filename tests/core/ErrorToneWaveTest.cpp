#include <cmath>

#include <gtest/gtest.h>

#include "core/ErrorToneWave.h"

namespace varnok {
namespace {

TEST(ErrorToneWave, FiftyMillisecondsAt2200Hz) {
  for (int rate : {8000, 22050, 44100, 48000}) {
    const std::vector<float> wave = ErrorToneWave(rate);
    ASSERT_EQ(wave.size(), static_cast<std::size_t>(rate / 20)) << rate;
    // Count sign changes: 110 periods in 50 ms give 220, give or take one at each end.
    int crossings = 0;
    float peak = 0;
    for (std::size_t i = 1; i < wave.size(); ++i) {
      if ((wave[i - 1] < 0) != (wave[i] < 0)) ++crossings;
      peak = std::max(peak, std::fabs(wave[i]));
    }
    EXPECT_NEAR(crossings, 220, 3) << rate;
    EXPECT_LE(peak, 0.5f);
    EXPECT_GT(peak, 0.3f);
    EXPECT_NEAR(wave.front(), 0.0f, 1e-6f);  // faded in and out: no click
    EXPECT_NEAR(wave.back(), 0.0f, 1e-6f);
  }
  EXPECT_TRUE(ErrorToneWave(0).empty());
}

}  // namespace
}  // namespace varnok
