#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "CalibrationSeries.h"

namespace varnok {

// At most this many data columns of a calibration file are read.
inline constexpr std::size_t kMaxCalibrationColumns = 100;

// What the reader makes of a calibration file.
struct CalibrationParseResult {
  bool headerFound = false;
  // The title list ended at an empty field (fewer than kMaxCalibrationColumns columns), as opposed to
  // at the limit.
  bool columnsEndedAtEmptyField = false;
  // One series per column, in header order, each with its title.
  std::vector<CalibrationSeries> series;

  std::size_t ColumnCount() const { return series.size(); }
};

// Reads a calibration file line by line: the header is the first line whose field 2 is exactly "30";
// every line whose field 2 is "31" (blanks around it allowed) is a data line, wherever it stands
// relative to the header. Lines are expected already cut to kMaxLineLength characters.
class CalibrationParser {
 public:
  void AddLine(std::string_view line);
  CalibrationParseResult Finish();

 private:
  void ReadHeader(std::string_view line);
  void ReadData(std::string_view line);

  CalibrationParseResult result_;
  // Data lines met before the header, read once the columns are known.
  std::string pendingText_;
  std::vector<std::size_t> pendingEnds_;
};

// Titles and series from a list of lines (each cut to kMaxLineLength characters).
CalibrationParseResult ParseCalibrationLines(const std::vector<std::string>& lines);

// The same for a whole text whose lines end at CR LF, LF or CR.
CalibrationParseResult ParseCalibrationText(std::string_view text);

}  // namespace varnok
