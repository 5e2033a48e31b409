#include "monitor/PolylinePixels.h"

#include <cmath>
#include <cstdlib>

namespace varnok {
namespace {

// Cuts the segment to the rectangle [0, width - 1] x [0, height - 1] (Liang-Barsky); false when
// nothing of it lies inside.
bool Clip(double& x0, double& y0, double& x1, double& y1, int width, int height) {
  double t0 = 0;
  double t1 = 1;
  const double dx = x1 - x0;
  const double dy = y1 - y0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0, width - 1 - x0, y0, height - 1 - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      if (t > t1) return false;
      if (t > t0) t0 = t;
    } else {
      if (t < t0) return false;
      if (t < t1) t1 = t;
    }
  }
  const double sx = x0;
  const double sy = y0;
  x0 = sx + t0 * dx;
  y0 = sy + t0 * dy;
  x1 = sx + t1 * dx;
  y1 = sy + t1 * dy;
  return true;
}

void DrawSegment(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride, PixelPoint a,
                 PixelPoint b, std::uint32_t colour) {
  const bool inside = a.x >= 0 && a.x < width && a.y >= 0 && a.y < height && b.x >= 0 && b.x < width &&
                      b.y >= 0 && b.y < height;
  if (!inside) {
    double x0 = a.x, y0 = a.y, x1 = b.x, y1 = b.y;
    if (!Clip(x0, y0, x1, y1, width, height)) return;
    a = {static_cast<int>(std::lround(x0)), static_cast<int>(std::lround(y0))};
    b = {static_cast<int>(std::lround(x1)), static_cast<int>(std::lround(y1))};
  }
  // Bresenham.
  const int dx = std::abs(b.x - a.x);
  const int dy = -std::abs(b.y - a.y);
  const int sx = a.x < b.x ? 1 : -1;
  const int sy = a.y < b.y ? 1 : -1;
  int error = dx + dy;
  int x = a.x;
  int y = a.y;
  for (;;) {
    if (x >= 0 && x < width && y >= 0 && y < height) pixels[y * stride + x] = colour;
    if (x == b.x && y == b.y) break;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += sx;
    }
    if (twice <= dx) {
      error += dx;
      y += sy;
    }
  }
}

}  // namespace

void DrawPolylinePixels(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride,
                        const std::vector<PixelPoint>& points, std::uint32_t colour) {
  if (width <= 0 || height <= 0 || points.empty()) return;
  if (points.size() == 1) {
    DrawSegment(pixels, width, height, stride, points[0], points[0], colour);
    return;
  }
  for (std::size_t i = 1; i < points.size(); ++i) {
    DrawSegment(pixels, width, height, stride, points[i - 1], points[i], colour);
  }
}

}  // namespace varnok
