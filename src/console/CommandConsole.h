#pragma once
#include <QWidget>
#include <functional>
#include <string>

#include "core/ShellPage.h"
#include "console/CommandHistory.h"

class QCloseEvent;
class QComboBox;
class QKeyEvent;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;

namespace varnok {

class InstrumentLink;
class SettingsFile;

// The second window, "Execiute Commands": the technician types one text command, runs it through the
// instrument link and reads the reply in a log; successful commands form a history kept in the
// settings file (section Form2) together with the window's geometry.
class CommandConsole : public QWidget, public ShellPage {
  Q_OBJECT
 public:
  CommandConsole(InstrumentLink& link, SettingsFile& settings, QWidget* parent = nullptr);
  ~CommandConsole() override;

  // The system's default alert sound (QApplication::beep unless replaced, e.g. by a test).
  void SetAlertSound(std::function<void()> alert) { alertSound_ = std::move(alert); }

  // Handlers, named after their controls.
  void exeBtnClick();
  bool IPKeyPress(QKeyEvent* event);  // true when the key was swallowed
  void Delete1Click();
  void Sort1Click();
  void Button1Click();
  void Button2Click();

  // The main window calls this when the program ends, just before it saves the settings file: an
  // open console writes its history and geometry into the file as if it had been closed, so nothing
  // remembered in this run is lost. Does nothing when the console is hidden (its last closing wrote
  // them). The caller saves the file.
  void WriteSettingsIfOpen();
  // The same, as the main window's step before it saves (the console writes into its own file).
  void BeforeSettingsSaved(SettingsFile&) override { WriteSettingsIfOpen(); }

  const CommandHistory& History() const { return history_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Execute(const std::string& command);
  void FormClose();      // writes section Form2 and saves the file; throws AppError
  void WriteSettings();  // writes section Form2 into the file's memory
  void ShowHistory();    // puts the history into the drop-down list, keeping the edit text
  void AppendToLog(const std::string& text);

  InstrumentLink& link_;
  SettingsFile& settings_;
  CommandHistory history_;
  bool entrySelected_ = false;  // the edit text was picked from the list and not edited since
  std::function<void()> alertSound_;

  QWidget* panelLeft_ = nullptr;
  QWidget* panelRight_ = nullptr;
  QWidget* panelTop_ = nullptr;
  QLabel* label1_ = nullptr;
  QPushButton* exeBtn_ = nullptr;
  QPushButton* button1_ = nullptr;
  QPushButton* button2_ = nullptr;
  QComboBox* ip_ = nullptr;
  QPlainTextEdit* memo1_ = nullptr;
  QMenu* popupMenu1_ = nullptr;
  QStatusBar* statusBar1_ = nullptr;
};

}  // namespace varnok
