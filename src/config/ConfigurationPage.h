#pragma once
#include <functional>

#include <QString>
#include <QWidget>

#include "config/ConfigPanel.h"
#include "link/InstrumentLink.h"

class QFileDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace varnok {

// The CONFIGURATION tab: the configuration panel, the editor holding a configuration file, and the
// calibration table, with the buttons that move them between file, panel and instrument. The page
// only binds controls to the plain functions of the configuration logic.
//
// Handlers may throw AppError (a field that is not a number, a file that cannot be opened, too many
// elevation angles); the main window's top-level error display shows it.
class ConfigurationPage : public QWidget {
  Q_OBJECT

 public:
  explicit ConfigurationPage(InstrumentLink& link, QWidget* parent = nullptr);

  // The file-open dialog: given the dialog's initial folder, returns the chosen path, or an empty text
  // when the user cancels. Tests replace it.
  using FileChooser = std::function<QString(QWidget* parent, const QString& initialFolder)>;
  void SetFileChooser(FileChooser chooser);
  QString InitialFolder() const { return initialFolder_; }

  // Prepares OpenDialog1: its filters, default extension, initial file name and folder.
  static void SetUpOpenDialog(QFileDialog& dialog, const QString& initialFolder);

  // The panel as the controls show it, and the reverse.
  ConfigPanel Panel() const;
  void ShowPanel(const ConfigPanel& panel);

 public slots:
  void UloadAllBtnClick();
  void ReadAllBtnClick();
  void Button7Click();
  void OpenCFGClick();
  void ActivateBtnClick();
  void UploadCalibrationBtnClick();
  void ReadCalibrTableBtnClick();

  // What "Open" does once a file is chosen: load it into the editor and parse it.
  void OpenConfigurationFile(const QString& path);

 private:
  void BuildLayout();
  void ShowSettingsFields(const ConfigPanel& panel);
  void ShowTable(const ConfigPanel& panel);
  void RunParser();
  QString DefaultFileChooser(QWidget* parent, const QString& initialFolder);

  InstrumentLink& link_;
  FileChooser chooser_;
  QString initialFolder_;

  QLineEdit* tip1_ = nullptr;
  QLineEdit* tip2_ = nullptr;
  QLineEdit* tip3_ = nullptr;
  QLineEdit* tip9_ = nullptr;
  QLineEdit* tip10_ = nullptr;
  QListWidget* tipL_ = nullptr;
  QLineEdit* lastFCal_ = nullptr;
  QLineEdit* lastUserCal_ = nullptr;
  QLineEdit* cfg_[11] = {};  // CFG_C1 .. CFG_C11
  QLineEdit* offset_[4] = {};
  QLineEdit* calIntParam_ = nullptr;
  QLineEdit* blRain_ = nullptr;
  QLineEdit* blRH_ = nullptr;
  QLineEdit* blSpeed_ = nullptr;
  QLineEdit* numberOfFreq_ = nullptr;
  QLabel* panelFile_ = nullptr;
  QPlainTextEdit* memo1_ = nullptr;
  QTableWidget* fTable_ = nullptr;
};

}  // namespace varnok
