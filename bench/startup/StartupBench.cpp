// Start-up time of the console: from starting the process to the first paint of the main window.
// The program prints the monotonic time of its first paint (--startup-probe) and exits; this measures
// several runs and prints the fastest, the median and the slowest.
//
//   bench_startup [runs] [path of varnok-omblet]
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

namespace {

long long MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// One run: milliseconds from spawn to first paint, or a negative value on failure.
double OneRun(const std::string& program) {
  int out[2];
  if (pipe(out) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::string arg1 = "--startup-probe";
  char* argv[] = {const_cast<char*>(program.c_str()), arg1.data(), nullptr};

  const long long start = MonotonicNanoseconds();
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (rc != 0) {
    close(out[0]);
    std::fprintf(stderr, "cannot start %s: %s\n", program.c_str(), std::strerror(rc));
    return -1;
  }

  std::string text;
  const long long deadline = start + 30'000'000'000LL;  // a run that hangs is stopped after 30 s
  while (text.find('\n') == std::string::npos && MonotonicNanoseconds() < deadline) {
    pollfd p{out[0], POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char buffer[256];
    const ssize_t n = read(out[0], buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  close(out[0]);
  if (text.find('\n') == std::string::npos) kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);

  long long shown = 0;
  if (std::sscanf(text.c_str(), "first-shown %lld", &shown) != 1) return -1;
  return static_cast<double>(shown - start) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  const std::string program = argc > 2 ? argv[2] : VARNOK_OMBLET_PATH;
  if (!std::getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);

  OneRun(program);  // warm the file cache; not counted
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double ms = OneRun(program);
    if (ms < 0) {
      std::fprintf(stderr, "run %d failed\n", i + 1);
      return 1;
    }
    times.push_back(ms);
  }
  std::sort(times.begin(), times.end());
  const double median = times.size() % 2 ? times[times.size() / 2]
                                         : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
  std::printf(
      "start-up to first shown window over %d runs (%s): fastest %.1f ms, median %.1f ms, slowest %.1f ms"
      " (target under 300 ms)\n",
      runs, std::getenv("DISPLAY") ? "X display" : "offscreen", times.front(), median, times.back());
  return 0;
}
