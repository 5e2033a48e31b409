#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "calibration/CalibrationPoints.h"
#include "calibration/LineSplitter.h"

namespace varnok {

// At most this many data columns of a calibration file are read.
inline constexpr std::size_t kMaxCalibrationColumns = 100;

// What the reader makes of a calibration file.
struct CalibrationParseResult {
  bool headerFound = false;
  // The title list ended at an empty field (fewer than kMaxCalibrationColumns columns), as opposed to
  // at the limit.
  bool columnsEndedAtEmptyField = false;
  // The data lines' horizontal values and one column per title, in header order.
  CalibrationPoints points;

  std::size_t ColumnCount() const { return points.columns.size(); }
};

// Reads a calibration file line by line: the header is the first line whose field 2 is exactly "30";
// every line whose field 2 is "31" (blanks around it allowed) is a data line, wherever it stands
// relative to the header. Lines are expected already cut to kMaxLineLength characters.
class CalibrationParser {
 public:
  // The most data lines the text can hold, when known: the point arrays set aside that much address
  // space (no memory) and so never move while they grow.
  void ExpectAtMostLines(std::size_t lines) { maxLines_ = lines; }
  // The data lines the text most likely holds in all, as the reading goes on (see PointArray).
  void ExpectLines(std::size_t lines);
  // The point memory is backed ahead on the populator's thread while the lines are read (nullptr:
  // backed as it fills). The populator must outlive the reading; Finish lets go of it.
  void PopulateWith(PagePopulator* populator);
  // Data lines kept so far.
  std::size_t LineCount() const { return result_.points.LineCount(); }
  void AddLine(std::string_view line) { AddLine(line, line.data() + line.size()); }
  // The same for a line that stands in a larger buffer whose bytes up to `readableEnd` may be read:
  // numbers are then read several characters at a time up to the line's very end.
  void AddLine(const SplitLine& line) { AddLine(line.text, line.readableEnd); }
  // The header has been read and named at least one column.
  bool HasColumns() const { return result_.headerFound && !result_.points.columns.empty(); }
  // A parser for a later stretch of the same file, with this one's columns and room for the data lines
  // of `bytes` bytes: its points go after this one's with TakeLinesOf.
  CalibrationParser FollowerWithTheSameColumns(std::size_t bytes) const;
  // Appends the other parser's points (read from the lines after this one's) and empties it, keeping
  // its memory for the next stretch.
  void TakeLinesOf(CalibrationParser& follower);
  // Memory the points take so far.
  std::size_t BytesInUse() const { return result_.points.BytesInUse() + pendingText_.capacity(); }
  CalibrationParseResult Finish();

 private:
  void AddLine(std::string_view line, const char* readableEnd);
  void ReadHeader(std::string_view line);
  // A data line whose value fields start at `valuesStart`.
  void ReadData(std::string_view line, std::size_t valuesStart, const char* readableEnd);

  CalibrationParseResult result_;
  std::size_t maxLines_ = 0;
  std::size_t expectedLines_ = 0;
  PagePopulator* populator_ = nullptr;
  // Data lines met before the header, read once the columns are known.
  std::string pendingText_;
  std::vector<std::size_t> pendingEnds_;
};

// Titles and series from a list of lines (each cut to kMaxLineLength characters).
CalibrationParseResult ParseCalibrationLines(const std::vector<std::string>& lines);

// The same for a whole text whose lines end at CR LF, LF or CR.
CalibrationParseResult ParseCalibrationText(std::string_view text);

// The most data lines a text of `bytes` bytes can hold: a data line has at least ",,31" and a line end.
inline std::size_t MostDataLines(std::size_t bytes) { return bytes / 5 + 1; }

}  // namespace varnok
