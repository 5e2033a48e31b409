#include "calibration/FileSnapshot.h"

#include <windows.h>

namespace varnok {

namespace {

class WindowsFileSnapshot final : public FileSnapshot {
 public:
  explicit WindowsFileSnapshot(HANDLE file) : file_(file) {}
  ~WindowsFileSnapshot() override { CloseHandle(file_); }

 protected:
  std::size_t WriteSome(const char* bytes, std::size_t count, std::uint64_t offset) override {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD written = 0;
    const DWORD chunk = count > (1u << 30) ? (1u << 30) : static_cast<DWORD>(count);
    return WriteFile(file_, bytes, chunk, &written, &at) ? written : 0;
  }

  std::size_t ReadSome(char* bytes, std::size_t count, std::uint64_t offset) const override {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    const DWORD chunk = count > (1u << 30) ? (1u << 30) : static_cast<DWORD>(count);
    return ReadFile(file_, bytes, chunk, &got, &at) ? got : 0;
  }

 private:
  HANDLE file_;
};

}  // namespace

std::unique_ptr<FileSnapshot> FileSnapshot::Create() {
  wchar_t folder[MAX_PATH + 1];
  wchar_t name[MAX_PATH + 1];
  if (GetTempPathW(MAX_PATH + 1, folder) == 0 || GetTempFileNameW(folder, L"vcs", 0, name) == 0)
    return nullptr;
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
