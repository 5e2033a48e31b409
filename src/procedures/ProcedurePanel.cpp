#include "procedures/ProcedurePanel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/InstrumentText.h"
#include "procedures/CommandLines.h"
#include "procedures/CommandShell.h"
#include "procedures/ProcedureFiles.h"
#include "procedures/ProcessList.h"
#include "procedures/StartCheck.h"
#include "core/GuardedHandler.h"

namespace varnok {

namespace {
// "Start" and "Stop" hand their line to the interpreter and return: the window never waits for the
// measurement program, nor for an interpreter that stays its parent.
constexpr std::chrono::milliseconds kPanelShellWait{0};
}  // namespace

namespace {

// Where a list row keeps its file name as the file system's bytes.
constexpr int kFileNameBytesRole = Qt::UserRole;

QLabel* HeaderLabel(const QString& text, const char* name, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  QFont font = label->font();
  font.setBold(true);
  font.setPointSizeF(font.pointSizeF() * 1.25);
  label->setFont(font);
  return label;
}

}  // namespace

ProcedurePanel::ProcedurePanel(std::filesystem::path workingFolder, QWidget* parent)
    : QWidget(parent),
      folder_(std::move(workingFolder)),
      processes_(MakeSystemProcessList()),
      shell_(MakeSystemShell(folder_, kPanelShellWait)) {
  setObjectName("PanelProcedure");
  messageBox_ = [this](const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, "Varnok Omblet", QString::fromStdString(text), QMessageBox::Ok,
                    this);
    box.exec();
  };

  auto* column = new QVBoxLayout(this);
  column->addWidget(HeaderLabel("Procedure Control", "Label35", this));
  auto* label37 = new QLabel(
      "You may replace the currently running procedure, put the radiometer into \"idle\" mode, or stop the "
      "operational code completely using the controls below.  ",
      this);
  label37->setObjectName("Label37");
  label37->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  label37->setWordWrap(true);
  column->addWidget(label37);

  auto* listRow = new QHBoxLayout;
  auto* label36 = new QLabel("Procedure File:", this);
  label36->setObjectName("Label36");
  label36->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  fileListBox1_ = new QListWidget(this);
  fileListBox1_->setObjectName("FileListBox1");
  fileListBox1_->setSelectionMode(QAbstractItemView::SingleSelection);
  for (const std::string& name : ListProcedureFiles(folder_)) {
    // Shown by the instrument's text rule; opened by the file system's own bytes, so a name that is
    // not valid UTF-8 still opens.
    auto* item = new QListWidgetItem(QString::fromStdString(InstrumentTextToUtf8(name)), fileListBox1_);
    item->setData(kFileNameBytesRole, QByteArray::fromStdString(name));
  }
  listRow->addWidget(label36);
  listRow->addWidget(fileListBox1_, 1);
  column->addLayout(listRow, 2);

  auto* buttons = new QHBoxLayout;
  startBtn_ = new QPushButton("Start", this);
  startBtn_->setObjectName("PRCStartBtn");
  idleBtn_ = new QPushButton("Idle", this);
  idleBtn_->setObjectName("PRCIdelBtn");
  idleBtn_->setEnabled(false);
  stopBtn_ = new QPushButton("Stop", this);
  stopBtn_->setObjectName("PRCStopBtn");
  buttons->addWidget(startBtn_);
  buttons->addWidget(idleBtn_);
  buttons->addWidget(stopBtn_);
  column->addLayout(buttons);

  auto* label46 = new QLabel("Name of QX.exe Program:", this);
  label46->setObjectName("Label46");
  label46->setVisible(false);
  qxName_ = new QLineEdit("QXC.exe", this);
  qxName_->setObjectName("QXName");
  qxName_->setVisible(false);
  column->addWidget(label46);
  column->addWidget(qxName_);

  procMemo_ = new QPlainTextEdit(this);
  procMemo_->setObjectName("ProcMemo");
  procMemo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  procMemo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  procMemo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  column->addWidget(procMemo_, 3);

  column->addWidget(HeaderLabel("Radiometer Console Log", "Label44", this));
  auto* button4 = new QPushButton("Show Log", this);
  button4->setObjectName("Button4");
  auto* logRow = new QHBoxLayout;
  logRow->addWidget(button4);
  logRow->addStretch(1);
  column->addLayout(logRow);

  // A mouse press makes the row current before it selects it, so the memo follows the selection (the
  // file "Start" runs), not the current row.
  connect(fileListBox1_, &QListWidget::itemSelectionChanged, this, Guarded([this] { FileListBox1Click(); }));
  connect(startBtn_, &QPushButton::clicked, this, Guarded([this] { PRCStartBtnClick(); }));
  connect(idleBtn_, &QPushButton::clicked, this, Guarded([this] { PRCIdelBtnClick(); }));
  connect(stopBtn_, &QPushButton::clicked, this, Guarded([this] { PRCStopBtnClick(); }));
}

ProcedurePanel::~ProcedurePanel() = default;

void ProcedurePanel::SetProcessList(std::unique_ptr<ProcessList> list) { processes_ = std::move(list); }
void ProcedurePanel::SetCommandShell(std::unique_ptr<CommandShell> shell) { shell_ = std::move(shell); }

std::string ProcedurePanel::SelectedProcedurePath() const {
  const QListWidgetItem* item = fileListBox1_->currentItem();
  if (item == nullptr || !item->isSelected()) return {};
  return JoinFolderAndName(folder_.string(), item->data(kFileNameBytesRole).toByteArray().toStdString());
}

std::string ProcedurePanel::ProgramName() const { return qxName_->text().toStdString(); }

void ProcedurePanel::ShowSettings(const MainWindowSettings& stored) {
  qxName_->setText(QString::fromStdString(stored.qxName));
}

void ProcedurePanel::TakeSettings(MainWindowSettings& settings) const { settings.qxName = ProgramName(); }

void ProcedurePanel::FileListBox1Click() {
  const std::string path = SelectedProcedurePath();
  if (path.empty()) return;
  // A file that cannot be read ends the handler (the memo keeps its text) and reaches the error display.
  const std::vector<std::string> lines = ReadProcedureLines(path);
  // The file as a whole is UTF-8 when valid, otherwise Windows-1252.
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i == 0 ? "" : "\n") + lines[i];
  procMemo_->setPlainText(QString::fromStdString(InstrumentTextToUtf8(text)));
}

void ProcedurePanel::PRCStartBtnClick() {
  StartFacts facts;
  facts.programName = ProgramName();
  facts.programExists = ProgramFileExists(folder_, facts.programName);
  facts.procedurePath = SelectedProcedurePath();
  if (facts.programExists && !facts.procedurePath.empty()) {
    facts.processes = processes_->Snapshot().value_or(std::vector<ProcessEntry>{});
  }
  const StartDecision decision = CheckStart(facts);
  if (decision.Refused()) {
    if (messageBox_) messageBox_(decision.refusal);
    return;
  }
  shell_->RunShellCommand(decision.commandLine);
}

void ProcedurePanel::PRCIdelBtnClick() {
  const std::string programName = ProgramName();
  const auto line = IdleCommandLine(programName);
  if (!line) {
    if (messageBox_) messageBox_(CommandLineTooLongMessage(programName.size() + 4));
    return;
  }
  shell_->RunShellCommand(*line);
}

void ProcedurePanel::PRCStopBtnClick() { shell_->RunShellCommand(kStopCommandLine); }

}  // namespace varnok
