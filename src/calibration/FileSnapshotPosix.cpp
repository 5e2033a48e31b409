#include "FileSnapshot.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace varnok {

namespace {

class PosixFileSnapshot final : public FileSnapshot {
 public:
  explicit PosixFileSnapshot(int fd) : fd_(fd) {}
  ~PosixFileSnapshot() override { close(fd_); }

  bool Append(const char* bytes, std::size_t count) override {
    while (count > 0) {
      const ssize_t written = write(fd_, bytes, count);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      bytes += written;
      count -= static_cast<std::size_t>(written);
      size_ += static_cast<std::uint64_t>(written);
    }
    return true;
  }

  std::string Read(std::uint64_t offset, std::size_t count) const override {
    std::string bytes;
    if (offset >= size_) return bytes;
    if (count > size_ - offset) count = static_cast<std::size_t>(size_ - offset);
    bytes.resize(count);
    std::size_t got = 0;
    while (got < count) {
      const ssize_t n = pread(fd_, bytes.data() + got, count - got, static_cast<off_t>(offset + got));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
  }

  std::uint64_t Size() const override { return size_; }

 private:
  int fd_;
  std::uint64_t size_ = 0;
};

}  // namespace

std::unique_ptr<FileSnapshot> FileSnapshot::Create() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  if (error) return nullptr;
#ifdef O_TMPFILE
  // A file without a name from the start (Linux).
  const int unnamed = open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, S_IRUSR | S_IWUSR);
  if (unnamed >= 0) return std::make_unique<PosixFileSnapshot>(unnamed);
#endif
  std::string name = (folder / "varnok-calibration-XXXXXX").string();
  const int fd = mkstemp(name.data());
  if (fd < 0) return nullptr;
  unlink(name.c_str());
  fcntl(fd, F_SETFD, FD_CLOEXEC);
  return std::make_unique<PosixFileSnapshot>(fd);
}

}  // namespace varnok
