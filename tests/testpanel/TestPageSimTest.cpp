// The TEST tab driving the simulated instrument over TCP through the real command layer; the
// instrument's stored fan, drive and option state is read back afterwards.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>
#include <memory>

#include "tools/varnok-sim/InstrumentState.h"
#include "tests/support/SimulatorConnection.h"
#include "testpanel/TestPage.h"

namespace varnok {
namespace {

class TestPageSimTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ConnectResult result = connection_.Connect();
    ASSERT_EQ(result.outcome, ConnectOutcome::Connected);
    page_ = std::make_unique<TestPage>(connection_.Layer());
  }

  void TearDown() override { page_.reset(); }

  sim::InstrumentState State() {
    sim::InstrumentState copy;
    sim_->WithState([&](sim::InstrumentState& s) { copy = s; });
    return copy;
  }
  void SetOptionBits(std::uint32_t bits) {
    sim_->WithState([&](sim::InstrumentState& s) { s.optionBits = bits; });
  }
  void Click(const char* name) { page_->findChild<QAbstractButton*>(name)->click(); }
  bool Checked(const char* name) { return page_->findChild<QCheckBox*>(name)->isChecked(); }

  testing::SimulatorConnection connection_{
      testing::ShortTimeouts(std::chrono::milliseconds(1000), std::chrono::milliseconds(2000))};
  testing::RecordingLinkWindow& window_ = connection_.Window();
  sim::SimServer* const sim_ = &connection_.Server();
  std::unique_ptr<TestPage> page_;
};

TEST_F(TestPageSimTest, DriveButtonsMoveTheDrives) {
  Click("BitBtn2");   // elevation to 180.00 degrees
  Click("BitBtn10");  // azimuth to 270 degrees
  sim::InstrumentState s = State();
  EXPECT_EQ(s.elevationCommand, "0018000");
  EXPECT_DOUBLE_EQ(s.elevationDegrees, 180.0);
  EXPECT_EQ(s.azimuthCommand, "00270");
  EXPECT_DOUBLE_EQ(s.azimuthDegrees, 270.0);

  const int elevationResets = s.elevationResets;
  const int azimuthResets = s.azimuthResets;
  Click("BitBtn11");  // azimuth: reset, then home
  Click("BitBtn12");  // the azimuth panel's "Reset" resets the elevation drive
  s = State();
  EXPECT_EQ(s.azimuthCommand, "01");
  EXPECT_DOUBLE_EQ(s.azimuthDegrees, 0.0);
  EXPECT_EQ(s.azimuthResets, azimuthResets + 1);
  EXPECT_EQ(s.elevationCommand, "07");
  EXPECT_EQ(s.elevationResets, elevationResets + 1);
  EXPECT_EQ(window_.tones, 0) << "every exchange succeeded";
}

TEST_F(TestPageSimTest, FanPositionReachesTheInstrument) {
  auto* fan = page_->findChild<QScrollBar*>("Fan");
  fan->setValue(4095);
  EXPECT_EQ(State().fanPosition, 4095);
  fan->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(State().fanPosition, 3995);
}

TEST_F(TestPageSimTest, OptionBoxesAndRefreshFollowTheInstrumentsBits) {
  SetOptionBits(0x80 | 0x10 | 0x04 | 0x01);
  Click("Button5");
  EXPECT_FALSE(Checked("OPb2"));
  EXPECT_TRUE(Checked("OPb4"));
  EXPECT_FALSE(Checked("OPb8"));
  EXPECT_TRUE(Checked("OPb10"));
  // The boxes that changed sent their set commands: the bits are unchanged, hidden ones included.
  EXPECT_EQ(State().optionBits, 0x80u | 0x10u | 0x04u | 0x01u);

  Click("OPb8");   // set 0x08
  Click("OPb10");  // clear 0x10
  EXPECT_EQ(State().optionBits, 0x80u | 0x08u | 0x04u | 0x01u);

  // The instrument changes behind the page's back; Refresh brings the boxes back in line.
  SetOptionBits(0x02);
  Click("Button5");
  EXPECT_TRUE(Checked("OPb2"));
  EXPECT_FALSE(Checked("OPb4"));
  EXPECT_FALSE(Checked("OPb8"));
  EXPECT_FALSE(Checked("OPb10"));
  EXPECT_EQ(State().optionBits, 0x02u);
}

TEST_F(TestPageSimTest, AOneByteReplyToTheReadLeavesTheBoxesAlone) {
  SetOptionBits(0x1E);
  sim_->ArmFault("refuse:199:30");  // a one-byte reply 0x1E
  Click("Button5");
  for (const char* name : {"OPb2", "OPb4", "OPb8", "OPb10"}) EXPECT_FALSE(Checked(name)) << name;
  EXPECT_EQ(State().optionBits, 0x1Eu);
}

}  // namespace
}  // namespace varnok
