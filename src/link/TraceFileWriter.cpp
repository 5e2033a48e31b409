#include "link/TraceFileWriter.h"

namespace varnok {

std::unique_ptr<TraceFileWriter> TraceFileWriter::Open(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (!file) return nullptr;
  return std::unique_ptr<TraceFileWriter>(new TraceFileWriter(file));
}

TraceFileWriter::TraceFileWriter(std::FILE* file) : file_(file), thread_([this] { Run(); }) {}

TraceFileWriter::~TraceFileWriter() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  thread_.join();
  std::fclose(file_);
}

void TraceFileWriter::Write(const std::string& line) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(line + "\n");
  }
  wake_.notify_one();
}

void TraceFileWriter::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    while (!queue_.empty()) {
      const std::string line = std::move(queue_.front());
      queue_.pop_front();
      lock.unlock();
      std::fwrite(line.data(), 1, line.size(), file_);
      std::fflush(file_);
      lock.lock();
    }
    if (stopping_) return;
  }
}

}  // namespace varnok
