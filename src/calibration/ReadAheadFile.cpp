#include "calibration/ReadAheadFile.h"

#include <algorithm>

namespace varnok {

ReadAheadFile::ReadAheadFile(std::FILE* file, std::uint64_t size, std::size_t chunkBytes,
                             std::function<bool(std::string_view)> keep, std::size_t ahead)
    : buffers_(ahead + 1, std::vector<char>(std::max<std::size_t>(chunkBytes, 1))), filled_(ahead + 1, 0) {
  thread_ = std::thread([this, file, size, keep = std::move(keep)] { ReadAll(file, size, keep); });
}

ReadAheadFile::~ReadAheadFile() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void ReadAheadFile::ReadAll(std::FILE* file, std::uint64_t size,
                            const std::function<bool(std::string_view)>& keep) {
  std::uint64_t done = 0;
  bool failed = false;
  while (done < size) {
    std::size_t slot = 0;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return stop_ || tail_ - head_ < buffers_.size(); });
      if (stop_) break;
      slot = tail_ % buffers_.size();
    }
    std::vector<char>& buffer = buffers_[slot];
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), size - done));
    const std::size_t got = std::fread(buffer.data(), 1, wanted, file);
    if (got == 0) {  // the file became shorter while read: the text is what was read
      failed = std::ferror(file) != 0;
      break;
    }
    if (!keep(std::string_view(buffer.data(), got))) {
      failed = true;
      break;
    }
    done += got;
    {
      std::lock_guard lock(mutex_);
      filled_[slot] = got;
      ++tail_;
    }
    changed_.notify_all();
  }
  {
    std::lock_guard lock(mutex_);
    ended_ = true;
    failed_ = failed;
  }
  changed_.notify_all();
}

std::string_view ReadAheadFile::Next() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return head_ < tail_ || ended_; });
  if (head_ == tail_) return {};
  const std::size_t slot = head_ % buffers_.size();
  return {buffers_[slot].data(), filled_[slot]};
}

void ReadAheadFile::Release() {
  {
    std::lock_guard lock(mutex_);
    if (head_ < tail_) ++head_;
  }
  changed_.notify_all();
}

bool ReadAheadFile::Failed() const {
  std::lock_guard lock(mutex_);
  return failed_;
}

}  // namespace varnok
