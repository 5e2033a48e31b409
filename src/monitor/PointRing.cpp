#include "monitor/PointRing.h"

#include <algorithm>
#include <cmath>

namespace varnok {

PointRing::PointRing(const PointRing& other) { *this = other; }

PointRing& PointRing::operator=(const PointRing& other) {
  if (this == &other) return *this;
  clear();
  for (std::size_t i = 0; i < other.size_; ++i) push_back(other[i]);
  return *this;
}

std::size_t PointRing::MemoryBytes() const {
  return capacity_ * sizeof(ChartPoint) + blocks_.size() * sizeof(BlockExtremes);
}

void PointRing::Grow() {
  const std::size_t newCapacity = std::max<std::size_t>(16, capacity_ + capacity_ / 4);
  auto freshX = std::make_unique<double[]>(newCapacity);
  auto freshY = std::make_unique<double[]>(newCapacity);
  for (std::size_t i = 0; i < size_; ++i) {
    const std::size_t at = Slot(i);
    freshX[i] = x_[at];
    freshY[i] = y_[at];
  }
  x_ = std::move(freshX);
  y_ = std::move(freshY);
  capacity_ = newCapacity;
  head_ = 0;
}

void PointRing::push_back(ChartPoint point) {
  if (size_ == capacity_) Grow();
  std::size_t at = head_ + size_;
  if (at >= capacity_) at -= capacity_;
  x_[at] = point.x;
  y_[at] = point.y;

  const std::uint64_t number = frontNumber_ + size_;
  const std::uint64_t block = number / kBlock;
  if (blocks_.empty()) firstBlock_ = block;
  while (firstBlock_ + blocks_.size() <= block) blocks_.push_back({point.x, INFINITY, -INFINITY, 0, 0});
  if (std::isfinite(point.y)) {
    BlockExtremes& extremes = blocks_[block - firstBlock_];
    const auto offset = static_cast<std::uint16_t>(number % kBlock);
    if (point.y < extremes.low) {
      extremes.low = point.y;
      extremes.lowAt = offset;
    }
    if (point.y > extremes.high) {
      extremes.high = point.y;
      extremes.highAt = offset;
    }
  }
  ++size_;
}

void PointRing::pop_front() {
  if (size_ == 0) return;
  ++head_;
  if (head_ == capacity_) head_ = 0;
  --size_;
  ++frontNumber_;
  while (!blocks_.empty() && (firstBlock_ + 1) * kBlock <= frontNumber_) {
    blocks_.pop_front();
    ++firstBlock_;
  }
}

void PointRing::clear() {
  x_.reset();
  y_.reset();
  capacity_ = 0;
  head_ = 0;
  size_ = 0;
  blocks_.clear();
  firstBlock_ = 0;
  frontNumber_ = 0;
}

std::size_t PointRing::LowerBound(double x) const {
  std::size_t low = 0;
  std::size_t high = size_;
  while (low < high) {
    const std::size_t mid = low + (high - low) / 2;
    if (X(mid) < x) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  return low;
}

void PointRing::ScanExtremes(std::size_t from, std::size_t to, std::size_t& low, std::size_t& high,
                             bool& any) const {
  for (std::size_t i = from; i < to; ++i) {
    const double y = Y(i);
    if (!std::isfinite(y)) continue;
    if (!any) {
      low = high = i;
      any = true;
      continue;
    }
    if (y < Y(low)) low = i;
    if (y > Y(high)) high = i;
  }
}

bool PointRing::Extremes(std::size_t from, std::size_t to, std::size_t& low, std::size_t& high) const {
  to = std::min(to, size_);
  bool any = false;
  if (from >= to) return false;
  // Whole blocks inside the stretch use their summaries; the ends are read point by point.
  const std::uint64_t firstNumber = frontNumber_ + from;
  const std::uint64_t endNumber = frontNumber_ + to;
  const std::uint64_t fullFrom = (firstNumber + kBlock - 1) / kBlock;
  const std::uint64_t fullTo = endNumber / kBlock;
  if (fullFrom >= fullTo) {
    ScanExtremes(from, to, low, high, any);
    return any;
  }
  ScanExtremes(from, static_cast<std::size_t>(fullFrom * kBlock - frontNumber_), low, high, any);
  for (std::uint64_t block = fullFrom; block < fullTo; ++block) {
    const BlockExtremes& extremes = blocks_[block - firstBlock_];
    if (!(extremes.low <= extremes.high)) continue;  // no finite value
    const auto base = static_cast<std::size_t>(block * kBlock - frontNumber_);
    if (!any) {
      low = base + extremes.lowAt;
      high = base + extremes.highAt;
      any = true;
      continue;
    }
    if (extremes.low < Y(low)) low = base + extremes.lowAt;
    if (extremes.high > Y(high)) high = base + extremes.highAt;
  }
  ScanExtremes(static_cast<std::size_t>(fullTo * kBlock - frontNumber_), to, low, high, any);
  return any;
}

}  // namespace varnok
