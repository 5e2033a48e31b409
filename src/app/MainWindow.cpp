#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/AboutBox.h"
#include "link/AddressList.h"
#include "link/AsioLinkOpener.h"
#include "link/CommandLayer.h"
#include "link/ConnectionManager.h"
#include "link/GatedHandler.h"
#include "core/GuardedHandler.h"
#include "app/LinkThreadWaiter.h"
#include "core/SettingsFile.h"
#include "core/ShellPage.h"
#include "core/TextConversions.h"
#include "core/Timer1Client.h"
#include "core/ToneOutput.h"

// The pictures live in the library: register them once (outside any namespace, as Qt requires).
static void InitVarnokResources() { Q_INIT_RESOURCE(varnok); }

namespace varnok {

namespace {

struct PageInfo {
  const char* name;
  const char* caption;
  bool shown;
};

// The pages of PageControl1 in their order.
constexpr PageInfo kPages[] = {
    {"TabHome", "HOME", true},
    {"TabUsers", "USERS", true},
    {"TabConfiguration", "CONFIGURATION", true},
    {"TabStatus", "STATUS/CONTROL", true},
    {"TabFileManagement", "FILE MANAGEMENT", true},
    {"TabMonitor", "MONITOR", true},
    {"TabCalibrate", "CALIBRATE", true},
    {"TabProcedures", "PROCEDURES", false},
    {"TabSheet1", "TEST", true},
    {"TabHiddent", "TabHiddent", false},
};
constexpr int kStartPage = 3;  // STATUS/CONTROL

QString Q(const std::string& text) { return QString::fromStdString(text); }

QLabel* HeaderBar(const QString& text, QWidget* parent) {
  auto* header = new QLabel(text, parent);
  QFont font = header->font();
  font.setBold(true);
  font.setPointSize(font.pointSize() + 2);
  header->setFont(font);
  header->setContentsMargins(8, 6, 8, 6);
  header->setAutoFillBackground(true);
  header->setBackgroundRole(QPalette::Midlight);
  return header;
}

}  // namespace

MainWindow::MainWindow(MainWindowSetup setup, QWidget* parent)
    : QMainWindow(parent), setup_(std::move(setup)) {
  InitVarnokResources();
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Varnok Tester  Serial & TCP interfaces"));
  setWindowIcon(QIcon(QStringLiteral(":/varnok/icon.svg")));

  tone_ = setup_.tone;
  if (!tone_) {
    ownTone_ = MakeSystemToneOutput();
    tone_ = ownTone_.get();
  }
  LinkOpener* opener = setup_.opener;
  if (!opener) {
    ownOpener_ = std::make_unique<AsioLinkOpener>(setup_.timeouts);
    opener = ownOpener_.get();
  }
  waiter_ = std::make_unique<LinkThreadWaiter>([this](bool waiting) {
    if (waiting) {
      BeginWaiting();
    } else {
      EndWaiting();
    }
  });
  commands_ = std::make_unique<CommandLayer>(*this, setup_.timeouts);
  commands_->SetWaiter(*waiter_);
  // A handler's failure ends that handler only and is shown in the one error display.
  commands_->Handlers().SetFailureReport(ReportHandlerFailure);
  connection_ = std::make_unique<ConnectionManager>(*commands_, *this, *opener);

  auto* menu = menuBar();
  menu->setObjectName(QStringLiteral("MainMenu1"));
  Exit1 = menu->addAction(QStringLiteral("Exit"));
  Exit1->setObjectName(QStringLiteral("Exit1"));
  connect(Exit1, &QAction::triggered, this, Guarded([this] { Exit1Click(); }));
  About1 = menu->addAction(QStringLiteral("About"));
  About1->setObjectName(QStringLiteral("About1"));
  connect(About1, &QAction::triggered, this, Guarded([this] { About1Click(); }));

  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  setCentralWidget(central);
  BuildPanel();
  column->addWidget(Panel1);
  BuildPages();
  column->addWidget(PageControl1, 1);
  BuildStatusBar();

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(1000);
  // A tick that falls due while a handler waits is dropped; one waits and runs afterwards.
  connect(Timer1, &QTimer::timeout, this,
          Guarded(GatedTick(*commands_, Timer1, this, &MainWindow::Timer1Timer)));

  busyDelay_ = new QTimer(this);
  busyDelay_->setSingleShot(true);
  busyDelay_->setInterval(200);
  connect(busyDelay_, &QTimer::timeout, this, Guarded([this] {
            if (waiting_ > 0) ShowBusy(true);
          }));
  // Consecutive waits of one handler show as one: the indication ends a moment after the last.
  busyEnd_ = new QTimer(this);
  busyEnd_->setSingleShot(true);
  busyEnd_->setInterval(120);
  connect(busyEnd_, &QTimer::timeout, this, Guarded([this] {
            if (waiting_ > 0) return;
            busyDelay_->stop();
            ShowBusy(false);
          }));

  // The settings file is read once, now; a missing file or key gives the defaults.
  settingsFile_ = std::make_unique<SettingsFile>(setup_.settingsPath);
  stored_ = ReadMainWindowSettings(*settingsFile_);
  ApplySettings(stored_);

  const auto header = SplitCommaList("Login,Email,Role,Created");
  for (int c = 0; c < static_cast<int>(header.size()) && c < UsersGrid->columnCount(); ++c) {
    UsersGrid->setHorizontalHeaderItem(c, new QTableWidgetItem(Q(header[c])));
  }

  if (setup_.installPages) setup_.installPages(*this);
  ApplyPageSettings();

  aboutBox_ = std::make_unique<AboutBox>();
  Timer1->start();
}

MainWindow::~MainWindow() {
  if (busyShown_) QApplication::restoreOverrideCursor();
}

void MainWindow::BuildPanel() {
  Panel1 = new QWidget(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFixedHeight(36);
  auto* row = new QHBoxLayout(Panel1);
  row->setContentsMargins(6, 3, 6, 3);
  row->setSpacing(6);

  Label42 = new QLabel(QStringLiteral("Port:"), Panel1);
  Label42->setObjectName(QStringLiteral("Label42"));
  Label42->setToolTip(QStringLiteral("This is default Modbus port."));
  Label42->setEnabled(false);
  row->addWidget(Label42);

  TCPPort = new QLineEdit(QStringLiteral("502"), Panel1);
  TCPPort->setObjectName(QStringLiteral("TCPPort"));
  TCPPort->setToolTip(QStringLiteral("Never change this unless you know what you are doing."));
  TCPPort->setEnabled(false);
  TCPPort->setFixedWidth(48);
  row->addWidget(TCPPort);

  IP = new QComboBox(Panel1);
  IP->setObjectName(QStringLiteral("IP"));
  IP->setEditable(true);
  IP->setInsertPolicy(QComboBox::NoInsert);
  IP->setMaxVisibleItems(15);
  IP->setToolTip(QStringLiteral("IP Address or Serial COMx.\r\nIt could be host name too.  "));
  IP->setMinimumWidth(190);
  row->addWidget(IP);

  ConnectBtn = new QToolButton(Panel1);
  ConnectBtn->setObjectName(QStringLiteral("ConnectBtn"));
  ConnectBtn->setText(QStringLiteral("Connect"));
  ConnectBtn->setToolTip(QStringLiteral("Connect to Instrument"));
  ConnectBtn->setIcon(QIcon(QStringLiteral(":/varnok/connect.svg")));
  ConnectBtn->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  ConnectBtn->setCheckable(true);
  ConnectBtn->setMinimumWidth(96);
  // clicked, not toggled: setting the state from code never runs the handler.
  connect(ConnectBtn, &QToolButton::clicked, this, Guarded([this] { ConnectBtnClick(); }));
  row->addWidget(ConnectBtn);

  TimerBtn = new QToolButton(Panel1);
  TimerBtn->setObjectName(QStringLiteral("TimerBtn"));
  TimerBtn->setToolTip(QStringLiteral("Read Timer. Keep it off when slow connection is used."));
  TimerBtn->setIcon(QIcon(QStringLiteral(":/varnok/timer.svg")));
  TimerBtn->setCheckable(true);
  TimerBtn->setVisible(false);
  row->addWidget(TimerBtn);

  Label2 = new QLabel(QStringLiteral("Unit Address:"), Panel1);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setEnabled(false);
  Label2->setVisible(false);
  row->addWidget(Label2);

  UnitAddressBox = new QSpinBox(Panel1);
  UnitAddressBox->setObjectName(QStringLiteral("UnitAddress"));
  UnitAddressBox->setRange(0, 255);
  UnitAddressBox->setToolTip(QStringLiteral("Normally it must be zero."));
  UnitAddressBox->setVisible(false);
  row->addWidget(UnitAddressBox);

  SpeedButton1 = new QToolButton(Panel1);
  SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
  SpeedButton1->setText(QStringLiteral("Console"));
  SpeedButton1->setToolTip(QStringLiteral("Command console"));
  SpeedButton1->setIcon(QIcon(QStringLiteral(":/varnok/console.svg")));
  SpeedButton1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  connect(SpeedButton1, &QToolButton::clicked, this, Guarded([this] { SpeedButton1Click(); }));
  row->addWidget(SpeedButton1);

  row->addStretch(1);
}

void MainWindow::BuildPages() {
  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  for (const auto& info : kPages) {
    auto* page = new QWidget(PageControl1);
    page->setObjectName(QLatin1String(info.name));
    QBoxLayout* layout = std::string_view(info.name) == "TabStatus"
                             ? static_cast<QBoxLayout*>(new QHBoxLayout(page))
                             : new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const int index = PageControl1->addTab(page, QLatin1String(info.caption));
    PageControl1->setTabVisible(index, info.shown);
  }

  // HOME: a blank panel on the left and a picture filling the rest.
  {
    auto* layout = static_cast<QBoxLayout*>(TabHome()->layout());
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    auto* blank = new QWidget(TabHome());
    blank->setObjectName(QStringLiteral("HomeLeftPanel"));
    blank->setFixedWidth(185);
    row->addWidget(blank);
    auto* picture = new QSvgWidget(QStringLiteral(":/varnok/home.svg"), TabHome());
    picture->setObjectName(QStringLiteral("HomePicture"));
    picture->renderer()->setAspectRatioMode(Qt::KeepAspectRatio);
    row->addWidget(picture, 1);
    layout->addLayout(row);
  }

  // USERS: header bar, three buttons without action, the accounts grid.
  {
    auto* layout = static_cast<QBoxLayout*>(TabUsers()->layout());
    layout->addWidget(HeaderBar(QStringLiteral("User Accounts"), TabUsers()));
    auto* row = new QHBoxLayout;
    row->setContentsMargins(8, 8, 8, 8);
    row->setSpacing(8);
    auto* buttons = new QVBoxLayout;
    for (const char* caption : {"Delete", "Edit", "Create"}) {
      auto* button = new QPushButton(QLatin1String(caption), TabUsers());
      button->setObjectName(QLatin1String(caption) + QStringLiteral("Button"));
      buttons->addWidget(button);
    }
    buttons->addStretch(1);
    row->addLayout(buttons);
    UsersGrid = new QTableWidget(4, 4, TabUsers());  // one header row and four rows of cells
    UsersGrid->setObjectName(QStringLiteral("UsersGrid"));
    UsersGrid->verticalHeader()->setVisible(false);
    UsersGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    UsersGrid->horizontalHeader()->setDefaultSectionSize(160);
    UsersGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    UsersGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    UsersGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    row->addWidget(UsersGrid, 1);
    layout->addLayout(row, 1);
  }

  // FILE MANAGEMENT: only its header bar.
  {
    auto* layout = static_cast<QBoxLayout*>(TabFileManagement()->layout());
    layout->addWidget(HeaderBar(QStringLiteral("File Management"), TabFileManagement()));
    layout->addStretch(1);
  }

  PageControl1->setCurrentIndex(kStartPage);
}

void MainWindow::BuildStatusBar() {
  auto* bar = statusBar();
  bar->setObjectName(QStringLiteral("StatusBar1"));
  bar->setSizeGripEnabled(true);
  const int widths[] = {100, 200, 0};
  const char* names[] = {"StatusPanel0", "StatusPanel1", "StatusPanel2"};
  for (int i = 0; i < 3; ++i) {
    panels_[i] = new QLabel(bar);
    panels_[i]->setObjectName(QLatin1String(names[i]));
    panels_[i]->setContentsMargins(3, 0, 3, 0);
    if (widths[i] > 0) {
      panels_[i]->setFixedWidth(widths[i]);
      bar->addWidget(panels_[i]);
    } else {
      panels_[i]->setMinimumWidth(50);
      bar->addWidget(panels_[i], 1);
    }
  }
  // The sign that the window waits for the instrument or a file: beside the three panels, never in them.
  BusyIndicator = new QProgressBar(bar);
  BusyIndicator->setObjectName(QStringLiteral("BusyIndicator"));
  BusyIndicator->setRange(0, 0);
  BusyIndicator->setTextVisible(false);
  BusyIndicator->setFixedWidth(64);
  BusyIndicator->setMaximumHeight(12);
  BusyIndicator->setToolTip(QStringLiteral("Waiting for the instrument"));
  BusyIndicator->setVisible(false);
  bar->addPermanentWidget(BusyIndicator);
}

void MainWindow::BeginWaiting() {
  ++waiting_;
  busyEnd_->stop();
  if (!busyShown_ && !busyDelay_->isActive()) busyDelay_->start();
}

void MainWindow::EndWaiting() {
  if (waiting_ > 0) --waiting_;
  if (waiting_ == 0) busyEnd_->start();
}

bool MainWindow::BusyShown() const { return busyShown_; }

void MainWindow::ShowBusy(bool shown) {
  if (shown == busyShown_) return;
  busyShown_ = shown;
  BusyIndicator->setVisible(shown);
  if (shown) {
    QApplication::setOverrideCursor(Qt::BusyCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

QWidget* MainWindow::TabHome() const { return PageControl1->widget(0); }
QWidget* MainWindow::TabUsers() const { return PageControl1->widget(1); }
QWidget* MainWindow::TabConfiguration() const { return PageControl1->widget(2); }
QWidget* MainWindow::TabStatus() const { return PageControl1->widget(3); }
QWidget* MainWindow::TabFileManagement() const { return PageControl1->widget(4); }
QWidget* MainWindow::TabMonitor() const { return PageControl1->widget(5); }
QWidget* MainWindow::TabCalibrate() const { return PageControl1->widget(6); }
QWidget* MainWindow::TabProcedures() const { return PageControl1->widget(7); }
QWidget* MainWindow::TabSheet1() const { return PageControl1->widget(8); }
QWidget* MainWindow::TabHiddent() const { return PageControl1->widget(9); }

InstrumentLink& MainWindow::Link() { return *commands_; }
CommandLayer& MainWindow::Commands() { return *commands_; }
SettingsFile& MainWindow::Settings() { return *settingsFile_; }

void MainWindow::AddShellPage(ShellPage& page) { pages_.push_back(&page); }

QWidget* MainWindow::AboutWindow() const { return aboutBox_.get(); }

void MainWindow::SetAddressText(const std::string& address) { IP->setEditText(Q(address)); }

void MainWindow::ClickConnectBtn() { ConnectBtn->click(); }

void MainWindow::ApplySettings(const MainWindowSettings& s) {
  move(s.left, s.top);
  resize(s.width, s.height);
  UnitAddressBox->setValue(s.unitAddress);
  IP->clear();
  for (const auto& entry : s.ipAddresses) IP->addItem(Q(entry));
  IP->setCurrentIndex(IP->findText(Q(s.currentIP), Qt::MatchExactly | Qt::MatchCaseSensitive));
  IP->setEditText(Q(s.currentIP));
}

// The chart settings and the measurement program's name belong to controls of the feature pages.
void MainWindow::ApplyPageSettings() {
  for (ShellPage* page : pages_) page->ShowSettings(stored_);
}

MainWindowSettings MainWindow::CurrentSettings() const {
  MainWindowSettings s = stored_;
  s.left = pos().x();
  s.top = pos().y();
  s.width = width();
  s.height = height();
  s.unitAddress = UnitAddressBox->value();
  s.ipAddresses.clear();
  for (int i = 0; i < IP->count(); ++i) s.ipAddresses.push_back(IP->itemText(i).toStdString());
  s.currentIP = IP->currentText().toStdString();
  for (const ShellPage* page : pages_) page->TakeSettings(s);
  return s;
}

void MainWindow::StartPictureReadings() {
  for (ShellPage* page : pages_) page->StartPictureReadings();
}

void MainWindow::StopPictureReadings() {
  for (ShellPage* page : pages_) page->StopPictureReadings();
}

// ----------------------------------------------------------------------------------------------
// LinkWindow

bool MainWindow::ConnectDown() const { return ConnectBtn->isChecked(); }

void MainWindow::SetConnectDown(bool down) { ConnectBtn->setChecked(down); }

void MainWindow::SetPanelText(int panel, const std::string& text) {
  if (panel < 0 || panel > 2) return;
  panels_[panel]->setText(Q(text));
}

int MainWindow::UnitAddress() const { return UnitAddressBox->value(); }

void MainWindow::SetTimer1Enabled(bool enabled) {
  if (enabled) {
    Timer1->start();
  } else {
    Timer1->stop();
  }
}

void MainWindow::ReleaseTimerBtn() { TimerBtn->setChecked(false); }

void MainWindow::PlayErrorTone() { tone_->PlayErrorTone(); }

// ----------------------------------------------------------------------------------------------
// Handlers

void MainWindow::ConnectBtnClick() {
  if (!ConnectBtn->isChecked()) {
    // Released: disconnect at once, even while an exchange waits (it ends as a failure).
    connection_->ConnectBtnClick(IP->currentText().toStdString(), TCPPort->text().toStdString());
    return;
  }
  HandlerGate& gate = commands_->Handlers();
  if (gate.Busy()) {
    // Pressed while another handler waits: the connection is made after it, as the click's turn comes.
    ConnectBtn->setChecked(false);
    gate.Run([this] {
      ConnectBtn->setChecked(true);
      ConnectNow();
    });
    return;
  }
  gate.Run([this] { ConnectNow(); });
}

void MainWindow::ConnectNow() {
  const ConnectResult result =
      connection_->ConnectBtnClick(IP->currentText().toStdString(), TCPPort->text().toStdString());
  if (result.outcome != ConnectOutcome::Connected) return;
  modelText_ = result.modelText;
  RememberAddress();
}

void MainWindow::RememberAddress() {
  const QString text = IP->currentText();
  std::vector<std::string> list;
  for (int i = 0; i < IP->count(); ++i) list.push_back(IP->itemText(i).toStdString());
  const int selected =
      IP->currentIndex() >= 0 && IP->itemText(IP->currentIndex()) == text ? IP->currentIndex() : -1;
  if (!varnok::RememberAddress(list, text.toStdString(), selected)) return;
  IP->clear();
  for (const auto& entry : list) IP->addItem(Q(entry));
  IP->setCurrentIndex(0);
  IP->setEditText(text);
}

void MainWindow::Exit1Click() { close(); }

void MainWindow::About1Click() {
  aboutBox_->show();
  aboutBox_->raise();
  aboutBox_->activateWindow();
}

void MainWindow::SpeedButton1Click() {
  if (speedButton1Hook_) speedButton1Hook_();
}

void MainWindow::Timer1Timer() {
  if (timer1Client_) timer1Client_->Timer1Timer();
}

void MainWindow::FormClose() {
  WriteMainWindowSettings(*settingsFile_, CurrentSettings());
  for (ShellPage* page : pages_) page->BeforeSettingsSaved(*settingsFile_);
  settingsFile_->Save();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  HandlerGate& gate = commands_->Handlers();
  if (gate.Busy() && !closeNow_) {
    // A handler waits: the link is released at once as if Connect were released, the handler ends as
    // for a failed command, and then the window closes and writes its settings.
    event->ignore();
    if (closeWhenIdle_) return;
    closeWhenIdle_ = true;
    if (commands_->ExchangeWaiting()) commands_->Disconnect();
    gate.Run([this] {
      closeNow_ = true;
      close();
    });
    return;
  }
  if (!closing_) {
    closing_ = true;
    // A failure is reported once; the window closes anyway so that the program can always be quit.
    RunGuarded([this] { FormClose(); });
  }
  aboutBox_->close();
  event->accept();
  emit Closed();
}

}  // namespace varnok
