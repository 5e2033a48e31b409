#include "calibration/FileMaskList.h"

#include <gtest/gtest.h>

#include "tests/support/TempFolder.h"

namespace varnok {
namespace {

using testing::TempFolder;

TEST(MatchesFileMask, WildcardsIgnoringCase) {
  struct Case {
    const char* name;
    const char* mask;
    bool matches;
  } const cases[] = {
      {"20261209ln2.csv", "*ln2.csv", true},
      {"A_LN2.CSV", "*ln2.csv", true},
      {"ln2.csv", "*ln2.csv", true},
      {"x_ln2.csv.bak", "*ln2.csv", false},
      {"x_tip.csv", "*ln2.csv", false},
      {"ln2ln2.csv", "*ln2.csv", true},
      {"a1b", "a?b", true},
      {"ab", "a?b", false},
      {"abc", "*", true},
      {"abc", "a*c*", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchesFileMask(c.name, c.mask), c.matches) << c.name << " " << c.mask;
}

TEST(ListFilesByMask, OrdinaryMatchingFilesSortedByName) {
  TempFolder folder;
  for (const char* name : {"b_ln2.csv", "A_LN2.csv", "c_tip.csv", ".hidden_ln2.csv", "notes.txt"}) {
    folder.Write(name, "x");
  }
  std::filesystem::create_directory(folder.Path() / "folder_ln2.csv");
  using Names = std::vector<std::filesystem::path>;
  EXPECT_EQ(ListFilesByMask(folder.Path(), "*ln2.csv"), (Names{"A_LN2.csv", "b_ln2.csv"}));
  EXPECT_EQ(ListFilesByMask(folder.Path(), "*tip.csv"), (Names{"c_tip.csv"}));
  EXPECT_TRUE(ListFilesByMask(folder.Path() / "missing", "*").empty());
}

}  // namespace
}  // namespace varnok
