#pragma once
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "core/ShellPage.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace varnok {

class CommandShell;
class ProcessList;

// PanelProcedure: picks a procedure file of the working folder, shows its text, starts the
// measurement program with it and asks the program to stop (the file STOP).
class ProcedurePanel : public QWidget, public ShellPage {
  Q_OBJECT
 public:
  explicit ProcedurePanel(std::filesystem::path workingFolder, QWidget* parent = nullptr);
  ~ProcedurePanel() override;

  // Replaceable parts (tests put their own in): the refusal message box ("Varnok Omblet", OK, no
  // icon), the process list and the command interpreter.
  void SetMessageBox(std::function<void(const std::string&)> show) { messageBox_ = std::move(show); }
  void SetProcessList(std::unique_ptr<ProcessList> list);
  void SetCommandShell(std::unique_ptr<CommandShell> shell);

  const std::filesystem::path& WorkingFolder() const { return folder_; }
  // The selected procedure file's full path, empty when none is selected.
  std::string SelectedProcedurePath() const;
  // The measurement program's name (QXName, from the settings file; the file keeps a hand-set value).
  std::string ProgramName() const;

  void ShowSettings(const MainWindowSettings& stored) override;
  void TakeSettings(MainWindowSettings& settings) const override;

  // Handlers, named after their controls.
  void FileListBox1Click();
  void PRCStartBtnClick();
  void PRCIdelBtnClick();
  void PRCStopBtnClick();

 private:
  std::filesystem::path folder_;
  std::function<void(const std::string&)> messageBox_;
  std::unique_ptr<ProcessList> processes_;
  std::unique_ptr<CommandShell> shell_;

  QListWidget* fileListBox1_ = nullptr;
  QPlainTextEdit* procMemo_ = nullptr;
  QPushButton* startBtn_ = nullptr;
  QPushButton* idleBtn_ = nullptr;
  QPushButton* stopBtn_ = nullptr;
  QLineEdit* qxName_ = nullptr;
};

}  // namespace varnok
