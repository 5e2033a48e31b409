#include "calibration/FileSnapshot.h"

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

 protected:
  std::size_t WriteSome(const char* bytes, std::size_t count, std::uint64_t offset) override {
    while (true) {
      const ssize_t n = pwrite(fd_, bytes, count, static_cast<off_t>(offset));
      if (n < 0 && errno == EINTR) continue;
      return n > 0 ? static_cast<std::size_t>(n) : 0;
    }
  }

  std::size_t ReadSome(char* bytes, std::size_t count, std::uint64_t offset) const override {
    while (true) {
      const ssize_t n = pread(fd_, bytes, count, static_cast<off_t>(offset));
      if (n < 0 && errno == EINTR) continue;
      return n > 0 ? static_cast<std::size_t>(n) : 0;
    }
  }

 private:
  int fd_;
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
