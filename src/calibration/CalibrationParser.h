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
  // The size of the whole text, when known: the series are then sized once from the length of the
  // first data line instead of growing step by step.
  void ExpectTextSize(std::size_t bytes) { expectedBytes_ = bytes; }
  // Point storage of an earlier result to fill again: reading a long file into memory already in use
  // avoids the cost of fresh memory, which for a long campaign is most of the reading time.
  void ReuseStorage(std::vector<CalibrationSeries> spare) { spare_ = std::move(spare); }
  void AddLine(std::string_view line);
  CalibrationParseResult Finish();

 private:
  void ReadHeader(std::string_view line);
  void ReadData(std::string_view line);

  void ReserveFor(std::size_t lineLength);

  CalibrationParseResult result_;
  std::size_t expectedBytes_ = 0;
  bool reserved_ = false;
  std::vector<CalibrationSeries> spare_;
  // Data lines met before the header, read once the columns are known.
  std::string pendingText_;
  std::vector<std::size_t> pendingEnds_;
};

// Titles and series from a list of lines (each cut to kMaxLineLength characters).
CalibrationParseResult ParseCalibrationLines(const std::vector<std::string>& lines);

// The same for a whole text whose lines end at CR LF, LF or CR, optionally into reused storage.
CalibrationParseResult ParseCalibrationText(std::string_view text, std::vector<CalibrationSeries> spare = {});

}  // namespace varnok
