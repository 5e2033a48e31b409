#include "calibration/FileSnapshot.h"

namespace varnok {

bool FileSnapshot::Append(const char* bytes, std::size_t count) {
  while (count > 0) {
    const std::size_t written = WriteSome(bytes, count, size_);
    if (written == 0) return false;
    bytes += written;
    count -= written;
    size_ += written;
  }
  return true;
}

std::string FileSnapshot::Read(std::uint64_t offset, std::size_t count) const {
  std::string bytes;
  if (offset >= size_) return bytes;
  if (count > size_ - offset) count = static_cast<std::size_t>(size_ - offset);
  bytes.resize(count);
  std::size_t got = 0;
  while (got < count) {
    const std::size_t n = ReadSome(bytes.data() + got, count - got, offset + got);
    if (n == 0) break;
    got += n;
  }
  bytes.resize(got);
  return bytes;
}

}  // namespace varnok
