#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "calibration/CalibrationParser.h"
#include "calibration/MemoText.h"

namespace varnok {

struct CalibrationLoadOptions {
  std::size_t chunkBytes = std::size_t{4} << 20;
  // Chunks of at least this many bytes are read on two threads once the columns are known (0: never).
  std::size_t twoThreadsFrom = std::size_t{1} << 16;
  // The memory left for the points; asked once before reading.
  std::function<std::uint64_t()> availableMemory;
  // Called on the reading thread after each chunk with the bytes read so far (tests pause it here).
  std::function<void(std::uint64_t)> afterChunk;
};

// How the reading of a calibration file ended.
enum class LoadEnd {
  kRead,        // the whole file read and parsed
  kUnreadable,  // it could not be opened or read
  kTooLarge,    // refused: its points would not fit in the memory left
  kCancelled,
};

struct CalibrationLoadResult {
  LoadEnd end = LoadEnd::kUnreadable;
  CalibrationParseResult parse;
  // The text as read, for the memo (with kRead only).
  std::shared_ptr<const MemoText> text;
  std::uint64_t fileBytes = 0;
  std::uint64_t availableBytes = 0;
};

// Reads a calibration file in bounded chunks and parses it as it streams in. The bytes read go to a
// private snapshot with a line index, so the memo shows exactly the text the points came from, and the
// text is never held in memory. A file whose size exceeds the memory left is refused before a byte is
// read (the points of a campaign file take a little less than its text); should the points outgrow that
// memory while reading after all, the reading stops with the same refusal. `cancel` is looked at before
// every chunk; `bytesRead` follows the reading.
CalibrationLoadResult LoadCalibrationFile(const std::filesystem::path& path,
                                          const CalibrationLoadOptions& options,
                                          const std::atomic<bool>& cancel,
                                          std::atomic<std::uint64_t>& bytesRead);

// The same on a thread of its own. `onDone` runs on that thread when the reading has ended; the result
// is then ready. Destroying the load cancels it and waits for the thread. `retired` holds what the
// previous display leaves behind (its points, its text's snapshot): it is let go on the reading thread
// before reading, because handing hundreds of megabytes back to the system takes a while.
class BackgroundCalibrationLoad {
 public:
  BackgroundCalibrationLoad(std::filesystem::path path, CalibrationLoadOptions options,
                            std::function<void()> onDone,
                            std::vector<std::shared_ptr<const void>> retired = {});
  ~BackgroundCalibrationLoad();
  BackgroundCalibrationLoad(const BackgroundCalibrationLoad&) = delete;
  BackgroundCalibrationLoad& operator=(const BackgroundCalibrationLoad&) = delete;

  void Cancel() { cancel_ = true; }
  std::uint64_t BytesRead() const { return bytesRead_; }
  // The file's size, known once the reading has started (0 before).
  std::uint64_t TotalBytes() const { return totalBytes_; }
  // Whole percent of the file's bytes read so far.
  int PercentRead() const;
  // The result once `onDone` has run; waits for the thread.
  CalibrationLoadResult TakeResult();

 private:
  std::atomic<bool> cancel_{false};
  std::atomic<std::uint64_t> bytesRead_{0};
  std::atomic<std::uint64_t> totalBytes_{0};
  CalibrationLoadResult result_;
  std::thread thread_;
};

// The status text of a refusal: the file's size and the memory left, for instance
// "Too large: 338.2 MB, memory available 120.5 MB".
std::string TooLargeText(std::uint64_t fileBytes, std::uint64_t availableBytes);
// A size in bytes for people: "512 bytes", "12.3 KB", "338.2 MB", "1.5 GB" (powers of 1000).
std::string ByteSizeText(std::uint64_t bytes);

}  // namespace varnok
