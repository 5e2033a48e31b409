#pragma once
#include <cstddef>
#include <memory>

namespace varnok {

// A point of a chart series. The label (the sample number) and the colour are derived when shown.
struct ChartPoint {
  double x = 0;
  double y = 0;
  bool operator==(const ChartPoint&) const = default;
};

// The points of one series in ascending x order: appended at the back, dropped at the front, both in
// constant time. Storage grows by a quarter when full, so it never holds more than 1.25 times the
// room its points need (plus a small minimum).
class PointRing {
 public:
  PointRing() = default;
  PointRing(const PointRing& other);
  PointRing& operator=(const PointRing& other);
  PointRing(PointRing&&) noexcept = default;
  PointRing& operator=(PointRing&&) noexcept = default;

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::size_t capacity() const { return capacity_; }
  std::size_t MemoryBytes() const { return capacity_ * sizeof(ChartPoint); }

  const ChartPoint& operator[](std::size_t i) const {
    std::size_t at = head_ + i;
    if (at >= capacity_) at -= capacity_;
    return data_[at];
  }
  const ChartPoint& front() const { return data_[head_]; }
  const ChartPoint& back() const { return (*this)[size_ - 1]; }

  void push_back(ChartPoint point);
  void pop_front();
  void clear();

  // The first index whose x is not below `x` (size() when none).
  std::size_t LowerBound(double x) const;

 private:
  void Grow();

  std::unique_ptr<ChartPoint[]> data_;
  std::size_t capacity_ = 0;
  std::size_t head_ = 0;
  std::size_t size_ = 0;
};

}  // namespace varnok
