#include "calibration/CalibrationPage.h"

#include <QCheckBox>
#include <QEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "calibration/CalibrationChartView.h"
#include "calibration/FileMaskList.h"
#include "calibration/ParameterList.h"
#include "calibration/TextFileView.h"
#include "core/AppError.h"
#include "core/InstrumentText.h"
#include "link/InstrumentLink.h"
#include "core/GuardedHandler.h"

namespace varnok {

namespace {

constexpr int kButtonColumnWidth = 172;

QPushButton* AddButton(QWidget* parent, QVBoxLayout* column, const char* name, const char* text,
                       bool enabled = true) {
  auto* button = new QPushButton(QString::fromUtf8(text), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setEnabled(enabled);
  column->addWidget(button);
  return button;
}

QFont Bold(QFont font) {
  font.setBold(true);
  return font;
}

}  // namespace

CalibrationPage::CalibrationPage(InstrumentLink& link, std::filesystem::path workingFolder, QWidget* parent)
    : QWidget(parent), link_(link), workingFolder_(std::move(workingFolder)) {
  setObjectName(QStringLiteral("CalibrationPage"));  // the tab sheet holding it is TabCalibrate
  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(0, 0, 0, 0);
  page->setSpacing(4);

  // Header bar: the page's name, and the zoom range on its right.
  panel7_ = new QLabel(QStringLiteral("Calibration"), this);
  panel7_->setObjectName(QStringLiteral("Panel7"));
  panel7_->setFont(Bold(panel7_->font()));
  panel7_->setFrameShape(QFrame::Panel);
  panel7_->setFrameShadow(QFrame::Raised);
  panel7_->setAlignment(Qt::AlignCenter);
  panel7_->setFixedHeight(26);
  auto* header = new QHBoxLayout(panel7_);
  header->setContentsMargins(8, 0, 12, 0);
  header->addStretch(1);
  label49_ = new QLabel(QStringLiteral("Label49"), panel7_);
  label49_->setObjectName(QStringLiteral("Label49"));
  label49_->setMinimumWidth(160);
  label49_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  header->addWidget(label49_);
  page->addWidget(panel7_);

  auto* body = new QHBoxLayout();
  body->setContentsMargins(4, 0, 4, 4);
  page->addLayout(body, 1);

  // The button column.
  auto* buttons = new QWidget(this);
  buttons->setFixedWidth(kButtonColumnWidth);
  auto* column = new QVBoxLayout(buttons);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(4);
  auto* calLN2 = AddButton(buttons, column, "CalLN2", "Select LN2 Calibration");
  auto* calTip = AddButton(buttons, column, "CalTip", "Select Tip Calibration");
  column->addSpacing(8);
  AddButton(buttons, column, "CalStartLN2", "Start LN2 Calibration");
  AddButton(buttons, column, "CalViewLN2", "View LN2 Calibration", false);
  AddButton(buttons, column, "CalStopLN2", "Stop LN2 Calibration", false);
  column->addSpacing(8);
  AddButton(buttons, column, "CalTransB0", "Transfer Band 0");
  AddButton(buttons, column, "CalTransB1", "Transfer Band 1");
  column->addSpacing(8);
  auto* calResetZoom = AddButton(buttons, column, "CalResetZoom", "Reset Zoom");
  calCB_ = new QCheckBox(QStringLiteral("Show File"), buttons);
  calCB_->setObjectName(QStringLiteral("CalCB"));
  column->addWidget(calCB_);
  column->addSpacing(8);
  auto* label48 = new QLabel(QStringLiteral("Status"), buttons);
  label48->setObjectName(QStringLiteral("Label48"));
  label48->setFont(Bold(label48->font()));
  column->addWidget(label48);
  valueListEditor1_ = new QTableWidget(0, 2, buttons);
  valueListEditor1_->setObjectName(QStringLiteral("ValueListEditor1"));
  valueListEditor1_->setHorizontalHeaderLabels({QStringLiteral("Parameter"), QStringLiteral("Value")});
  valueListEditor1_->verticalHeader()->setVisible(false);
  valueListEditor1_->verticalHeader()->setDefaultSectionSize(18);
  valueListEditor1_->horizontalHeader()->setStretchLastSection(false);
  valueListEditor1_->setColumnWidth(0, 93);
  valueListEditor1_->setColumnWidth(1, 70);
  valueListEditor1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  valueListEditor1_->setSelectionBehavior(QAbstractItemView::SelectRows);
  valueListEditor1_->viewport()->installEventFilter(this);
  column->addWidget(valueListEditor1_, 1);
  body->addWidget(buttons);

  // The chart area: the chart stack, with the file text and the file selection over it.
  auto* chartArea = new QWidget(this);
  auto* overlay = new QGridLayout(chartArea);
  overlay->setContentsMargins(0, 0, 0, 0);
  scrollBox1_ = new QScrollArea(chartArea);
  scrollBox1_->setObjectName(QStringLiteral("ScrollBox1"));
  scrollBox1_->setWidgetResizable(false);
  chartStack_ = new QWidget();
  chartStack_->setObjectName(QStringLiteral("ScrollBox1Content"));
  chartStack_->resize(CalibrationChartModel::kChartLeft + CalibrationChartModel::kChartWidth + 10, 0);
  scrollBox1_->setWidget(chartStack_);
  overlay->addWidget(scrollBox1_, 0, 0);

  calMemo_ = new TextFileView(chartArea);
  calMemo_->setObjectName(QStringLiteral("CalMemo"));
  calMemo_->SetText(std::string("CalMemo"));
  calMemo_->hide();
  overlay->addWidget(calMemo_, 0, 0);

  panelSelectCalFiles_ = new QFrame(chartArea);
  panelSelectCalFiles_->setObjectName(QStringLiteral("PanelSelectCalFiles"));
  panelSelectCalFiles_->setFrameShape(QFrame::Panel);
  panelSelectCalFiles_->setFrameShadow(QFrame::Raised);
  panelSelectCalFiles_->setAutoFillBackground(true);
  auto* selection = new QVBoxLayout(panelSelectCalFiles_);
  calFileList_ = new QListWidget(panelSelectCalFiles_);
  calFileList_->setObjectName(QStringLiteral("CalFileList"));
  calFileList_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  calFileList_->setSelectionMode(QAbstractItemView::SingleSelection);
  selection->addWidget(calFileList_, 1);
  auto* foot = new QHBoxLayout();
  auto* calDisplayFile = new QPushButton(QStringLiteral("Display Selected Files"), panelSelectCalFiles_);
  calDisplayFile->setObjectName(QStringLiteral("CalDisplayFile"));
  calDisplayFile_ = calDisplayFile;
  auto* calDispCancelBtn = new QPushButton(QStringLiteral("Cancel"), panelSelectCalFiles_);
  calDispCancelBtn->setObjectName(QStringLiteral("CalDispCancelBtn"));
  foot->addWidget(calDisplayFile);
  foot->addWidget(calDispCancelBtn);
  // The percent of the file's bytes read, shown while a file is read.
  calReadProgress_ = new QProgressBar(panelSelectCalFiles_);
  calReadProgress_->setObjectName(QStringLiteral("CalReadProgress"));
  calReadProgress_->setRange(0, 100);
  calReadProgress_->setFormat(QStringLiteral("%p%"));
  calReadProgress_->hide();
  foot->addWidget(calReadProgress_, 1);
  foot->addStretch(1);
  progressTimer_ = new QTimer(this);
  progressTimer_->setInterval(50);
  connect(progressTimer_, &QTimer::timeout, this, Guarded(this, &CalibrationPage::ShowProgress));
  selection->addLayout(foot);
  panelSelectCalFiles_->hide();
  overlay->addWidget(panelSelectCalFiles_, 0, 0);
  body->addWidget(chartArea, 1);

  connect(calLN2, &QPushButton::clicked, this, Guarded(this, &CalibrationPage::CalLN2Click));
  connect(calTip, &QPushButton::clicked, this, Guarded(this, &CalibrationPage::CalTipClick));
  connect(calDisplayFile, &QPushButton::clicked, this, Guarded(this, &CalibrationPage::CalDisplayFileClick));
  connect(calDispCancelBtn, &QPushButton::clicked, this,
          Guarded(this, &CalibrationPage::CalDispCancelBtnClick));
  connect(calResetZoom, &QPushButton::clicked, this, Guarded(this, &CalibrationPage::CalResetZoomClick));
  connect(calCB_, &QCheckBox::clicked, this, Guarded(this, &CalibrationPage::CalCBClick));
}

CalibrationPage::~CalibrationPage() {
  // Before any member goes: the reader's thread ends here, and its posted end is dropped with the page.
  load_.reset();
}

namespace {

// The list keeps each file's own name beside the text it shows, so a name that is not valid UTF-8
// opens the very file it came from.
constexpr int kFileNameRole = Qt::UserRole + 1;

QVariant NativeName(const std::filesystem::path& name) {
#ifdef _WIN32
  return QString::fromStdWString(name.native());
#else
  return QByteArray::fromStdString(name.native());
#endif
}

std::filesystem::path FromNativeName(const QVariant& value) {
#ifdef _WIN32
  return std::filesystem::path(value.toString().toStdWString());
#else
  return std::filesystem::path(value.toByteArray().toStdString());
#endif
}

}  // namespace

void CalibrationPage::ShowFileList(const std::string& mask) {
  fileMask_ = mask;
  calFileList_->clear();
  for (const std::filesystem::path& name : ListFilesByMask(workingFolder_, mask)) {
    auto* item = new QListWidgetItem(QString::fromStdString(InstrumentTextToUtf8(FileNameBytes(name))));
    item->setData(kFileNameRole, NativeName(name));
    calFileList_->addItem(item);
  }
  panelSelectCalFiles_->show();
  panelSelectCalFiles_->raise();
}

void CalibrationPage::CalLN2Click() { ShowFileList("*ln2.csv"); }

void CalibrationPage::CalTipClick() { ShowFileList("*tip.csv"); }

void CalibrationPage::CalDispCancelBtnClick() {
  if (load_) {
    load_->Cancel();  // the reading ends as a file that cannot be read; the panel stays open
    return;
  }
  panelSelectCalFiles_->hide();
}

void CalibrationPage::CalDisplayFileClick() {
  if (load_) return;  // one reading at a time: a second click while a file is read is ignored
  const std::optional<std::filesystem::path> file = BeginDisplay(*this, workingFolder_);
  if (!file) {
    retired_.clear();
    return;
  }
  // The reader's end is posted to the page; the page's destructor waits for the reader first, so the
  // post never reaches a page that is gone.
  load_ = std::make_unique<BackgroundCalibrationLoad>(
      *file, loadOptions_,
      [this] {
        QMetaObject::invokeMethod(this, Guarded(this, &CalibrationPage::ReadingEnded), Qt::QueuedConnection);
      },
      std::exchange(retired_, {}));
  calDisplayFile_->setEnabled(false);
  calReadProgress_->setValue(0);
  calReadProgress_->show();
  progressTimer_->start();
  emit workStarted();
}

void CalibrationPage::ShowProgress() {
  if (load_) calReadProgress_->setValue(load_->PercentRead());
}

void CalibrationPage::ReadingEnded() {
  if (!load_) return;
  CalibrationLoadResult result = load_->TakeResult();
  load_.reset();
  progressTimer_->stop();
  calReadProgress_->hide();
  calDisplayFile_->setEnabled(true);
  FinishDisplay(*this, std::move(result));
  emit workFinished();
}

void CalibrationPage::RemoveCharts() {
  for (CalibrationChartView* view : chartViews_) delete view;
  chartViews_.clear();
  chartStack_->resize(chartStack_->width(), 0);
  retired_.push_back(std::make_shared<const CalibrationPoints>(charts_.Clear()));
}

std::optional<std::filesystem::path> CalibrationPage::SelectedFile() const {
  const QList<QListWidgetItem*> selected = calFileList_->selectedItems();
  if (selected.isEmpty()) return std::nullopt;
  return FromNativeName(selected.front()->data(kFileNameRole));
}

void CalibrationPage::ErrorBeep() { link_.ErrorBeep(); }

void CalibrationPage::ClearMemo() { retired_.push_back(calMemo_->TakeText()); }

void CalibrationPage::SetMemoText(std::shared_ptr<const MemoText> text) {
  calMemo_->SetText(std::move(text));
}

void CalibrationPage::SetStatusText(const std::string& text) { link_.SetStatusText(text); }

void CalibrationPage::BuildCharts(CalibrationPoints points) {
  charts_.Build(std::move(points));
  const std::size_t count = charts_.Count();
  chartViews_.reserve(count);
  for (std::size_t k = 0; k < count; ++k) {
    auto* view = new CalibrationChartView(chartStack_);
    view->setObjectName(QStringLiteral("CalChart%1").arg(k));
    const ChartPlace place = CalibrationChartModel::Geometry(k);
    view->setGeometry(place.left, place.top, place.width, place.height);
    const CalibrationChartModel::Chart& chart = charts_.At(k);
    view->SetSeries(InstrumentTextToUtf8(chart.title), charts_.Xs(), charts_.Ys(k));
    connect(view, &CalibrationChartView::Zoomed, this, Guarded([this, k] { CalChartZoom(k); }));
    connect(view, &CalibrationChartView::ZoomUndone, this, Guarded([this, k] {
              charts_.UndoZoom(k);
              ApplyRange(k);
            }));
    chartViews_.push_back(view);
    ApplyRange(k);
    view->show();
  }
  const ChartPlace last = CalibrationChartModel::Geometry(count == 0 ? 0 : count - 1);
  chartStack_->resize(chartStack_->width(), count == 0 ? 0 : last.top + last.height + 10);
}

void CalibrationPage::HideSelectionPanel() { panelSelectCalFiles_->hide(); }

void CalibrationPage::ApplyRange(std::size_t k) {
  const HorizontalRange range = charts_.Range(k);
  chartViews_.at(k)->SetHorizontalRange(range.min, range.max);
}

void CalibrationPage::CalChartZoom(std::size_t k) {
  if (k >= chartViews_.size()) return;
  const CalibrationChartView* zoomed = chartViews_[k];
  charts_.Zoom(k, zoomed->RangeMin(), zoomed->RangeMax());
  label49_->setText(QString::fromStdString(charts_.ZoomLabel()));
  for (std::size_t i = 0; i < chartViews_.size(); ++i) ApplyRange(i);
}

void CalibrationPage::CalResetZoomClick() {
  charts_.ResetZoom();
  for (std::size_t i = 0; i < chartViews_.size(); ++i) ApplyRange(i);
}

void CalibrationPage::CalCBClick() {
  const bool showFile = calCB_->isChecked();
  calMemo_->setVisible(showFile);
  scrollBox1_->setVisible(!showFile);
  if (panelSelectCalFiles_->isVisible()) panelSelectCalFiles_->raise();
}

void CalibrationPage::ValueListEditor1Click() {
  const std::string name = "status.csv";
  const std::optional<std::vector<ParameterRow>> rows = ReadParameterFile(workingFolder_ / name);
  if (!rows) throw AppError("Cannot open file " + name);
  valueListEditor1_->setRowCount(0);
  valueListEditor1_->setRowCount(static_cast<int>(rows->size()));
  for (int r = 0; r < static_cast<int>(rows->size()); ++r) {
    const ParameterRow& row = (*rows)[static_cast<std::size_t>(r)];
    valueListEditor1_->setItem(r, 0, new QTableWidgetItem(QString::fromStdString(row.parameter)));
    valueListEditor1_->setItem(r, 1, new QTableWidgetItem(QString::fromStdString(row.value)));
  }
}

bool CalibrationPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == valueListEditor1_->viewport() && event->type() == QEvent::MouseButtonRelease) {
    ValueListEditor1Click();
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace varnok
