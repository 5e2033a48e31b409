#include "config/FloatListScan.h"

#include <gtest/gtest.h>

#include <cmath>

namespace varnok {
namespace {

TEST(FloatListScan, ReadsNumbersUntilTheFirstMismatch) {
  const struct {
    const char* text;
    int count;
    std::vector<float> numbers;
  } cases[] = {
      {"+600.00,200.00", 2, {600.0f, 200.0f}},
      {".050,.065", 2, {0.05f, 0.065f}},
      {"  -0.61,  4.329", 2, {-0.61f, 4.329f}},  // blanks before each number
      {"-0.61 ,4.329", 2, {-0.61f}},             // the comma must follow the number
      {"10,10.0,2.5,10,200 ", 5, {10.0f, 10.0f, 2.5f, 10.0f, 200.0f}},
      {"10,10.0,2.5", 5, {10.0f, 10.0f, 2.5f}},
      {"1,2,3", 2, {1.0f, 2.0f}},
      {"6.08e-6,1E2", 2, {6.08e-6f, 100.0f}},
      {"0.0", 2, {0.0f}},
      {"x,1", 2, {}},
      {"", 2, {}},
      {"--1,2", 2, {}},
      {"1,,2", 2, {1.0f}},
  };
  for (const auto& k : cases) {
    EXPECT_EQ(ScanFloatList(k.text, k.count), k.numbers) << '"' << k.text << '"';
  }
}

TEST(FloatListScan, OutOfRangeNumbersSaturate) {
  const std::vector<float> big = ScanFloatList("1e39,-1e400,1e-50", 3);
  ASSERT_EQ(big.size(), 3u);
  EXPECT_TRUE(std::isinf(big[0]) && big[0] > 0);
  EXPECT_TRUE(std::isinf(big[1]) && big[1] < 0);
  EXPECT_EQ(big[2], 0.0f);
}

}  // namespace
}  // namespace varnok
