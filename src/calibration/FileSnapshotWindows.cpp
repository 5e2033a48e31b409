#include "FileSnapshot.h"

#include <windows.h>

namespace varnok {

namespace {

class WindowsFileSnapshot final : public FileSnapshot {
 public:
  explicit WindowsFileSnapshot(HANDLE file) : file_(file) {}
  ~WindowsFileSnapshot() override { CloseHandle(file_); }

  bool Append(const char* bytes, std::size_t count) override {
    while (count > 0) {
      const DWORD chunk = count > (1u << 30) ? (1u << 30) : static_cast<DWORD>(count);
      OVERLAPPED at{};
      at.Offset = static_cast<DWORD>(size_);
      at.OffsetHigh = static_cast<DWORD>(size_ >> 32);
      DWORD written = 0;
      if (!WriteFile(file_, bytes, chunk, &written, &at) || written == 0) return false;
      bytes += written;
      count -= written;
      size_ += written;
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
      OVERLAPPED at{};
      const std::uint64_t from = offset + got;
      at.Offset = static_cast<DWORD>(from);
      at.OffsetHigh = static_cast<DWORD>(from >> 32);
      DWORD n = 0;
      const DWORD chunk = count - got > (1u << 30) ? (1u << 30) : static_cast<DWORD>(count - got);
      if (!ReadFile(file_, bytes.data() + got, chunk, &n, &at) || n == 0) break;
      got += n;
    }
    bytes.resize(got);
    return bytes;
  }

  std::uint64_t Size() const override { return size_; }

 private:
  HANDLE file_;
  std::uint64_t size_ = 0;
};

}  // namespace

std::unique_ptr<FileSnapshot> FileSnapshot::Create() {
  wchar_t folder[MAX_PATH + 1];
  wchar_t name[MAX_PATH + 1];
  if (GetTempPathW(MAX_PATH + 1, folder) == 0 || GetTempFileNameW(folder, L"vcs", 0, name) == 0) return nullptr;
  // Deleted when closed; kept in the cache rather than written out where the system can.
  const HANDLE file = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DeleteFileW(name);
    return nullptr;
  }
  return std::make_unique<WindowsFileSnapshot>(file);
}

}  // namespace varnok
