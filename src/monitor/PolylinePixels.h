#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace varnok {

struct PixelPoint {
  int x = 0;
  int y = 0;
  bool operator==(const PixelPoint&) const = default;
};

// Draws a polyline one pixel wide into a buffer of 32-bit pixels (`stride` pixels per row), the way
// a plain line drawer would, each segment from its first to its last pixel. Parts outside the
// buffer are cut off before drawing, so far-away points cost nothing.
void DrawPolylinePixels(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride,
                        const std::vector<PixelPoint>& points, std::uint32_t colour);

}  // namespace varnok
