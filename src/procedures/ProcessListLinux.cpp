// The process list on Linux: a scan of /proc. A process is known by the file name of its executable
// (the target of /proc/<pid>/exe); neither the first argument, which the starter chooses freely, nor
// the kernel's short name (comm), cut at 15 characters, is used.
#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string>

#include "procedures/ProcessList.h"

namespace varnok {

namespace {

std::string FileNameOf(const std::string& path) {
  const std::size_t cut = path.find_last_of('/');
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string ExecutableName(const std::string& procFolder) {
  char target[4096];
  const ssize_t n = ::readlink((procFolder + "/exe").c_str(), target, sizeof target - 1);
  if (n <= 0) return {};
  std::string path(target, static_cast<std::size_t>(n));
  constexpr std::string_view kDeleted = " (deleted)";
  if (path.size() > kDeleted.size() && path.ends_with(kDeleted)) path.resize(path.size() - kDeleted.size());
  return FileNameOf(path);
}

class LinuxProcessList : public ProcessList {
 public:
  std::optional<std::vector<ProcessEntry>> Snapshot() const override {
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) return std::nullopt;
    std::vector<ProcessEntry> processes;
    while (const dirent* entry = ::readdir(proc)) {
      const std::string name = entry->d_name;
      if (name.empty() ||
          !std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isdigit(c); }))
        continue;
      const std::string folder = "/proc/" + name;
      ProcessEntry p{ExecutableName(folder)};
      // A process that ended meanwhile, a zombie or a kernel thread has no executable to read.
      if (!p.executableName.empty()) processes.push_back(std::move(p));
    }
    ::closedir(proc);
    return processes;
  }
};

}  // namespace

std::unique_ptr<ProcessList> MakeSystemProcessList() { return std::make_unique<LinuxProcessList>(); }

}  // namespace varnok
