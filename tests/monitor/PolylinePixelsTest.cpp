#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "monitor/PolylinePixels.h"

namespace varnok {
namespace {

constexpr int kWidth = 10;
constexpr int kHeight = 8;
constexpr int kStride = 12;  // two pixels of padding per row that must stay untouched
constexpr std::uint32_t kInk = 0xFF102030;
using Set = std::set<std::pair<int, int>>;

std::set<std::pair<int, int>> Drawn(const std::vector<PixelPoint>& points) {
  std::vector<std::uint32_t> buffer(kStride * kHeight, 0);
  DrawPolylinePixels(buffer.data(), kWidth, kHeight, kStride, points, kInk);
  std::set<std::pair<int, int>> drawn;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kStride; ++x) {
      const std::uint32_t pixel = buffer[y * kStride + x];
      if (pixel == 0) continue;
      EXPECT_EQ(pixel, kInk);
      drawn.insert({x, y});
    }
  }
  return drawn;
}

TEST(PolylinePixels, DrawsOnePixelLinesClippedToTheBuffer) {
  struct Case {
    const char* what;
    std::vector<PixelPoint> points;
    Set drawn;
  } cases[] = {
      {"horizontal", {{1, 2}, {4, 2}}, {{1, 2}, {2, 2}, {3, 2}, {4, 2}}},
      {"vertical up", {{3, 5}, {3, 3}}, {{3, 3}, {3, 4}, {3, 5}}},
      {"diagonal", {{0, 0}, {3, 3}}, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
      {"one point", {{9, 7}}, {{9, 7}}},
      {"corner", {{0, 7}, {0, 6}, {2, 6}}, {{0, 7}, {0, 6}, {1, 6}, {2, 6}}},
      {"across from far away",
       {{-1000000, 4}, {1000000, 4}},
       {{0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 4}, {6, 4}, {7, 4}, {8, 4}, {9, 4}}},
      {"entering from above", {{5, -100}, {5, 1}}, {{5, 0}, {5, 1}}},
      {"wholly outside", {{-5, -5}, {20, -1}}, {}},
      {"past the right edge", {{8, 0}, {14, 0}}, {{8, 0}, {9, 0}}},
  };
  for (const Case& c : cases) EXPECT_EQ(Drawn(c.points), c.drawn) << c.what;
}

TEST(PolylinePixels, SteepAndShallowSegmentsLeaveNoGaps) {
  // Every row of a steep segment and every column of a shallow one gets exactly one pixel.
  const Set steep = Drawn({{1, 0}, {3, 7}});
  for (int y = 0; y < kHeight; ++y) {
    int inRow = 0;
    for (const auto& [px, py] : steep) inRow += py == y;
    EXPECT_EQ(inRow, 1) << "row " << y;
  }
  const Set shallow = Drawn({{0, 6}, {9, 2}});
  for (int x = 0; x < kWidth; ++x) {
    int inColumn = 0;
    for (const auto& [px, py] : shallow) inColumn += px == x;
    EXPECT_EQ(inColumn, 1) << "column " << x;
  }
}

}  // namespace
}  // namespace varnok
