#pragma once
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

namespace varnok {

// Reads an open file in chunks on a thread of its own, a few chunks ahead of the one who takes them, so
// that the disk and the work on the bytes go on side by side. Each chunk is also handed, on the reading
// thread, to `keep` (which copies it elsewhere) before it is offered. The buffers are reused: memory
// stays at (ahead + 1) chunks whatever the file's size.
class ReadAheadFile {
 public:
  // Reads at most `size` bytes of `file` (which must stay open until this object is gone).
  ReadAheadFile(std::FILE* file, std::uint64_t size, std::size_t chunkBytes,
                std::function<bool(std::string_view)> keep, std::size_t ahead = 2);
  // Stops the reading and waits for its thread.
  ~ReadAheadFile();
  ReadAheadFile(const ReadAheadFile&) = delete;
  ReadAheadFile& operator=(const ReadAheadFile&) = delete;

  // Waits for the next chunk; an empty one once the reading has ended (the file's end, a shorter file
  // than announced, or a failure: see Failed). The chunk stays valid until Release.
  std::string_view Next();
  void Release();
  // The file could not be read, or `keep` refused a chunk.
  bool Failed() const;

 private:
  void ReadAll(std::FILE* file, std::uint64_t size, const std::function<bool(std::string_view)>& keep);

  std::vector<std::vector<char>> buffers_;
  std::vector<std::size_t> filled_;  // bytes in each buffer
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t head_ = 0;  // chunks taken
  std::size_t tail_ = 0;  // chunks read
  bool ended_ = false;
  bool failed_ = false;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace varnok
