#include "console/CommandConsole.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QVBoxLayout>
#include <vector>

#include "core/InstrumentText.h"
#include "core/SettingsFile.h"
#include "console/ConsoleSettings.h"
#include "console/ReplyLog.h"
#include "link/InstrumentLink.h"
#include "core/GuardedHandler.h"

namespace varnok {

namespace {
constexpr int kPanelLeftWidth = 89;
constexpr int kDropDownRows = 15;
const char* const kInstructionLine = "Enter/select command in Command field and clik Execute.";
}  // namespace

CommandConsole::CommandConsole(InstrumentLink& link, SettingsFile& settings, QWidget* parent)
    : QWidget(parent, Qt::Window), link_(link), settings_(settings) {
  setObjectName("Form2");
  setWindowTitle("Execiute Commands");
  alertSound_ = [] { QApplication::beep(); };

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);
  auto* body = new QHBoxLayout;
  body->setSpacing(0);
  outer->addLayout(body, 1);

  panelLeft_ = new QWidget(this);
  panelLeft_->setObjectName("PanelLeft");
  panelLeft_->setFixedWidth(kPanelLeftWidth);
  auto* left = new QVBoxLayout(panelLeft_);
  left->setContentsMargins(7, 6, 7, 6);
  left->setSpacing(6);
  label1_ = new QLabel("Command", panelLeft_);
  label1_->setObjectName("Label1");
  exeBtn_ = new QPushButton("Execute", panelLeft_);
  exeBtn_->setObjectName("exeBtn");
  button1_ = new QPushButton("Close", panelLeft_);
  button1_->setObjectName("Button1");
  button2_ = new QPushButton("Clear", panelLeft_);
  button2_->setObjectName("Button2");
  for (QPushButton* b : {exeBtn_, button1_, button2_}) b->setAutoDefault(false);
  left->addWidget(label1_);
  left->addWidget(exeBtn_);
  left->addWidget(button1_);
  left->addWidget(button2_);
  left->addStretch(1);
  body->addWidget(panelLeft_);

  panelRight_ = new QWidget(this);
  panelRight_->setObjectName("PanelRight");
  auto* right = new QVBoxLayout(panelRight_);
  right->setContentsMargins(0, 0, 0, 0);
  right->setSpacing(0);
  panelTop_ = new QWidget(panelRight_);
  panelTop_->setObjectName("PanelTop");
  auto* top = new QHBoxLayout(panelTop_);
  top->setContentsMargins(4, 6, 4, 6);
  ip_ = new QComboBox(panelTop_);
  ip_->setObjectName("IP");
  ip_->setEditable(true);
  ip_->setInsertPolicy(QComboBox::NoInsert);
  ip_->setCompleter(nullptr);  // no completion from the history: the command runs exactly as typed
  ip_->setMaxVisibleItems(kDropDownRows);
  ip_->setToolTip("Enter command here");
  ip_->setContextMenuPolicy(Qt::CustomContextMenu);
  ip_->lineEdit()->setContextMenuPolicy(Qt::CustomContextMenu);
  top->addWidget(ip_);
  right->addWidget(panelTop_);
  memo1_ = new QPlainTextEdit(panelRight_);
  memo1_->setObjectName("Memo1");
  memo1_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo1_->setPlainText(kInstructionLine);
  right->addWidget(memo1_, 1);
  body->addWidget(panelRight_, 1);

  statusBar1_ = new QStatusBar(this);
  statusBar1_->setObjectName("StatusBar1");
  outer->addWidget(statusBar1_);

  popupMenu1_ = new QMenu(this);
  popupMenu1_->setObjectName("PopupMenu1");
  QAction* delete1 = popupMenu1_->addAction("Delete");
  delete1->setObjectName("Delete1");
  QAction* sort1 = popupMenu1_->addAction("Sort");
  sort1->setObjectName("Sort1");

  connect(exeBtn_, &QPushButton::clicked, this, Guarded([this] { exeBtnClick(); }));
  connect(button1_, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
  connect(button2_, &QPushButton::clicked, this, Guarded([this] { Button2Click(); }));
  connect(delete1, &QAction::triggered, this, Guarded([this] { Delete1Click(); }));
  connect(sort1, &QAction::triggered, this, Guarded([this] { Sort1Click(); }));
  auto showMenu = [this](QWidget* from, const QPoint& at) { popupMenu1_->popup(from->mapToGlobal(at)); };
  connect(ip_, &QWidget::customContextMenuRequested, this,
          Guarded([this, showMenu](const QPoint& at) { showMenu(ip_, at); }));
  connect(ip_->lineEdit(), &QWidget::customContextMenuRequested, this,
          Guarded([this, showMenu](const QPoint& at) { showMenu(ip_->lineEdit(), at); }));
  connect(ip_, &QComboBox::activated, this, Guarded([this](int) { entrySelected_ = true; }));
  connect(ip_->lineEdit(), &QLineEdit::textEdited, this,
          Guarded([this](const QString&) { entrySelected_ = false; }));
  ip_->installEventFilter(this);
  ip_->lineEdit()->installEventFilter(this);

  // The window's own geometry, then what the settings file holds (its defaults when absent).
  setGeometry(642, 243, 600, 383);
  const ConsoleSettings stored = ReadConsoleSettings(settings_);
  move(stored.left, stored.top);
  resize(stored.width, stored.height);
  history_.Replace(stored.commands);
  ShowHistory();
  ip_->setEditText("i");
}

// The child widgets outlive this part of the object by a moment: QWidget deletes them after this
// destructor has run, and a combo box being torn down may still emit or filter events. Nothing of theirs
// may reach this window's handlers then.
CommandConsole::~CommandConsole() {
  ip_->removeEventFilter(this);
  ip_->lineEdit()->removeEventFilter(this);
  for (QObject* child : findChildren<QObject*>()) QObject::disconnect(child, nullptr, this, nullptr);
}

void CommandConsole::exeBtnClick() {
  // The command is the one in the box now; it runs when no other handler waits for the instrument.
  link_.Handlers().Run([this, command = ip_->currentText().toStdString()] { Execute(command); });
}

void CommandConsole::Execute(const std::string& command) {
  std::vector<char> reply(kTextReplySize, '\0');
  const int result = link_.SendTextCommand(Utf8ToInstrumentText(command), reply.data());  // Windows-1252 out
  if (result >= 1) {
    AppendToLog(ReplyLogText(ReplyTextOf(reply.data(), result, reply.size())));
    if (history_.RememberCommand(command, entrySelected_)) ShowHistory();
  } else {
    if (alertSound_) alertSound_();
    AppendToLog(ErrorLogLine(result));
  }
}

bool CommandConsole::IPKeyPress(QKeyEvent* event) {
  if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) return false;
  exeBtnClick();
  return true;
}

void CommandConsole::Delete1Click() {
  if (!history_.ForgetCommand(ip_->currentText().toStdString())) return;
  const bool any = !history_.Entries().empty();
  entrySelected_ = false;
  ShowHistory();
  if (any) {
    ip_->setCurrentIndex(0);
    ip_->setEditText(ip_->itemText(0));
    entrySelected_ = true;
  }
}

void CommandConsole::Sort1Click() {
  history_.Sort();
  ShowHistory();
}

void CommandConsole::Button1Click() { close(); }

void CommandConsole::Button2Click() { memo1_->clear(); }

void CommandConsole::WriteSettingsIfOpen() {
  if (isVisible()) WriteSettings();
}

void CommandConsole::closeEvent(QCloseEvent* event) {
  // A file that cannot be written is reported, and the window closes all the same: a window that
  // refuses to close would also refuse the program's end, and the program could never be quit.
  RunGuarded([this] { FormClose(); });
  event->accept();
}

bool CommandConsole::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == ip_ || watched == ip_->lineEdit()) && event->type() == QEvent::KeyPress) {
    if (IPKeyPress(static_cast<QKeyEvent*>(event))) return true;
  }
  return QWidget::eventFilter(watched, event);
}

void CommandConsole::FormClose() {
  WriteSettings();
  settings_.Save();
}

void CommandConsole::WriteSettings() {
  ConsoleSettings s;
  s.top = pos().y();
  s.left = pos().x();
  s.width = width();
  s.height = height();
  s.commands = history_.Entries();
  WriteConsoleSettings(settings_, s);
}

void CommandConsole::ShowHistory() {
  const QString text = ip_->currentText();
  const QSignalBlocker blocker(ip_);
  ip_->clear();
  for (const std::string& entry : history_.Entries()) ip_->addItem(QString::fromStdString(entry));
  ip_->setCurrentIndex(entrySelected_ ? ip_->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) : -1);
  if (ip_->currentIndex() < 0) entrySelected_ = false;
  ip_->setEditText(text);
}

void CommandConsole::AppendToLog(const std::string& text) {
  // The instrument's replies read as UTF-8 when valid, otherwise as Windows-1252.
  memo1_->appendPlainText(QString::fromStdString(InstrumentTextToUtf8(text)));
}

}  // namespace varnok
