#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>

#include "core/FileReplacement.h"
#include "core/SettingsTemporaryName.h"

namespace varnok {

namespace {

// A name beside the file that no other writer uses: the process and a running number in the place
// of the pattern's six characters.
std::filesystem::path TemporaryName(const std::filesystem::path& file) {
  static std::atomic<unsigned> counter{0};
  std::string name = SettingsTemporaryPattern(file.filename().string(), CurrentProcessId());
  std::string number = std::to_string(counter.fetch_add(1) % 1000000u);
  number.insert(0, 6 - number.size(), '0');
  name.replace(name.size() - 6, 6, number);
  return (file.has_parent_path() ? file.parent_path() : std::filesystem::path(".")) / name;
}

bool WriteAll(HANDLE handle, std::string_view content) {
  std::size_t done = 0;
  while (done < content.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(handle, content.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

}  // namespace

bool ReplaceFileContents(const std::filesystem::path& file, std::string_view content) {
  const std::filesystem::path temp = TemporaryName(file);
  const HANDLE handle =
      ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  bool ok = WriteAll(handle, content);
  ok = ok && ::FlushFileBuffers(handle);
  ok = ::CloseHandle(handle) && ok;
  if (ok) {
    // ReplaceFileW keeps the old file's attributes and access rights; it needs an old file.
    const DWORD attributes = ::GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      ok = ::MoveFileExW(temp.c_str(), file.c_str(), MOVEFILE_WRITE_THROUGH);
    } else if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
      ok = false;  // a read-only file stays as it is; a folder of that name is never replaced
    } else {
      ok = ::ReplaceFileW(file.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                          nullptr);
    }
  }
  if (!ok) ::DeleteFileW(temp.c_str());
  return ok;
}

long CurrentProcessId() { return static_cast<long>(::GetCurrentProcessId()); }

bool ProcessStillRuns(long processId) {
  HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(processId));
  if (process == nullptr) return ::GetLastError() == ERROR_ACCESS_DENIED;
  const bool running = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  ::CloseHandle(process);
  return running;
}

}  // namespace varnok
