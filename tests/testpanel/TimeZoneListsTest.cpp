#include <gtest/gtest.h>

#include <set>
#include <string>

#include "testpanel/TimeZoneLists.h"
#include "testpanel/ZoneCheck.h"

namespace varnok {
namespace {

TEST(TimeZoneItems, EightyTwoQuotedNamesFromMidwayToTongatapu) {
  const std::vector<std::string> items = TimeZoneItems();
  ASSERT_EQ(items.size(), 82u);
  EXPECT_EQ(items.front(), "    \"Pacific/Midway\",");
  // The last item lacks its closing quote and comma.
  EXPECT_EQ(items.back(), "    \"Pacific/Tongatapu");

  std::set<std::string> names;
  for (std::size_t i = 0; i + 1 < items.size(); ++i) {
    SCOPED_TRACE(items[i]);
    const std::string& item = items[i];
    ASSERT_GT(item.size(), 7u);
    EXPECT_EQ(item.substr(0, 5), "    \"");
    EXPECT_EQ(item.substr(item.size() - 2), "\",");
    const std::string name = item.substr(5, item.size() - 7);
    EXPECT_NE(name.find('/'), std::string::npos) << "a time-zone database name is Area/Location";
    EXPECT_EQ(name.find('"'), std::string::npos);
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 81u) << "no name twice";
}

TEST(MonthItems, TwelveMonthsAsTheListShowsThem) {
  EXPECT_EQ(MonthItems(), (std::vector<std::string>{"Jan", "Feb", "Mar", "April", "May", "June", "July",
                                                    "Aug", "Sept", "Oct", "Nov", "Dec"}));
}

TEST(SetZoneCheck, AsksForTheProgramNameAndAnswersYesOrNO) {
  std::vector<std::string> asked;
  const auto runningOnly = [&](const std::string& name) {
    asked.push_back(name);
    return name == "QXC.exe";
  };
  EXPECT_EQ(SetZoneCheck("QXC.exe", runningOnly), "Yes");
  EXPECT_EQ(SetZoneCheck("qxc.exe", runningOnly), "NO");
  EXPECT_EQ(asked, (std::vector<std::string>{"QXC.exe", "qxc.exe"}));
  EXPECT_EQ(SetZoneCheck("QXC.exe", nullptr), "NO") << "no process check: nothing known to run";
}

}  // namespace
}  // namespace varnok
