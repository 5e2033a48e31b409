#include "config/ConfigurationPage.h"
#include "tests/support/TempFolder.h"

#include <QDir>
#include <QFileDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QHeaderView>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "tests/config/ConfigFixture.h"
#include "tests/support/FakeInstrumentLink.h"
#include "core/AppError.h"

namespace varnok {
namespace {

using testing::FakeInstrumentLink;
using testing::Reply;

QString Text(const ConfigurationPage& page, const char* name) {
  const auto* edit = page.findChild<QLineEdit*>(QString::fromLatin1(name));
  return edit != nullptr ? edit->text() : QStringLiteral("<missing %1>").arg(QString::fromLatin1(name));
}

QString SamplePath() { return QString::fromStdString(test::FixturePath("SAMPLE.CFG")); }

QStringList ListItems(const ConfigurationPage& page) {
  QStringList items;
  const auto* list = page.findChild<QListWidget*>(QStringLiteral("TipL"));
  for (int i = 0; list != nullptr && i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

TEST(ConfigurationPage, ButtonsCarryTheirCaptionsAndHints) {
  FakeInstrumentLink link;
  ConfigurationPage page(link);
  const struct {
    const char* name;
    const char* caption;
    const char* hint;
  } buttons[] = {
      {"ReadAllBtn", "Read", "Read Settings From Instrument"},
      {"UloadAllBtn", "Upload", "Upload Setting to Instrument"},
      {"Button7", "Save to Flash", "Save All Settings in Instrument Flash"},
      {"OpenCFG", "Open", "Load Configuration File"},
      {"SpeedButton9", "Save", "Save To Configuration File"},
      {"ActivateBtn", "Activate", "Populate GUI with Values From Configuration File. "},
      {"UploadCalibrationBtn", "Upload to instrument", "Upload Calibration Values to Instrument"},
      {"ReadCalibrTableBtn", "Read", "Read Calibration Values from Instrument"},
  };
  for (const auto& b : buttons) {
    const auto* button = page.findChild<QPushButton*>(QString::fromLatin1(b.name));
    ASSERT_NE(button, nullptr) << b.name;
    EXPECT_EQ(button->text().toStdString(), b.caption);
    EXPECT_EQ(button->toolTip().toStdString(), b.hint);
  }
  QStringList groupTitles;
  for (const QGroupBox* box : page.findChildren<QGroupBox*>()) groupTitles << box->title();
  groupTitles.sort();
  EXPECT_EQ(groupTitles, (QStringList{"Blower Control", "Calibr. Integration Params", "Calibration",
                                      "Tip Configuration", "User Offset Corrections"}));
  const auto* ftLabel = page.findChild<QLabel*>(QStringLiteral("FTLabel"));
  ASSERT_NE(ftLabel, nullptr);
  EXPECT_EQ(ftLabel->text(), "FTLabel");
}

TEST(ConfigurationPage, StartsWithTheStartUpTextsAndTheSampleInTheEditor) {
  FakeInstrumentLink link;
  ConfigurationPage page(link);
  const struct {
    const char* name;
    const char* text;
    const char* hint;
  } fields[] = {
      {"Tip1", "0.0", "regression coeff for a good tip"},
      {"Tip3", "5", "Number of Elevation Angles    "},
      {"Tip9", "0", "0=No tips when rain sensor on, 1=allow tips w/rain on"},
      {"LastFCal", "2012/10/22  16:22:22", ""},
      {"CFG_C5", "0.0", "LN2 polystyrene dielectric loss coef ~ 1.16e-5 K/K-cm-GHz  "},
      {"CFG_C11", "0.0", ""},
      {"Offset3", "0", "Rh correction   (edit with values for this instrument)"},
      {"Offset4", "-1.50", "BB sensor correction (default= -1.50)"},
      {"CalIntParam", "10,10.0,2.5,10,200 ", ""},
      {"BlRain", "0.8", "Rain sensor blower threshold (volts) "},
      {"NumberOfFreq", "35 ", ""},
  };
  for (const auto& f : fields) {
    SCOPED_TRACE(f.name);
    const auto* edit = page.findChild<QLineEdit*>(QString::fromLatin1(f.name));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text().toStdString(), f.text);
    EXPECT_EQ(edit->toolTip().toStdString(), f.hint);
  }
  EXPECT_EQ(ListItems(page), (QStringList{"30", "45", "90", "135", "150"}));

  const auto* memo = page.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
  ASSERT_NE(memo, nullptr);
  const std::vector<std::string> lines = SplitConfigLines(memo->toPlainText().toStdString());
  EXPECT_EQ(lines, test::SampleLines());
  EXPECT_TRUE(QFontInfo(memo->font()).fixedPitch());
  EXPECT_FALSE(memo->tabChangesFocus()) << "the editor accepts tab characters";
  EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::NoWrap);

  const auto* panelFile = page.findChild<QLabel*>(QStringLiteral("PanelFile"));
  ASSERT_NE(panelFile, nullptr);
  EXPECT_TRUE(panelFile->text().isEmpty());
}

TEST(ConfigurationPage, TableHasThirteenTitledColumnsAndThirtySixRows) {
  FakeInstrumentLink link;
  ConfigurationPage page(link);
  const auto* table = page.findChild<QTableWidget*>(QStringLiteral("FTable"));
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->columnCount(), 13);
  EXPECT_EQ(table->rowCount(), 36);
  const char* titles[] = {"Frequency", "Rcvr", "MRT", "Window Coef", "ND drive", "IF Atten", "alpha",
                          "dtdg",      "k1",   "k2",  "k3",          "k4",       "Tnd"};
  const int widths[] = {64, 45, 64, 64, 65, 68, 64, 95, 102, 97, 105, 98, 64};
  for (int c = 0; c < 13; ++c) {
    EXPECT_EQ(table->item(0, c)->text().toStdString(), titles[c]);
    EXPECT_FALSE(table->item(0, c)->flags() & Qt::ItemIsEditable) << "the title row is fixed";
    EXPECT_EQ(table->columnWidth(c), widths[c]) << titles[c];
    EXPECT_TRUE(table->item(1, c)->text().isEmpty());
    EXPECT_TRUE(table->item(35, c)->flags() & Qt::ItemIsEditable);
  }
}

// The page within a 970 x 640 window (about 960 x 500 for the page): editor and table keep usable room,
// the titles stay at the top while the rows scroll, and every field can be scrolled into view.
TEST(ConfigurationPage, FitsTheDefaultWindowWithAFixedTitleRow) {
  FakeInstrumentLink link;
  ConfigurationPage page(link);
  EXPECT_LE(page.minimumSizeHint().width(), 960);
  EXPECT_LE(page.minimumSizeHint().height(), 500);
  page.resize(960, 500);
  page.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));

  const auto* memo = page.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
  EXPECT_GE(memo->viewport()->width() / memo->fontMetrics().horizontalAdvance(QLatin1Char('0')), 60)
      << "columns";
  auto* table = page.findChild<QTableWidget*>(QStringLiteral("FTable"));
  EXPECT_GE(table->viewport()->height() / table->rowHeight(1), 4) << "rows";

  const QHeaderView* header = table->horizontalHeader();
  ASSERT_TRUE(header->isVisible());
  EXPECT_TRUE(table->isRowHidden(0)) << "the title row is shown by the header";
  EXPECT_EQ(table->rowAt(0), 1);
  table->verticalScrollBar()->setValue(table->verticalScrollBar()->maximum());
  QCoreApplication::processEvents();
  EXPECT_GT(table->rowAt(0), 20) << "the rows scrolled";
  EXPECT_TRUE(header->isVisible());
  EXPECT_EQ(header->mapTo(table, QPoint(0, 0)).y(), table->frameWidth()) << "the header stays at the top";
  for (int c = 0; c < 13; ++c) {
    EXPECT_EQ(table->model()->headerData(c, Qt::Horizontal).toString(), table->item(0, c)->text());
  }

  auto* groups = page.findChild<QScrollArea*>(QStringLiteral("ConfigGroupsScroll"));
  ASSERT_NE(groups, nullptr);
  for (const char* name : {"Tip1", "CFG_C11", "Offset4", "BlSpeed", "CalIntParam", "LastUserCal"}) {
    auto* edit = page.findChild<QLineEdit*>(QString::fromLatin1(name));
    groups->ensureWidgetVisible(edit);
    QCoreApplication::processEvents();
    EXPECT_FALSE(edit->visibleRegion().isEmpty()) << name;
    EXPECT_EQ(edit->visibleRegion().boundingRect().width(), edit->width()) << name << " is seen whole";
  }
}

TEST(ConfigurationPage, OpeningAFileFillsEditorPanelAndTable) {
  FakeInstrumentLink link;
  ConfigurationPage page(link);
  QStringList foldersOffered;
  page.SetFileChooser([&](QWidget*, const QString& folder) {
    foldersOffered << folder;
    return SamplePath();
  });
  page.findChild<QLineEdit*>(QStringLiteral("Tip1"))->setText("typed");
  page.OpenCFGClick();

  EXPECT_EQ(Text(page, "Tip1"), "0.98");
  EXPECT_EQ(Text(page, "CFG_C7"), "+600.00,200.00");
  EXPECT_EQ(Text(page, "CFG_C11"), ".90             ");
  EXPECT_EQ(Text(page, "LastFCal"), "2012/03/09 18:46:19 ");
  EXPECT_EQ(Text(page, "NumberOfFreq"), "35");
  EXPECT_EQ(Text(page, "Offset4"), "+0.00");
  const auto* table = page.findChild<QTableWidget*>(QStringLiteral("FTable"));
  EXPECT_EQ(table->item(1, 7)->text(), "-0.32971159E+06");
  EXPECT_EQ(table->item(35, 0)->text(), "58.800");
  const QFileInfo sample(SamplePath());
  EXPECT_EQ(page.findChild<QLabel*>(QStringLiteral("PanelFile"))->text(), sample.absoluteFilePath());
  EXPECT_EQ(link.beeps, 0);

  page.OpenCFGClick();
  ASSERT_EQ(foldersOffered.size(), 2);
  EXPECT_EQ(foldersOffered[1], sample.absolutePath()) << "the dialog opens next time in the file's folder";
}

// A file written on Windows (not valid UTF-8) reads as Windows-1252: 0x80-0x9F are letters and signs,
// not control characters, and the date keeps its first 20 characters.
TEST(ConfigurationPage, Windows1252FileIsReadByItsCodePage) {
  std::string text = test::ReadFixture("SAMPLE.CFG");
  const std::string date = "2012/03/09 18:46:19 ";
  const std::size_t at = text.find(date);
  ASSERT_NE(at, std::string::npos);
  text.replace(at, date.size(),
               "2012\xB0"
               "03\xB0"
               "09 \x93"
               "18:46\x94\x80\x80 ");
  testing::TempFolder folder;
  const std::filesystem::path file = folder.Write("WIN.CFG", text);
  FakeInstrumentLink link;
  ConfigurationPage page(link);
  page.SetFileChooser([&](QWidget*, const QString&) { return QString::fromStdString(file.string()); });
  page.OpenCFGClick();
  EXPECT_EQ(Text(page, "LastFCal"), QString::fromUtf8("2012°03°09 “18:46”€€"));
  EXPECT_EQ(Text(page, "Tip1"), "0.98");
  const QString editor = page.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText();
  EXPECT_TRUE(editor.contains(QString::fromUtf8("2012°03°09 “18:46”€€ :Date")))
      << editor.left(200).toStdString();
  for (const QChar c : editor)
    EXPECT_FALSE(c.unicode() >= 0x80 && c.unicode() <= 0x9F) << "control character";
}

TEST(ConfigurationPage, OpenDialogOffersConfigurationFilesFirst) {
  QFileDialog dialog;
  const QString folder = QString::fromStdString(VARNOK_CONFIG_FIXTURES);
  ConfigurationPage::SetUpOpenDialog(dialog, folder);
  EXPECT_EQ(dialog.nameFilters(), (QStringList{"Configuration File (*.CFG)", "All Files (*.*)"}));
  EXPECT_EQ(dialog.selectedNameFilter(), "Configuration File (*.CFG)");
  EXPECT_EQ(dialog.defaultSuffix(), "CFG");
  EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
  EXPECT_EQ(QFileInfo(dialog.directory().absolutePath()), QFileInfo(folder));
}

TEST(ConfigurationPage, CancelledOrUnreadableFileChangesNothing) {
  FakeInstrumentLink link;
  ConfigurationPage page(link);
  const auto* memo = page.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
  const QString before = memo->toPlainText();

  page.SetFileChooser([](QWidget*, const QString&) { return QString(); });
  page.OpenCFGClick();
  EXPECT_EQ(Text(page, "Tip1"), "0.0");

  const QString missing = QDir::temp().filePath(QStringLiteral("no-such-folder-4711/X.CFG"));
  page.SetFileChooser([&](QWidget*, const QString&) { return missing; });
  try {
    page.OpenCFGClick();
    ADD_FAILURE() << "a missing file was opened";
  } catch (const AppError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + missing.toStdString());
  }
  EXPECT_EQ(memo->toPlainText(), before);
  EXPECT_TRUE(page.findChild<QLabel*>(QStringLiteral("PanelFile"))->text().isEmpty());
  EXPECT_EQ(Text(page, "Tip1"), "0.0");
  EXPECT_TRUE(page.InitialFolder().isEmpty());
}

TEST(ConfigurationPage, ActivateParsesTheEditedText) {
  FakeInstrumentLink link;
  ConfigurationPage page(link);
  auto* memo = page.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
  QString text = memo->toPlainText();
  text.replace(QStringLiteral("0.98            :regression"), QStringLiteral("0.91\t:regression"));
  text.remove(QStringLiteral("USER CORRECTIONS:"));
  memo->setPlainText(text);
  page.findChild<QLineEdit*>(QStringLiteral("BlRH"))->setText("typed");

  page.ActivateBtnClick();
  EXPECT_EQ(Text(page, "Tip1"), "0.91");
  EXPECT_EQ(Text(page, "BlRH"), "70") << "Activate overwrites what was typed";
  EXPECT_EQ(Text(page, "Offset1"), "") << "a missing section empties its fields";
  EXPECT_EQ(ListItems(page), (QStringList{"30", "45", "90", "135", "150"}));
  EXPECT_EQ(link.beeps, 0);
}

TEST(ConfigurationPage, ActivateSoundsTheToneWhenTheFrequencyCountIsNoNumber) {
  FakeInstrumentLink link;
  ConfigurationPage page(link);
  auto* memo = page.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
  QString text = memo->toPlainText();
  text.replace(QStringLiteral("35              :number of frequencies"), QStringLiteral("35"));
  memo->setPlainText(text);
  page.ActivateBtnClick();
  EXPECT_EQ(link.beeps, 1);
  EXPECT_EQ(Text(page, "Tip1"), "0.0") << "the parse ended before the tip section";
  EXPECT_EQ(Text(page, "LastFCal"), "2012/03/09 18:46:19 ");
}

TEST(ConfigurationPage, HandlersExchangeWhatTheControlsShow) {
  FakeInstrumentLink link;
  ConfigurationPage page(link);
  page.OpenConfigurationFile(SamplePath());
  page.findChild<QLineEdit*>(QStringLiteral("BlSpeed"))->setText("45");

  page.UloadAllBtnClick();
  ASSERT_EQ(link.SentCodes(), (std::vector<int>{8, 9, 10, 11}));
  EXPECT_EQ(link.sent[2].payload[8 + 2], 0x34) << "45.0f is 0x42340000";
  EXPECT_EQ(link.sent[2].payload[8 + 3], 0x42);

  link.sent.clear();
  auto* table = page.findChild<QTableWidget*>(QStringLiteral("FTable"));
  table->item(2, 0)->setText("23.5");
  page.UploadCalibrationBtnClick();
  ASSERT_EQ(link.sent.size(), 35u);
  EXPECT_EQ(link.sent[1].payload[2 + 2], 0xBC) << "23.5f is 0x41BC0000";

  // Read back: the instrument answers the tip group, then falls silent.
  link.sent.clear();
  link.replies[168].push_back(Reply{18, {0, 0, 0, 0, 0x80, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}});
  link.defaultReply = Reply{-1, {}};
  page.ReadAllBtnClick();
  EXPECT_EQ(Text(page, "Tip1"), "1.00");
  EXPECT_EQ(Text(page, "Tip3"), "0");
  EXPECT_TRUE(ListItems(page).isEmpty());
  EXPECT_EQ(Text(page, "Offset1"), "-0.37") << "fields of unanswered groups stay";
  EXPECT_EQ(link.beeps, 1);

  page.ReadCalibrTableBtnClick();
  EXPECT_EQ(table->item(2, 0)->text(), "23.5") << "an unanswered row stays";

  link.defaultReply = Reply{4, {12, 0, 0, 0}};
  page.Button7Click();
  EXPECT_EQ(link.LastStatus(), "Number of writes = 12");
}

TEST(ConfigurationPage, SaveDoesNothing) {
  FakeInstrumentLink link;
  ConfigurationPage page(link);
  const QString before = page.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText();
  page.findChild<QPushButton*>(QStringLiteral("SpeedButton9"))->click();
  EXPECT_TRUE(link.sent.empty());
  EXPECT_TRUE(link.statusTexts.empty());
  EXPECT_EQ(page.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText(), before);
  EXPECT_EQ(Text(page, "Tip1"), "0.0");
}

}  // namespace
}  // namespace varnok
