#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <algorithm>
#include <memory>

#include "chart/ChartPoint.h"

namespace varnok {

// The points of one series in ascending x order: appended at the back, dropped at the front, both in
// constant time. Storage grows by a quarter when full, so it never holds more than 1.25 times the
// room its points need (plus a small minimum). For every run of kBlock points it keeps the lowest
// and highest value, so the extremes of a long stretch are found without reading every point.
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
  // The memory the points and their block summaries hold.
  std::size_t MemoryBytes() const;

  ChartPoint operator[](std::size_t i) const {
    const std::size_t at = Slot(i);
    return {x_[at], y_[at]};
  }
  double X(std::size_t i) const { return x_[Slot(i)]; }
  double Y(std::size_t i) const { return y_[Slot(i)]; }
  // Asks the processor to fetch point i ahead of its use (a hint only).
  void Prefetch(std::size_t i) const {
#if defined(__GNUC__)
    if (i < size_) {
      const std::size_t at = Slot(i);
      __builtin_prefetch(&x_[at]);
      __builtin_prefetch(&y_[at]);
    }
#else
    (void)i;
#endif
  }
  ChartPoint front() const { return (*this)[0]; }
  ChartPoint back() const { return (*this)[size_ - 1]; }

  void push_back(ChartPoint point);
  void pop_front();
  void clear();

  // The first index whose x is not below `x` (size() when none).
  std::size_t LowerBound(double x) const;

  // The indices of the lowest and highest finite value in [from, to) (the first of equal ones);
  // false when the stretch holds no finite value.
  bool Extremes(std::size_t from, std::size_t to, std::size_t& low, std::size_t& high) const;

  // The first index in [from, to) whose x makes `beyond` true, `to` when none; `beyond` must turn
  // true at some x and stay true above it. Searches the blocks' first x, then one block's points.
  // `guess`, when not 0, is a likely answer (the length of the stretch before); it is tried first.
  template <typename Beyond>
  std::size_t FirstBeyond(std::size_t from, std::size_t to, Beyond beyond, std::size_t guess = 0) const;

  static constexpr std::size_t kBlock = 16;

 private:
  struct BlockExtremes {
    double firstX;  // x of the block's first point
    double low;
    double high;
    std::uint16_t lowAt;  // offset in the block
    std::uint16_t highAt;
  };
  std::size_t Slot(std::size_t i) const {
    const std::size_t at = head_ + i;
    return at >= capacity_ ? at - capacity_ : at;
  }
  void Grow();
  void ScanExtremes(std::size_t from, std::size_t to, std::size_t& low, std::size_t& high, bool& any) const;

  // x and y apart: searches read only x, extremes only y.
  std::unique_ptr<double[]> x_;
  std::unique_ptr<double[]> y_;
  std::size_t capacity_ = 0;
  std::size_t head_ = 0;
  std::size_t size_ = 0;
  // Blocks are numbered by the running number of their points: block b holds points
  // b * kBlock .. b * kBlock + kBlock - 1 since the last clear(). Element 0 has number frontNumber_.
  std::deque<BlockExtremes> blocks_;
  std::uint64_t firstBlock_ = 0;
  std::uint64_t frontNumber_ = 0;
};

template <typename Beyond>
std::size_t PointRing::FirstBeyond(std::size_t from, std::size_t to, Beyond beyond, std::size_t guess) const {
  if (to > size_) to = size_;
  if (from >= to) return to;
  if (beyond(X(from))) return from;
  if (guess > 0 && guess < to && guess > from && beyond(X(guess)) && !beyond(X(guess - 1))) return guess;
  // Blocks after the one holding `from` still hold their first point, so their firstX is current.
  const std::uint64_t fromBlock = (frontNumber_ + from) / kBlock;
  const std::uint64_t lastBlock = (frontNumber_ + to - 1) / kBlock;
  // Gallop over the block summaries, then bisect: the turn is usually a few blocks away.
  std::uint64_t low = fromBlock;  // known not beyond (at its part from `from` on)
  std::uint64_t high = lastBlock + 1;
  for (std::uint64_t step = 1; low + step <= lastBlock; step *= 2) {
    if (beyond(blocks_[low + step - firstBlock_].firstX)) {
      high = low + step;
      break;
    }
    low += step;
  }
  while (high - low > 1) {
    const std::uint64_t mid = low + (high - low) / 2;
    if (beyond(blocks_[mid - firstBlock_].firstX)) {
      high = mid;
    } else {
      low = mid;
    }
  }
  // The turn lies in block `low`, after `from`.
  std::size_t index = std::max<std::size_t>(
      from + 1, static_cast<std::size_t>(low * kBlock - std::min<std::uint64_t>(low * kBlock, frontNumber_)));
  const std::size_t stop = std::min<std::size_t>(to, static_cast<std::size_t>(high * kBlock - frontNumber_));
  while (index < stop && !beyond(X(index))) ++index;
  return index;
}

}  // namespace varnok
