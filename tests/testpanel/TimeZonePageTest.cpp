#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "tests/support/FakeInstrumentLink.h"
#include "testpanel/TimeZonePage.h"

namespace varnok {
namespace {

using testing::FakeInstrumentLink;

TEST(TimeZonePage, ControlsStartWithTheirTexts) {
  TimeZonePage page;
  EXPECT_EQ(page.objectName(), "TimeZonePage");
  const auto combo = [&](const char* name) { return page.findChild<QComboBox*>(name); };
  ASSERT_NE(combo("DTMonth"), nullptr);
  EXPECT_EQ(combo("DTMonth")->currentText(), "Jan");
  EXPECT_EQ(combo("DTMonth")->count(), 12);
  EXPECT_EQ(combo("DTMonth")->itemText(3), "April");
  ASSERT_NE(combo("DTDay"), nullptr);
  EXPECT_EQ(combo("DTDay")->currentText(), "1");
  EXPECT_EQ(combo("DTDay")->count(), 0);
  ASSERT_NE(combo("DTYear"), nullptr);
  EXPECT_EQ(combo("DTYear")->currentText(), "2012");
  ASSERT_NE(combo("ComboBox5"), nullptr);
  EXPECT_EQ(combo("ComboBox5")->currentText(), "GMT");
  EXPECT_EQ(combo("ComboBox5")->count(), 82);

  const std::pair<const char*, const char*> edits[] = {{"Edit1", "19"}, {"Edit3", "55"}, {"Edit2", "40"}};
  int lastX = -1;
  for (const auto& [name, text] : edits) {
    auto* edit = page.findChild<QLineEdit*>(name);
    ASSERT_NE(edit, nullptr) << name;
    EXPECT_EQ(edit->text(), text);
    EXPECT_GT(edit->x(), lastX) << name << " in screen order hours, minutes, seconds";
    lastX = edit->x();
  }
  const std::pair<const char*, const char*> buttons[] = {
      {"BitBtn16", "Set Time"}, {"BitBtn17", "Cancel"}, {"BitBtn18", "Set Zone"}};
  for (const auto& [name, caption] : buttons) {
    auto* button = page.findChild<QPushButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    EXPECT_EQ(button->text(), caption);
  }
  bool titled = false;
  for (auto* label : page.findChildren<QLabel*>()) {
    titled = titled || (label->text() == "System Configuration " && label->font().bold());
  }
  EXPECT_TRUE(titled);
}

TEST(TimeZonePage, SetZoneReportsWhetherTheProgramRunsAndSendsNothing) {
  for (bool connected : {true, false}) {
    for (bool running : {true, false}) {
      SCOPED_TRACE(::testing::Message() << "connected=" << connected << " running=" << running);
      FakeInstrumentLink link;
      link.connected = connected;
      std::vector<std::string> asked;
      TimeZonePage page;
      page.BindZoneCheck({&link, [] { return std::string("QX Runner.exe"); },
                          [&](const std::string& name) {
                            asked.push_back(name);
                            return running;
                          }});
      page.findChild<QPushButton*>("BitBtn18")->click();
      EXPECT_EQ(asked, std::vector<std::string>{"QX Runner.exe"});
      EXPECT_EQ(link.statusTexts, std::vector<std::string>{running ? "Yes" : "NO"});
      EXPECT_TRUE(link.sent.empty());
      EXPECT_EQ(link.sentTexts.size(), 0u);
    }
  }
}

TEST(TimeZonePage, SetTimeAndCancelDoNothing) {
  FakeInstrumentLink link;
  TimeZonePage page;
  bool asked = false;
  page.BindZoneCheck({&link, nullptr, [&](const std::string&) { return asked = true; }});
  page.findChild<QPushButton*>("BitBtn16")->click();
  page.findChild<QPushButton*>("BitBtn17")->click();
  EXPECT_FALSE(asked);
  EXPECT_TRUE(link.statusTexts.empty());
  EXPECT_TRUE(link.sent.empty());
}

}  // namespace
}  // namespace varnok
