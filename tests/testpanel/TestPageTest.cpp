// The TEST tab bound to a recording link: which control sends what.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QApplication>
#include <QTest>

#include "tests/support/FakeInstrumentLink.h"
#include "testpanel/DriveAction.h"
#include "testpanel/FanCommand.h"
#include "testpanel/TestPage.h"

namespace varnok {
namespace {

using testing::Bytes;
using testing::FakeInstrumentLink;
using B = std::vector<std::uint8_t>;

class TestPageTest : public ::testing::Test {
 protected:
  FakeInstrumentLink link;
  TestPage page{link};

  template <typename T>
  T* Find(const char* name) {
    T* widget = page.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QCheckBox* Box(const char* name) { return Find<QCheckBox>(name); }

  std::vector<PanelCommand> Sent() const {
    std::vector<PanelCommand> sent;
    for (const auto& call : link.sent) sent.push_back({call.code, call.payload});
    return sent;
  }
};

TEST_F(TestPageTest, PageAndPanelsCarryTheirNamesAndCaptions) {
  EXPECT_EQ(page.objectName(), "TestPage");
  EXPECT_EQ(Find<QLabel>("Label3")->text(), "Move Elevation Drive");
  EXPECT_EQ(Find<QLabel>("Label4")->text(), "Move Azimuth Drive");
  EXPECT_EQ(Find<QFrame>("ELPanel")->width(), Find<QFrame>("ELPanel")->height());
  EXPECT_EQ(Find<QFrame>("Panel10")->width(), Find<QFrame>("Panel10")->height());
  EXPECT_EQ(Find<QGroupBox>("GroupBox6")->title(), "Set Options");
  EXPECT_EQ(Find<QPushButton>("Button5")->text(), "Refresh");
  const std::pair<const char*, const char*> boxes[] = {{"OPb2", "Optical Rain Sensor"},
                                                       {"OPb4", "No IRT if Checked"},
                                                       {"OPb8", "Disable Blower Control"},
                                                       {"OPb10", "Disable RCV Low ND Filter"}};
  for (const auto& [name, caption] : boxes) {
    EXPECT_EQ(Box(name)->text(), caption);
    EXPECT_FALSE(Box(name)->isChecked());
  }
  EXPECT_TRUE(link.sent.empty()) << "nothing is sent at start-up";
}

struct Place {
  const char* name;
  const char* panel;
  const char* caption;  // empty for an arrow button
};

TEST_F(TestPageTest, DriveButtonsSitInTheirPanelsAtTheirPlaces) {
  const Place places[] = {
      {"BitBtn1", "ELPanel", ""},  {"BitBtn2", "ELPanel", ""},     {"BitBtn3", "ELPanel", ""},
      {"BitBtn4", "ELPanel", ""},  {"BitBtn5", "ELPanel", "Home"}, {"BitBtn6", "ELPanel", "Reset"},
      {"BitBtn9", "Panel10", ""},  {"BitBtn8", "Panel10", ""},     {"BitBtn11", "Panel10", "Home"},
      {"BitBtn10", "Panel10", ""}, {"BitBtn7", "Panel10", ""},     {"BitBtn12", "Panel10", "Reset"},
  };
  for (const Place& p : places) {
    SCOPED_TRACE(p.name);
    QPushButton* button = Find<QPushButton>(p.name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->parentWidget()->objectName(), p.panel);
    EXPECT_EQ(button->text(), p.caption);
    EXPECT_EQ(button->icon().isNull(), std::string(p.caption) != "") << "arrows have a picture";
    EXPECT_TRUE(button->parentWidget()->rect().contains(button->geometry()));
  }
  const auto at = [&](const char* name) { return Find<QPushButton>(name)->geometry().center(); };
  // Elevation: a cross around "Home" with "Reset" at the bottom.
  EXPECT_LT(at("BitBtn1").y(), at("BitBtn5").y());
  EXPECT_EQ(at("BitBtn1").x(), at("BitBtn5").x());
  EXPECT_LT(at("BitBtn3").x(), at("BitBtn5").x());
  EXPECT_GT(at("BitBtn2").x(), at("BitBtn5").x());
  EXPECT_EQ(at("BitBtn3").y(), at("BitBtn5").y());
  EXPECT_EQ(at("BitBtn2").y(), at("BitBtn5").y());
  EXPECT_GT(at("BitBtn4").y(), at("BitBtn5").y());
  EXPECT_GT(at("BitBtn6").y(), at("BitBtn4").y());
  EXPECT_EQ(at("BitBtn6").x(), at("BitBtn5").x());
  // Azimuth: two rows of left arrow, caption, right arrow.
  EXPECT_LT(at("BitBtn9").x(), at("BitBtn11").x());
  EXPECT_LT(at("BitBtn11").x(), at("BitBtn8").x());
  EXPECT_LT(at("BitBtn10").x(), at("BitBtn12").x());
  EXPECT_LT(at("BitBtn12").x(), at("BitBtn7").x());
  for (const char* upper : {"BitBtn9", "BitBtn11", "BitBtn8"}) {
    EXPECT_EQ(at(upper).y(), at("BitBtn11").y());
    EXPECT_LT(at(upper).y(), at("BitBtn12").y());
  }
  EXPECT_EQ(at("BitBtn10").y(), at("BitBtn12").y());
  EXPECT_EQ(at("BitBtn7").y(), at("BitBtn12").y());
  // The two panels side by side, elevation on the left.
  EXPECT_LT(Find<QFrame>("ELPanel")->geometry().right(), Find<QFrame>("Panel10")->geometry().left());
}

struct ClickCase {
  const char* name;
  DriveButton action;
};

TEST_F(TestPageTest, EachDriveButtonSendsItsAction) {
  const ClickCase cases[] = {
      {"BitBtn1", DriveButton::ElevationUp},       {"BitBtn2", DriveButton::ElevationRight},
      {"BitBtn3", DriveButton::ElevationLeft},     {"BitBtn4", DriveButton::ElevationDown},
      {"BitBtn5", DriveButton::ElevationHome},     {"BitBtn6", DriveButton::ElevationReset},
      {"BitBtn9", DriveButton::AzimuthUpperLeft},  {"BitBtn8", DriveButton::AzimuthUpperRight},
      {"BitBtn11", DriveButton::AzimuthHome},      {"BitBtn10", DriveButton::AzimuthLowerLeft},
      {"BitBtn7", DriveButton::AzimuthLowerRight}, {"BitBtn12", DriveButton::AzimuthReset},
  };
  for (const ClickCase& c : cases) {
    SCOPED_TRACE(c.name);
    link.sent.clear();
    Find<QPushButton>(c.name)->click();
    EXPECT_EQ(Sent(), DriveButtonAction(c.action).commands);
  }
}

TEST_F(TestPageTest, AzimuthQuirksSendTheBytesTheInstrumentKnows) {
  Find<QPushButton>("BitBtn8")->click();
  Find<QPushButton>("BitBtn12")->click();
  Find<QPushButton>("BitBtn6")->click();
  EXPECT_EQ(Sent(),
            (std::vector<PanelCommand>{{5, B{'0', '0', '0', '0', '0'}}, {4, B{'0', '7'}}, {4, B{'0', '7'}}}));
}

TEST_F(TestPageTest, FanScrollBarSendsEveryPositionChange) {
  QScrollBar* fan = Find<QScrollBar>("Fan");
  ASSERT_NE(fan, nullptr);
  EXPECT_EQ(fan->orientation(), Qt::Horizontal);
  EXPECT_EQ(fan->minimum(), 0);
  EXPECT_EQ(fan->maximum(), 4095);
  EXPECT_EQ(fan->singleStep(), 10);
  EXPECT_EQ(fan->pageStep(), 100);
  EXPECT_EQ(fan->value(), 0);

  fan->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // arrow button
  fan->triggerAction(QAbstractSlider::SliderPageStepAdd);    // click in the track
  fan->setValue(4095);                                       // thumb dragged to the end
  fan->triggerAction(QAbstractSlider::SliderToMinimum);      // Home key
  fan->setValue(0);                                          // no change: nothing sent
  EXPECT_EQ(Sent(), (std::vector<PanelCommand>{
                        {3, B{0x0A, 0x00}}, {3, B{0x6E, 0x00}}, {3, B{0xFF, 0x0F}}, {3, B{0x00, 0x00}}}));
}

// A real click on the thumb gives the bar the focus; the keys then go to whatever has the focus.
TEST_F(TestPageTest, FanTakesFocusOnAClickAndMovesWithTheKeys) {
  QScrollBar* fan = Find<QScrollBar>("Fan");
  ASSERT_NE(fan, nullptr);
  page.show();
  page.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
  QTest::mouseClick(fan, Qt::LeftButton, {}, QPoint(fan->height() * 3 / 2, fan->height() / 2));
  ASSERT_EQ(QApplication::focusWidget(), fan);
  ASSERT_EQ(fan->value(), 0) << "the click landed on the thumb";

  const struct {
    Qt::Key key;
    int value;
  } keys[] = {{Qt::Key_Right, 10}, {Qt::Key_PageDown, 110}, {Qt::Key_Left, 100},    {Qt::Key_Down, 110},
              {Qt::Key_Up, 100},   {Qt::Key_End, 4095},     {Qt::Key_PageUp, 3995}, {Qt::Key_Home, 0}};
  std::vector<PanelCommand> expected;
  for (const auto& k : keys) {
    QTest::keyClick(QApplication::focusWidget(), k.key);
    EXPECT_EQ(fan->value(), k.value) << k.key;
    expected.push_back(FanSpeedCommand(k.value));
  }
  EXPECT_EQ(Sent(), expected);
}

TEST_F(TestPageTest, ClickingABoxSetsOrClearsItsBit) {
  Box("OPb10")->click();
  Box("OPb2")->click();
  Box("OPb2")->click();
  EXPECT_EQ(Sent(), (std::vector<PanelCommand>{{20, B{0x10, 0x00, 0x00, 0x00}},
                                               {20, B{0x02, 0x00, 0x00, 0x00}},
                                               {19, B{0x02, 0x00, 0x00, 0x00}}}));
}

TEST_F(TestPageTest, ABoxStaysAsClickedWhenItsCommandFails) {
  link.connected = false;
  Box("OPb8")->click();
  EXPECT_TRUE(Box("OPb8")->isChecked());
  ASSERT_EQ(link.sent.size(), 1u);
  EXPECT_EQ(link.sent[0].code, 20);
}

struct RefreshCase {
  const char* what;
  std::array<bool, 4> before;
  testing::Reply reply;
  std::array<bool, 4> after;
  std::vector<PanelCommand> sentAfterRead;
};

TEST_F(TestPageTest, RefreshSetsTheBoxesAndEachChangedBoxSendsItsCommand) {
  const char* names[] = {"OPb2", "OPb4", "OPb8", "OPb10"};
  const RefreshCase cases[] = {
      {"two boxes change",
       {false, false, false, false},
       {2, {0x12, 0x00}},
       {true, false, false, true},
       {{20, {0x02, 0, 0, 0}}, {20, {0x10, 0, 0, 0}}}},
      {"all shown already", {true, false, true, false}, {2, {0x0A, 0x00}}, {true, false, true, false}, {}},
      {"hidden bits ignored",
       {true, true, true, true},
       {2, {0xE1, 0xFF}},
       {false, false, false, false},
       {{19, {0x02, 0, 0, 0}}, {19, {0x04, 0, 0, 0}}, {19, {0x08, 0, 0, 0}}, {19, {0x10, 0, 0, 0}}}},
      {"mixed",
       {false, true, false, true},
       {2, {0x0C, 0x00}},
       {false, true, true, false},
       {{20, {0x08, 0, 0, 0}}, {19, {0x10, 0, 0, 0}}}},
      {"one reply byte", {false, true, false, false}, {1, {0x1E}}, {false, true, false, false}, {}},
      {"empty reply", {true, false, false, false}, {0, {0x00}}, {true, false, false, false}, {}},
      {"failure", {false, false, true, false}, {-1, {0x1E}}, {false, false, true, false}, {}},
  };
  for (const RefreshCase& c : cases) {
    SCOPED_TRACE(c.what);
    for (std::size_t i = 0; i < 4; ++i) Box(names[i])->setChecked(c.before[i]);
    link.sent.clear();
    link.script = {c.reply};

    Find<QPushButton>("Button5")->click();

    ASSERT_FALSE(link.sent.empty());
    EXPECT_EQ(link.sent[0].code, 199);
    EXPECT_EQ(link.sent[0].length, 0);
    const std::vector<PanelCommand> sent = Sent();
    EXPECT_EQ(std::vector<PanelCommand>(sent.begin() + 1, sent.end()), c.sentAfterRead);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(Box(names[i])->isChecked(), c.after[i]) << names[i];
  }
}

}  // namespace
}  // namespace varnok
