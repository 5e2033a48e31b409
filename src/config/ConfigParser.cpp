#include "config/ConfigParser.h"

#include <algorithm>
#include <limits>

#include "core/InstrumentText.h"
#include "core/TextConversions.h"

namespace varnok {

namespace {

bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= 32; }

bool Contains(std::string_view line, std::string_view part) {
  return line.find(part) != std::string_view::npos;
}

// The text before the first occurrence of `marker`, untrimmed (the whole line when it is absent).
std::string TextBefore(std::string_view line, std::string_view marker) {
  return std::string(line.substr(0, line.find(marker)));
}

// The first `count` characters (not bytes) of a UTF-8 line.
std::string FirstChars(std::string_view line, std::size_t count) {
  return std::string(FirstCharacters(line, count));
}

void ParseCalibrationBlocks(const std::vector<std::string>& lines, ConfigPanel& panel, bool& badCount) {
  const std::size_t total = lines.size();
  std::size_t i = 0;
  while (i < total) {
    if (!Contains(lines[i], kCalibrationBlockHeader)) {
      ++i;
      continue;
    }
    const std::size_t h = i;
    auto exists = [&](std::size_t offset) { return h + offset < total; };

    if (!exists(1)) return;
    panel.LastFCal = FirstChars(lines[h + 1], 20);
    if (!exists(2)) return;
    panel.LastUserCal = FirstChars(lines[h + 2], 20);
    if (!exists(3)) return;
    if (Contains(lines[h + 3], ":ln2 calibration")) panel.CalIntParam = TextBefore(lines[h + 3], ":ln2");
    if (!exists(4)) return;
    if (Contains(lines[h + 4], ":target tolerance")) panel.CFG_C11 = TextBefore(lines[h + 4], ":target");
    if (!exists(5)) return;
    if (Contains(lines[h + 5], ":number of frequencies")) {
      panel.NumberOfFreq = TrimConfigText(TextBefore(lines[h + 5], ":number of"));
    }
    if (!exists(6) || !exists(7)) return;

    const std::optional<std::int32_t> count = ParseConfigInteger(panel.NumberOfFreq);
    if (!count) {
      badCount = true;
      return;
    }
    const std::size_t available = total - (h + 7);
    const std::size_t rows = std::min<std::size_t>(
        {static_cast<std::size_t>(std::max<std::int32_t>(*count, 0)), available, kCalibrationRows});
    for (std::size_t j = 0; j < rows; ++j) FillTableRow(lines[h + 7 + j], panel.FTable[j + 1]);

    i = h + 8;  // a later block overwrites this one's values
  }
}

}  // namespace

std::vector<std::string> SplitConfigLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(text.substr(start, pos - start));
      if (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
      start = ++pos;
    } else {
      ++pos;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string TrimConfigText(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsTrimmed(text[begin])) ++begin;
  while (end > begin && IsTrimmed(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

std::optional<std::int32_t> ParseConfigInteger(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  if (pos == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

std::optional<std::size_t> FindConfigHeader(const std::vector<std::string>& lines, std::string_view header) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (Contains(lines[i], header)) return i;
  }
  return std::nullopt;
}

namespace {

// The value k lines after a header already found at line h (or not found).
std::string ValueAfterHeader(const std::vector<std::string>& lines, std::optional<std::size_t> h,
                             std::int64_t k) {
  if (!h || k < 0) return {};
  // Both terms are below the line count and 2^63, so the sum cannot overflow; compare before indexing.
  if (static_cast<std::uint64_t>(k) >= lines.size() - *h) return {};
  const std::string& line = lines[*h + static_cast<std::size_t>(k)];
  if (line.empty()) return {};

  std::size_t p = line.find(':');
  if (p == std::string::npos) p = line.find("  ");
  // Position counted from 1 must exceed 2: the marker stands at index 2 or later.
  if (p != std::string::npos && p >= 2) return TrimConfigText(std::string_view(line).substr(0, p));
  return TrimConfigText(line);
}

std::int32_t IntAfterHeader(const std::vector<std::string>& lines, std::optional<std::size_t> h,
                            std::int64_t k) {
  return ParseConfigInteger(ValueAfterHeader(lines, h, k)).value_or(0);
}

}  // namespace

std::string FindConfigValue(const std::vector<std::string>& lines, std::string_view header, std::int64_t k) {
  return ValueAfterHeader(lines, FindConfigHeader(lines, header), k);
}

std::int32_t FindConfigInt(const std::vector<std::string>& lines, std::string_view header, std::int64_t k) {
  return IntAfterHeader(lines, FindConfigHeader(lines, header), k);
}

void FillTableRow(std::string_view line, CalibrationRow& row) {
  const std::vector<std::string> items = SplitCommaList(line);
  for (std::size_t c = 0; c < row.size(); ++c) {
    if (c >= items.size()) {
      row[c].clear();
    } else {
      row[c] = items[c].empty() ? std::string(" ") : items[c];
    }
  }
}

ParseOutcome ParseConfiguration(const std::vector<std::string>& lines, ConfigPanel& panel) {
  bool badCount = false;
  ParseCalibrationBlocks(lines, panel, badCount);
  if (badCount) return ParseOutcome::kBadFrequencyCount;

  // Each section header is looked up once; every value of the section is read from that line on.
  const std::optional<std::size_t> tip = FindConfigHeader(lines, kTipHeader);
  panel.Tip1 = ValueAfterHeader(lines, tip, 1);
  panel.Tip2 = ValueAfterHeader(lines, tip, 2);
  panel.Tip3 = ValueAfterHeader(lines, tip, 3);
  // The count comes from the file: a negative one counts as 0, and the list ends with the file.
  const std::int64_t n = std::max<std::int32_t>(IntAfterHeader(lines, tip, 3), 0);
  panel.TipL.clear();
  if (tip) {
    const std::int64_t anglesInFile = static_cast<std::int64_t>(lines.size() - *tip) - 4;
    for (std::int64_t k = 0; k < n && k < anglesInFile; ++k) {
      panel.TipL.push_back(std::to_string(IntAfterHeader(lines, tip, k + 4)));
    }
  }
  panel.Tip9 = ValueAfterHeader(lines, tip, n + 4);
  panel.Tip10 = ValueAfterHeader(lines, tip, n + 5);

  const std::optional<std::size_t> blower = FindConfigHeader(lines, kBlowerHeader);
  panel.BlRain = ValueAfterHeader(lines, blower, 1);
  panel.BlRH = ValueAfterHeader(lines, blower, 2);
  panel.BlSpeed = ValueAfterHeader(lines, blower, 3);

  const std::optional<std::size_t> coef = FindConfigHeader(lines, kCoefHeader);
  std::string* const coefficients[] = {&panel.CFG_C1, &panel.CFG_C2, &panel.CFG_C3, &panel.CFG_C4,
                                       &panel.CFG_C5, &panel.CFG_C6, &panel.CFG_C7, &panel.CFG_C8,
                                       &panel.CFG_C9, &panel.CFG_C10};
  for (int k = 0; k < 10; ++k) *coefficients[k] = ValueAfterHeader(lines, coef, k + 1);

  const std::optional<std::size_t> user = FindConfigHeader(lines, kUserCorrectionsHeader);
  panel.Offset1 = ValueAfterHeader(lines, user, 1);
  panel.Offset2 = ValueAfterHeader(lines, user, 2);
  panel.Offset3 = ValueAfterHeader(lines, user, 3);
  panel.Offset4 = ValueAfterHeader(lines, user, 4);
  return ParseOutcome::kComplete;
}

}  // namespace varnok
