#include "console/CommandHistory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnok {
namespace {

using Entries = std::vector<std::string>;

Entries Numbered(int count, const std::string& prefix = "cmd") {
  Entries e;
  for (int i = 0; i < count; ++i) e.push_back(prefix + std::to_string(i));
  return e;
}

TEST(CommandHistory, NewCommandGoesToTheTop) {
  CommandHistory h({"software", "fault", "status", "line"});
  EXPECT_TRUE(h.RememberCommand("temp 3", false));
  EXPECT_EQ(h.Entries(), (Entries{"temp 3", "software", "fault", "status", "line"}));
}

TEST(CommandHistory, ExistingEntryIsNotMoved) {
  CommandHistory h({"software", "fault", "status", "line"});
  EXPECT_FALSE(h.RememberCommand("status", false));
  EXPECT_EQ(h.Entries(), (Entries{"software", "fault", "status", "line"}));
}

TEST(CommandHistory, ComparisonIsCaseSensitive) {
  CommandHistory h({"status"});
  EXPECT_TRUE(h.RememberCommand("STATUS", false));
  EXPECT_EQ(h.Entries(), (Entries{"STATUS", "status"}));
}

TEST(CommandHistory, SelectedEntryIsNotRemembered) {
  CommandHistory h({"a", "b"});
  EXPECT_FALSE(h.RememberCommand("c", true));
  EXPECT_EQ(h.Entries(), (Entries{"a", "b"}));
}

TEST(CommandHistory, TwentyFirstCommandDropsTheBottomEntry) {
  CommandHistory h;
  for (const std::string& c : Numbered(21)) h.RememberCommand(c, false);
  ASSERT_EQ(h.Entries().size(), 20u);
  EXPECT_EQ(h.Entries().front(), "cmd20");
  EXPECT_EQ(h.Entries().back(), "cmd1");  // cmd0, the oldest, went
}

TEST(CommandHistory, LongerStoredListLosesOnlyOneEntryPerInsertion) {
  CommandHistory h(Numbered(25));
  h.RememberCommand("new", false);
  ASSERT_EQ(h.Entries().size(), 25u);
  EXPECT_EQ(h.Entries().front(), "new");
  EXPECT_EQ(h.Entries().back(), "cmd23");
}

TEST(CommandHistory, ForgetRemovesOnlyTheUpperDuplicate) {
  CommandHistory h({"x", "dup", "y", "dup"});
  EXPECT_TRUE(h.ForgetCommand("dup"));
  EXPECT_EQ(h.Entries(), (Entries{"x", "y", "dup"}));
}

TEST(CommandHistory, ForgetOfUnknownTextChangesNothing) {
  CommandHistory h({"x", "Dup"});
  EXPECT_FALSE(h.ForgetCommand("dup"));
  EXPECT_FALSE(h.ForgetCommand(""));
  EXPECT_EQ(h.Entries(), (Entries{"x", "Dup"}));
}

TEST(CommandHistory, SortIgnoresCaseAndLaterEntriesStillGoOnTop) {
  CommandHistory h({"status", "Fault", "line", "software", "apple", "LINE"});
  EXPECT_FALSE(h.SortedMode());
  h.Sort();
  EXPECT_TRUE(h.SortedMode());
  EXPECT_EQ(h.Entries(), (Entries{"apple", "Fault", "line", "LINE", "software", "status"}));
  h.RememberCommand("zeta", false);
  h.RememberCommand("alpha", false);
  EXPECT_EQ(h.Entries().front(), "alpha");
  EXPECT_EQ(h.Entries()[1], "zeta");
  EXPECT_TRUE(h.SortedMode());
}

}  // namespace
}  // namespace varnok
