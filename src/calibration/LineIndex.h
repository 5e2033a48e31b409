#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace varnok {

// Where each line of a text starts, built from the text as it arrives in blocks. Lines end at CR LF, LF
// or CR; a final line end opens no further line, and an empty text has no lines.
class LineIndex {
 public:
  void Feed(std::string_view block);
  void Finish();

  std::size_t LineCount() const { return starts_.size(); }
  std::uint64_t Start(std::size_t line) const { return starts_[line]; }
  // Where the line ends: the start of the next line (its line end included), or the end of the text.
  std::uint64_t End(std::size_t line) const { return line + 1 < starts_.size() ? starts_[line + 1] : size_; }
  std::uint64_t TextSize() const { return size_; }
  std::size_t LongestLine() const { return longest_; }
  std::size_t BytesInUse() const { return starts_.capacity() * sizeof(std::uint64_t); }

 private:
  std::vector<std::uint64_t> starts_;
  std::uint64_t size_ = 0;
  std::uint64_t lastCr_ = ~std::uint64_t{0};
  std::size_t longest_ = 0;
};

}  // namespace varnok
