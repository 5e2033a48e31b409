#include "calibration/ParameterList.h"

#include <gtest/gtest.h>

#include "tests/support/TempFolder.h"

namespace varnok {
namespace {

using testing::TempFolder;

TEST(ParameterList, RowsWithAndWithoutEquals) {
  TempFolder folder;
  const auto file = folder.Write("status.csv", "Tamb=293.15\r\n12,0,31,5.5\r\nkey=a=b\r\n=x\r\n\r\nlast=");
  const std::optional<std::vector<ParameterRow>> rows = ReadParameterFile(file);
  ASSERT_TRUE(rows.has_value());
  const std::vector<ParameterRow> expected = {
      {"Tamb", "293.15"}, {"", "12,0,31,5.5"}, {"key", "a=b"}, {"", "x"}, {"", ""}, {"last", ""},
  };
  EXPECT_EQ(*rows, expected);
  EXPECT_FALSE(ReadParameterFile(folder.Path() / "missing.csv").has_value());
}

}  // namespace
}  // namespace varnok
