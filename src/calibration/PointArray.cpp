#include "calibration/PointArray.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include "calibration/PagePopulator.h"
#include "calibration/ReservedMemory.h"

namespace varnok {

namespace {

constexpr std::size_t kCommitStep = std::size_t{2} << 20;  // bytes; also the large page size
// A short array grows in small steps of small pages, so that the many columns of a short file take
// little memory; past kSmallUntil it asks for large pages, and from the first large page on each step is
// one large page backed at once.
constexpr std::size_t kSmallStep = std::size_t{64} << 10;
constexpr std::size_t kSmallUntil = std::size_t{512} << 10;
constexpr std::size_t kDefaultReservation = std::size_t{1} << 20;  // values

std::size_t RoundUp(std::size_t bytes, std::size_t to) { return (bytes + to - 1) / to * to; }

}  // namespace

PointArray::PointArray(std::size_t maxCount) {
  const std::size_t bytes = RoundUp(std::max<std::size_t>(maxCount, 1) * sizeof(double), kCommitStep);
  // One step more than needed, so that the array can start on a large-page boundary.
  baseBytes_ = bytes + kCommitStep;
  base_ = ReserveAddressSpace(baseBytes_);
  if (base_ == nullptr) throw std::bad_alloc();
  const auto start = RoundUp(reinterpret_cast<std::uintptr_t>(base_), kCommitStep);
  data_ = reinterpret_cast<double*>(start);
  reserved_ = bytes / sizeof(double);
}

PointArray::~PointArray() { Release(); }

PointArray::PointArray(PointArray&& other) noexcept
    : base_(std::exchange(other.base_, nullptr)),
      baseBytes_(std::exchange(other.baseBytes_, 0)),
      data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      committed_(std::exchange(other.committed_, 0)),
      reserved_(std::exchange(other.reserved_, 0)),
      largePages_(std::exchange(other.largePages_, false)),
      smallTail_(std::exchange(other.smallTail_, false)),
      expected_(std::exchange(other.expected_, 0)),
      prepared_(std::exchange(other.prepared_, 0)),
      populator_(std::exchange(other.populator_, nullptr)) {}

PointArray& PointArray::operator=(PointArray&& other) noexcept {
  if (this != &other) {
    Release();
    base_ = std::exchange(other.base_, nullptr);
    baseBytes_ = std::exchange(other.baseBytes_, 0);
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    committed_ = std::exchange(other.committed_, 0);
    reserved_ = std::exchange(other.reserved_, 0);
    largePages_ = std::exchange(other.largePages_, false);
    smallTail_ = std::exchange(other.smallTail_, false);
    expected_ = std::exchange(other.expected_, 0);
    prepared_ = std::exchange(other.prepared_, 0);
    populator_ = std::exchange(other.populator_, nullptr);
  }
  return *this;
}

void PointArray::Release() {
  ReleaseAddressSpace(base_, baseBytes_);
  base_ = nullptr;
  baseBytes_ = 0;
  data_ = nullptr;
  size_ = committed_ = reserved_ = prepared_ = 0;
  largePages_ = smallTail_ = false;
}

void PointArray::Append(const double* values, std::size_t count) {
  while (count > 0) {
    if (size_ == committed_) Grow();
    const std::size_t now = std::min(count, committed_ - size_);
    std::memcpy(data_ + size_, values, now * sizeof(double));
    size_ += now;
    values += now;
    count -= now;
  }
}

void PointArray::Grow() {
  if (data_ == nullptr) *this = PointArray(kDefaultReservation);
  if (committed_ == reserved_) {
    // The reservation is full (only when the caller's bound was too small): move to one twice as large.
    PointArray larger(reserved_ * 2);
    larger.expected_ = expected_;
    PagePopulator* const populator = populator_;
    larger.committed_ = 0;
    while (larger.committed_ < size_ + 1) larger.Grow();
    std::memcpy(larger.data_, data_, size_ * sizeof(double));
    larger.size_ = size_;
    *this = std::move(larger);
    populator_ = populator;
    if (committed_ > size_) return;
  }
  if (prepared_ > committed_) {
    committed_ = prepared_;  // committed earlier and backed meanwhile by the populator
  } else {
    committed_ += CommitAt(committed_ * sizeof(double), true) / sizeof(double);
  }
  if (populator_ != nullptr && largePages_ && !smallTail_ && committed_ < reserved_) {
    // The step after this one is committed now and backed on the populator's thread while this one
    // fills.
    const std::size_t from = committed_ * sizeof(double);
    const std::size_t bytes = CommitAt(from, false);
    populator_->Post(reinterpret_cast<char*>(data_) + from, bytes);
    prepared_ = committed_ + bytes / sizeof(double);
  }
}

std::size_t PointArray::CommitAt(std::size_t from, bool backHere) {
  const std::size_t room = reserved_ * sizeof(double) - from;
  std::size_t step = from < kSmallUntil ? kSmallStep : from < kCommitStep ? kCommitStep - from : kCommitStep;
  auto* const at = reinterpret_cast<char*>(data_) + from;
  if (largePages_ && from >= kCommitStep &&
      (smallTail_ || (expected_ > 0 && expected_ * sizeof(double) < from + kCommitStep))) {
    // The expected end lies within the next large page: the rest in small pages and steps.
    if (!smallTail_) AdviseSmallPages(at, reserved_ * sizeof(double) - from);
    smallTail_ = true;
    step = kSmallStep;
  }
  const std::size_t bytes = std::min(step, room);
  if (!CommitReservedMemory(at, bytes)) throw std::bad_alloc();
  if (!largePages_ && from + bytes >= kSmallUntil && room > kCommitStep) {
    largePages_ = true;
    const std::size_t firstLarge = std::max(from + bytes, kCommitStep);
    AdviseLargePages(reinterpret_cast<char*>(data_) + firstLarge, reserved_ * sizeof(double) - firstLarge);
  }
  if (backHere && largePages_ && from >= kCommitStep) PopulateMemory(at, bytes);
  return bytes;
}

}  // namespace varnok
