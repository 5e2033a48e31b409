#include "calibration/CalibrationFileLoad.h"

#include <cstdio>
#include <new>
#include <vector>

#include "calibration/AvailableMemory.h"
#include "calibration/CalibrationChunkParser.h"
#include "calibration/LineSplitter.h"
#include "calibration/PagePopulator.h"
#include "calibration/ReadAheadFile.h"
#include "calibration/ReservedMemory.h"

namespace varnok {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

CalibrationLoadResult Read(const std::filesystem::path& path, const CalibrationLoadOptions& options,
                           const std::atomic<bool>& cancel, std::atomic<std::uint64_t>& bytesRead,
                           std::atomic<std::uint64_t>* totalBytes) {
  CalibrationLoadResult result;
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return result;
#ifdef _WIN32
  FileHandle file(::_wfopen(path.c_str(), L"rb"));
#else
  FileHandle file(std::fopen(path.c_str(), "rb"));
#endif
  if (!file) return result;
  // The bytes there are now are the text displayed: whatever is appended while reading is not.
  const auto size = std::filesystem::file_size(path, error);
  if (error) return result;
  result.fileBytes = size;
  if (totalBytes) *totalBytes = size;
  result.availableBytes = options.availableMemory ? options.availableMemory() : AvailableMemoryBytes();
  if (result.fileBytes > result.availableBytes) {
    result.end = LoadEnd::kTooLarge;
    return result;
  }

  std::unique_ptr<FileSnapshot> snapshot = FileSnapshot::Create();
  if (!snapshot) return result;  // no temporary folder to keep the text in
  CalibrationParser parser;
  parser.ExpectAtMostLines(MostDataLines(size));
  LineIndex index;
  std::uint64_t done = 0;
  try {
    PagePopulator populator;  // goes before the parser's points can
    parser.PopulateWith(&populator);
    CalibrationChunkParser chunks(parser, options.twoThreadsFrom > 0, options.twoThreadsFrom);
    // The disk, the copy for the memo and its line index on one thread; the lines and numbers on this
    // one and a helper.
    ReadAheadFile reading(file.get(), size, options.chunkBytes, [&snapshot, &index](std::string_view bytes) {
      if (!snapshot->Append(bytes.data(), bytes.size())) return false;
      index.Feed(bytes);
      return true;
    });
    while (true) {
      if (cancel) {
        result.end = LoadEnd::kCancelled;
        return result;
      }
      const std::string_view bytes = reading.Next();
      if (bytes.empty()) break;
      chunks.Feed(bytes);
      reading.Release();
      done += bytes.size();
      bytesRead = done;
      // The line index (four bytes a line) grows on the reading thread: counted here from the lines read.
      if (chunks.BytesInUse() + parser.LineCount() * sizeof(std::uint32_t) > result.availableBytes) {
        result.end = LoadEnd::kTooLarge;
        return result;
      }
      // The lines to come, at the rate so far: the point arrays take little memory beyond the last.
      if (parser.LineCount() > 0) {
        const double perByte = static_cast<double>(parser.LineCount()) / static_cast<double>(done);
        parser.ExpectLines(static_cast<std::size_t>(perByte * static_cast<double>(size) * 1.01) + 1024);
      }
      if (options.afterChunk) options.afterChunk(done);
    }
    if (reading.Failed()) return result;
    if (cancel) {
      result.end = LoadEnd::kCancelled;
      return result;
    }
    chunks.Finish();
    index.Finish();
    result.parse = parser.Finish();
  } catch (const std::bad_alloc&) {
    // The system ran out of memory for the points after all.
    result.parse = CalibrationParseResult{};
    result.end = LoadEnd::kTooLarge;
    return result;
  }
  result.text = std::make_shared<const MemoText>(std::move(snapshot), std::move(index));
  result.end = LoadEnd::kRead;
  return result;
}

std::string OneDecimal(double value, const char* unit) {
  char text[64];
  std::snprintf(text, sizeof text, "%.1f %s", value, unit);
  return text;
}

}  // namespace

CalibrationLoadResult LoadCalibrationFile(const std::filesystem::path& path,
                                          const CalibrationLoadOptions& options,
                                          const std::atomic<bool>& cancel,
                                          std::atomic<std::uint64_t>& bytesRead) {
  return Read(path, options, cancel, bytesRead, nullptr);
}

BackgroundCalibrationLoad::BackgroundCalibrationLoad(std::filesystem::path path,
                                                     CalibrationLoadOptions options,
                                                     std::function<void()> onDone,
                                                     std::vector<std::shared_ptr<const void>> retired) {
  thread_ = std::thread([this, path = std::move(path), options = std::move(options),
                         onDone = std::move(onDone), retired = std::move(retired)]() mutable {
    retired.clear();
    result_ = Read(path, options, cancel_, bytesRead_, &totalBytes_);
    ReturnFreedHeapMemory();  // what the previous display and the reading's own buffers left
    if (onDone) onDone();
  });
}

BackgroundCalibrationLoad::~BackgroundCalibrationLoad() {
  cancel_ = true;
  if (thread_.joinable()) thread_.join();
}

int BackgroundCalibrationLoad::PercentRead() const {
  const std::uint64_t total = totalBytes_;
  if (total == 0) return 0;
  return static_cast<int>(static_cast<double>(bytesRead_) * 100.0 / static_cast<double>(total));
}

CalibrationLoadResult BackgroundCalibrationLoad::TakeResult() {
  if (thread_.joinable()) thread_.join();
  return std::move(result_);
}

std::string ByteSizeText(std::uint64_t bytes) {
  if (bytes < 1000) return std::to_string(bytes) + " bytes";
  const double value = static_cast<double>(bytes);
  if (bytes < 1000 * 1000) return OneDecimal(value / 1e3, "KB");
  if (bytes < 1000ull * 1000 * 1000) return OneDecimal(value / 1e6, "MB");
  return OneDecimal(value / 1e9, "GB");
}

std::string TooLargeText(std::uint64_t fileBytes, std::uint64_t availableBytes) {
  return "Too large: " + ByteSizeText(fileBytes) + ", memory available " + ByteSizeText(availableBytes);
}

}  // namespace varnok
