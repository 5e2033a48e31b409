// The console against the in-process instrument simulator through the real command layer over
// loopback TCP.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "AsioLinkOpener.h"
#include "CommandLayer.h"
#include "ConnectionManager.h"
#include "LinkWindow.h"
#include "SimServer.h"
#include "TempFolder.h"
#include "app/SettingsFile.h"
#include "console/CommandConsole.h"
#include "console/ConsoleSettings.h"

namespace varnok {
namespace {

using namespace std::chrono_literals;
using Entries = std::vector<std::string>;

struct RecordingWindow : LinkWindow {
  bool ConnectDown() const override { return connectDown; }
  void SetConnectDown(bool down) override { connectDown = down; }
  void SetPanelText(int panel, const std::string& text) override { panels[panel] = text; }
  int UnitAddress() const override { return 0; }
  void SetTimer1Enabled(bool) override {}
  void ReleaseTimerBtn() override {}
  void PlayErrorTone() override { ++tones; }

  bool connectDown = false;
  std::string panels[3];
  int tones = 0;
};

class ConsoleAgainstSimulator : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::SimOptions options;
    options.tcpPort = 0;
    server = std::make_unique<sim::SimServer>(options);
    server->Start();
    timeouts.tcpWait = 500ms;
    timeouts.tcpConnect = 2000ms;
    layer = std::make_unique<CommandLayer>(window, timeouts);
    opener = std::make_unique<AsioLinkOpener>(timeouts);
    settings = std::make_unique<SettingsFile>(folder.Path() / "omblet.ini");
    console = std::make_unique<CommandConsole>(*layer, *settings);
    console->SetAlertSound([this] { ++alerts; });
  }
  void TearDown() override {
    console.reset();
    layer.reset();
    server->Stop();
  }
  void Connect() {
    ConnectionManager manager(*layer, window, *opener);
    window.connectDown = true;
    const ConnectResult r = manager.ConnectBtnClick("127.0.0.1:" + std::to_string(server->TcpPort()), "502");
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
  RecordingWindow window;
  LinkTimeouts timeouts;
  std::unique_ptr<sim::SimServer> server;
  std::unique_ptr<CommandLayer> layer;
  std::unique_ptr<AsioLinkOpener> opener;
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
