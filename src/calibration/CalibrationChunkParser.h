#pragma once
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

#include "calibration/CalibrationParser.h"
#include "calibration/LineSplitter.h"

namespace varnok {

// Feeds the chunks of a calibration file to a parser, on two threads once the columns are known: the
// lines of the first half of each chunk are read here, those of the second half meanwhile on a helper
// thread into a second parser, whose points are then appended in file order. The points are the same,
// bit for bit, as one thread reading every line. Chunks shorter than `splitAtLeast` bytes, text before
// the header and lines spanning chunks are read here alone.
class CalibrationChunkParser {
 public:
  CalibrationChunkParser(CalibrationParser& parser, bool twoThreads,
                         std::size_t splitAtLeast = std::size_t{1} << 16);
  ~CalibrationChunkParser();
  CalibrationChunkParser(const CalibrationChunkParser&) = delete;
  CalibrationChunkParser& operator=(const CalibrationChunkParser&) = delete;

  void Feed(std::string_view chunk);
  // Reads the last line when the text does not end with a line end.
  void Finish();
  // Memory the points take so far, the helper's included.
  std::size_t BytesInUse() const;

 private:
  void RunOnHelper(std::string_view lines);
  void WaitForHelper();

  CalibrationParser& parser_;
  std::size_t splitAtLeast_;
  LineSplitter splitter_;
  std::unique_ptr<CalibrationParser> follower_;  // the helper's, once the columns are known

  bool twoThreads_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::string_view job_;
  bool hasJob_ = false;
  bool stop_ = false;
  std::exception_ptr failure_;
  std::thread helper_;
};

// The whole text on two threads, in chunks of `chunkBytes` (the point memory backed ahead on a third).
CalibrationParseResult ParseCalibrationTextOnTwoThreads(std::string_view text,
                                                        std::size_t chunkBytes = std::size_t{4} << 20,
                                                        std::size_t splitAtLeast = std::size_t{1} << 16);

}  // namespace varnok
