#include "calibration/LineIndex.h"

#include <algorithm>
#include <new>
#include <utility>

#include "calibration/ReservedMemory.h"

namespace varnok {

void LineIndex::Feed(std::string_view block) {
  splitter_.Feed(block, [this](const SplitLine& line) { Add(line); });
  size_ += block.size();
}

void LineIndex::Finish() {
  splitter_.Finish([this](const SplitLine& line) { Add(line); });
  Finish(size_);
}

namespace {
constexpr std::size_t kBlockBytes = (std::size_t{1} << 16) * sizeof(std::uint32_t);
}  // namespace

LineIndex::~LineIndex() { Release(); }

LineIndex::LineIndex(LineIndex&& other) noexcept
    : blocks_(std::move(other.blocks_)),
      steps_(std::move(other.steps_)),
      count_(std::exchange(other.count_, 0)),
      size_(std::exchange(other.size_, 0)),
      longest_(std::exchange(other.longest_, 0)),
      splitter_(std::move(other.splitter_)) {
  other.blocks_.clear();
}

LineIndex& LineIndex::operator=(LineIndex&& other) noexcept {
  if (this != &other) {
    Release();
    blocks_ = std::move(other.blocks_);
    other.blocks_.clear();
    steps_ = std::move(other.steps_);
    count_ = std::exchange(other.count_, 0);
    size_ = std::exchange(other.size_, 0);
    longest_ = std::exchange(other.longest_, 0);
    splitter_ = std::move(other.splitter_);
  }
  return *this;
}

void LineIndex::Release() {
  for (std::uint32_t* block : blocks_) ReleaseAddressSpace(block, kBlockBytes);
  blocks_.clear();
}

void LineIndex::Add(const SplitLine& line) {
  const std::uint64_t high = line.start >> 32;
  while (steps_.size() < high) steps_.push_back(count_);
  if (count_ == blocks_.size() * kBlockLines) {
    void* block = ReserveAddressSpace(kBlockBytes);
    if (block == nullptr || !CommitReservedMemory(block, kBlockBytes)) {
      ReleaseAddressSpace(block, kBlockBytes);
      throw std::bad_alloc();
    }
    blocks_.push_back(static_cast<std::uint32_t*>(block));
  }
  blocks_.back()[count_ % kBlockLines] = static_cast<std::uint32_t>(line.start);
  ++count_;
  longest_ = std::max<std::size_t>(longest_, static_cast<std::size_t>(line.length));
}

void LineIndex::Finish(std::uint64_t textSize) {
  size_ = textSize;
  steps_.shrink_to_fit();
}

std::uint64_t LineIndex::Start(std::size_t line) const {
  const auto high =
      static_cast<std::uint64_t>(std::upper_bound(steps_.begin(), steps_.end(), line) - steps_.begin());
  return high << 32 | blocks_[line / kBlockLines][line % kBlockLines];
}

std::size_t LineIndex::BytesInUse() const {
  return steps_.capacity() * sizeof(std::size_t) + blocks_.capacity() * sizeof(blocks_[0]) +
         count_ * sizeof(std::uint32_t);
}

}  // namespace varnok
