#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QWindow>
#include <QToolButton>

#include "core/AppError.h"
#include "link/CommandLayer.h"
#include "app/FeaturePages.h"
#include "core/SettingsFile.h"
#include "core/Timer1Client.h"
#include "tests/app/WindowTestSupport.h"

namespace varnok::test {
namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  std::unique_ptr<MainWindow> Open(const fs::path& settings, bool withPages) {
    MainWindowSetup setup;
    setup.settingsPath = settings;
    setup.workingFolder = folder_.Path();
    setup.tone = &tone_;
    if (withPages) setup.installPages = InstallStandInPages;
    return std::make_unique<MainWindow>(std::move(setup));
  }
  std::vector<std::string> Entries(const MainWindow& w) {
    std::vector<std::string> list;
    auto* ip = Find<QComboBox>(w, "IP");
    for (int i = 0; i < ip->count(); ++i) list.push_back(ip->itemText(i).toStdString());
    return list;
  }
  TempFolder folder_;
  CountingTone tone_;
  ErrorRecorder errors_;
};

TEST_F(MainWindowTest, LayoutOfTheWindow) {
  auto w = Open(folder_ / "none.INI", false);
  EXPECT_EQ(w->windowTitle(), "Varnok Tester  Serial & TCP interfaces");
  EXPECT_EQ(w->objectName(), "Form1");

  auto* menu = Find<QMenuBar>(*w, "MainMenu1");
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->actions().size(), 2);
  EXPECT_EQ(menu->actions()[0]->objectName(), "Exit1");
  EXPECT_EQ(menu->actions()[0]->text(), "Exit");
  EXPECT_EQ(menu->actions()[1]->objectName(), "About1");
  EXPECT_EQ(menu->actions()[1]->text(), "About");

  EXPECT_EQ(Find<QWidget>(*w, "Panel1")->height(), 36);

  const struct {
    const char* name;
    const char* caption;
    bool shown;
  } pages[] = {{"TabHome", "HOME", true},
               {"TabUsers", "USERS", true},
               {"TabConfiguration", "CONFIGURATION", true},
               {"TabStatus", "STATUS/CONTROL", true},
               {"TabFileManagement", "FILE MANAGEMENT", true},
               {"TabMonitor", "MONITOR", true},
               {"TabCalibrate", "CALIBRATE", true},
               {"TabProcedures", "PROCEDURES", false},
               {"TabSheet1", "TEST", true},
               {"TabHiddent", "TabHiddent", false}};
  auto* tabs = Find<QTabWidget>(*w, "PageControl1");
  ASSERT_EQ(tabs->count(), 10);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(tabs->widget(i)->objectName(), pages[i].name);
    EXPECT_EQ(tabs->tabText(i), pages[i].caption);
    EXPECT_EQ(tabs->isTabVisible(i), pages[i].shown) << pages[i].name;
    EXPECT_EQ(tabs->widget(i)->layout()->contentsMargins(), QMargins()) << pages[i].name;
  }
  EXPECT_EQ(tabs->currentWidget()->objectName(), "TabStatus");

  auto* grid = Find<QTableWidget>(*w, "UsersGrid");
  ASSERT_EQ(grid->columnCount(), 4);
  const char* header[] = {"Login", "Email", "Role", "Created"};
  for (int c = 0; c < 4; ++c) {
    EXPECT_EQ(grid->horizontalHeaderItem(c)->text(), header[c]);
    EXPECT_EQ(grid->columnWidth(c), 160);
  }
  EXPECT_EQ(grid->rowCount(), 4);  // five rows with the header row
  EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectRows);

  auto* bar = Find<QStatusBar>(*w, "StatusBar1");
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(Find<QLabel>(*bar, "StatusPanel0")->width(), 100);
  EXPECT_EQ(Find<QLabel>(*bar, "StatusPanel1")->width(), 200);

  auto* timer = Find<QTimer>(*w, "Timer1");
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(timer->interval(), 1000);
}

// The platform appends " — <display name>" to every window title when the application has a display
// name (by default its application name): there must be none, while the application name stays.
TEST_F(MainWindowTest, TitlesAreExactlyTheCaptions) {
  EXPECT_EQ(QApplication::applicationName(), "Varnok_Omblet");
  EXPECT_EQ(QGuiApplication::applicationDisplayName(), "");
  auto w = Open(folder_ / "none.INI", false);
  w->show();
  ASSERT_NE(w->windowHandle(), nullptr);
  EXPECT_EQ(w->windowHandle()->title(), "Varnok Tester  Serial & TCP interfaces");
}

TEST_F(MainWindowTest, TopPanelControls) {
  auto w = Open(folder_ / "none.INI", false);
  w->show();
  const struct {
    const char* name;
    bool visible;
    bool enabled;
    const char* hint;
  } controls[] = {
      {"Label42", true, false, "This is default Modbus port."},
      {"TCPPort", true, false, "Never change this unless you know what you are doing."},
      {"IP", true, true, "IP Address or Serial COMx.\r\nIt could be host name too.  "},
      {"ConnectBtn", true, true, "Connect to Instrument"},
      {"TimerBtn", false, true, "Read Timer. Keep it off when slow connection is used."},
      {"Label2", false, false, ""},
      {"UnitAddress", false, true, "Normally it must be zero."},
  };
  for (const auto& c : controls) {
    auto* widget = Find<QWidget>(*w, c.name);
    ASSERT_NE(widget, nullptr) << c.name;
    EXPECT_EQ(widget->isVisible(), c.visible) << c.name;
    EXPECT_EQ(widget->isEnabled(), c.enabled) << c.name;
    EXPECT_EQ(widget->toolTip(), c.hint) << c.name;
  }
  EXPECT_EQ(Find<QLineEdit>(*w, "TCPPort")->text(), "502");
  EXPECT_EQ(Find<QLabel>(*w, "Label42")->text(), "Port:");
  EXPECT_EQ(Find<QComboBox>(*w, "IP")->maxVisibleItems(), 15);
  EXPECT_TRUE(Find<QComboBox>(*w, "IP")->isEditable());
  auto* connect = Find<QToolButton>(*w, "ConnectBtn");
  EXPECT_EQ(connect->text(), "Connect");
  EXPECT_TRUE(connect->isCheckable());
  EXPECT_FALSE(connect->isChecked());
  EXPECT_FALSE(connect->icon().isNull());
  auto* unit = Find<QSpinBox>(*w, "UnitAddress");
  EXPECT_EQ(unit->minimum(), 0);
  EXPECT_EQ(unit->maximum(), 255);
  w->close();
}

TEST_F(MainWindowTest, DefaultsWithoutSettingsFile) {
  for (bool withPages : {false, true}) {
    auto w = Open(folder_ / "none.INI", withPages);
    EXPECT_EQ(w->pos(), QPoint(100, 100));
    EXPECT_EQ(w->size(), QSize(970, 640));
    EXPECT_EQ(Entries(*w), (std::vector<std::string>{kFactoryAddress, "COM1"}));
    EXPECT_EQ(Find<QComboBox>(*w, "IP")->currentText().toStdString(), kFactoryAddress);
    EXPECT_EQ(w->UnitAddress(), 0);
    const MainWindowSettings s = w->CurrentSettings();
    EXPECT_EQ(s.chartWindow, 5000);
    EXPECT_EQ(s.chartTimer, "1.0");
    EXPECT_FALSE(s.chartLast);
    EXPECT_EQ(s.qxName, "QXC.exe");
    if (withPages) {
      EXPECT_EQ(Find<QSpinBox>(*w, "Wind")->value(), 5000);
      EXPECT_EQ(Find<QLineEdit>(*w, "chartTS")->text(), "1.0");
      EXPECT_FALSE(Find<QCheckBox>(*w, "Last")->isChecked());
      EXPECT_EQ(Find<QLineEdit>(*w, "QXName")->text(), "QXC.exe");
    }
  }
  EXPECT_TRUE(errors_.shown.empty());
}

// Every key set through the window's controls comes back after a close and a new start.
TEST_F(MainWindowTest, EveryKeySurvivesCloseAndRestart) {
  const fs::path file = folder_ / "round.INI";
  const std::vector<std::string> addresses = {"lab host, north", "COM3", "10.1.2.3:5020", "x\"y"};
  {
    auto w = Open(file, true);
    w->move(130, 140);
    w->resize(800, 500);
    Find<QSpinBox>(*w, "UnitAddress")->setValue(17);
    auto* ip = Find<QComboBox>(*w, "IP");
    ip->clear();
    for (const auto& a : addresses) ip->addItem(QString::fromStdString(a));
    ip->setEditText(QStringLiteral("typed but not kept, in list"));
    Find<QSpinBox>(*w, "Wind")->setValue(1234);
    Find<QLineEdit>(*w, "chartTS")->setText(QStringLiteral("2.5"));
    Find<QCheckBox>(*w, "Last")->setChecked(true);
    EXPECT_TRUE(w->close());
  }
  const std::string text = ReadText(file);
  for (const char* key : {"Top=", "Left=", "Width=", "Height=", "UnitAddress=", "IPAddress=", "CurrentIP=",
                          "Window=", "Timer=", "Last="}) {
    EXPECT_NE(text.find(key), std::string::npos) << key << " missing in\n" << text;
  }
  EXPECT_EQ(text.find("QXName"), std::string::npos) << text;

  for (bool withPages : {true, false}) {
    auto w = Open(file, withPages);
    EXPECT_EQ(w->pos(), QPoint(130, 140));
    EXPECT_EQ(w->size(), QSize(800, 500));
    EXPECT_EQ(w->UnitAddress(), 17);
    EXPECT_EQ(Entries(*w), addresses);
    EXPECT_EQ(Find<QComboBox>(*w, "IP")->currentText(), "typed but not kept, in list");
    const MainWindowSettings s = w->CurrentSettings();
    EXPECT_EQ(s.chartWindow, 1234);
    EXPECT_EQ(s.chartTimer, "2.5");
    EXPECT_TRUE(s.chartLast);
    if (withPages) {
      EXPECT_EQ(Find<QSpinBox>(*w, "Wind")->value(), 1234);
    }
    w->close();  // without the pages the stored chart values pass through unchanged
  }
  auto w = Open(file, true);
  EXPECT_EQ(Find<QSpinBox>(*w, "Wind")->value(), 1234);
  EXPECT_EQ(Find<QLineEdit>(*w, "chartTS")->text(), "2.5");
  EXPECT_TRUE(Find<QCheckBox>(*w, "Last")->isChecked());
}

TEST_F(MainWindowTest, StoredValuesOutOfRangeAreClamped) {
  const fs::path file = folder_ / "clamp.INI";
  const struct {
    const char* text;
    int unit;
    int wind;
    QPoint pos;
  } cases[] = {
      {"[Form]\nUnitAddress=300\n[Chart]\nWindow=0\n", 255, 1, {100, 100}},
      {"[Form]\nUnitAddress=-4\nTop=abc\nLeft=$20\n[Chart]\nWindow=200000\n", 0, 100000, {32, 100}},
  };
  for (const auto& c : cases) {
    WriteText(file, c.text);
    auto w = Open(file, true);
    EXPECT_EQ(w->UnitAddress(), c.unit) << c.text;
    EXPECT_EQ(Find<QSpinBox>(*w, "Wind")->value(), c.wind) << c.text;
    EXPECT_EQ(w->pos(), c.pos) << c.text;
  }
}

TEST_F(MainWindowTest, HandWrittenFileKeepsWhatTheProgramDoesNotKnow) {
  const fs::path file = folder_ / "hand.INI";
  WriteText(file,
            "; site north, set up by hand\n"
            "[Form]\nTop=50\nQXName=D:\\QX\\Run.exe\nNote=keep me\n"
            "[Form2]\nHistory=\"status\",\"ver\"\n"
            "[Site]\nName=North; roof\n");
  {
    auto w = Open(file, true);
    EXPECT_EQ(Find<QLineEdit>(*w, "QXName")->text(), "D:\\QX\\Run.exe");
    EXPECT_EQ(w->pos().y(), 50);
    w->close();
  }
  const std::string text = ReadText(file);
  for (const char* kept :
       {"; site north, set up by hand", "QXName=D:\\QX\\Run.exe", "Note=keep me", "[Form2]",
        "History=\"status\",\"ver\"", "[Site]", "Name=North; roof", "Width=970"}) {
    EXPECT_NE(text.find(kept), std::string::npos) << kept << " lost from\n" << text;
  }
}

TEST_F(MainWindowTest, PageStepBeforeSaveWritesIntoTheSameFile) {
  struct SectionPage : ShellPage {
    void BeforeSettingsSaved(SettingsFile& f) override { f.WriteString("Form2", "Top", "77"); }
  } page;
  const fs::path file = folder_ / "hook.INI";
  {
    auto w = Open(file, false);
    w->AddShellPage(page);
    w->close();
  }
  EXPECT_EQ(SettingsFile(file).ReadInteger("Form2", "Top", 0), 77);
}

// The real pages keep their values through the window's page contract, not through the names of their
// controls: with every control of the pages renamed, the values typed in still reach the file and come
// back into the same controls.
TEST_F(MainWindowTest, RenamedPageControlsStillKeepTheirValues) {
  const fs::path file = folder_ / "renamed.INI";
  WriteText(file, "[Form]\nQXName=Run7.exe\n");
  auto openWithPages = [&] {
    MainWindowSetup setup;
    setup.settingsPath = file;
    setup.workingFolder = folder_.Path();
    setup.tone = &tone_;
    setup.installPages = InstallFeaturePages;
    return std::make_unique<MainWindow>(std::move(setup));
  };
  auto renameEveryPageControl = [](MainWindow& w) {
    for (QWidget* control : w.Pages()->findChildren<QWidget*>()) {
      control->setObjectName(QStringLiteral("renamed-") + control->objectName());
    }
  };
  {
    auto w = openWithPages();
    auto* wind = Find<QSpinBox>(*w, "Wind");
    auto* chartTS = Find<QLineEdit>(*w, "chartTS");
    auto* last = Find<QCheckBox>(*w, "Last");
    ASSERT_TRUE(wind && chartTS && last);
    EXPECT_EQ(Find<QLineEdit>(*w, "QXName")->text(), "Run7.exe");
    renameEveryPageControl(*w);
    wind->setValue(4321);
    chartTS->setText(QStringLiteral("0.25"));
    last->setChecked(true);
    const MainWindowSettings now = w->CurrentSettings();
    EXPECT_EQ(now.qxName, "Run7.exe");
    EXPECT_TRUE(w->close());
  }
  const MainWindowSettings stored = ReadMainWindowSettings(SettingsFile(file));
  EXPECT_EQ(stored.chartWindow, 4321);
  EXPECT_EQ(stored.chartTimer, "0.25");
  EXPECT_TRUE(stored.chartLast);

  auto w = openWithPages();
  EXPECT_EQ(Find<QSpinBox>(*w, "Wind")->value(), 4321);
  EXPECT_EQ(Find<QLineEdit>(*w, "chartTS")->text(), "0.25");
  EXPECT_TRUE(Find<QCheckBox>(*w, "Last")->isChecked());
  w->close();
}

// Each tab sheet's name belongs to the tab sheet alone: the page inside has a name of its own.
TEST_F(MainWindowTest, TabSheetNamesAreUniqueInTheWindow) {
  MainWindowSetup setup;
  setup.settingsPath = folder_ / "none.INI";
  setup.workingFolder = folder_.Path();
  setup.tone = &tone_;
  setup.installPages = InstallFeaturePages;
  MainWindow w(std::move(setup));
  for (int i = 0; i < w.Pages()->count(); ++i) {
    const QString name = w.Pages()->widget(i)->objectName();
    EXPECT_EQ(w.findChildren<QWidget*>(name).size(), 1) << name.toStdString();
  }
  w.close();
}

TEST_F(MainWindowTest, UnwritableFileIsReportedOnceAndTheWindowCloses) {
  WriteText(folder_ / "plain", "a file where a folder should be");
  const fs::path file = folder_ / "plain" / "x.INI";
  auto w = Open(file, false);
  w->show();
  EXPECT_TRUE(w->close());
  EXPECT_FALSE(w->isVisible());
  ASSERT_EQ(errors_.shown.size(), 1u);
  EXPECT_EQ(errors_.shown[0], "Unable to write to " + file.string() + ".");
  w->close();
  EXPECT_EQ(errors_.shown.size(), 1u);
}

// With the command console open and the settings file unwritable, each window reports the failure
// once and closes, and the program's event loop ends (a window refusing its close would stop it).
TEST_F(MainWindowTest, ProgramQuitsWithTheConsoleOpenWhenSettingsCannotBeWritten) {
  WriteText(folder_ / "plain", "a file where a folder should be");
  const fs::path file = folder_ / "plain" / "x.INI";
  MainWindowSetup setup;
  setup.settingsPath = file;
  setup.workingFolder = folder_.Path();
  setup.tone = &tone_;
  setup.installPages = InstallFeaturePages;
  auto w = std::make_unique<MainWindow>(std::move(setup));
  const bool quitOnLast = QApplication::quitOnLastWindowClosed();
  QApplication::setQuitOnLastWindowClosed(false);
  QObject::connect(w.get(), &MainWindow::Closed, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
  w->show();
  Find<QToolButton>(*w, "SpeedButton1")->click();
  QWidget* console = nullptr;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top != w.get() && top->isVisible() && top->isWindow() && top->objectName() != "AboutBox")
      console = top;
  }
  ASSERT_NE(console, nullptr) << "the command console did not open";
  QTimer::singleShot(0, w.get(), [&w] { w->findChild<QAction*>("Exit1")->trigger(); });
  QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(7); });  // the program hung
  const int result = QCoreApplication::exec();
  QApplication::setQuitOnLastWindowClosed(quitOnLast);
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(w->isVisible());
  EXPECT_FALSE(console->isVisible());
  const std::string message = "Unable to write to " + file.string() + ".";
  EXPECT_EQ(errors_.shown, (std::vector<std::string>{message, message}));
}

TEST_F(MainWindowTest, CommandLayerDrivesTheWindow) {
  auto w = Open(folder_ / "none.INI", false);
  auto* connect = Find<QToolButton>(*w, "ConnectBtn");
  int handlerRuns = 0;
  QObject::connect(connect, &QToolButton::clicked, [&] { ++handlerRuns; });
  w->SetConnectDown(true);
  EXPECT_TRUE(connect->isChecked());
  EXPECT_TRUE(w->ConnectDown());
  EXPECT_EQ(handlerRuns, 0);  // setting the state from code runs no handler

  const char* texts[] = {" Connected", " Model:QX", "OK"};
  for (int i = 0; i < 3; ++i) {
    w->SetPanelText(i, texts[i]);
    EXPECT_EQ(Find<QLabel>(*w, ("StatusPanel" + std::to_string(i)).c_str())->text(), texts[i]);
  }
  w->Commands().SetStatusText("from the layer");
  EXPECT_EQ(Find<QLabel>(*w, "StatusPanel2")->text(), "from the layer");

  auto* timerBtn = Find<QToolButton>(*w, "TimerBtn");
  timerBtn->setChecked(true);
  w->ReleaseTimerBtn();
  EXPECT_FALSE(timerBtn->isChecked());
  w->SetTimer1Enabled(false);
  EXPECT_FALSE(Find<QTimer>(*w, "Timer1")->isActive());
  w->SetTimer1Enabled(true);
  EXPECT_TRUE(Find<QTimer>(*w, "Timer1")->isActive());

  // Disconnect through the layer: "Disonnected", the button released, two tones.
  w->Link().Disconnect();
  EXPECT_EQ(Find<QLabel>(*w, "StatusPanel0")->text(), "Disonnected");
  EXPECT_FALSE(connect->isChecked());
  EXPECT_EQ(tone_.count, 2);
}

TEST_F(MainWindowTest, HooksRunFromTheirControls) {
  auto w = Open(folder_ / "none.INI", false);
  int consoleOpened = 0;
  int ticks = 0;
  struct CountingClient : Timer1Client {
    explicit CountingClient(int& ticks) : ticks(ticks) {}
    void Timer1Timer() override { ++ticks; }
    int& ticks;
  } client(ticks);
  w->SetSpeedButton1Hook([&] { ++consoleOpened; });
  w->SetTimer1Client(client);
  Find<QToolButton>(*w, "SpeedButton1")->click();
  EXPECT_EQ(consoleOpened, 1);
  Find<QTimer>(*w, "Timer1")->setInterval(10);
  EXPECT_TRUE(WaitFor([&] { return ticks >= 2; }));
}

TEST_F(MainWindowTest, AboutBoxShowsTheRevisionWithoutBlocking) {
  auto w = Open(folder_ / "none.INI", false);
  w->show();
  w->findChild<QAction*>(QStringLiteral("About1"))->trigger();  // returns: the box is not modal
  QWidget* box = nullptr;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->objectName() == "AboutBox") box = top;
  }
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->isVisible());
  EXPECT_FALSE(box->isModal());
  EXPECT_EQ(box->windowTitle(), "  Varnok Tester");
  EXPECT_EQ(Find<QLabel>(*box, "Version")->text(), "Revision:1.2 12/07/2012");
  EXPECT_EQ(Find<QLabel>(*box, "ProductName")->text(), "Varnok Tester");
  auto* ok = Find<QPushButton>(*box, "OKButton");
  EXPECT_TRUE(ok->isDefault());
  ok->click();
  EXPECT_FALSE(box->isVisible());
}

TEST_F(MainWindowTest, Exit1ClosesTheWindowAndWritesTheSettings) {
  const fs::path file = folder_ / "exit.INI";
  auto w = Open(file, false);
  w->show();
  bool closedSignal = false;
  QObject::connect(w.get(), &MainWindow::Closed, [&] { closedSignal = true; });
  w->findChild<QAction*>(QStringLiteral("Exit1"))->trigger();
  EXPECT_FALSE(w->isVisible());
  EXPECT_TRUE(closedSignal);
  EXPECT_TRUE(fs::exists(file));
}

// A failure that escapes a handler is shown with the full stop and the program goes on.
TEST_F(MainWindowTest, EscapedFailureIsShownAndTheLoopGoesOn) {
  bool laterRan = false;
  QTimer::singleShot(0, [] { throw AppError("'abc' is not a valid integer value"); });
  QTimer::singleShot(5, [&] { laterRan = true; });
  EXPECT_TRUE(WaitFor([&] { return laterRan; }));
  ASSERT_EQ(errors_.shown.size(), 1u);
  EXPECT_EQ(errors_.shown[0], "'abc' is not a valid integer value.");
}

}  // namespace
}  // namespace varnok::test
