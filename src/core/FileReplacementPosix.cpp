#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <signal.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "core/FileReplacement.h"
#include "core/SettingsTemporaryName.h"

namespace varnok {

bool ReplaceFileContents(const std::filesystem::path& file, std::string_view content) {
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  std::string temp =
      (folder / SettingsTemporaryPattern(file.filename().string(), CurrentProcessId())).string();
  const int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = true;
  std::size_t done = 0;
  while (ok && done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      ok = errno == EINTR;
      continue;
    }
    done += static_cast<std::size_t>(n);
  }
  ok = ok && ::fsync(fd) == 0;
  // Keep the permissions an existing file had; a new one gets the usual rw-r--r--.
  struct stat old {};
  const mode_t mode = ::stat(file.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  ok = ::fchmod(fd, mode) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  ok = ok && std::rename(temp.c_str(), file.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

long CurrentProcessId() { return static_cast<long>(::getpid()); }

bool ProcessStillRuns(long processId) {
  return ::kill(static_cast<pid_t>(processId), 0) == 0 || errno == EPERM;
}

}  // namespace varnok
