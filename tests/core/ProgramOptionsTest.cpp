#include <gtest/gtest.h>

#include "core/AppError.h"
#include "core/ProgramOptions.h"

namespace varnok {
namespace {

TEST(ProgramOptions, SettingsNameAndOptions) {
  const ProgramOptions none = ParseProgramOptions({});
  EXPECT_FALSE(none.settingsName);
  EXPECT_FALSE(none.connect);

  const ProgramOptions all = ParseProgramOptions(
      {"--address", "127.0.0.1:5020", "site2.ini", "--connect", "other.ini", "--screenshots", "out"});
  EXPECT_EQ(all.settingsName, "site2.ini");  // the first parameter that is not an option
  EXPECT_EQ(all.address, "127.0.0.1:5020");
  EXPECT_TRUE(all.connect);
  EXPECT_EQ(all.screenshots, "out");
  EXPECT_FALSE(all.startupProbe);
  EXPECT_TRUE(ParseProgramOptions({"--startup-probe"}).startupProbe);
  EXPECT_FALSE(all.darkPalette);
  const ProgramOptions dark = ParseProgramOptions({"--dark-palette", "site3.ini"});
  EXPECT_TRUE(dark.darkPalette);
  EXPECT_EQ(dark.settingsName, "site3.ini");
  EXPECT_FALSE(all.trace) << "no trace file unless asked for";
}

TEST(ProgramOptions, TraceFileBesideTheSettingsName) {
  // The trace's value is never taken for the settings file, before or after it.
  const std::vector<std::vector<std::string>> cases = {{"--trace", "wire.txt", "site2.ini"},
                                                       {"site2.ini", "--trace", "wire.txt"}};
  for (const auto& c : cases) {
    const ProgramOptions options = ParseProgramOptions(c);
    EXPECT_EQ(options.trace, "wire.txt");
    EXPECT_EQ(options.settingsName, "site2.ini");
  }
}

TEST(ProgramOptions, RefusesUnknownOrIncomplete) {
  const std::vector<std::vector<std::string>> cases = {
      {"--bogus"}, {"--address"}, {"x.ini", "--screenshots"}, {"x.ini", "--trace"}};
  for (const auto& c : cases) EXPECT_THROW(ParseProgramOptions(c), AppError) << c.back();
}

}  // namespace
}  // namespace varnok
