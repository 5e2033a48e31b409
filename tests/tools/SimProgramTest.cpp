// The varnok-sim program: prints where it listens, serves, and stops cleanly on a signal.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <regex>

#include "tests/tools/SimTestClients.h"

namespace varnok::sim {
namespace {

using namespace std::chrono_literals;
using testing::Bytes;

struct Program {
  pid_t pid = -1;
  int out = -1;

  explicit Program(std::vector<std::string> args) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) throw std::runtime_error("pipe");
    pid = ::fork();
    if (pid == 0) {
      ::dup2(pipeFds[1], STDOUT_FILENO);
      ::close(pipeFds[0]);
      ::close(pipeFds[1]);
      std::vector<char*> argv;
      std::string path = VARNOK_SIM_PROGRAM;
      argv.push_back(path.data());
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(path.c_str(), argv.data());
      ::_exit(127);
    }
    ::close(pipeFds[1]);
    out = pipeFds[0];
  }
  ~Program() {
    if (pid > 0) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
    if (out >= 0) ::close(out);
  }

  // Standard output until it holds `lines` lines (or 5 s pass).
  std::string ReadLines(int lines) {
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (std::count(text.begin(), text.end(), '\n') < lines &&
           std::chrono::steady_clock::now() < deadline) {
      pollfd p{out, POLLIN, 0};
      if (::poll(&p, 1, 100) <= 0) continue;
      char buf[256];
      const ssize_t n = ::read(out, buf, sizeof buf);
      if (n <= 0) break;
      text.append(buf, n);
    }
    return text;
  }

  // The exit status, or -1 when the program is still running after `limit`.
  int WaitExit(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
      int status = 0;
      if (::waitpid(pid, &status, WNOHANG) == pid) {
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(10ms);
    }
    return -1;
  }
};

TEST(SimProgram, ServesTcpAndSerialAndStopsOnSigterm) {
  const std::string link = ::testing::TempDir() + "varnok-sim-prog-" + std::to_string(::getpid());
  Program sim({"--tcp-port", "0", "--serial-link", link, "--model", "QX-9000"});
  const std::string text = sim.ReadLines(3);
  std::smatch m;
  ASSERT_TRUE(std::regex_search(text, m, std::regex("TCP port: (\\d+)\n"))) << text;
  const int port = std::stoi(m[1]);
  ASSERT_TRUE(std::regex_search(text, m, std::regex("Serial: (/dev/\\S+)\n"))) << text;
  EXPECT_EQ(std::filesystem::read_symlink(link).string(), m[1].str());

  {
    testing::TcpClient client(port);
    const Bytes r = client.Exchange(1, 0x80, {});
    EXPECT_EQ(testing::ToText(Bytes(r.begin() + 11, r.end())), "QX-9000\r\nOK\r\n");
    testing::PtyClient serial(link);
    serial.Send(testing::FrameBytes(141, {}));
    EXPECT_EQ(serial.Receive(100).bytes.size(), 12u);
  }

  ASSERT_EQ(::kill(sim.pid, SIGTERM), 0);
  EXPECT_EQ(sim.WaitExit(5000ms), 0);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

TEST(SimProgram, PersistentFaultFromTheCommandLineAndSigint) {
  Program sim({"--tcp-port", "0", "--fault", "refuse:141:7", "--fault", "banner"});
  std::smatch m;
  const std::string text = sim.ReadLines(1);
  ASSERT_TRUE(std::regex_search(text, m, std::regex("TCP port: (\\d+)"))) << text;
  testing::TcpClient client(std::stoi(m[1]));
  for (std::uint16_t id = 1; id <= 2; ++id) {
    const Bytes r = client.Exchange(id, 141, {});
    ASSERT_EQ(r.size(), 12u);
    EXPECT_EQ(r[11], 7);
  }
  ASSERT_EQ(::kill(sim.pid, SIGINT), 0);
  EXPECT_EQ(sim.WaitExit(5000ms), 0);
}

TEST(SimProgram, RejectsBadArguments) {
  for (std::vector<std::string> args : {std::vector<std::string>{"--tcp-port", "70000"},
                                        {"--fault", "sideways"},
                                        {"--no-tcp"},
                                        {"--bogus"}}) {
    Program sim(args);
    EXPECT_NE(sim.WaitExit(5000ms), 0) << args[0];
  }
}

}  // namespace
}  // namespace varnok::sim
