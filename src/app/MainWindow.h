#pragma once
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QMainWindow>

#include "link/LinkTimeouts.h"
#include "link/LinkWindow.h"
#include "core/MainWindowSettings.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QTimer;
class QToolButton;
class QWidget;

namespace varnok {

class AboutBox;
class CommandLayer;
class ConnectionManager;
class InstrumentLink;
class LinkOpener;
class LinkThreadWaiter;
class SettingsFile;
class ShellPage;
class Timer1Client;
class ToneOutput;

class MainWindow;

// What the main window is built with. Everything but the settings path has a default.
struct MainWindowSetup {
  std::filesystem::path settingsPath;
  // The folder that was current at start: relative file names of the pages resolve against it.
  std::filesystem::path workingFolder = std::filesystem::current_path();
  ToneOutput* tone = nullptr;    // none: the system's sound
  LinkOpener* opener = nullptr;  // none: real TCP connections and serial ports
  LinkTimeouts timeouts{};
  // Puts the feature pages into the tabs (InstallFeaturePages in the program); runs after the settings
  // have been read and before the page controls receive their stored values.
  std::function<void(MainWindow&)> installPages;
};

// The main window (Form1): top panel with the connection controls, the tab pages, the status bar. It is
// the command layer's window: Connect button, status panels, Timer1, TimerBtn and the error tone.
class MainWindow : public QMainWindow, public LinkWindow {
  Q_OBJECT
 public:
  explicit MainWindow(MainWindowSetup setup, QWidget* parent = nullptr);
  ~MainWindow() override;

  // LinkWindow
  bool ConnectDown() const override;
  void SetConnectDown(bool down) override;
  void SetPanelText(int panel, const std::string& text) override;
  int UnitAddress() const override;
  void SetTimer1Enabled(bool enabled) override;
  void ReleaseTimerBtn() override;
  void PlayErrorTone() override;

  // Handlers of the layout's controls.
  void ConnectBtnClick();
  void Exit1Click();
  void About1Click();
  void SpeedButton1Click();
  void Timer1Timer();

  // What the feature pages are built with.
  InstrumentLink& Link();
  CommandLayer& Commands();
  SettingsFile& Settings();
  const std::filesystem::path& WorkingFolder() const { return setup_.workingFolder; }

  // The tab pages, each with a layout without margins (TabStatus lays out left to right).
  QWidget* TabHome() const;
  QWidget* TabUsers() const;
  QWidget* TabConfiguration() const;
  QWidget* TabStatus() const;
  QWidget* TabFileManagement() const;
  QWidget* TabMonitor() const;
  QWidget* TabCalibrate() const;
  QWidget* TabProcedures() const;
  QWidget* TabSheet1() const;
  QWidget* TabHiddent() const;
  // PageControl1, the tab widget holding them.
  QTabWidget* Pages() const { return PageControl1; }
  // The About box (created hidden).
  QWidget* AboutWindow() const;

  // What the program's options set at start: the address in the IP box, and a click on Connect.
  void SetAddressText(const std::string& address);
  void ClickConnectBtn();

  // What the feature pages give the window when they are installed. The pages' own values reach
  // their controls after installation, and the window takes them back from the pages at close.
  void AddShellPage(ShellPage& page);
  void SetTimer1Client(Timer1Client& client) { timer1Client_ = &client; }
  void SetSpeedButton1Hook(std::function<void()> hook) { speedButton1Hook_ = std::move(hook); }

  // The values the window would write now (the pages' values from the pages).
  MainWindowSettings CurrentSettings() const;
  // --screenshots with a connection: every page starts its live readings, and later puts back what it
  // changed for them.
  void StartPictureReadings();
  void StopPictureReadings();
  // The model of the connected instrument (empty before the first connection).
  const std::string& ModelText() const { return modelText_; }

  // Writes the settings file. A file that cannot be written is reported once; the window closes anyway.
  void FormClose();

  // Work that the window waits for (an exchange, reading a large file): after about 200 ms of it the
  // window shows a busy cursor and the status bar's indicator. Calls nest.
  void BeginWaiting();
  void EndWaiting();
  bool BusyShown() const;

 signals:
  // The window has closed: the program ends.
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildPanel();
  void BuildPages();
  void BuildStatusBar();
  void ApplySettings(const MainWindowSettings& settings);
  void ApplyPageSettings();
  void RememberAddress();

  void ConnectNow();
  void ShowBusy(bool shown);

  MainWindowSetup setup_;
  // Declared before the command layer: the link thread outlives every use of it.
  std::unique_ptr<LinkThreadWaiter> waiter_;
  std::unique_ptr<SettingsFile> settingsFile_;
  std::unique_ptr<ToneOutput> ownTone_;
  ToneOutput* tone_ = nullptr;
  std::unique_ptr<LinkOpener> ownOpener_;
  std::unique_ptr<CommandLayer> commands_;
  std::unique_ptr<ConnectionManager> connection_;
  std::unique_ptr<AboutBox> aboutBox_;
  MainWindowSettings stored_;  // values read at start, for the page controls not (yet) present
  std::string modelText_;
  bool closing_ = false;
  bool closeWhenIdle_ = false;  // closing waits for the running handler
  bool closeNow_ = false;       // that handler has ended
  int waiting_ = 0;
  bool busyShown_ = false;
  QTimer* busyDelay_ = nullptr;
  QTimer* busyEnd_ = nullptr;
  QProgressBar* BusyIndicator = nullptr;

  std::vector<ShellPage*> pages_;
  Timer1Client* timer1Client_ = nullptr;
  std::function<void()> speedButton1Hook_;

  // Controls with the layout's names.
  QWidget* Panel1 = nullptr;
  QLabel* Label42 = nullptr;
  QLineEdit* TCPPort = nullptr;
  QComboBox* IP = nullptr;
  QToolButton* ConnectBtn = nullptr;
  QToolButton* TimerBtn = nullptr;
  QLabel* Label2 = nullptr;
  QSpinBox* UnitAddressBox = nullptr;
  QToolButton* SpeedButton1 = nullptr;
  QTabWidget* PageControl1 = nullptr;
  QTableWidget* UsersGrid = nullptr;
  QLabel* panels_[3] = {};
  QTimer* Timer1 = nullptr;
  QAction* Exit1 = nullptr;
  QAction* About1 = nullptr;
};

}  // namespace varnok
