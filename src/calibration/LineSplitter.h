#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace varnok {

// Only the first kMaxLineLength characters of a line of a calibration file are read.
inline constexpr std::size_t kMaxLineLength = 4096;

// Where the next CR or LF stands in p … end, or end when there is none.
inline const char* FindLineEnd(const char* p, const char* end) {
#if defined(__SSE2__) || defined(_M_X64)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  while (end - p >= 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int found = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
    if (found != 0) return p + __builtin_ctz(static_cast<unsigned>(found));
    p += 16;
  }
#endif
  while (p != end && *p != '\r' && *p != '\n') ++p;
  return p;
}

// One line as the splitter hands it over.
struct SplitLine {
  std::string_view text;              // without its line end, cut to kMaxLineLength characters
  std::uint64_t start = 0;            // where its first byte stands in the whole text
  std::uint64_t length = 0;           // its whole length, without the line end
  const char* readableEnd = nullptr;  // bytes from text's start up to here may be read (text's end or beyond)
};

// Cuts text that arrives in blocks into lines ending at CR LF, LF or CR, handing each line to a callback
// that takes either the line's text (without its end, cut to kMaxLineLength characters) or a SplitLine.
// A line or a CR LF pair may span blocks.
class LineSplitter {
 public:
  template <typename OnLine>
  void Feed(std::string_view block, OnLine&& onLine) {
    const char* const begin = block.data();
    const char* p = begin;
    const char* const end = p + block.size();
    if (p != end && pendingCr_) {
      pendingCr_ = false;
      if (*p == '\n') {
        ++p;  // the LF of a CR LF pair split between blocks
        lineStart_ = fed_ + 1;
      }
    }
    while (p != end) {
      const char* stop = FindLineEnd(p, end);
      if (stop == end) {
        Keep(p, end);
        break;
      }
      if (carry_.empty() && carryLength_ == 0 && !sawText_) {
        const auto length = static_cast<std::size_t>(stop - p);
        Hand(onLine, Cut(std::string_view(p, length)), lineStart_, length, end);
      } else {
        Keep(p, stop);
        Hand(onLine, std::string_view(carry_), lineStart_, carryLength_, carry_.data() + carry_.size());
        carry_.clear();
        carryLength_ = 0;
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
      lineStart_ = fed_ + static_cast<std::uint64_t>(p - begin);
    }
    fed_ += block.size();
  }

  // Hands over the last line when the text does not end with a line end.
  template <typename OnLine>
  void Finish(OnLine&& onLine) {
    if (!carry_.empty() || carryLength_ > 0 || sawText_) {
      Hand(onLine, std::string_view(carry_), lineStart_, carryLength_, carry_.data() + carry_.size());
    }
    carry_.clear();
    carryLength_ = 0;
    sawText_ = false;
    pendingCr_ = false;
    lineStart_ = fed_;
  }

 private:
  template <typename OnLine>
  static void Hand(OnLine& onLine, std::string_view text, std::uint64_t start, std::uint64_t length,
                   const char* readableEnd) {
    if constexpr (std::is_invocable_v<OnLine&, const SplitLine&>) {
      onLine(SplitLine{text, start, length, readableEnd});
    } else {
      onLine(text);
    }
  }
  static std::string_view Cut(std::string_view line) {
    return line.size() > kMaxLineLength ? line.substr(0, kMaxLineLength) : line;
  }
  void Keep(const char* from, const char* to) {
    if (from != to) sawText_ = true;
    const std::size_t room = kMaxLineLength - carry_.size();
    const auto length = static_cast<std::size_t>(to - from);
    carry_.append(from, length < room ? length : room);
    carryLength_ += length;
  }

  std::string carry_;
  std::uint64_t carryLength_ = 0;  // the carried line's whole length so far
  bool sawText_ = false;
  bool pendingCr_ = false;
  std::uint64_t fed_ = 0;        // bytes of the text before the current block
  std::uint64_t lineStart_ = 0;  // where the current line starts in the whole text
};

// Calls onLine for every line of a whole text (see LineSplitter).
template <typename OnLine>
void ForEachLine(std::string_view text, OnLine&& onLine) {
  LineSplitter splitter;
  splitter.Feed(text, onLine);
  splitter.Finish(onLine);
}

}  // namespace varnok
