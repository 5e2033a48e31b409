// The TEST tab driving the simulated instrument over TCP through the real command layer; the
// instrument's stored fan, drive and option state is read back afterwards.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>
#include <memory>

#include "AsioLinkOpener.h"
#include "CommandLayer.h"
#include "ConnectionManager.h"
#include "InstrumentState.h"
#include "LinkWindow.h"
#include "SimServer.h"
#include "testpanel/TestPage.h"

namespace varnok {
namespace {

class QuietWindow : public LinkWindow {
 public:
  bool down = false;
  std::string panels[3];
  int tones = 0;
  bool ConnectDown() const override { return down; }
  void SetConnectDown(bool d) override { down = d; }
  void SetPanelText(int panel, const std::string& text) override { panels[panel] = text; }
  int UnitAddress() const override { return 0; }
  void SetTimer1Enabled(bool) override {}
  void ReleaseTimerBtn() override {}
  void PlayErrorTone() override { ++tones; }
};

LinkTimeouts ShortTimeouts() {
  LinkTimeouts t;
  t.tcpWait = std::chrono::milliseconds(1000);
  t.tcpConnect = std::chrono::milliseconds(2000);
  return t;
}

class TestPageSimTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::SimOptions options;
    options.tcpPort = 0;
    sim_ = std::make_unique<sim::SimServer>(options);
    sim_->Start();
    layer_ = std::make_unique<CommandLayer>(window_, ShortTimeouts());
    opener_ = std::make_unique<AsioLinkOpener>(ShortTimeouts());
    ConnectionManager connecting(*layer_, window_, *opener_);
    window_.down = true;  // the technician pressed Connect
    const ConnectResult result =
        connecting.ConnectBtnClick("127.0.0.1:" + std::to_string(sim_->TcpPort()), "502");
    ASSERT_EQ(result.outcome, ConnectOutcome::Connected);
    page_ = std::make_unique<TestPage>(*layer_);
  }

  void TearDown() override {
    page_.reset();
    if (layer_) layer_->CloseLink();
    if (sim_) sim_->Stop();
  }

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

  QuietWindow window_;
  std::unique_ptr<sim::SimServer> sim_;
  std::unique_ptr<CommandLayer> layer_;
  std::unique_ptr<AsioLinkOpener> opener_;
  std::unique_ptr<TestPage> page_;
};

TEST_F(TestPageSimTest, DriveButtonsMoveTheDrives) {
  Click("BitBtn2");  // elevation to 180.00 degrees
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
