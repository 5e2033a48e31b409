#include "calibration/CalibrationPage.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "calibration/CalibrationChartView.h"
#include "tests/support/FakeInstrumentLink.h"
#include "tests/support/TempFolder.h"
#include "calibration/TextFileView.h"
#include "core/AppError.h"

namespace varnok {
namespace {

using testing::FakeInstrumentLink;
using testing::TempFolder;

// A calibration file with `columns` titled columns and `rows` data lines x = 100, 110, ...
std::string CalibrationFile(int columns, int rows) {
  std::string text = "0,2026-12-09,30";
  for (int c = 0; c < columns; ++c) text += ",Col" + std::to_string(c);
  text += "\r\n";
  for (int r = 0; r < rows; ++r) {
    text += std::to_string(100 + 10 * r) + ",t,31";
    for (int c = 0; c < columns; ++c) text += "," + std::to_string(c * 10 + r) + ".5";
    text += "\r\n";
  }
  return text;
}

class CalibrationPageTest : public ::testing::Test {
 protected:
  CalibrationPageTest() : page(link, folder.Path()) {
    page.resize(900, 700);
    page.show();
  }

  template <typename T>
  T* Find(const char* name) {
    T* widget = page.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  void Click(const char* name) { Find<QAbstractButton>(name)->click(); }
  QStringList ListedFiles() {
    QStringList names;
    auto* list = Find<QListWidget>("CalFileList");
    for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
    return names;
  }
  void Select(const QString& name) {
    auto* list = Find<QListWidget>("CalFileList");
    const auto found = list->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    list->setCurrentItem(found.front());
  }
  void Display(const std::string& name) {
    Click(name.find("tip") != std::string::npos ? "CalTip" : "CalLN2");
    Select(QString::fromStdString(name));
    Click("CalDisplayFile");
    WaitForReading();
  }
  void WaitForReading() {
    ASSERT_TRUE(QTest::qWaitFor([this] { return !page.IsReading(); }, 20000));
  }
  bool PanelOpen() { return Find<QWidget>("PanelSelectCalFiles")->isVisible(); }

  TempFolder folder;
  FakeInstrumentLink link;
  CalibrationPage page;
};

TEST_F(CalibrationPageTest, ControlsCarryTheirNamesTextsAndStates) {
  struct Case {
    const char* name;
    const char* text;
    bool enabled;
  } const buttons[] = {
      {"CalLN2", "Select LN2 Calibration", true},
      {"CalTip", "Select Tip Calibration", true},
      {"CalStartLN2", "Start LN2 Calibration", true},
      {"CalViewLN2", "View LN2 Calibration", false},
      {"CalStopLN2", "Stop LN2 Calibration", false},
      {"CalTransB0", "Transfer Band 0", true},
      {"CalTransB1", "Transfer Band 1", true},
      {"CalResetZoom", "Reset Zoom", true},
      {"CalCB", "Show File", true},
      {"CalDisplayFile", "Display Selected Files", true},
      {"CalDispCancelBtn", "Cancel", true},
  };
  for (const Case& c : buttons) {
    auto* button = Find<QAbstractButton>(c.name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text().toStdString(), c.text);
    EXPECT_EQ(button->isEnabled(), c.enabled) << c.name;
  }
  EXPECT_EQ(page.objectName(), "CalibrationPage");
  EXPECT_FALSE(Find<QCheckBox>("CalCB")->isChecked());
  EXPECT_EQ(Find<QLabel>("Panel7")->text().toStdString(), "Calibration");
  EXPECT_EQ(Find<QLabel>("Label49")->text().toStdString(), "Label49");
  EXPECT_EQ(Find<QLabel>("Label48")->text().toStdString(), "Status");
  auto* values = Find<QTableWidget>("ValueListEditor1");
  EXPECT_EQ(values->horizontalHeaderItem(0)->text().toStdString(), "Parameter");
  EXPECT_EQ(values->horizontalHeaderItem(1)->text().toStdString(), "Value");
  EXPECT_EQ(values->columnWidth(0), 93);
  EXPECT_EQ(values->columnWidth(1), 70);
  EXPECT_EQ(values->rowCount(), 0);
  EXPECT_FALSE(PanelOpen());
  EXPECT_FALSE(Find<QWidget>("CalMemo")->isVisible());
  EXPECT_TRUE(Find<QWidget>("ScrollBox1")->isVisible());
  EXPECT_EQ(page.FileMask(), "*ln2.csv");
  EXPECT_TRUE(page.ChartViews().empty());
}

TEST_F(CalibrationPageTest, FileListsFollowTheirMaskAndAreReadAfreshAtEachClick) {
  folder.Write("b_ln2.csv", "");
  folder.Write("a_tip.csv", "");
  Click("CalLN2");
  EXPECT_TRUE(PanelOpen());
  EXPECT_EQ(ListedFiles(), QStringList{"b_ln2.csv"});
  folder.Write("A_LN2.CSV", "");
  Click("CalTip");
  EXPECT_EQ(page.FileMask(), "*tip.csv");
  EXPECT_EQ(ListedFiles(), QStringList{"a_tip.csv"});
  Click("CalLN2");
  EXPECT_EQ(ListedFiles(), (QStringList{"A_LN2.CSV", "b_ln2.csv"}));
  Click("CalDispCancelBtn");
  EXPECT_FALSE(PanelOpen());
}

TEST_F(CalibrationPageTest, ThreeChartsAfterTwelveStandAtTheirPlaces) {
  folder.Write("twelve_ln2.csv", CalibrationFile(12, 5));
  folder.Write("three_tip.csv", CalibrationFile(3, 5));
  Display("twelve_ln2.csv");
  EXPECT_EQ(page.ChartViews().size(), 12u);
  EXPECT_FALSE(PanelOpen());
  Display("three_tip.csv");
  ASSERT_EQ(page.ChartViews().size(), 3u);
  // Only the new charts remain among the scroll box's children.
  EXPECT_EQ(Find<QScrollArea>("ScrollBox1")->widget()->findChildren<CalibrationChartView*>().size(), 3);
  for (int k = 0; k < 3; ++k) {
    const CalibrationChartView* view = page.ChartViews()[static_cast<std::size_t>(k)];
    EXPECT_EQ(view->geometry(), QRect(50, 200 * k, 400, 190)) << k;
    EXPECT_EQ(view->Title(), "Col" + std::to_string(k));
    EXPECT_EQ(view->RangeMin(), 100);
    EXPECT_EQ(view->RangeMax(), 140);
  }
  EXPECT_EQ(link.statusTexts, (std::vector<std::string>{"max 12", "max 3"}));
  EXPECT_EQ(link.beeps, 0);
  EXPECT_EQ(Find<TextFileView>("CalMemo")->Text(), CalibrationFile(3, 5));
  EXPECT_EQ(link.CommandsSent(), 0);
}

TEST_F(CalibrationPageTest, EarlyStopsLeaveNoChartsAndThePanelOpen) {
  folder.Write("good_ln2.csv", CalibrationFile(4, 3));
  folder.Write("nohead_ln2.csv", "5,0,31,1\r\n");
  Display("good_ln2.csv");
  ASSERT_EQ(page.ChartViews().size(), 4u);

  Display("nohead_ln2.csv");
  EXPECT_TRUE(page.ChartViews().empty());
  EXPECT_TRUE(PanelOpen());
  EXPECT_EQ(link.beeps, 1);
  EXPECT_EQ(Find<TextFileView>("CalMemo")->Text(), "5,0,31,1\r\n");

  Click("CalLN2");  // the list is re-read and nothing is selected
  Click("CalDisplayFile");
  EXPECT_FALSE(page.IsReading());
  EXPECT_EQ(link.beeps, 2);
  EXPECT_TRUE(PanelOpen());
  EXPECT_EQ(Find<TextFileView>("CalMemo")->Text(), "5,0,31,1\r\n");  // untouched without a selection
}

TEST_F(CalibrationPageTest, CancelKeepsThePreviousCharts) {
  folder.Write("good_ln2.csv", CalibrationFile(2, 3));
  Display("good_ln2.csv");
  Click("CalTip");
  Click("CalDispCancelBtn");
  EXPECT_EQ(page.ChartViews().size(), 2u);
  EXPECT_FALSE(PanelOpen());
}

TEST_F(CalibrationPageTest, ZoomOnOneChartSetsEveryChartToWholeNumbers) {
  folder.Write("wide_ln2.csv", CalibrationFile(5, 40));
  Display("wide_ln2.csv");
  ASSERT_EQ(page.ChartViews().size(), 5u);
  struct Case {
    double min, max;
    double wholeMin, wholeMax;
    const char* label;
  } const cases[] = {
      {10.7, 99.2, 10, 99, "Cal zoom 10 99"},
      {-3.6, 5.2, -3, 5, "Cal zoom -3 5"},
  };
  for (const Case& c : cases) {
    page.ChartViews()[3]->SetHorizontalRange(c.min, c.max);
    page.CalChartZoom(3);
    EXPECT_EQ(Find<QLabel>("Label49")->text().toStdString(), c.label);
    for (const CalibrationChartView* view : page.ChartViews()) {
      EXPECT_EQ(view->RangeMin(), c.wholeMin);
      EXPECT_EQ(view->RangeMax(), c.wholeMax);
    }
  }
  Click("CalResetZoom");
  for (const CalibrationChartView* view : page.ChartViews()) {
    EXPECT_EQ(view->RangeMin(), 100);
    EXPECT_EQ(view->RangeMax(), 490);
  }
  EXPECT_EQ(Find<QLabel>("Label49")->text().toStdString(), "Cal zoom -3 5");
}

TEST_F(CalibrationPageTest, DraggingOverAChartZoomsTheWholeStackAndDraggingBackUndoesOnlyThatChart) {
  folder.Write("wide_ln2.csv", CalibrationFile(3, 40));
  Display("wide_ln2.csv");
  ASSERT_EQ(page.ChartViews().size(), 3u);
  CalibrationChartView* chart = page.ChartViews()[1];
  const int y = chart->height() / 2;
  const double from = chart->ValueAt(150), to = chart->ValueAt(300);
  QTest::mousePress(chart, Qt::LeftButton, {}, QPoint(150, y));
  QTest::mouseMove(chart, QPoint(300, y));
  QTest::mouseRelease(chart, Qt::LeftButton, {}, QPoint(300, y));
  const double wholeMin = std::trunc(from), wholeMax = std::trunc(to);
  ASSERT_LT(wholeMin, wholeMax);
  for (const CalibrationChartView* view : page.ChartViews()) {
    EXPECT_EQ(view->RangeMin(), wholeMin);
    EXPECT_EQ(view->RangeMax(), wholeMax);
  }
  const std::string label = QString("Cal zoom %1 %2").arg(wholeMin).arg(wholeMax).toStdString();
  EXPECT_EQ(Find<QLabel>("Label49")->text().toStdString(), label);

  QTest::mousePress(chart, Qt::LeftButton, {}, QPoint(300, y));
  QTest::mouseRelease(chart, Qt::LeftButton, {}, QPoint(150, y));
  EXPECT_EQ(chart->RangeMin(), 100);
  EXPECT_EQ(chart->RangeMax(), 490);
  EXPECT_EQ(page.ChartViews()[0]->RangeMin(), wholeMin);  // the others keep the zoom
  EXPECT_EQ(Find<QLabel>("Label49")->text().toStdString(), label);
}

TEST_F(CalibrationPageTest, ShowFileSwitchesBetweenTextAndChartsAcrossDisplays) {
  auto* showFile = Find<QCheckBox>("CalCB");
  auto* memo = Find<TextFileView>("CalMemo");
  auto* charts = Find<QWidget>("ScrollBox1");
  showFile->click();
  EXPECT_TRUE(memo->isVisible());
  EXPECT_FALSE(charts->isVisible());
  EXPECT_EQ(memo->Text(), "CalMemo");

  folder.Write("one_ln2.csv", CalibrationFile(2, 3));
  Display("one_ln2.csv");
  EXPECT_EQ(page.ChartViews().size(), 2u);
  EXPECT_EQ(memo->Text(), CalibrationFile(2, 3));
  EXPECT_TRUE(memo->isVisible());
  EXPECT_FALSE(charts->isVisible());
  EXPECT_TRUE(showFile->isChecked());

  showFile->click();
  EXPECT_FALSE(memo->isVisible());
  EXPECT_TRUE(charts->isVisible());
  EXPECT_TRUE(page.ChartViews()[0]->isVisible());
}

TEST_F(CalibrationPageTest, ParameterListReloadsFromStatusFileAtEveryClick) {
  auto* values = Find<QTableWidget>("ValueListEditor1");
  const auto rows = [values] {
    std::vector<std::pair<std::string, std::string>> shown;
    for (int r = 0; r < values->rowCount(); ++r) {
      shown.emplace_back(values->item(r, 0)->text().toStdString(), values->item(r, 1)->text().toStdString());
    }
    return shown;
  };
  folder.Write("status.csv", "Tamb=293.15\r\n2026,12,09,31,77.5\r\n");
  QTest::mouseClick(values->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
  const std::vector<std::pair<std::string, std::string>> first = {{"Tamb", "293.15"},
                                                                  {"", "2026,12,09,31,77.5"}};
  EXPECT_EQ(rows(), first);

  folder.Write("status.csv", "Gain=1.5\r\n");
  QTest::mouseClick(values->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
  EXPECT_EQ(rows(), (std::vector<std::pair<std::string, std::string>>{{"Gain", "1.5"}}));

  std::filesystem::remove(folder.Path() / "status.csv");
  try {
    page.ValueListEditor1Click();
    ADD_FAILURE() << "a missing status.csv must be reported";
  } catch (const AppError& error) {
    EXPECT_STREQ(error.what(), "Cannot open file status.csv");
  }
  EXPECT_EQ(rows(), (std::vector<std::pair<std::string, std::string>>{{"Gain", "1.5"}}));
}

// A file is read off the window's thread in chunks: while it is read the panel shows the percent read,
// a second "Display Selected Files" is ignored, and "Cancel" stops the reading part-way, which ends like
// a file that cannot be read: no charts, the memo empty, the panel open.
TEST_F(CalibrationPageTest, CancelPartWayEndsLikeAnUnreadableFile) {
  folder.Write("good_ln2.csv", CalibrationFile(3, 4));
  folder.Write("long_ln2.csv", CalibrationFile(3, 5000));
  Display("good_ln2.csv");
  ASSERT_EQ(page.ChartViews().size(), 3u);

  // The reader waits after each chunk until the test lets it go on.
  std::mutex mutex;
  std::condition_variable changed;
  int chunksAllowed = 2;
  int chunksRead = 0;
  CalibrationLoadOptions options;
  options.chunkBytes = 8192;
  options.afterChunk = [&](std::uint64_t) {
    std::unique_lock lock(mutex);
    ++chunksRead;
    changed.notify_all();
    changed.wait(lock, [&] { return chunksRead < chunksAllowed; });
  };
  page.SetLoadOptions(options);
  int started = 0, finished = 0;
  QObject::connect(&page, &CalibrationPage::workStarted, [&] { ++started; });
  QObject::connect(&page, &CalibrationPage::workFinished, [&] { ++finished; });

  Click("CalLN2");
  Select("long_ln2.csv");
  Click("CalDisplayFile");
  ASSERT_TRUE(page.IsReading());
  EXPECT_TRUE(page.ChartViews().empty());  // the previous charts went at the click
  EXPECT_EQ(started, 1);
  {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return chunksRead == 2; });
  }
  auto* progress = Find<QProgressBar>("CalReadProgress");
  ASSERT_TRUE(QTest::qWaitFor([&] { return progress->value() > 0; }, 5000));
  EXPECT_TRUE(progress->isVisible());
  const auto total = static_cast<double>(std::filesystem::file_size(folder.Path() / "long_ln2.csv"));
  EXPECT_EQ(progress->value(), static_cast<int>(2 * 8192 * 100.0 / total));

  Click("CalDisplayFile");  // ignored: one reading at a time
  EXPECT_EQ(started, 1);
  Click("CalDispCancelBtn");
  {
    std::lock_guard lock(mutex);
    chunksAllowed = 1000000;
    changed.notify_all();
  }
  WaitForReading();
  EXPECT_EQ(finished, 1);
  EXPECT_LE(chunksRead, 3);  // stopped part-way
  EXPECT_TRUE(page.ChartViews().empty());
  EXPECT_TRUE(PanelOpen());
  EXPECT_FALSE(progress->isVisible());
  EXPECT_EQ(Find<TextFileView>("CalMemo")->Text(), "");
  EXPECT_EQ(link.beeps, 0);
}

// A file that cannot fit in the memory left is refused before it is read: its size and the memory left
// in the status text, no charts, the memo empty, the panel open.
TEST_F(CalibrationPageTest, RefusesAFileLargerThanTheMemoryLeft) {
  folder.Write("good_ln2.csv", CalibrationFile(2, 3));
  const std::string big = CalibrationFile(4, 400);
  folder.Write("big_ln2.csv", big);
  Display("good_ln2.csv");
  CalibrationLoadOptions options;
  options.availableMemory = [] { return std::uint64_t{2000}; };
  page.SetLoadOptions(options);
  Display("big_ln2.csv");
  EXPECT_EQ(link.LastStatus(), "Too large: " + ByteSizeText(big.size()) + ", memory available 2.0 KB");
  EXPECT_TRUE(page.ChartViews().empty());
  EXPECT_TRUE(PanelOpen());
  EXPECT_EQ(Find<TextFileView>("CalMemo")->Text(), "");
  EXPECT_EQ(link.beeps, 0);
}

// The memo keeps the text displayed when the file is rewritten or removed afterwards.
TEST_F(CalibrationPageTest, MemoKeepsTheDisplayedTextWhenTheFileChanges) {
  const std::string text = CalibrationFile(2, 50);
  folder.Write("a_ln2.csv", text);
  Display("a_ln2.csv");
  ASSERT_EQ(page.ChartViews().size(), 2u);
  folder.Write("a_ln2.csv", "0,0,30,Other\r\n");
  auto* memo = Find<TextFileView>("CalMemo");
  EXPECT_EQ(memo->Text(), text);
  std::filesystem::remove(folder.Path() / "a_ln2.csv");
  EXPECT_EQ(memo->Line(1), "100,t,31,0.5,10.5");
  EXPECT_EQ(memo->LineCount(), 51u);
}

// A file whose name is not valid UTF-8 (here Windows-1252) is listed readably and opens: the list
// keeps the file system's own bytes of the name.
TEST_F(CalibrationPageTest, AFileNameThatIsNotUtf8IsListedAndOpens) {
  const std::string name = "caf\xe9_ln2.csv";
  folder.Write(name, CalibrationFile(2, 3));
  Click("CalLN2");
  EXPECT_EQ(ListedFiles(), QStringList{QString::fromUtf8("caf\xc3\xa9_ln2.csv")});
  Find<QListWidget>("CalFileList")->setCurrentRow(0);
  Click("CalDisplayFile");
  WaitForReading();
  EXPECT_EQ(page.ChartViews().size(), 2u);
  EXPECT_EQ(Find<TextFileView>("CalMemo")->Text(), CalibrationFile(2, 3));
}

// Titles and the memo's lines in Windows-1252 show as their characters.
TEST_F(CalibrationPageTest, TitlesInWindows1252ShowAsTheirCharacters) {
  folder.Write("w_ln2.csv", "0,0,30,T\xb0K\r\n1,0,31,5\r\n");
  Display("w_ln2.csv");
  ASSERT_EQ(page.ChartViews().size(), 1u);
  EXPECT_EQ(page.ChartViews()[0]->Title(), "T\xc2\xb0K");
}

// Closing the window while a file is read: the page goes at once, its reader with it, and nothing of
// the reading reaches the page afterwards.
TEST(CalibrationPageLifetime, DestroyedWhileReading) {
  TempFolder folder;
  folder.Write("long_ln2.csv", CalibrationFile(3, 5000));
  FakeInstrumentLink link;
  std::atomic<int> chunks{0};
  {
    CalibrationPage page(link, folder.Path());
    CalibrationLoadOptions options;
    options.chunkBytes = 4096;
    options.afterChunk = [&](std::uint64_t) {
      ++chunks;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    };
    page.SetLoadOptions(options);
    page.findChild<QAbstractButton*>("CalLN2")->click();
    page.findChild<QListWidget*>("CalFileList")->setCurrentRow(0);
    page.findChild<QAbstractButton*>("CalDisplayFile")->click();
    ASSERT_TRUE(page.IsReading());
    ASSERT_TRUE(QTest::qWaitFor([&] { return chunks > 0; }, 5000));
  }
  const int atClose = chunks;
  QTest::qWait(50);
  QCoreApplication::processEvents();
  EXPECT_EQ(chunks, atClose);  // the reader stopped with the page
  EXPECT_LT(atClose, 100);
  EXPECT_TRUE(link.statusTexts.empty());
}

}  // namespace
}  // namespace varnok
