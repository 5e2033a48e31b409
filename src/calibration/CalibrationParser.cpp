#include "calibration/CalibrationParser.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#include "calibration/CalibrationNumber.h"
#include "calibration/CsvField.h"
#include "calibration/LineSplitter.h"
#include "link/LittleEndian.h"

namespace varnok {

namespace {

#if defined(__GNUC__)
#define VARNOK_ALWAYS_INLINE inline __attribute__((always_inline))
#else
#define VARNOK_ALWAYS_INLINE inline
#endif

// Where field 3 begins and field 2 is, found with one pass over the first three commas.
struct LineHead {
  std::string_view recordType;  // field 2
  std::size_t restStart;        // start of field 3, or npos when the line has no field 3
};

LineHead SplitHeadSlowly(std::string_view line) {
  const std::size_t first = line.find(',');
  if (first == std::string_view::npos) return {{}, std::string_view::npos};
  const std::size_t second = line.find(',', first + 1);
  if (second == std::string_view::npos) return {{}, std::string_view::npos};
  const std::size_t third = line.find(',', second + 1);
  if (third == std::string_view::npos) return {line.substr(second + 1), std::string_view::npos};
  return {line.substr(second + 1, third - second - 1), third + 1};
}

// The same, looking at 32 characters at once when the buffer has them: the first three fields of a data
// line (sample number, time, type) nearly always lie within them.
VARNOK_ALWAYS_INLINE LineHead SplitHead(std::string_view line, const char* readableEnd) {
#if defined(__SSE2__) || defined(_M_X64)
  if (readableEnd - line.data() >= 32) {
    const __m128i comma = _mm_set1_epi8(',');
    const auto* at = reinterpret_cast<const __m128i*>(line.data());
    std::uint32_t commas =
        static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(at), comma))) |
        static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(at + 1), comma))) << 16;
    if (line.size() < 32) commas &= (std::uint32_t{1} << line.size()) - 1;
    const std::uint32_t fromSecond = commas & (commas - 1);
    const std::uint32_t fromThird = fromSecond & (fromSecond - 1);
    if (fromThird != 0) {
      const auto second = static_cast<std::size_t>(std::countr_zero(fromSecond));
      const auto third = static_cast<std::size_t>(std::countr_zero(fromThird));
      return {line.substr(second + 1, third - second - 1), third + 1};
    }
  }
#else
  (void)readableEnd;
#endif
  return SplitHeadSlowly(line);
}

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsBlankOrControlCharacter(char c) { return static_cast<unsigned char>(c) <= 0x20; }

constexpr std::uint64_t kPowersOfTenInt[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Where the first byte that is not a decimal digit lies among the 8 bytes of `chunk` (first character in
// the lowest byte), or 8 when all are digits.
VARNOK_ALWAYS_INLINE int DigitRunLength(std::uint64_t chunk) {
  const std::uint64_t x = chunk ^ 0x3030303030303030u;  // a digit becomes 0 … 9 in its byte
  // A byte is a digit when its high half is 0 and its low half plus 6 stays below 16; the low halves
  // are added on their own so that no carry crosses into the next byte.
  const std::uint64_t notDigit =
      (x | ((x & 0x0f0f0f0f0f0f0f0fu) + 0x0606060606060606u)) & 0xf0f0f0f0f0f0f0f0u;
  return notDigit == 0 ? 8 : std::countr_zero(notDigit) / 8;
}

// The value of the first `count` (0 … 8) digit characters of `chunk`.
VARNOK_ALWAYS_INLINE std::uint64_t DigitsValue(std::uint64_t chunk, int count) {
  // Move the digits to the top bytes and fill the bytes below with '0': eight digits, leading zeros.
  // No shift reaches the whole width: without digits only the filling is used, with eight no filling.
  const std::uint64_t digits = count == 0 ? 0 : chunk << ((8 * (8 - count)) & 63);
  std::uint64_t eight = digits | (count == 8 ? 0 : 0x3030303030303030u >> ((8 * count) & 63));
  eight -= 0x3030303030303030u;
  eight = eight * 10 + (eight >> 8);  // pairs of digits
  eight = (((eight & 0x000000ff000000ffu) * 0x000f424000000064u) +
           (((eight >> 16) & 0x000000ff000000ffu) * 0x0000271000000001u)) >>
          32;
  return eight;
}

VARNOK_ALWAYS_INLINE std::uint64_t LoadChunk(const char* p) {
  return GetUInt64(reinterpret_cast<const std::uint8_t*>(p));
}

#if defined(__SSE2__) || defined(_M_X64)
inline constexpr bool kFieldsAtOnce = true;

// The commas among the 64 characters at p, one bit each (first character in the lowest bit).
VARNOK_ALWAYS_INLINE std::uint64_t CommaBits(const char* p) {
  const __m128i comma = _mm_set1_epi8(',');
  const auto* at = reinterpret_cast<const __m128i*>(p);
  const auto bits = [&](int k) {
    return static_cast<std::uint64_t>(
        static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(at + k), comma))));
  };
  return bits(0) | bits(1) << 16 | bits(2) << 32 | bits(3) << 48;
}

// A field of known length (at most 16 characters, with 16 readable) that holds exactly an optional sign
// and a fixed-point number of at most 15 digits, at most 8 on either side of an optional full stop, at
// least one digit: stores its value in y. False for any other field. The characters are classified all
// at once, so that the fields of a line are read side by side rather than one after the other.
VARNOK_ALWAYS_INLINE bool ReadKnownShortField(const char* s, std::size_t length, double& y) {
  if (length == 0 || length > 16) return false;
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  const __m128i offset = _mm_sub_epi8(bytes, _mm_set1_epi8('0'));
  const auto digitBits = static_cast<std::uint32_t>(
      _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(offset, _mm_set1_epi8(9)), offset)));
  const auto stopBits =
      static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('.'))));
  const char first = s[0];
  const bool negative = first == '-';
  const unsigned signLength = (first == '-') | (first == '+');
  const std::uint32_t field = ((std::uint32_t{1} << length) - 1) & ~((std::uint32_t{1} << signLength) - 1);
  const std::uint32_t digits = digitBits & field;
  const std::uint32_t stop = stopBits & field;
  if ((digits | stop) != field || (stop & (stop - 1)) != 0 || digits == 0) return false;
  const auto stopAt =
      stop != 0 ? static_cast<unsigned>(std::countr_zero(stop)) : static_cast<unsigned>(length);
  const int wholeDigits = static_cast<int>(stopAt - signLength);
  const int fractionDigits = stop != 0 ? static_cast<int>(length - stopAt - 1) : 0;
  if (wholeDigits > 8 || fractionDigits > 8 || wholeDigits + fractionDigits > 15) return false;
  const std::uint64_t whole = DigitsValue(LoadChunk(s + signLength), wholeDigits);
  const std::uint64_t fraction = DigitsValue(LoadChunk(s + stopAt + 1), fractionDigits);
  const double value =
      static_cast<double>(whole * kPowersOfTenInt[fractionDigits] + fraction) / kPowersOfTen[fractionDigits];
  y = negative ? -value : value;
  return true;
}
#else
inline constexpr bool kFieldsAtOnce = false;
inline std::uint64_t CommaBits(const char*) { return 0; }
inline bool ReadKnownShortField(const char*, std::size_t, double&) { return false; }
#endif

// A field that is exactly a short fixed-point number: an optional sign, at most 7 digits, optionally a
// full stop and at most 7 more digits (at least one digit in all), ended by a comma or the line's end,
// read 8 characters at a time. The buffer must hold 16 readable characters past the sign. Stores the
// value in y and returns where the field ends; nullptr for any other field (blanks, an exponent, longer
// numbers), which the slower roads read. The value is one correctly rounded division of two exact
// doubles, as the general reader gives.
VARNOK_ALWAYS_INLINE const char* ReadShortField(const char* p, const char* end, const char* readableEnd,
                                                double& y) {
  const bool negative = *p == '-';
  p += (*p == '-') | (*p == '+');
  if (readableEnd - p < 16) return nullptr;
  const auto left = end - p;
  const std::uint64_t whole = LoadChunk(p);
  int wholeDigits = DigitRunLength(whole);
  if (wholeDigits == 8) return nullptr;
  if (wholeDigits > left) wholeDigits = static_cast<int>(left);  // the line was cut inside the digits
  const char* after = p + wholeDigits;
  std::uint64_t mantissa = DigitsValue(whole, wholeDigits);
  int fractionDigits = 0;
  if (after != end && *after == '.') {
    ++after;
    const std::uint64_t fraction = LoadChunk(after);
    fractionDigits = DigitRunLength(fraction);
    if (fractionDigits == 8) return nullptr;
    if (fractionDigits > end - after) fractionDigits = static_cast<int>(end - after);
    mantissa = mantissa * kPowersOfTenInt[fractionDigits] + DigitsValue(fraction, fractionDigits);
    after += fractionDigits;
  }
  if (wholeDigits + fractionDigits == 0 || (after != end && *after != ',')) return nullptr;
  const double value = static_cast<double>(mantissa) / kPowersOfTen[fractionDigits];
  y = negative ? -value : value;
  return after;
}

// Reads a field starting at p that holds, between optional blanks, a plain decimal number (optional
// sign, at most 15 digits, optional full stop, no exponent): stores its value in y and returns where
// the field ends (its comma or the line's end). Returns nullptr for any other field, which the general
// path then reads; both give the same value for a plain number (one correctly rounded division).
const char* ReadPlainField(const char* p, const char* end, double& y) {
  while (p != end && IsBlankOrControlCharacter(*p)) ++p;
  if (p == end) return nullptr;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  std::uint64_t mantissa = 0;
  int digits = 0;
  int fractionDigits = 0;
  for (; p != end && static_cast<unsigned>(*p - '0') < 10; ++p, ++digits) {
    mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
  }
  if (p != end && *p == '.') {
    ++p;
    for (; p != end && static_cast<unsigned>(*p - '0') < 10; ++p, ++digits, ++fractionDigits) {
      mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
    }
  }
  if (digits == 0 || digits > 15) return nullptr;  // 15 digits stay below 2^53: exact in a double
  while (p != end && *p != ',') {
    if (!IsBlankOrControlCharacter(*p)) return nullptr;
    ++p;
  }
  const double value = static_cast<double>(mantissa) / kPowersOfTen[fractionDigits];
  y = negative ? -value : value;
  return p;
}

// The integer that begins the line, read 8 characters at a time when it is short and unsigned.
VARNOK_ALWAYS_INLINE std::int64_t LeadingInteger(std::string_view line, const char* readableEnd) {
  if (readableEnd - line.data() >= 8 && !line.empty() && static_cast<unsigned>(line[0] - '0') < 10) {
    const std::uint64_t chunk = LoadChunk(line.data());
    const int digits = DigitRunLength(chunk);
    if (digits < 8 && static_cast<std::size_t>(digits) <= line.size()) {
      return static_cast<std::int64_t>(DigitsValue(chunk, digits));
    }
  }
  return ReadLeadingInteger(line);
}

}  // namespace

void CalibrationParser::AddLine(std::string_view line, const char* readableEnd) {
  const LineHead head = SplitHead(line, readableEnd);
  const std::string_view type = head.recordType;
  const bool data =
      (type.size() == 2 && type[0] == '3' && type[1] == '1') || TrimBlanksAndControls(type) == "31";
  if (!result_.headerFound) {
    if (type == "30") {
      ReadHeader(line);
      return;
    }
    if (data) {
      pendingText_.append(line);
      pendingEnds_.push_back(pendingText_.size());
    }
    return;
  }
  if (data && head.restStart != std::string_view::npos) ReadData(line, head.restStart, readableEnd);
}

void CalibrationParser::ExpectLines(std::size_t lines) {
  expectedLines_ = lines;
  result_.points.xs.ExpectCount(lines);
  for (CalibrationColumn& column : result_.points.columns) column.ys.ExpectCount(lines);
}

void CalibrationParser::PopulateWith(PagePopulator* populator) {
  populator_ = populator;
  result_.points.xs.PopulateWith(populator);
  for (CalibrationColumn& column : result_.points.columns) column.ys.PopulateWith(populator);
}

void CalibrationParser::ReadHeader(std::string_view line) {
  result_.headerFound = true;
  result_.columnsEndedAtEmptyField = true;
  const std::size_t lines = maxLines_ > 0 ? maxLines_ : MostDataLines(pendingText_.size()) + 4096;
  CalibrationPoints& points = result_.points;
  for (std::size_t k = 0; k < kMaxCalibrationColumns; ++k) {
    const std::string_view title = CsvField(line, static_cast<int>(k + 3));
    if (title.empty()) break;
    points.columns.push_back(CalibrationColumn{std::string(title), PointArray(lines)});
  }
  if (points.columns.size() == kMaxCalibrationColumns) result_.columnsEndedAtEmptyField = false;
  if (!points.columns.empty()) points.xs = PointArray(lines);
  ExpectLines(expectedLines_);
  PopulateWith(populator_);

  std::size_t begin = 0;
  for (const std::size_t end : pendingEnds_) {
    const std::string_view data = std::string_view(pendingText_).substr(begin, end - begin);
    const std::size_t valuesStart = SplitHeadSlowly(data).restStart;
    if (valuesStart != std::string_view::npos) ReadData(data, valuesStart, data.data() + data.size());
    begin = end;
  }
  pendingText_.clear();
  pendingText_.shrink_to_fit();
  pendingEnds_.clear();
  pendingEnds_.shrink_to_fit();
}

namespace {

// One value field, whatever it holds: a number gives a point (0.0 when it does not read as one), an
// empty or letter-led field none (kNoPoint). True when it gave a point.
bool ReadAnyField(const char* p, const char* fieldEnd, double& y) {
  if (const char* after = ReadPlainField(p, fieldEnd, y); after == fieldEnd) return true;
  const std::string_view value =
      TrimBlanksAndControls(std::string_view(p, static_cast<std::size_t>(fieldEnd - p)));
  if (value.empty() || IsLetter(value.front())) {
    y = kNoPoint;
    return false;
  }
  y = ReadCalibrationValue(value).value_or(0.0);
  return true;
}

}  // namespace

void CalibrationParser::ReadData(std::string_view line, std::size_t valuesStart, const char* readableEnd) {
  CalibrationPoints& points = result_.points;
  const std::size_t columns = points.columns.size();
  if (columns == 0) return;
  double row[kMaxCalibrationColumns];
  bool anyPoint = false;
  const char* p = line.data() + valuesStart;
  const char* const end = line.data() + line.size();
  std::size_t m = 0;
  if (kFieldsAtOnce && readableEnd - end >= 64) {
    // The commas of the line are found 64 characters at a time first; then every field is read on its
    // own, knowing where it ends.
    const char* fieldStart = p;
    for (const char* block = p; block < end && m < columns; block += 64) {
      std::uint64_t commas = CommaBits(block);
      if (end - block < 64) commas &= (std::uint64_t{1} << (end - block)) - 1;
      for (; commas != 0 && m < columns; commas &= commas - 1, ++m) {
        const char* const comma = block + std::countr_zero(commas);
        double& y = row[m];
        if (ReadKnownShortField(fieldStart, static_cast<std::size_t>(comma - fieldStart), y)) {
          anyPoint = true;
        } else {
          anyPoint |= ReadAnyField(fieldStart, comma, y);
        }
        fieldStart = comma + 1;
      }
    }
    if (m < columns) {  // the last field runs to the line's end
      double& y = row[m];
      if (ReadKnownShortField(fieldStart, static_cast<std::size_t>(end - fieldStart), y)) {
        anyPoint = true;
      } else {
        anyPoint |= ReadAnyField(fieldStart, end, y);
      }
      ++m;
    }
  } else {
    for (; m < columns; ++m) {
      double y = 0.0;
      const char* after = p != end ? ReadShortField(p, end, readableEnd, y) : nullptr;
      if (after != nullptr) {
        row[m] = y;
        anyPoint = true;
        p = after;
      } else {
        const auto* comma = static_cast<const char*>(std::memchr(p, ',', static_cast<std::size_t>(end - p)));
        const char* const fieldEnd = comma ? comma : end;
        anyPoint |= ReadAnyField(p, fieldEnd, row[m]);
        p = fieldEnd;
      }
      if (p == end) {  // the remaining fields are empty
        ++m;
        break;
      }
      ++p;  // the comma
    }
  }
  if (!anyPoint) return;
  for (; m < columns; ++m) row[m] = kNoPoint;
  points.xs.push_back(static_cast<double>(LeadingInteger(line, readableEnd)));
  for (std::size_t k = 0; k < columns; ++k) points.columns[k].ys.push_back(row[k]);
}

CalibrationParser CalibrationParser::FollowerWithTheSameColumns(std::size_t bytes) const {
  CalibrationParser follower;
  follower.result_.headerFound = true;
  const std::size_t lines = MostDataLines(bytes);
  for (std::size_t k = 0; k < result_.points.columns.size(); ++k) {
    follower.result_.points.columns.push_back(CalibrationColumn{std::string(), PointArray(lines)});
  }
  follower.result_.points.xs = PointArray(lines);
  return follower;
}

void CalibrationParser::TakeLinesOf(CalibrationParser& follower) {
  CalibrationPoints& mine = result_.points;
  CalibrationPoints& theirs = follower.result_.points;
  mine.xs.Append(theirs.xs.data(), theirs.xs.size());
  theirs.xs.clear();
  for (std::size_t k = 0; k < mine.columns.size(); ++k) {
    mine.columns[k].ys.Append(theirs.columns[k].ys.data(), theirs.columns[k].ys.size());
    theirs.columns[k].ys.clear();
  }
}

CalibrationParseResult CalibrationParser::Finish() {
  PopulateWith(nullptr);
  if (!result_.headerFound) result_ = CalibrationParseResult{};
  pendingText_.clear();
  pendingEnds_.clear();
  return std::exchange(result_, CalibrationParseResult{});
}

CalibrationParseResult ParseCalibrationLines(const std::vector<std::string>& lines) {
  CalibrationParser parser;
  parser.ExpectAtMostLines(lines.size() + 1);
  for (const std::string& line : lines) {
    parser.AddLine(std::string_view(line).substr(0, kMaxLineLength));
  }
  return parser.Finish();
}

CalibrationParseResult ParseCalibrationText(std::string_view text) {
  CalibrationParser parser;
  parser.ExpectAtMostLines(MostDataLines(text.size()));
  ForEachLine(text, [&parser](const SplitLine& line) { parser.AddLine(line); });
  return parser.Finish();
}

}  // namespace varnok
