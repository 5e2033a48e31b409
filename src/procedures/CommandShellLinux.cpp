// The command interpreter on Linux: /bin/sh -c <line>, started in the working folder with that
// folder first on the PATH.
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "procedures/CommandShell.h"

extern char** environ;

namespace varnok {

namespace {

class LinuxCommandShell : public CommandShell {
 public:
  LinuxCommandShell(std::filesystem::path workingFolder, std::chrono::milliseconds waitLimit)
      : folder_(std::filesystem::absolute(workingFolder).string()), waitLimit_(waitLimit) {}

  ~LinuxCommandShell() override { ReapFinished(); }

  void RunShellCommand(const std::string& commandLine) override {
    ReapFinished();

    // Everything the child needs is prepared before fork: after it only async-signal-safe calls.
    std::vector<std::string> environment;
    bool pathSet = false;
    for (char** e = environ; *e != nullptr; ++e) {
      if (std::strncmp(*e, "PATH=", 5) == 0) {
        environment.push_back("PATH=" + folder_ + ":" + (*e + 5));
        pathSet = true;
      } else {
        environment.emplace_back(*e);
      }
    }
    if (!pathSet) environment.push_back("PATH=" + folder_ + ":/usr/local/bin:/usr/bin:/bin");
    std::vector<char*> envp;
    for (std::string& e : environment) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string shell = "/bin/sh", dashC = "-c", line = commandLine;
    char* argv[] = {shell.data(), dashC.data(), line.data(), nullptr};
    const char* folder = folder_.c_str();

    const pid_t pid = ::fork();
    if (pid < 0) return;
    if (pid == 0) {
      if (::chdir(folder) != 0) ::_exit(127);
      ::execve("/bin/sh", argv, envp.data());
      ::_exit(127);
    }

    if (waitLimit_ <= std::chrono::milliseconds::zero()) {
      // No wait: a thread of its own collects the interpreter's end, whenever it comes.
      std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
      }).detach();
      return;
    }
    const auto deadline = std::chrono::steady_clock::now() + waitLimit_;
    for (;;) {
      int status = 0;
      const pid_t done = ::waitpid(pid, &status, WNOHANG);
      if (done == pid || (done < 0 && errno != EINTR)) return;
      if (std::chrono::steady_clock::now() >= deadline) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    running_.push_back(pid);  // reaped by a later call once it has ended
  }

 private:
  void ReapFinished() {
    std::vector<pid_t> still;
    for (pid_t pid : running_) {
      int status = 0;
      if (::waitpid(pid, &status, WNOHANG) == 0) still.push_back(pid);
    }
    running_.swap(still);
  }

  std::string folder_;
  std::chrono::milliseconds waitLimit_;
  std::vector<pid_t> running_;
};

}  // namespace

std::unique_ptr<CommandShell> MakeSystemShell(std::filesystem::path workingFolder,
                                              std::chrono::milliseconds waitLimit) {
  return std::make_unique<LinuxCommandShell>(std::move(workingFolder), waitLimit);
}

}  // namespace varnok
