// The calibration file's line splitter fed in blocks of any size gives the same lines as a plain
// split of the whole text, and the line index the same number of lines; the calibration parser reads
// the same points, bit for bit, from the text (where numbers are read many characters at a time) and
// from those lines (one by one).
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "calibration/CalibrationParser.h"
#include "calibration/LineIndex.h"
#include "calibration/LineSplitter.h"

using namespace varnok;

namespace {

std::vector<std::string> PlainLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  bool open = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line.substr(0, kMaxLineLength));
      line.clear();
      open = false;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
      open = true;
    }
  }
  if (open) lines.push_back(line.substr(0, kMaxLineLength));
  return lines;
}

bool SameBits(const PointArray& a, const PointArray& b) {
  return a.size() == b.size() &&
         (a.size() == 0 || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t block = 1 + data[0] % 64;  // the first byte chooses the block size
  const std::string_view text = AsText(data + 1, size - 1);

  LineSplitter splitter;
  std::vector<std::string> lines;
  auto take = [&lines](std::string_view line) { lines.emplace_back(line); };
  for (std::size_t at = 0; at < text.size(); at += block) splitter.Feed(text.substr(at, block), take);
  splitter.Finish(take);
  FUZZ_CHECK(lines == PlainLines(text));
  LineIndex index;
  for (std::size_t at = 0; at < text.size(); at += block) index.Feed(text.substr(at, block));
  index.Finish();
  FUZZ_CHECK(index.LineCount() == lines.size());

  const CalibrationParseResult fromText = ParseCalibrationText(text);
  const CalibrationParseResult fromLines = ParseCalibrationLines(lines);
  FUZZ_CHECK(fromText.headerFound == fromLines.headerFound);
  FUZZ_CHECK(fromText.ColumnCount() == fromLines.ColumnCount());
  FUZZ_CHECK(SameBits(fromText.points.xs, fromLines.points.xs));
  for (std::size_t m = 0; m < fromText.ColumnCount() && m < fromLines.ColumnCount(); ++m) {
    FUZZ_CHECK(SameBits(fromText.points.columns[m].ys, fromLines.points.columns[m].ys));
  }
  return 0;
}
