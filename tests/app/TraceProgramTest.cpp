// The console's --trace option end to end: the program started as a process against the simulated
// instrument, connecting and polling from its link thread, the lines written by the trace writer.
#include <QProcess>
#include <QProcessEnvironment>
#include <regex>

#include "tools/varnok-sim/SimServer.h"
#include "tests/app/WindowTestSupport.h"

namespace varnok::test {
namespace {

const fs::path kProgram = VARNOK_OMBLET_PATH;

TEST(ProgramTrace, ConnectingAndPollingAreTracedOneLinePerExchange) {
  sim::SimOptions options;
  options.tcpPort = 0;
  sim::SimServer sim(options);
  sim.Start();
  TempFolder folder;
  const fs::path trace = folder.Path() / "wire.txt";
  const std::string settings = "trace-" + std::to_string(::getpid()) + ".ini";

  QProcess process;
  auto environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  process.setProcessEnvironment(environment);
  process.start(
      QString::fromStdString(kProgram.string()),
      {QString::fromStdString(settings), QStringLiteral("--trace"), QString::fromStdString(trace.string()),
       QStringLiteral("--address"), QString::fromStdString("127.0.0.1:" + std::to_string(sim.TcpPort())),
       QStringLiteral("--connect"), QStringLiteral("--screenshots"),
       QString::fromStdString((folder.Path() / "shots").string())});
  ASSERT_TRUE(process.waitForFinished(60000));
  EXPECT_EQ(process.exitCode(), 0);
  fs::remove(kProgram.parent_path() / settings);

  ASSERT_TRUE(fs::exists(trace));
  std::istringstream lines(ReadText(trace));
  std::vector<std::string> all;
  for (std::string line; std::getline(lines, line);) all.push_back(line);
  ASSERT_GE(all.size(), 3u);
  // An exchange (one closing the window cuts short has no reply), or a tone or a disconnect beside
  // one: closing the window while the poll waits releases the link as Connect does.
  const std::regex exchange(
      "^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} (TCP code \\d+( retry)? > [0-9A-F ]+ \\|[^|]*\\|"
      "( < [0-9A-F ]+ \\|.*\\|)? result -?\\d+( tone)?|tone|Disconnect, tone, tone)$");
  EXPECT_TRUE(all[0].find(" TCP code 128 > ") != std::string::npos)
      << "the model query comes first: " << all[0];
  int polls = 0;
  for (const std::string& line : all) {
    EXPECT_TRUE(std::regex_match(line, exchange)) << line;
    if (line.find(" TCP code 141 ") != std::string::npos && line.find(" < ") != std::string::npos) ++polls;
  }
  EXPECT_GE(polls, 1) << "the status poll's clock read";
}

}  // namespace
}  // namespace varnok::test
