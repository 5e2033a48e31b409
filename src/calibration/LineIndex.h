#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "calibration/LineSplitter.h"

namespace varnok {

// Where each line of a text starts, built from the text as it arrives in blocks. Lines end at CR LF, LF
// or CR; a final line end opens no further line, and an empty text has no lines. Four bytes a line: the
// low half of each start, and the lines where the high half steps up.
class LineIndex {
 public:
  LineIndex() = default;
  ~LineIndex();
  LineIndex(LineIndex&& other) noexcept;
  LineIndex& operator=(LineIndex&& other) noexcept;
  LineIndex(const LineIndex&) = delete;
  LineIndex& operator=(const LineIndex&) = delete;

  // The text's next block; or, when the caller splits the lines itself, each line in turn and then the
  // text's size.
  void Feed(std::string_view block);
  void Finish();
  void Add(const SplitLine& line);
  void Finish(std::uint64_t textSize);

  std::size_t LineCount() const { return count_; }
  std::uint64_t Start(std::size_t line) const;
  // Where the line ends: the start of the next line (its line end included), or the end of the text.
  std::uint64_t End(std::size_t line) const { return line + 1 < count_ ? Start(line + 1) : size_; }
  std::uint64_t TextSize() const { return size_; }
  std::size_t LongestLine() const { return longest_; }
  std::size_t BytesInUse() const;

 private:
  static constexpr std::size_t kBlockLines = std::size_t{1} << 16;

  void Release();

  // The low halves in blocks of kBlockLines, so that growing never copies what is there. The blocks are
  // mapped from the system directly, not taken from the heap, so that their memory goes back to the
  // system with them (memory is taken only as a block fills).
  std::vector<std::uint32_t*> blocks_;
  // The line numbers at which the high half of the start steps up by one, in order.
  std::vector<std::size_t> steps_;
  std::size_t count_ = 0;
  std::uint64_t size_ = 0;
  std::size_t longest_ = 0;
  LineSplitter splitter_;
};

}  // namespace varnok
