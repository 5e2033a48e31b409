#include "LineIndex.h"

#include <algorithm>
#include <cstring>

namespace varnok {

void LineIndex::Feed(std::string_view block) {
  if (block.empty()) return;
  if (starts_.empty()) starts_.push_back(size_);  // the first line
  const char* const data = block.data();
  const std::size_t count = block.size();
  std::size_t at = 0;
  while (at < count) {
    const auto* lf = static_cast<const char*>(std::memchr(data + at, '\n', count - at));
    const std::size_t limit = lf ? static_cast<std::size_t>(lf - data) : count;
    const auto* cr = static_cast<const char*>(std::memchr(data + at, '\r', limit - at));
    const char* const stop = cr ? cr : lf;
    if (stop == nullptr) break;
    const std::uint64_t position = size_ + static_cast<std::uint64_t>(stop - data);
    if (*stop == '\n' && position > 0 && lastCr_ == position - 1) {
      starts_.back() = position + 1;  // the LF of a CR LF pair: the line began after both
    } else {
      longest_ = std::max<std::size_t>(longest_, static_cast<std::size_t>(position - starts_.back()));
      if (*stop == '\r') lastCr_ = position;
      starts_.push_back(position + 1);
    }
    at = static_cast<std::size_t>(stop - data) + 1;
  }
  size_ += count;
}

void LineIndex::Finish() {
  if (!starts_.empty() && starts_.back() == size_) {
    starts_.pop_back();  // a final line end opens no further line
  } else if (!starts_.empty()) {
    longest_ = std::max<std::size_t>(longest_, static_cast<std::size_t>(size_ - starts_.back()));
  }
  starts_.shrink_to_fit();
}

}  // namespace varnok
