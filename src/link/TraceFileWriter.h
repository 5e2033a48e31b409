#pragma once
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace varnok {

// Appends lines to a trace file on a thread of its own: Write only queues the line, so the caller
// (the user-interface thread) never waits for the disk. Each line is flushed to the system as soon as
// it is written, so a crash of the program loses nothing already handed over. The destructor writes
// what is queued, then closes the file.
class TraceFileWriter {
 public:
  // Nothing when the file cannot be opened for appending.
  static std::unique_ptr<TraceFileWriter> Open(const std::string& path);
  ~TraceFileWriter();
  TraceFileWriter(const TraceFileWriter&) = delete;
  TraceFileWriter& operator=(const TraceFileWriter&) = delete;

  // Queues one line; the line end ("\n") is added.
  void Write(const std::string& line);

 private:
  explicit TraceFileWriter(std::FILE* file);
  void Run();

  std::FILE* file_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::string> queue_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace varnok
