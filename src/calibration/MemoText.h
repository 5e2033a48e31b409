#pragma once
#include <cstddef>
#include <memory>
#include <string>

#include "calibration/FileSnapshot.h"
#include "calibration/LineIndex.h"

namespace varnok {

// The text the memo shows, line by line: either a short text held in memory, or the snapshot of a
// displayed file with its line index, read a few lines at a time as they come into view.
class MemoText {
 public:
  explicit MemoText(std::string text);
  MemoText(std::unique_ptr<FileSnapshot> snapshot, LineIndex index);

  std::size_t LineCount() const { return index_.LineCount(); }
  // The line's bytes without its line end, at most `maxBytes` of them.
  std::string Line(std::size_t line, std::size_t maxBytes = kMaxShownLine) const;
  std::size_t LongestLine() const { return index_.LongestLine(); }
  std::uint64_t Size() const { return index_.TextSize(); }
  // The whole text (for short texts and tests).
  std::string All() const { return Bytes(0, static_cast<std::size_t>(Size())); }

  // Lines longer than this show only their beginning.
  static constexpr std::size_t kMaxShownLine = std::size_t{1} << 20;

 private:
  std::string Bytes(std::uint64_t offset, std::size_t count) const;

  std::string text_;
  std::unique_ptr<FileSnapshot> snapshot_;
  LineIndex index_;
};

}  // namespace varnok
