#include "procedures/ProcedurePanel.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QApplication>
#include <QTest>
#include <functional>

#include "tests/support/ErrorRecorder.h"
#include "tests/support/TempFolder.h"
#include "procedures/CommandShell.h"
#include "procedures/ProcessList.h"

namespace varnok {
namespace {

struct ScriptedProcesses : ProcessList {
  explicit ScriptedProcesses(std::vector<ProcessEntry> p) : processes(std::move(p)) {}
  std::optional<std::vector<ProcessEntry>> Snapshot() const override { return processes; }
  std::vector<ProcessEntry> processes;
};

struct RecordingShell : CommandShell {
  explicit RecordingShell(std::vector<std::string>& lines) : lines(lines) {}
  void RunShellCommand(const std::string& commandLine) override { lines.push_back(commandLine); }
  std::vector<std::string>& lines;
};

class PanelFixture : public ::testing::Test {
 protected:
  void Open(std::vector<ProcessEntry> running = {}) {
    panel = std::make_unique<ProcedurePanel>(folder.Path());
    panel->SetMessageBox([this](const std::string& m) { messages.push_back(m); });
    panel->SetProcessList(std::make_unique<ScriptedProcesses>(std::move(running)));
    panel->SetCommandShell(std::make_unique<RecordingShell>(ran));
  }
  QListWidget* List() const { return panel->findChild<QListWidget*>("FileListBox1"); }
  QString Memo() const { return panel->findChild<QPlainTextEdit*>("ProcMemo")->toPlainText(); }
  void Select(const QString& name) {
    const auto found = List()->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    List()->setCurrentItem(found.front());
  }
  void Click(const char* button) { panel->findChild<QPushButton*>(button)->click(); }

  testing::TempFolder folder;
  std::unique_ptr<ProcedurePanel> panel;
  varnok::test::ErrorRecorder errors;
  std::vector<std::string> messages, ran;
};

TEST_F(PanelFixture, ControlsAndProcedureList) {
  for (const char* name : {"normal.prc", "B.PRC", "a.Prc", "readme.txt"}) folder.Write(name, "x");
  Open();
  folder.Write("later.prc", "x");  // read once, at creation
  std::vector<std::string> listed;
  for (int i = 0; i < List()->count(); ++i) listed.push_back(List()->item(i)->text().toStdString());
  EXPECT_EQ(listed, (std::vector<std::string>{"a.Prc", "B.PRC", "normal.prc"}));
  EXPECT_EQ(List()->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(panel->objectName(), "PanelProcedure");
  EXPECT_EQ(panel->findChild<QLabel*>("Label35")->text(), "Procedure Control");
  EXPECT_TRUE(panel->findChild<QLabel*>("Label37")->text().endsWith("using the controls below.  "));
  EXPECT_EQ(panel->findChild<QLabel*>("Label36")->text(), "Procedure File:");
  EXPECT_EQ(panel->findChild<QLabel*>("Label44")->text(), "Radiometer Console Log");
  EXPECT_EQ(panel->findChild<QPushButton*>("PRCStartBtn")->text(), "Start");
  EXPECT_EQ(panel->findChild<QPushButton*>("PRCStopBtn")->text(), "Stop");
  EXPECT_EQ(panel->findChild<QPushButton*>("Button4")->text(), "Show Log");
  auto* idle = panel->findChild<QPushButton*>("PRCIdelBtn");
  EXPECT_EQ(idle->text(), "Idle");
  EXPECT_FALSE(idle->isEnabled());
  panel->show();
  EXPECT_FALSE(panel->findChild<QLineEdit*>("QXName")->isVisible());
  EXPECT_FALSE(panel->findChild<QLabel*>("Label46")->isVisible());
  EXPECT_EQ(panel->findChild<QLineEdit*>("QXName")->text(), "QXC.exe");
  EXPECT_EQ(Memo(), "");
  EXPECT_TRUE(panel->SelectedProcedurePath().empty());
}

TEST_F(PanelFixture, SelectingAFileShowsItsTextAndAnotherReplacesIt) {
  folder.Write("a.prc", "scan 1\r\ntip 2\r\n");
  folder.Write("b.prc", "idle\n");
  folder.Write("c.prc", "gone");
  Open();
  Select("a.prc");
  EXPECT_EQ(Memo(), "scan 1\ntip 2");
  Select("b.prc");
  EXPECT_EQ(Memo(), "idle");
  std::filesystem::remove(folder.Path() / "c.prc");
  Select("c.prc");
  EXPECT_EQ(Memo(), "idle");  // keeps its text
  // Shown once by the one error display, with its full stop.
  ASSERT_EQ(errors.shown.size(), 1u);
  EXPECT_EQ(errors.shown[0], "Cannot open file " + (folder.Path() / "c.prc").string() + ".");
}

TEST_F(PanelFixture, StartRefusesInOrderAndRunsNothing) {
  struct Case {
    const char* what;
    bool programPresent;
    bool select;
    std::vector<ProcessEntry> running;
    std::string message;
  } cases[] = {
      {"no program, nothing selected", false, false, {}, "Application QXC.exe Does not exist"},
      {"no program, file selected", false, true, {}, "Application QXC.exe Does not exist"},
      {"nothing selected", true, false, {{"QXC.exe"}}, "Please select procedure file"},
      {"running", true, true, {{"QXC.exe"}}, "QXC.exe Already running"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(folder.Path() / "QXC.exe");
    if (c.programPresent) folder.Write("QXC.exe", "x");
    folder.Write("normal.prc", "x");
    messages.clear();
    Open(c.running);
    if (c.select) Select("normal.prc");
    Click("PRCStartBtn");
    EXPECT_EQ(messages, std::vector<std::string>{c.message}) << c.what;
    EXPECT_TRUE(ran.empty()) << c.what;
  }
}

TEST_F(PanelFixture, StartRunsTheProgramWithTheSelectedFile) {
  folder.Write("QXC.exe", "x");
  folder.Write("normal.prc", "x");
  Open({{"qxc.exe"}});  // another letter case is another program
  Select("normal.prc");
  Click("PRCStartBtn");
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(ran, (std::vector<std::string>{"QXC.exe -r " + (folder.Path() / "normal.prc").string()}));
}

TEST_F(PanelFixture, ProgramNameWithFolderPartIsCheckedByFileName) {
  folder.Write("QXC.exe", "x");
  folder.Write("normal.prc", "x");
  Open({{"QXC.exe"}});
  panel->findChild<QLineEdit*>("QXName")->setText(
      QString::fromStdString((folder.Path() / "QXC.exe").string()));
  Select("normal.prc");
  Click("PRCStartBtn");
  EXPECT_EQ(messages, std::vector<std::string>{(folder.Path() / "QXC.exe").string() + " Already running"});
  EXPECT_TRUE(ran.empty());
}

TEST_F(PanelFixture, TooLongCommandLineIsRefused) {
  const std::string longName = std::string(240, 'p') + ".prc";  // long, but a valid file name
  folder.Write(longName, "x");
  const std::string program = std::string(250, 'q');
  folder.Write(program, "x");
  Open();
  panel->findChild<QLineEdit*>("QXName")->setText(QString::fromStdString(program));
  Select(QString::fromStdString(longName));
  Click("PRCStartBtn");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].starts_with("Command line too long (")) << messages[0];
  EXPECT_TRUE(ran.empty());
  panel->PRCIdelBtnClick();  // 254 characters: fits
  EXPECT_EQ(ran, (std::vector<std::string>{program + " -i "}));
}

// Real mouse presses and keys on the shown list: the memo shows the file that "Start" then runs.
TEST_F(PanelFixture, MouseAndKeysShowTheFileStartRuns) {
  folder.Write("QXC.exe", "x");
  folder.Write("a.prc", "scan a");
  folder.Write("b.prc", "scan b");
  folder.Write("c.prc", "scan c");
  Open();
  panel->resize(600, 500);
  panel->show();
  panel->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(panel.get()));
  QWidget* rows = List()->viewport();
  const auto clickRow = [&](int row) {
    QTest::mouseClick(rows, Qt::LeftButton, {}, List()->visualItemRect(List()->item(row)).center());
  };
  const auto keyDown = [&](int) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down); };
  const struct {
    const char* what;
    std::function<void(int)> act;
    int row;
    const char* memo;
  } steps[] = {{"click b", clickRow, 1, "scan b"},
               {"click a", clickRow, 0, "scan a"},
               {"key down to b", keyDown, 0, "scan b"},
               {"click c", clickRow, 2, "scan c"}};
  for (const auto& step : steps) {
    step.act(step.row);
    EXPECT_EQ(Memo().toStdString(), step.memo) << step.what;
    ran.clear();
    Click("PRCStartBtn");
    const std::string file = std::string(step.memo).substr(5) + ".prc";
    EXPECT_EQ(ran, (std::vector<std::string>{"QXC.exe -r " + (folder.Path() / file).string()})) << step.what;
  }
  EXPECT_TRUE(messages.empty());
}

// A name that is not valid UTF-8 (Windows-1252 "é" and "°") is shown by the text rule and opened by
// its own bytes; the text is Windows-1252 too.
TEST_F(PanelFixture, FileNameAndTextInWindows1252) {
  folder.Write("QXC.exe", "x");
  const std::string name = "caf\xE9 22\xB0.prc";
  folder.Write(name,
               "Tamb 22\xB0"
               "C \x80 \x93x\x94");
  Open();
  ASSERT_EQ(List()->count(), 1);
  EXPECT_EQ(List()->item(0)->text(), QString::fromUtf8("café 22°.prc"));
  Select(QString::fromUtf8("café 22°.prc"));
  EXPECT_TRUE(errors.shown.empty());
  EXPECT_EQ(Memo(), QString::fromUtf8("Tamb 22°C € “x”"));
  EXPECT_EQ(panel->SelectedProcedurePath(), (folder.Path() / name).string());
  Click("PRCStartBtn");
  ASSERT_EQ(ran.size(), 1u);
  EXPECT_TRUE(ran[0].find(name) != std::string::npos) << ran[0];
}

TEST_F(PanelFixture, StopAlwaysWritesTheStopFileCommand) {
  Open();
  Click("PRCStopBtn");
  Click("PRCStopBtn");
  EXPECT_EQ(ran, (std::vector<std::string>{"echo stop > STOP", "echo stop > STOP"}));
  EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace varnok
