#include "CalibrationParser.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#include "CalibrationNumber.h"
#include "CsvField.h"
#include "LineSplitter.h"
#include "link/LittleEndian.h"

namespace varnok {

namespace {

// Where field 3 begins and field 2 is, found with one pass over the first three commas.
struct LineHead {
  std::string_view recordType;  // field 2
  std::size_t restStart;        // start of field 3, or npos when the line has no field 3
};

LineHead SplitHead(std::string_view line) {
  const std::size_t first = line.find(',');
  if (first == std::string_view::npos) return {{}, std::string_view::npos};
  const std::size_t second = line.find(',', first + 1);
  if (second == std::string_view::npos) return {{}, std::string_view::npos};
  const std::size_t third = line.find(',', second + 1);
  if (third == std::string_view::npos) return {line.substr(second + 1), std::string_view::npos};
  return {line.substr(second + 1, third - second - 1), third + 1};
}

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsBlankOrControlCharacter(char c) { return static_cast<unsigned char>(c) <= 0x20; }

constexpr std::uint64_t kPowersOfTenInt[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Where the first byte that is not a decimal digit lies among the 8 bytes of `chunk` (first character in
// the lowest byte), or 8 when all are digits.
int DigitRunLength(std::uint64_t chunk) {
  const std::uint64_t x = chunk ^ 0x3030303030303030u;  // a digit becomes 0 … 9 in its byte
  // A byte is a digit when its high half is 0 and its low half plus 6 stays below 16; the low halves
  // are added on their own so that no carry crosses into the next byte.
  const std::uint64_t notDigit = (x | ((x & 0x0f0f0f0f0f0f0f0fu) + 0x0606060606060606u)) & 0xf0f0f0f0f0f0f0f0u;
  return notDigit == 0 ? 8 : std::countr_zero(notDigit) / 8;
}

// The value of the first `count` (0 … 8) digit characters of `chunk`.
std::uint64_t DigitsValue(std::uint64_t chunk, int count) {
  if (count == 0) return 0;
  // Move the digits to the top bytes and fill the bytes below with '0': eight digits, leading zeros.
  std::uint64_t eight = chunk << (8 * (8 - count));
  if (count < 8) eight |= 0x3030303030303030u >> (8 * count);
  eight -= 0x3030303030303030u;
  eight = eight * 10 + (eight >> 8);  // pairs of digits
  eight = (((eight & 0x000000ff000000ffu) * 0x000f424000000064u) +
           (((eight >> 16) & 0x000000ff000000ffu) * 0x0000271000000001u)) >> 32;
  return eight;
}

std::uint64_t LoadChunk(const char* p) { return GetUInt64(reinterpret_cast<const std::uint8_t*>(p)); }

// The digits of a short fixed-point number (at most 7 digits before and 7 after an optional full
// stop, at least one digit) read 8 characters at a time when the line has that many left: moves p
// past them and gives the digits as one integer and how many follow the full stop. False, with p
// unchanged, for any other text or near the line's end; the digit-by-digit loop then reads it.
bool ReadShortDigits(const char*& p, const char* end, std::uint64_t& mantissa, int& fractionDigits) {
  if (end - p < 8) return false;
  const std::uint64_t whole = LoadChunk(p);
  const int wholeDigits = DigitRunLength(whole);
  if (wholeDigits == 8) return false;
  const char* after = p + wholeDigits;
  std::uint64_t value = DigitsValue(whole, wholeDigits);
  int afterStop = 0;
  if (*after == '.') {
    ++after;
    if (end - after < 8) return false;
    const std::uint64_t fraction = LoadChunk(after);
    afterStop = DigitRunLength(fraction);
    if (afterStop == 8) return false;
    value = value * kPowersOfTenInt[afterStop] + DigitsValue(fraction, afterStop);
    after += afterStop;
  }
  if (wholeDigits + afterStop == 0) return false;
  p = after;
  mantissa = value;
  fractionDigits = afterStop;
  return true;
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
  if (ReadShortDigits(p, end, mantissa, fractionDigits)) {
    digits = 1;  // at least one, at most 14: within the limit below
  } else {
    for (; p != end && static_cast<unsigned>(*p - '0') < 10; ++p, ++digits) {
      mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
    }
    if (p != end && *p == '.') {
      ++p;
      for (; p != end && static_cast<unsigned>(*p - '0') < 10; ++p, ++digits, ++fractionDigits) {
        mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
      }
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

}  // namespace

void CalibrationParser::AddLine(std::string_view line) {
  const LineHead head = SplitHead(line);
  if (!result_.headerFound) {
    if (head.recordType == "30") {
      ReadHeader(line);
      return;
    }
    if (TrimBlanksAndControls(head.recordType) == "31") {
      pendingText_.append(line);
      pendingEnds_.push_back(pendingText_.size());
    }
    return;
  }
  if (TrimBlanksAndControls(head.recordType) == "31") ReadData(line);
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

  std::size_t begin = 0;
  for (const std::size_t end : pendingEnds_) {
    ReadData(std::string_view(pendingText_).substr(begin, end - begin));
    begin = end;
  }
  pendingText_.clear();
  pendingText_.shrink_to_fit();
  pendingEnds_.clear();
  pendingEnds_.shrink_to_fit();
}

void CalibrationParser::ReadData(std::string_view line) {
  CalibrationPoints& points = result_.points;
  const std::size_t columns = points.columns.size();
  if (columns == 0) return;
  const std::size_t start = SplitHead(line).restStart;
  if (start == std::string_view::npos) return;  // no value fields at all
  double row[kMaxCalibrationColumns];
  bool anyPoint = false;
  const char* p = line.data() + start;
  const char* const end = line.data() + line.size();
  std::size_t m = 0;
  for (; m < columns; ++m) {
    double y = 0.0;
    if (const char* after = ReadPlainField(p, end, y)) {
      // The common field: a short fixed-point number, perhaps with blanks around it.
      row[m] = y;
      anyPoint = true;
      p = after;
    } else {
      const auto* comma = static_cast<const char*>(std::memchr(p, ',', static_cast<std::size_t>(end - p)));
      const char* const fieldEnd = comma ? comma : end;
      const std::string_view value =
          TrimBlanksAndControls(std::string_view(p, static_cast<std::size_t>(fieldEnd - p)));
      if (!value.empty() && !IsLetter(value.front())) {
        row[m] = ReadCalibrationValue(value).value_or(0.0);
        anyPoint = true;
      } else {
        row[m] = kNoPoint;
      }
      p = fieldEnd;
    }
    if (p == end) {  // the remaining fields are empty
      ++m;
      break;
    }
    ++p;  // the comma
  }
  if (!anyPoint) return;
  for (; m < columns; ++m) row[m] = kNoPoint;
  points.xs.push_back(static_cast<double>(ReadLeadingInteger(line)));
  for (std::size_t k = 0; k < columns; ++k) points.columns[k].ys.push_back(row[k]);
}

CalibrationParseResult CalibrationParser::Finish() {
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
  ForEachLine(text, [&parser](std::string_view line) { parser.AddLine(line); });
  return parser.Finish();
}

}  // namespace varnok
