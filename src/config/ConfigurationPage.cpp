#include "link/GatedHandler.h"
#include "config/ConfigurationPage.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "config/CalibrationTableExchange.h"
#include "config/ConfigParser.h"
#include "config/SampleConfiguration.h"
#include "config/SettingsExchange.h"
#include "core/AppError.h"
#include "core/InstrumentText.h"
#include "core/GuardedHandler.h"

namespace varnok {

namespace {

constexpr int kColumnWidths[kCalibrationColumns] = {64, 45, 64, 64, 65, 68, 64, 95, 102, 97, 105, 98, 64};

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

// Configuration files are plain ASCII as a rule; one that is not valid UTF-8 was written on Windows
// and is read as Windows-1252.
QString DecodeFileText(const QByteArray& bytes) {
  return QString::fromStdString(
      InstrumentTextToUtf8(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
}

QString EditorText(const std::vector<std::string>& lines) {
  QStringList list;
  list.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) list << Q(line);
  return list.join(QLatin1Char('\n'));
}

QPushButton* MakeButton(const char* name, const char* caption, const char* hint) {
  auto* button = new QPushButton(QString::fromLatin1(caption));
  button->setObjectName(QString::fromLatin1(name));
  if (hint != nullptr) button->setToolTip(QString::fromLatin1(hint));
  return button;
}

QLineEdit* MakeEdit(const char* name, const char* hint) {
  auto* edit = new QLineEdit;
  edit->setObjectName(QString::fromLatin1(name));
  if (hint != nullptr) edit->setToolTip(QString::fromLatin1(hint));
  return edit;
}

}  // namespace

ConfigurationPage::ConfigurationPage(InstrumentLink& link, QWidget* parent) : QWidget(parent), link_(link) {
  setObjectName(QStringLiteral("ConfigurationPage"));
  chooser_ = [this](QWidget* p, const QString& folder) { return DefaultFileChooser(p, folder); };
  BuildLayout();
  ShowPanel(ConfigPanel{});
  memo1_->setPlainText(EditorText(SplitConfigLines(SampleConfigurationText())));
}

void ConfigurationPage::BuildLayout() {
  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(4, 4, 4, 4);
  page->setSpacing(4);

  // Button bar.
  auto* bar = new QHBoxLayout;
  QPushButton* readAll = MakeButton("ReadAllBtn", "Read", "Read Settings From Instrument");
  QPushButton* uploadAll = MakeButton("UloadAllBtn", "Upload", "Upload Setting to Instrument");
  QPushButton* save7 = MakeButton("Button7", "Save to Flash", "Save All Settings in Instrument Flash");
  QPushButton* open = MakeButton("OpenCFG", "Open", "Load Configuration File");
  QPushButton* save = MakeButton("SpeedButton9", "Save", "Save To Configuration File");
  QPushButton* activate =
      MakeButton("ActivateBtn", "Activate", "Populate GUI with Values From Configuration File. ");
  for (QPushButton* b : {readAll, uploadAll, save7, open, save, activate}) bar->addWidget(b);
  bar->addStretch(1);
  page->addLayout(bar);
  connect(readAll, &QPushButton::clicked, this,
          Guarded(Gated(link_, this, &ConfigurationPage::ReadAllBtnClick)));
  connect(uploadAll, &QPushButton::clicked, this,
          Guarded(Gated(link_, this, &ConfigurationPage::UloadAllBtnClick)));
  connect(save7, &QPushButton::clicked, this, Guarded(Gated(link_, this, &ConfigurationPage::Button7Click)));
  connect(open, &QPushButton::clicked, this, Guarded(this, &ConfigurationPage::OpenCFGClick));
  connect(activate, &QPushButton::clicked, this,
          Guarded(Gated(link_, this, &ConfigurationPage::ActivateBtnClick)));
  // "Save" performs no action.

  // Panel groups on the left (scrolled when the window is low), editor on the right, the table below:
  // splitters share the room, so the page fits a window of 970 x 640 and everything stays reachable.
  auto* groupsPanel = new QWidget;
  groupsPanel->setObjectName(QStringLiteral("ConfigGroups"));
  auto* groups = new QGridLayout(groupsPanel);
  groups->setContentsMargins(0, 0, 0, 0);
  groups->setSpacing(4);

  auto* tipBox = new QGroupBox(QStringLiteral("Tip Configuration"));
  auto* tipForm = new QFormLayout(tipBox);
  tip1_ = MakeEdit("Tip1", "regression coeff for a good tip");
  tip2_ = MakeEdit("Tip2", "Default Azimuth Angle ");
  tip9_ = MakeEdit("Tip9", "0=No tips when rain sensor on, 1=allow tips w/rain on");
  tip10_ = MakeEdit("Tip10", "rain sensor tip threshold (volts) ");
  tip3_ = MakeEdit("Tip3", "Number of Elevation Angles    ");
  tipL_ = new QListWidget;
  tipL_->setObjectName(QStringLiteral("TipL"));
  tipL_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tipL_->setMaximumHeight(90);
  tipForm->addRow(QStringLiteral("Regression"), tip1_);
  tipForm->addRow(QStringLiteral("Azimuth"), tip2_);
  tipForm->addRow(QStringLiteral("Allow Tip w/rain"), tip9_);
  tipForm->addRow(QStringLiteral("Rain Threshold"), tip10_);
  tipForm->addRow(QStringLiteral("Number of Angles"), tip3_);
  tipForm->addRow(QStringLiteral("Elevation Angles"), tipL_);

  auto* calBox = new QGroupBox(QStringLiteral("Calibration"));
  auto* calForm = new QFormLayout(calBox);
  lastFCal_ = MakeEdit("LastFCal", nullptr);
  lastUserCal_ = MakeEdit("LastUserCal", nullptr);
  for (QLineEdit* date : {lastFCal_, lastUserCal_}) {
    date->setMinimumWidth(date->fontMetrics().horizontalAdvance(QStringLiteral("2012/03/09 18:46:19 ")) + 16);
  }
  calForm->addRow(QStringLiteral("Last Factory LN2 Calibration"), lastFCal_);
  calForm->addRow(QStringLiteral("Last User LN2 Calibration"), lastUserCal_);
  struct CoefControl {
    const char* name;
    const char* label;
    const char* hint;
  };
  const CoefControl coefs[11] = {
      {"CFG_C1", "LN2 liq depth in cm ", "Coefficients for LN2 calibration and surface sensors  "},
      {"CFG_C2", "LN2 BP C0", "LN2 BP C0, the LN2 boiling point linear equation "},
      {"CFG_C3", "LN2 BP C1", "LN2 BP C1"},
      {"CFG_C4", "LN2 interfaces correction", "LN2 interfaces correction"},
      {"CFG_C5", "LN2 polystyrene loss", "LN2 polystyrene dielectric loss coef ~ 1.16e-5 K/K-cm-GHz  "},
      {"CFG_C6", "LN2 Styrofoam thickness ", "LN2 Styrofoam thickness [cm]"},
      {"CFG_C7", "Air press C0,C1 ", "Air press C0,C1 (P=C0+C1*Volts)"},
      {"CFG_C8", "X-tilt equation C0,C1", "X-tilt equation C0,C1"},
      {"CFG_C9", "Y-tilt equation C0,C1 ", "Y-tilt equation C0,C1 "},
      {"CFG_C10", "IRT window  absorption ", "IRT window reflection, absorption "},
      {"CFG_C11", "LN2 Target Tolerance", nullptr},
  };
  for (int i = 0; i < 11; ++i) {
    cfg_[i] = MakeEdit(coefs[i].name, coefs[i].hint);
    calForm->addRow(QString::fromLatin1(coefs[i].label), cfg_[i]);
  }

  auto* offsetBox = new QGroupBox(QStringLiteral("User Offset Corrections"));
  auto* offsetForm = new QFormLayout(offsetBox);
  const CoefControl offsets[4] = {
      {"Offset1", "Pressure", "Pressure sensor offset    "},
      {"Offset2", "T Ambient", "Tamb correction (edit with values for this instrument) "},
      {"Offset3", "% RH", "Rh correction   (edit with values for this instrument)"},
      {"Offset4", "BB Temp", "BB sensor correction (default= -1.50)"},
  };
  for (int i = 0; i < 4; ++i) {
    offset_[i] = MakeEdit(offsets[i].name, offsets[i].hint);
    offsetForm->addRow(QString::fromLatin1(offsets[i].label), offset_[i]);
  }

  auto* intBox = new QGroupBox(QStringLiteral("Calibr. Integration Params"));
  auto* intLayout = new QVBoxLayout(intBox);
  calIntParam_ = MakeEdit("CalIntParam", nullptr);
  intLayout->addWidget(calIntParam_);

  auto* blowerBox = new QGroupBox(QStringLiteral("Blower Control"));
  auto* blowerForm = new QFormLayout(blowerBox);
  blRain_ = MakeEdit("BlRain", "Rain sensor blower threshold (volts) ");
  blRH_ = MakeEdit("BlRH", "RH threshold (%)");
  blSpeed_ = MakeEdit("BlSpeed", "Blower speed (rain and RH both below threshold)");
  blowerForm->addRow(QStringLiteral("Rain"), blRain_);
  blowerForm->addRow(QStringLiteral("RH%"), blRH_);
  blowerForm->addRow(QStringLiteral("Speed"), blSpeed_);

  // One column, so the editor beside it keeps most of the width; the column scrolls.
  int row = 0;
  for (QGroupBox* box : {tipBox, blowerBox, offsetBox, calBox, intBox}) groups->addWidget(box, row++, 0);
  groups->setRowStretch(row, 1);
  auto* groupsScroll = new QScrollArea;
  groupsScroll->setObjectName(QStringLiteral("ConfigGroupsScroll"));
  groupsScroll->setWidget(groupsPanel);
  groupsScroll->setWidgetResizable(true);
  groupsScroll->setFrameShape(QFrame::NoFrame);
  groupsScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  groupsScroll->setMinimumWidth(120);
  // The fields keep their own width, so the editor gets the room the groups do not need.
  for (QFormLayout* form : groupsPanel->findChildren<QFormLayout*>()) {
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  }
  for (QLineEdit* edit : groupsPanel->findChildren<QLineEdit*>()) {
    if (edit != lastFCal_ && edit != lastUserCal_)
      edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("+600.00,200.00")) + 16);
  }
  // As wide as the groups and their vertical scroll bar, so only the height scrolls by default.
  const int groupsWidth =
      groupsPanel->sizeHint().width() + groupsScroll->verticalScrollBar()->sizeHint().width();

  auto* editorPanel = new QWidget;
  auto* editorColumn = new QVBoxLayout(editorPanel);
  editorColumn->setContentsMargins(0, 0, 0, 0);
  panelFile_ = new QLabel;
  panelFile_->setObjectName(QStringLiteral("PanelFile"));
  panelFile_->setFrameShape(QFrame::Panel);
  panelFile_->setFrameShadow(QFrame::Sunken);
  panelFile_->setMinimumHeight(22);
  memo1_ = new QPlainTextEdit;
  memo1_->setObjectName(QStringLiteral("Memo1"));
  memo1_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  memo1_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo1_->setTabChangesFocus(false);  // the Tab key types a tab character
  memo1_->setTabStopDistance(8 * QFontMetricsF(memo1_->font()).horizontalAdvance(QLatin1Char(' ')));
  memo1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  editorColumn->addWidget(panelFile_);
  editorColumn->addWidget(memo1_, 1);

  auto* middle = new QSplitter(Qt::Horizontal);
  middle->setObjectName(QStringLiteral("ConfigMiddleSplitter"));
  middle->addWidget(groupsScroll);
  middle->addWidget(editorPanel);
  middle->setStretchFactor(0, 0);
  middle->setStretchFactor(1, 1);
  middle->setChildrenCollapsible(false);
  middle->setSizes({groupsWidth, 1000});

  // The table with its bar.
  auto* tablePanel = new QWidget;
  auto* tableColumn = new QVBoxLayout(tablePanel);
  tableColumn->setContentsMargins(0, 0, 0, 0);
  tableColumn->setSpacing(4);
  auto* tableBar = new QHBoxLayout;
  auto* freqLabel = new QLabel(QStringLiteral("Number of Frequencies"));
  numberOfFreq_ = MakeEdit("NumberOfFreq", nullptr);
  numberOfFreq_->setMaximumWidth(60);
  freqLabel->setBuddy(numberOfFreq_);
  QPushButton* uploadCal =
      MakeButton("UploadCalibrationBtn", "Upload to instrument", "Upload Calibration Values to Instrument");
  QPushButton* readCal = MakeButton("ReadCalibrTableBtn", "Read", "Read Calibration Values from Instrument");
  auto* ftLabel = new QLabel(QStringLiteral("FTLabel"));
  ftLabel->setObjectName(QStringLiteral("FTLabel"));
  tableBar->addWidget(freqLabel);
  tableBar->addWidget(numberOfFreq_);
  tableBar->addWidget(uploadCal);
  tableBar->addWidget(readCal);
  tableBar->addWidget(ftLabel);
  tableBar->addStretch(1);
  tableColumn->addLayout(tableBar);
  connect(uploadCal, &QPushButton::clicked, this,
          Guarded(Gated(link_, this, &ConfigurationPage::UploadCalibrationBtnClick)));
  connect(readCal, &QPushButton::clicked, this,
          Guarded(Gated(link_, this, &ConfigurationPage::ReadCalibrTableBtnClick)));

  fTable_ = new QTableWidget(kCalibrationRows + 1, kCalibrationColumns);
  fTable_->setObjectName(QStringLiteral("FTable"));
  // Row 0 keeps the titles, as the rest of the page counts rows; it is shown as the table's header,
  // which stays at the top while the rows scroll.
  fTable_->verticalHeader()->hide();
  fTable_->verticalHeader()->setDefaultSectionSize(20);
  fTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  fTable_->horizontalHeader()->setSectionsClickable(false);
  fTable_->horizontalHeader()->setHighlightSections(false);
  fTable_->setEditTriggers(QAbstractItemView::AllEditTriggers);
  fTable_->setWordWrap(false);  // numbers such as 0.44790604E+02 must not break at the point
  QFont tableFont = fTable_->font();
  tableFont.setPointSizeF(tableFont.pointSizeF() -
                          1.0);  // the columns' widths are fixed; a compact face fits them
  fTable_->setFont(tableFont);
  fTable_->horizontalHeader()->setFont(tableFont);
  for (int c = 0; c < kCalibrationColumns; ++c) fTable_->setColumnWidth(c, kColumnWidths[c]);
  const CalibrationRow titles = CalibrationTitleRow();
  QStringList headerTitles;
  for (int c = 0; c < kCalibrationColumns; ++c) {
    auto* title = new QTableWidgetItem(Q(titles[c]));
    title->setFlags(Qt::ItemIsEnabled);
    fTable_->setItem(0, c, title);
    headerTitles << Q(titles[c]);
  }
  fTable_->setHorizontalHeaderLabels(headerTitles);
  fTable_->setRowHidden(0, true);
  for (int r = 1; r <= kCalibrationRows; ++r) {
    for (int c = 0; c < kCalibrationColumns; ++c) fTable_->setItem(r, c, new QTableWidgetItem);
  }
  tableColumn->addWidget(fTable_, 1);

  auto* split = new QSplitter(Qt::Vertical);
  split->setObjectName(QStringLiteral("ConfigTableSplitter"));
  split->addWidget(middle);
  split->addWidget(tablePanel);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);
  split->setChildrenCollapsible(false);
  page->addWidget(split, 1);
}

void ConfigurationPage::SetFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }

ConfigPanel ConfigurationPage::Panel() const {
  ConfigPanel panel;
  panel.Tip1 = S(tip1_->text());
  panel.Tip2 = S(tip2_->text());
  panel.Tip3 = S(tip3_->text());
  panel.Tip9 = S(tip9_->text());
  panel.Tip10 = S(tip10_->text());
  panel.TipL.clear();
  for (int i = 0; i < tipL_->count(); ++i) panel.TipL.push_back(S(tipL_->item(i)->text()));
  panel.LastFCal = S(lastFCal_->text());
  panel.LastUserCal = S(lastUserCal_->text());
  std::string* const coefs[11] = {&panel.CFG_C1, &panel.CFG_C2,  &panel.CFG_C3, &panel.CFG_C4,
                                  &panel.CFG_C5, &panel.CFG_C6,  &panel.CFG_C7, &panel.CFG_C8,
                                  &panel.CFG_C9, &panel.CFG_C10, &panel.CFG_C11};
  for (int i = 0; i < 11; ++i) *coefs[i] = S(cfg_[i]->text());
  panel.Offset1 = S(offset_[0]->text());
  panel.Offset2 = S(offset_[1]->text());
  panel.Offset3 = S(offset_[2]->text());
  panel.Offset4 = S(offset_[3]->text());
  panel.CalIntParam = S(calIntParam_->text());
  panel.BlRain = S(blRain_->text());
  panel.BlRH = S(blRH_->text());
  panel.BlSpeed = S(blSpeed_->text());
  panel.NumberOfFreq = S(numberOfFreq_->text());
  for (int r = 1; r <= kCalibrationRows; ++r) {
    for (int c = 0; c < kCalibrationColumns; ++c) {
      const QTableWidgetItem* item = fTable_->item(r, c);
      panel.FTable[r][c] = item != nullptr ? S(item->text()) : std::string();
    }
  }
  return panel;
}

void ConfigurationPage::ShowPanel(const ConfigPanel& panel) {
  ShowSettingsFields(panel);
  ShowTable(panel);
}

void ConfigurationPage::ShowSettingsFields(const ConfigPanel& panel) {
  tip1_->setText(Q(panel.Tip1));
  tip2_->setText(Q(panel.Tip2));
  tip3_->setText(Q(panel.Tip3));
  tip9_->setText(Q(panel.Tip9));
  tip10_->setText(Q(panel.Tip10));
  tipL_->clear();
  for (const std::string& angle : panel.TipL) tipL_->addItem(Q(angle));
  lastFCal_->setText(Q(panel.LastFCal));
  lastUserCal_->setText(Q(panel.LastUserCal));
  const std::string* const coefs[11] = {&panel.CFG_C1, &panel.CFG_C2,  &panel.CFG_C3, &panel.CFG_C4,
                                        &panel.CFG_C5, &panel.CFG_C6,  &panel.CFG_C7, &panel.CFG_C8,
                                        &panel.CFG_C9, &panel.CFG_C10, &panel.CFG_C11};
  for (int i = 0; i < 11; ++i) cfg_[i]->setText(Q(*coefs[i]));
  offset_[0]->setText(Q(panel.Offset1));
  offset_[1]->setText(Q(panel.Offset2));
  offset_[2]->setText(Q(panel.Offset3));
  offset_[3]->setText(Q(panel.Offset4));
  calIntParam_->setText(Q(panel.CalIntParam));
  blRain_->setText(Q(panel.BlRain));
  blRH_->setText(Q(panel.BlRH));
  blSpeed_->setText(Q(panel.BlSpeed));
  numberOfFreq_->setText(Q(panel.NumberOfFreq));
  // Keep the start of each text in view (a line edit scrolls to the end on setText).
  for (QLineEdit* edit : findChildren<QLineEdit*>()) edit->setCursorPosition(0);
}

void ConfigurationPage::ShowTable(const ConfigPanel& panel) {
  for (int r = 1; r <= kCalibrationRows; ++r) {
    for (int c = 0; c < kCalibrationColumns; ++c) fTable_->item(r, c)->setText(Q(panel.FTable[r][c]));
  }
}

void ConfigurationPage::UloadAllBtnClick() { UploadSettings(link_, Panel()); }

void ConfigurationPage::ReadAllBtnClick() {
  ConfigPanel panel = Panel();
  ReadSettings(link_, panel);
  ShowSettingsFields(panel);
}

void ConfigurationPage::Button7Click() { SaveSettingsToFlash(link_); }

void ConfigurationPage::UploadCalibrationBtnClick() { UploadCalibrationTable(link_, Panel()); }

void ConfigurationPage::ReadCalibrTableBtnClick() {
  ConfigPanel panel = Panel();
  ReadCalibrationTable(link_, panel);
  ShowTable(panel);
}

void ConfigurationPage::OpenCFGClick() {
  const QString path = chooser_(this, initialFolder_);
  if (path.isEmpty()) return;  // cancelled
  OpenConfigurationFile(path);
}

void ConfigurationPage::OpenConfigurationFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw AppError("Cannot open file " + S(path));
  const QString text = DecodeFileText(file.readAll());
  memo1_->setPlainText(EditorText(SplitConfigLines(S(text))));
  const QFileInfo info(path);
  initialFolder_ = info.absolutePath();
  panelFile_->setText(info.absoluteFilePath());
  RunParser();
}

void ConfigurationPage::ActivateBtnClick() { RunParser(); }

void ConfigurationPage::RunParser() {
  ConfigPanel panel = Panel();
  const ParseOutcome outcome = ParseConfiguration(SplitConfigLines(S(memo1_->toPlainText())), panel);
  ShowPanel(panel);
  if (outcome == ParseOutcome::kBadFrequencyCount) link_.ErrorBeep();
}

void ConfigurationPage::SetUpOpenDialog(QFileDialog& dialog, const QString& initialFolder) {
  dialog.setObjectName(QStringLiteral("OpenDialog1"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters({QStringLiteral("Configuration File (*.CFG)"), QStringLiteral("All Files (*.*)")});
  dialog.setDefaultSuffix(QStringLiteral("CFG"));
  if (!initialFolder.isEmpty()) dialog.setDirectory(initialFolder);
  dialog.selectFile(QStringLiteral("*.cfg"));
}

QString ConfigurationPage::DefaultFileChooser(QWidget* parent, const QString& initialFolder) {
  QFileDialog dialog(parent);
  SetUpOpenDialog(dialog, initialFolder);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

}  // namespace varnok
