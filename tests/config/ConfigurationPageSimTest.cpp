#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>

#include <chrono>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "tests/config/ConfigFixture.h"
#include "config/ConfigurationPage.h"
#include "tools/varnok-sim/InstrumentState.h"
#include "tests/support/SimulatorConnection.h"

namespace varnok {
namespace {

using namespace std::chrono_literals;

// The real command layer connected over loopback to an in-process simulator.
class ConfigurationPageSim : public ::testing::Test {
 protected:
  void SetUp() override {
    const ConnectResult r = connection_.Connect();
    ASSERT_EQ(r.outcome, ConnectOutcome::Connected) << window_.panels[0];
  }

  QString Text(const ConfigurationPage& page, const char* name) const {
    return page.findChild<QLineEdit*>(QString::fromLatin1(name))->text();
  }
  void SetText(ConfigurationPage& page, const char* name, const char* text) {
    page.findChild<QLineEdit*>(QString::fromLatin1(name))->setText(QString::fromLatin1(text));
  }
  static QString Cell(const ConfigurationPage& page, int row, int column) {
    return page.findChild<QTableWidget*>(QStringLiteral("FTable"))->item(row, column)->text();
  }

  testing::SimulatorConnection connection_;
  testing::RecordingLinkWindow& window_ = connection_.Window();
  CommandLayer& layer_ = connection_.Layer();
  sim::SimServer* const sim_ = &connection_.Server();
};

TEST_F(ConfigurationPageSim, UploadSaveAndReadBackTheSettings) {
  ConfigurationPage editor(layer_);
  editor.OpenConfigurationFile(QString::fromStdString(test::FixturePath("SAMPLE.CFG")));
  SetText(editor, "BlSpeed", "45");
  SetText(editor, "Offset4", "-1.25");
  SetText(editor, "LastFCal", "2013/04/05 06:07:08 ");
  editor.UloadAllBtnClick();
  EXPECT_EQ(window_.panels[2], "OK");

  std::size_t tipBytes = 0;
  sim_->WithState([&](sim::InstrumentState& s) {
    tipBytes = s.tipConfig.size();
    ASSERT_GE(s.calConstants.size(), 16u);
    EXPECT_EQ(std::string(s.calConstants.begin(), s.calConstants.begin() + 16), "2013/04/05 06:07");
  });
  EXPECT_EQ(tipBytes, 38u);

  editor.Button7Click();
  std::uint32_t writes = 0;
  sim_->WithState([&](sim::InstrumentState& s) { writes = s.flashWriteCount; });
  EXPECT_EQ(window_.panels[2], "Number of writes = " + std::to_string(writes));

  // A second page at its start-up texts reads back what was uploaded.
  ConfigurationPage reader(layer_);
  reader.ReadAllBtnClick();
  EXPECT_EQ(Text(reader, "Tip1"), "0.98");
  EXPECT_EQ(Text(reader, "Tip2"), "0.0");
  EXPECT_EQ(Text(reader, "Tip3"), "5");
  EXPECT_EQ(Text(reader, "Tip9"), "0");
  EXPECT_EQ(Text(reader, "Tip10"), "0.8");
  const auto* list = reader.findChild<QListWidget*>(QStringLiteral("TipL"));
  ASSERT_EQ(list->count(), 5);
  EXPECT_EQ(list->item(4)->text(), "150");
  EXPECT_EQ(Text(reader, "Offset1"), "-0.37");
  EXPECT_EQ(Text(reader, "Offset4"), "-1.25");
  EXPECT_EQ(Text(reader, "BlRain"), "0.80");
  EXPECT_EQ(Text(reader, "BlRH"), "70.00");
  EXPECT_EQ(Text(reader, "BlSpeed"), "45");
  EXPECT_EQ(Text(reader, "LastFCal"), "2013/04/05 06:07");
  EXPECT_EQ(Text(reader, "LastUserCal"), "2012/07/05 16:39");
  EXPECT_EQ(Text(reader, "CFG_C1"), "13.0");
  EXPECT_EQ(window_.tones, 0);
  EXPECT_TRUE(window_.connectDown);
}

TEST_F(ConfigurationPageSim, CalibrationTableStartsFromTheSampleAndKeepsWhatIsUploaded) {
  ConfigurationPage reader(layer_);
  reader.ReadCalibrTableBtnClick();
  const char* firstRow[] = {"22.000",         "0",
                            "275.0",          "0.000140",
                            "32860",          "18.0",
                            "0.98392",        "-3.29711590E+05",
                            "4.47906040E+01", "-4.32395770E-01",
                            "1.43127710E-03", "-1.63049880E-06",
                            "127.31"};
  for (int c = 0; c < 13; ++c) EXPECT_EQ(Cell(reader, 1, c).toStdString(), firstRow[c]) << "column " << c;
  EXPECT_EQ(Cell(reader, 35, 0), "58.800");
  EXPECT_EQ(Cell(reader, 35, 1), "1");

  // Edit the read-back table and upload it: the read-back texts are themselves valid numbers.
  reader.findChild<QTableWidget*>(QStringLiteral("FTable"))->item(2, 0)->setText("22.250");
  reader.findChild<QTableWidget*>(QStringLiteral("FTable"))->item(35, 12)->setText("250.5");
  reader.UploadCalibrationBtnClick();
  EXPECT_EQ(window_.panels[2], "OK");

  ConfigurationPage again(layer_);
  again.ReadCalibrTableBtnClick();
  EXPECT_EQ(Cell(again, 2, 0), "22.250");
  EXPECT_EQ(Cell(again, 35, 12), "250.50");
  for (int c = 0; c < 13; ++c) EXPECT_EQ(Cell(again, 1, c).toStdString(), firstRow[c]) << "column " << c;
  EXPECT_EQ(window_.tones, 0);
}

}  // namespace
}  // namespace varnok
