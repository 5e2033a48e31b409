#include "monitor/PointRing.h"

#include <algorithm>

namespace varnok {

PointRing::PointRing(const PointRing& other) { *this = other; }

PointRing& PointRing::operator=(const PointRing& other) {
  if (this == &other) return *this;
  data_ = other.size_ ? std::make_unique<ChartPoint[]>(other.size_) : nullptr;
  for (std::size_t i = 0; i < other.size_; ++i) data_[i] = other[i];
  capacity_ = other.size_;
  head_ = 0;
  size_ = other.size_;
  return *this;
}

void PointRing::Grow() {
  const std::size_t newCapacity = std::max<std::size_t>(16, capacity_ + capacity_ / 4);
  auto fresh = std::make_unique<ChartPoint[]>(newCapacity);
  for (std::size_t i = 0; i < size_; ++i) fresh[i] = (*this)[i];
  data_ = std::move(fresh);
  capacity_ = newCapacity;
  head_ = 0;
}

void PointRing::push_back(ChartPoint point) {
  if (size_ == capacity_) Grow();
  std::size_t at = head_ + size_;
  if (at >= capacity_) at -= capacity_;
  data_[at] = point;
  ++size_;
}

void PointRing::pop_front() {
  if (size_ == 0) return;
  ++head_;
  if (head_ == capacity_) head_ = 0;
  --size_;
}

void PointRing::clear() {
  data_.reset();
  capacity_ = 0;
  head_ = 0;
  size_ = 0;
}

std::size_t PointRing::LowerBound(double x) const {
  std::size_t low = 0;
  std::size_t high = size_;
  while (low < high) {
    const std::size_t mid = low + (high - low) / 2;
    if ((*this)[mid].x < x) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  return low;
}

}  // namespace varnok
