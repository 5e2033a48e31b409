#include "calibration/MemoText.h"

#include <algorithm>

namespace varnok {

MemoText::MemoText(std::string text) : text_(std::move(text)) {
  index_.Feed(text_);
  index_.Finish();
}

MemoText::MemoText(std::unique_ptr<FileSnapshot> snapshot, LineIndex index)
    : snapshot_(std::move(snapshot)), index_(std::move(index)) {}

std::string MemoText::Bytes(std::uint64_t offset, std::size_t count) const {
  if (snapshot_) return snapshot_->Read(offset, count);
  if (offset >= text_.size()) return {};
  return text_.substr(static_cast<std::size_t>(offset), count);
}

std::string MemoText::Line(std::size_t line, std::size_t maxBytes) const {
  if (line >= index_.LineCount()) return {};
  const std::uint64_t start = index_.Start(line);
  const std::uint64_t end = index_.End(line);
  // Two more bytes than shown, to find the line end when the line is short enough to show whole.
  const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(end - start, maxBytes + 2));
  std::string bytes = Bytes(start, length);
  if (length == end - start) {
    // The line's own bytes end with at most one line end: CR LF, LF or CR.
    if (bytes.size() >= 2 && bytes[bytes.size() - 2] == '\r' && bytes.back() == '\n') {
      bytes.resize(bytes.size() - 2);
    } else if (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) {
      bytes.pop_back();
    }
  }
  if (bytes.size() > maxBytes) bytes.resize(maxBytes);
  return bytes;
}

}  // namespace varnok
