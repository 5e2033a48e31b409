#include "tools/varnok-sim/SampleCalibration.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace varnok::sim {

extern const char* const kEmbeddedSampleConfigText;  // generated at build time

namespace {

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.push_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// Numbers separated by commas and blanks; false unless exactly 13 numbers stand in the line.
bool ParseRow(std::string_view line, CalibrationValues& out) {
  std::string text(line);
  for (char& c : text) {
    if (c == ',' || c == '\t') c = ' ';
  }
  const char* p = text.c_str();
  int count = 0;
  while (true) {
    while (*p == ' ') ++p;
    if (*p == '\0') break;
    char* end = nullptr;
    double value = std::strtod(p, &end);
    if (end == p || (*end != ' ' && *end != '\0')) return false;
    if (count == 13) return false;
    out[count++] = value;
    p = end;
  }
  return count == 13;
}

}  // namespace

std::vector<CalibrationValues> ParseCalibrationBlock(std::string_view configText) {
  std::vector<CalibrationValues> rows;
  const auto lines = SplitLines(configText);
  for (std::size_t h = 0; h < lines.size(); ++h) {
    if (lines[h].find("CALIBRATION BLOCK:") == std::string_view::npos) continue;
    // Dates, integration parameters, tolerance, count and titles precede the rows.
    for (std::size_t i = h + 7; i < lines.size() && rows.size() < kCalibrationRows; ++i) {
      CalibrationValues values{};
      if (!ParseRow(lines[i], values)) break;
      rows.push_back(values);
    }
    break;
  }
  return rows;
}

CalibrationValues PatternCalibrationRow(int index) {
  // The first, second and last lines of the factory table; the rest follow their receiver's
  // first line with the frequency stepped evenly.
  static constexpr CalibrationValues kFirst = {22.000,         0,
                                               275.0,          0.000140,
                                               32860,          18.0,
                                               0.98392,        -0.32971159E+06,
                                               0.44790604E+02, -0.43239577E+00,
                                               0.14312771E-02, -0.16304988E-05,
                                               127.31};
  static constexpr CalibrationValues kSecond = {22.234,         0,
                                                275.0,          0.000140,
                                                32860,          18.0,
                                                0.98243,        -0.29726145E+06,
                                                0.11691724E+03, -0.11739514E+01,
                                                0.40249243E-02, -0.47139065E-05,
                                                133.16};
  static constexpr CalibrationValues kLast = {58.800,         1,
                                              274.1,          0.000370,
                                              32860,          15.0,
                                              0.98943,        -0.87772135E+06,
                                              0.12778869E+03, -0.13737091E+01,
                                              0.47430698E-02, -0.52607825E-05,
                                              245.64};
  if (index <= 0) return kFirst;
  if (index == 1) return kSecond;
  if (index >= kCalibrationRows - 1) return kLast;
  CalibrationValues row;
  if (index < 21) {
    row = kSecond;
    row[0] = std::round((22.000 + (30.000 - 22.000) * index / 20.0) * 1000.0) / 1000.0;
  } else {
    row = kLast;
    row[0] = std::round((51.248 + (58.800 - 51.248) * (index - 21) / 13.0) * 1000.0) / 1000.0;
  }
  return row;
}

CalibrationRecord EncodeCalibrationRecord(const CalibrationValues& values) {
  CalibrationRecord record{};
  for (int i = 0; i < 6; ++i) {
    varnok::PutFloat32(record.data() + 4 * i, static_cast<float>(values[i]));
  }
  for (int i = 0; i < 6; ++i) {
    varnok::PutFloat64(record.data() + 24 + 8 * i, values[6 + i]);
  }
  varnok::PutFloat32(record.data() + 72, static_cast<float>(values[12]));
  return record;
}

CalibrationValues DecodeCalibrationRecord(const CalibrationRecord& record) {
  CalibrationValues values{};
  for (int i = 0; i < 6; ++i) values[i] = GetFloat32(record.data() + 4 * i);
  for (int i = 0; i < 6; ++i) values[6 + i] = GetFloat64(record.data() + 24 + 8 * i);
  values[12] = GetFloat32(record.data() + 72);
  return values;
}

std::string_view EmbeddedSampleConfig() { return kEmbeddedSampleConfigText; }

std::array<CalibrationRecord, kCalibrationRows> SampleCalibrationRows() {
  const auto parsed = ParseCalibrationBlock(EmbeddedSampleConfig());
  std::array<CalibrationRecord, kCalibrationRows> rows{};
  for (int i = 0; i < kCalibrationRows; ++i) {
    rows[i] =
        EncodeCalibrationRecord(i < static_cast<int>(parsed.size()) ? parsed[i] : PatternCalibrationRow(i));
  }
  return rows;
}

}  // namespace varnok::sim
