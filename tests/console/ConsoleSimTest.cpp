// The console against the in-process instrument simulator through the real command layer over
// loopback TCP.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "tests/support/SimulatorConnection.h"
#include "tests/support/TempFolder.h"
#include "core/SettingsFile.h"
#include "console/CommandConsole.h"
#include "console/ConsoleSettings.h"

namespace varnok {
namespace {

using namespace std::chrono_literals;
using Entries = std::vector<std::string>;

class ConsoleAgainstSimulator : public ::testing::Test {
 protected:
  void SetUp() override {
    settings = std::make_unique<SettingsFile>(folder.Path() / "omblet.ini");
    console = std::make_unique<CommandConsole>(connection.Layer(), *settings);
    console->SetAlertSound([this] { ++alerts; });
  }
  void TearDown() override { console.reset(); }
  void Connect() {
    const ConnectResult r = connection.Connect();
    ASSERT_EQ(r.outcome, ConnectOutcome::Connected);
  }
  void Execute(const std::string& text) {
    auto* box = console->findChild<QComboBox*>("IP");
    box->lineEdit()->setText(QString::fromStdString(text));
    console->findChild<QPushButton*>("exeBtn")->click();
  }
  QStringList LogLines() const {
    return console->findChild<QPlainTextEdit*>("Memo1")->toPlainText().split('\n');
  }

  testing::TempFolder folder;
  testing::SimulatorConnection connection{testing::ShortTimeouts(500ms, 2000ms)};
  testing::RecordingLinkWindow& window = connection.Window();
  sim::SimServer* const server = &connection.Server();
  std::unique_ptr<SettingsFile> settings;
  std::unique_ptr<CommandConsole> console;
  int alerts = 0;
};

TEST_F(ConsoleAgainstSimulator, NotConnectedLogsErrorMinusOne) {
  Execute("status");
  EXPECT_EQ(LogLines().back(), "Error -1");
  EXPECT_EQ(alerts, 1);
  EXPECT_EQ(window.tones, 1);  // the command layer's own tone
  EXPECT_EQ(console->History().Entries(), (Entries{"software", "fault", "status", "line"}));
}

TEST_F(ConsoleAgainstSimulator, RepliesAreLoggedAndNewCommandsRemembered) {
  Connect();
  Execute("software");
  QStringList lines = LogLines();
  ASSERT_GE(lines.size(), 5);
  EXPECT_EQ(lines[1], "Software: QX control V6.00 build 1207");
  EXPECT_EQ(lines.back(), "OK");
  EXPECT_FALSE(lines.contains("software"));  // the command is not echoed
  EXPECT_EQ(console->History().Entries(), (Entries{"software", "fault", "status", "line"}));

  Execute("line");
  EXPECT_EQ(LogLines().mid(LogLines().size() - 2), (QStringList{"Line: TCP tunnel", "OK"}));

  Execute("temp 3");  // the instrument answers, so the command counts as executed
  EXPECT_EQ(LogLines().back(), "NOK");
  EXPECT_EQ(console->History().Entries(), (Entries{"temp 3", "software", "fault", "status", "line"}));
  EXPECT_EQ(alerts, 0);

  console->show();
  console->close();
  EXPECT_EQ(ReadConsoleSettings(SettingsFile(folder.Path() / "omblet.ini")).commands,
            (Entries{"temp 3", "software", "fault", "status", "line"}));
}

TEST_F(ConsoleAgainstSimulator, FailedExchangeIsLoggedAndNotRemembered) {
  Connect();
  server->SetFault("close");
  Execute("new one");
  EXPECT_EQ(LogLines().back(), "Error -1");
  EXPECT_EQ(alerts, 1);
  EXPECT_EQ(console->History().Entries(), (Entries{"software", "fault", "status", "line"}));
}

}  // namespace
}  // namespace varnok
