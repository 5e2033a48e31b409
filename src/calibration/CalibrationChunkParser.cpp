#include "calibration/CalibrationChunkParser.h"

#include "calibration/PagePopulator.h"

namespace varnok {

CalibrationChunkParser::CalibrationChunkParser(CalibrationParser& parser, bool twoThreads,
                                               std::size_t splitAtLeast)
    : parser_(parser), splitAtLeast_(splitAtLeast), twoThreads_(twoThreads) {
  if (!twoThreads_) return;
  helper_ = std::thread([this] {
    std::unique_lock lock(mutex_);
    while (true) {
      changed_.wait(lock, [this] { return stop_ || hasJob_; });
      if (stop_) return;
      const std::string_view lines = job_;
      lock.unlock();
      std::exception_ptr failure;
      try {
        ForEachLine(lines, [this](const SplitLine& line) { follower_->AddLine(line); });
      } catch (...) {
        failure = std::current_exception();
      }
      lock.lock();
      failure_ = failure;
      hasJob_ = false;
      changed_.notify_all();
    }
  });
}

CalibrationChunkParser::~CalibrationChunkParser() {
  if (!twoThreads_) return;
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  helper_.join();
}

void CalibrationChunkParser::RunOnHelper(std::string_view lines) {
  {
    std::lock_guard lock(mutex_);
    job_ = lines;
    hasJob_ = true;
  }
  changed_.notify_all();
}

void CalibrationChunkParser::WaitForHelper() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !hasJob_; });
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void CalibrationChunkParser::Feed(std::string_view chunk) {
  const auto addLine = [this](const SplitLine& line) { parser_.AddLine(line); };
  if (!twoThreads_ || chunk.size() < splitAtLeast_ || !parser_.HasColumns()) {
    splitter_.Feed(chunk, addLine);
    return;
  }
  // The helper takes whole lines from just after an LF near the middle up to the chunk's last LF: no
  // line and no CR LF pair is cut there.
  const std::size_t middle = chunk.find('\n', chunk.size() / 2);
  const std::size_t last = chunk.rfind('\n');
  if (middle == std::string_view::npos || middle >= last) {
    splitter_.Feed(chunk, addLine);
    return;
  }
  if (!follower_)
    follower_ = std::make_unique<CalibrationParser>(parser_.FollowerWithTheSameColumns(chunk.size()));
  RunOnHelper(chunk.substr(middle + 1, last - middle));
  try {
    splitter_.Feed(chunk.substr(0, middle + 1), addLine);
  } catch (...) {
    WaitForHelper();
    throw;
  }
  WaitForHelper();
  parser_.TakeLinesOf(*follower_);
  splitter_.Feed(chunk.substr(last + 1), addLine);  // the start of a line that the next chunk ends
}

void CalibrationChunkParser::Finish() {
  splitter_.Finish([this](const SplitLine& line) { parser_.AddLine(line); });
}

std::size_t CalibrationChunkParser::BytesInUse() const {
  return parser_.BytesInUse() + (follower_ ? follower_->BytesInUse() : 0);
}

CalibrationParseResult ParseCalibrationTextOnTwoThreads(std::string_view text, std::size_t chunkBytes,
                                                        std::size_t splitAtLeast) {
  CalibrationParser parser;
  parser.ExpectAtMostLines(MostDataLines(text.size()));
  PagePopulator populator;
  parser.PopulateWith(&populator);
  {
    CalibrationChunkParser chunks(parser, true, splitAtLeast);
    for (std::size_t at = 0; at < text.size(); at += chunkBytes) {
      chunks.Feed(text.substr(at, chunkBytes));
      if (parser.LineCount() > 0) {
        const double perByte = static_cast<double>(parser.LineCount()) / static_cast<double>(at + chunkBytes);
        parser.ExpectLines(static_cast<std::size_t>(perByte * static_cast<double>(text.size()) * 1.01) +
                           1024);
      }
    }
    chunks.Finish();
  }
  return parser.Finish();
}

}  // namespace varnok
