#include "console/CommandConsole.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "tests/support/ErrorRecorder.h"
#include "tests/support/FakeInstrumentLink.h"
#include "tests/support/TempFolder.h"
#include "core/SettingsFile.h"
#include "console/ConsoleSettings.h"

namespace varnok {
namespace {

using testing::FakeInstrumentLink;
using Entries = std::vector<std::string>;

// A console on a settings file in a temporary folder, with a fake link and a counted alert sound.
class ConsoleFixture : public ::testing::Test {
 protected:
  void Open(const std::string& settingsText = "") {
    if (!settingsText.empty()) folder.Write("omblet.ini", settingsText);
    settings = std::make_unique<SettingsFile>(folder.Path() / "omblet.ini");
    console = std::make_unique<CommandConsole>(link, *settings);
    console->SetAlertSound([this] { ++alerts; });
  }
  QComboBox* Box() const { return console->findChild<QComboBox*>("IP"); }
  QPlainTextEdit* Log() const { return console->findChild<QPlainTextEdit*>("Memo1"); }
  Entries ListItems() const {
    Entries items;
    for (int i = 0; i < Box()->count(); ++i) items.push_back(Box()->itemText(i).toStdString());
    return items;
  }
  void Type(const std::string& text) {
    Box()->lineEdit()->clear();
    QTest::keyClicks(Box()->lineEdit(), QString::fromStdString(text));
  }
  void Execute(const std::string& text) {
    Type(text);
    console->findChild<QPushButton*>("exeBtn")->click();
  }
  ConsoleSettings Stored() const { return ReadConsoleSettings(SettingsFile(folder.Path() / "omblet.ini")); }

  testing::TempFolder folder;
  FakeInstrumentLink link;
  std::unique_ptr<SettingsFile> settings;
  std::unique_ptr<CommandConsole> console;
  int alerts = 0;
  test::ErrorRecorder errors;
};

const char* const kInstruction = "Enter/select command in Command field and clik Execute.";

TEST_F(ConsoleFixture, OpensWithItsControlsDefaultsAndInstructionLine) {
  Open();
  EXPECT_EQ(console->windowTitle(), "Execiute Commands");
  EXPECT_TRUE(console->isWindow());
  EXPECT_FALSE(console->isVisible());
  EXPECT_EQ(console->pos(), QPoint(100, 100));
  EXPECT_EQ(console->size(), QSize(600, 258));
  EXPECT_EQ(ListItems(), (Entries{"software", "fault", "status", "line"}));
  EXPECT_EQ(Box()->currentText(), "i");
  EXPECT_EQ(Box()->maxVisibleItems(), 15);
  EXPECT_EQ(Box()->toolTip(), "Enter command here");
  EXPECT_EQ(Log()->toPlainText(), kInstruction);
  EXPECT_EQ(console->findChild<QWidget*>("PanelLeft")->width(), 89);
  EXPECT_EQ(console->findChild<QLabel*>("Label1")->text(), "Command");
  EXPECT_EQ(console->findChild<QPushButton*>("exeBtn")->text(), "Execute");
  EXPECT_EQ(console->findChild<QPushButton*>("Button1")->text(), "Close");
  EXPECT_EQ(console->findChild<QPushButton*>("Button2")->text(), "Clear");
  EXPECT_EQ(console->findChild<QAction*>("Delete1")->text(), "Delete");
  EXPECT_EQ(console->findChild<QAction*>("Sort1")->text(), "Sort");
  ASSERT_NE(console->findChild<QStatusBar*>("StatusBar1"), nullptr);
}

TEST_F(ConsoleFixture, StoredGeometryAndHistoryAreApplied) {
  Open("[Form2]\nTop=40\nLeft=30\nWidth=700\nHeight=320\nCommands=\"temp 3\",status line\n");
  EXPECT_EQ(console->pos(), QPoint(30, 40));
  EXPECT_EQ(console->size(), QSize(700, 320));
  EXPECT_EQ(ListItems(), (Entries{"temp 3", "status", "line"}));
}

TEST_F(ConsoleFixture, SuccessfulCommandLogsTheReplyAndIsRemembered) {
  Open();
  link.Script({14, "line1\r\nline2\r\n"});
  Execute(" temp 3");
  ASSERT_EQ(link.sentTexts, (Entries{" temp 3"}));  // exactly as typed, blank included
  EXPECT_EQ(Log()->toPlainText().toStdString(), std::string(kInstruction) + "\nline1\nline2");
  EXPECT_EQ(ListItems(), (Entries{" temp 3", "software", "fault", "status", "line"}));
  EXPECT_EQ(alerts, 0);
}

// The instrument's software runs on Windows: a command goes out in Windows-1252, and a reply is shown
// as UTF-8 when it is valid UTF-8, otherwise as Windows-1252.
TEST_F(ConsoleFixture, CommandsGoOutInWindows1252AndRepliesFollowTheTextRule) {
  Open();
  const struct {
    std::string typed, sent, reply, shown;
  } cases[] = {
      {"set tamb 22°C",
       "set tamb 22\xB0"
       "C",
       "Tamb 22\xB0"
       "C \x80 \x93ok\x94\r\n",
       "Tamb 22°C € “ok”"},
      {"tamb", "tamb",
       "Tamb 22\xC2\xB0"
       "C\r\n",
       "Tamb 22°C"},                               // valid UTF-8 stays as it is
      {"name ĝ", "name ?", "\x8A\x9A\r\n", "Šš"},  // no such character: '?'
  };
  std::string log = kInstruction;
  for (const auto& c : cases) {
    link.sentTexts.clear();
    link.Script({static_cast<int>(c.reply.size()), c.reply});
    Box()->setEditText(QString::fromStdString(c.typed));  // the key helper types ASCII only
    console->findChild<QPushButton*>("exeBtn")->click();
    EXPECT_EQ(link.sentTexts, (Entries{c.sent})) << c.typed;
    log += "\n" + c.shown;
    EXPECT_EQ(Log()->toPlainText().toStdString(), log) << c.typed;
  }
}

TEST_F(ConsoleFixture, FailedCommandLogsTheCodeAlertsAndIsNotRemembered) {
  Open();
  for (int result : {-1, 0, -5}) {
    link.Script({result, ""});
    Execute("new command");
  }
  EXPECT_EQ(Log()->toPlainText().toStdString(), std::string(kInstruction) + "\nError -1\nError 0\nError -5");
  EXPECT_EQ(alerts, 3);
  EXPECT_EQ(ListItems(), (Entries{"software", "fault", "status", "line"}));
}

TEST_F(ConsoleFixture, CommandAlreadyInTheHistoryStaysWhereItIs) {
  Open();
  link.Script({2, "OK"});
  Execute("status");
  EXPECT_EQ(ListItems(), (Entries{"software", "fault", "status", "line"}));
}

TEST_F(ConsoleFixture, PrefixOfAnEntryRunsAsTyped) {
  Open();
  // Completion, where a box has it, works only in the active window with the box focused.
  console->show();
  console->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(console.get(), 5000));
  Box()->setFocus();
  for (const char* typed : {"sta", "STATUS", "Soft"}) {
    link.Script({2, "OK"});
    Execute(typed);
  }
  EXPECT_EQ(link.sentTexts, (Entries{"sta", "STATUS", "Soft"}));
  EXPECT_EQ(ListItems(), (Entries{"Soft", "STATUS", "sta", "software", "fault", "status", "line"}));
}

TEST_F(ConsoleFixture, EnterExecutesOnceAndInsertsNothing) {
  Open();
  console->show();
  console->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(console.get(), 5000));
  Box()->setFocus();
  ASSERT_NE(QApplication::focusWidget(), nullptr);
  for (QWidget* target : {QApplication::focusWidget(), static_cast<QWidget*>(Box()),
                          static_cast<QWidget*>(Box()->lineEdit())}) {
    link.sentTexts.clear();
    link.Script({2, "OK"});
    Type("fault");
    QTest::keyClick(target, Qt::Key_Return);
    link.Script({2, "OK"});
    QTest::keyClick(target, Qt::Key_Enter);
    EXPECT_EQ(link.sentTexts, (Entries{"fault", "fault"}));
    EXPECT_EQ(Box()->currentText(), "fault");
    EXPECT_EQ(ListItems(), (Entries{"software", "fault", "status", "line"}));
  }
  // Other keys still reach the box.
  QTest::keyClick(Box()->lineEdit(), Qt::Key_X);
  EXPECT_EQ(Box()->currentText(), "faultx");
}

TEST_F(ConsoleFixture, DeleteRemovesTheUpperDuplicateAndSelectsTheFirstEntry) {
  Open("[Form2]\nCommands=a,dup,b,dup\n");
  Type("dup");
  console->findChild<QAction*>("Delete1")->trigger();
  EXPECT_EQ(ListItems(), (Entries{"a", "b", "dup"}));
  EXPECT_EQ(Box()->currentIndex(), 0);
  EXPECT_EQ(Box()->currentText(), "a");

  Type("missing");
  console->findChild<QAction*>("Delete1")->trigger();
  EXPECT_EQ(ListItems(), (Entries{"a", "b", "dup"}));
  EXPECT_EQ(Box()->currentText(), "missing");
}

TEST_F(ConsoleFixture, RightClickInTheCommandBoxOpensDeleteAndSort) {
  Open();
  console->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(console.get(), 5000));
  auto* menu = console->findChild<QMenu*>("PopupMenu1");
  ASSERT_NE(menu, nullptr);
  for (QWidget* target : {static_cast<QWidget*>(Box()->lineEdit()), static_cast<QWidget*>(Box())}) {
    EXPECT_EQ(target->contextMenuPolicy(), Qt::CustomContextMenu);
    emit target->customContextMenuRequested(QPoint(5, 5));
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
  }
}

TEST_F(ConsoleFixture, SortOrdersTheListAndNewEntriesStillGoOnTop) {
  Open("[Form2]\nCommands=status,Fault,line,apple\n");
  console->findChild<QAction*>("Sort1")->trigger();
  EXPECT_EQ(ListItems(), (Entries{"apple", "Fault", "line", "status"}));
  EXPECT_TRUE(console->History().SortedMode());
  link.Script({2, "OK"});
  Execute("zz");
  EXPECT_EQ(ListItems(), (Entries{"zz", "apple", "Fault", "line", "status"}));
}

TEST_F(ConsoleFixture, ClearEmptiesTheLogAndClosingKeepsIt) {
  Open();
  console->findChild<QPushButton*>("Button2")->click();
  EXPECT_EQ(Log()->toPlainText(), "");
  link.Script({5, "reply"});
  Execute("x");
  console->show();
  console->findChild<QPushButton*>("Button1")->click();
  EXPECT_FALSE(console->isVisible());
  console->show();
  EXPECT_EQ(Log()->toPlainText(), "reply");
}

TEST_F(ConsoleFixture, ClosingWritesGeometryAndHistory) {
  Open("[Form]\nTop=5\n[Form2]\nCommands=\"temp 3\"\n");
  console->show();
  console->move(50, 60);
  console->resize(640, 300);
  link.Script({2, "OK"});
  Execute("set 1");
  console->findChild<QPushButton*>("Button1")->click();
  const ConsoleSettings s = Stored();
  EXPECT_EQ(s.left, 50);
  EXPECT_EQ(s.top, 60);
  EXPECT_EQ(s.width, 640);
  EXPECT_EQ(s.height, 300);
  EXPECT_EQ(s.commands, (Entries{"set 1", "temp 3"}));
  EXPECT_NE(folder.Read("omblet.ini").find("Commands=\"set 1\",\"temp 3\""), std::string::npos);
  EXPECT_NE(folder.Read("omblet.ini").find("Top=5"), std::string::npos);  // the main window's keys stay
}

TEST_F(ConsoleFixture, StoredListOfTwentyFiveStaysTwentyFive) {
  std::string list;
  for (int i = 0; i < 25; ++i) list += (i ? ",c" : "c") + std::to_string(i);
  Open("[Form2]\nCommands=" + list + "\n");
  link.Script({2, "OK"});
  Execute("new");
  console->show();
  console->close();
  const Entries stored = Stored().commands;
  ASSERT_EQ(stored.size(), 25u);
  EXPECT_EQ(stored.front(), "new");
  EXPECT_EQ(stored.back(), "c23");
}

TEST_F(ConsoleFixture, ProgramEndWhileOpenWritesAsIfClosed) {
  Open();
  link.Script({2, "OK"});
  Execute("kept");
  console->WriteSettingsIfOpen();  // hidden: its last closing (none here) is what counts
  settings->Save();
  EXPECT_EQ(Stored().commands, (Entries{"software", "fault", "status", "line"}));
  EXPECT_EQ(folder.Read("omblet.ini").find("[Form2]"), std::string::npos);
  console->show();
  console->WriteSettingsIfOpen();
  settings->Save();
  EXPECT_EQ(Stored().commands, (Entries{"kept", "software", "fault", "status", "line"}));
  EXPECT_TRUE(console->isVisible());
}

TEST_F(ConsoleFixture, UnwritableSettingsFileIsReportedOnceAndTheWindowCloses) {
  const std::filesystem::path blocker = folder.Write("not-a-folder", "x");
  settings = std::make_unique<SettingsFile>(blocker / "omblet.ini");
  console = std::make_unique<CommandConsole>(link, *settings);
  console->show();
  EXPECT_TRUE(console->close());
  EXPECT_FALSE(console->isVisible());
  // Shown once by the one error display, with its full stop.
  ASSERT_EQ(errors.shown.size(), 1u);
  EXPECT_EQ(errors.shown[0], "Unable to write to " + (blocker / "omblet.ini").string() + ".");
}

}  // namespace
}  // namespace varnok
