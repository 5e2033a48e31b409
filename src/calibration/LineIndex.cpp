#include "LineIndex.h"

#include <algorithm>

namespace varnok {

void LineIndex::Feed(std::string_view block) {
  splitter_.Feed(block, [this](const SplitLine& line) { Add(line); });
  size_ += block.size();
}

void LineIndex::Finish() {
  splitter_.Finish([this](const SplitLine& line) { Add(line); });
  Finish(size_);
}

void LineIndex::Add(const SplitLine& line) {
  const std::uint64_t high = line.start >> 32;
  while (steps_.size() < high) steps_.push_back(count_);
  if (blocks_.empty() || blocks_.back().size() == kBlockLines) {
    blocks_.emplace_back();
    if (blocks_.size() > 1) blocks_.back().reserve(kBlockLines);
  }
  blocks_.back().push_back(static_cast<std::uint32_t>(line.start));
  ++count_;
  longest_ = std::max<std::size_t>(longest_, static_cast<std::size_t>(line.length));
}

void LineIndex::Finish(std::uint64_t textSize) {
  size_ = textSize;
  if (!blocks_.empty()) blocks_.back().shrink_to_fit();
  steps_.shrink_to_fit();
}

std::uint64_t LineIndex::Start(std::size_t line) const {
  const auto high = static_cast<std::uint64_t>(std::upper_bound(steps_.begin(), steps_.end(), line) - steps_.begin());
  return high << 32 | blocks_[line / kBlockLines][line % kBlockLines];
}

std::size_t LineIndex::BytesInUse() const {
  std::size_t bytes = steps_.capacity() * sizeof(std::size_t) + blocks_.capacity() * sizeof(blocks_[0]);
  for (const std::vector<std::uint32_t>& block : blocks_) bytes += block.capacity() * sizeof(std::uint32_t);
  return bytes;
}

}  // namespace varnok
