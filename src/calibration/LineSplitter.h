#pragma once
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace varnok {

// Only the first kMaxLineLength characters of a line of a calibration file are read.
inline constexpr std::size_t kMaxLineLength = 4096;

// Cuts text that arrives in blocks into lines ending at CR LF, LF or CR, handing each line (without its
// end, cut to kMaxLineLength characters) to a callback. A line or a CR LF pair may span blocks.
class LineSplitter {
 public:
  template <typename OnLine>
  void Feed(std::string_view block, OnLine&& onLine) {
    const char* p = block.data();
    const char* const end = p + block.size();
    if (p != end && pendingCr_) {
      pendingCr_ = false;
      if (*p == '\n') ++p;  // the LF of a CR LF pair split between blocks
    }
    while (p != end) {
      const char* stop = FindLineEnd(p, end);
      if (stop == end) {
        Keep(p, end);
        return;
      }
      if (carry_.empty()) {
        onLine(Cut(std::string_view(p, static_cast<std::size_t>(stop - p))));
      } else {
        Keep(p, stop);
        onLine(std::string_view(carry_));
        carry_.clear();
        carryDropped_ = false;
      }
      if (*stop == '\r') {
        ++stop;
        if (stop == end) {
          pendingCr_ = true;
        } else if (*stop == '\n') {
          ++stop;
        }
      } else {
        ++stop;
      }
      p = stop;
      sawText_ = false;
    }
  }

  // Hands over the last line when the text does not end with a line end.
  template <typename OnLine>
  void Finish(OnLine&& onLine) {
    if (!carry_.empty() || carryDropped_ || sawText_) onLine(std::string_view(carry_));
    carry_.clear();
    carryDropped_ = false;
    sawText_ = false;
    pendingCr_ = false;
  }

 private:
  static const char* FindLineEnd(const char* p, const char* end) {
    const auto* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    const char* limit = lf ? lf : end;
    const auto* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(limit - p)));
    return cr ? cr : limit;
  }
  static std::string_view Cut(std::string_view line) {
    return line.size() > kMaxLineLength ? line.substr(0, kMaxLineLength) : line;
  }
  void Keep(const char* from, const char* to) {
    if (from != to) sawText_ = true;
    const std::size_t room = kMaxLineLength - carry_.size();
    const auto length = static_cast<std::size_t>(to - from);
    if (length > room) carryDropped_ = true;
    carry_.append(from, length < room ? length : room);
  }

  std::string carry_;
  bool carryDropped_ = false;
  bool sawText_ = false;
  bool pendingCr_ = false;
};

// Calls onLine for every line of a whole text (see LineSplitter).
template <typename OnLine>
void ForEachLine(std::string_view text, OnLine&& onLine) {
  LineSplitter splitter;
  splitter.Feed(text, onLine);
  splitter.Finish(onLine);
}

}  // namespace varnok
