#include <optional>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "SettingsFilePath.h"

namespace varnok {
namespace {

namespace fs = std::filesystem;

class FakeLocation : public SettingsLocation {
 public:
  fs::path executable = "/opt/varnok/bin/varnok-omblet";
  std::set<fs::path> unwritable;  // files the program may not write
  fs::path ExecutablePath() const override { return executable; }
  bool CanWrite(const fs::path& file) const override { return unwritable.count(file) == 0; }
  fs::path UserConfigFolder() const override { return "/home/tech/.config/varnok-omblet"; }
};

struct PathCase {
  const char* executable;
  std::optional<std::string> parameter;
  bool besideWritable;
  const char* expected;
};

TEST(SettingsFilePath, Cases) {
  const PathCase cases[] = {
      {"/opt/varnok/bin/varnok-omblet", std::nullopt, true, "/opt/varnok/bin/varnok-omblet.INI"},
      {"/opt/varnok/bin/Omblet.exe", std::nullopt, true, "/opt/varnok/bin/Omblet.INI"},
      {"/opt/varnok/bin/varnok-omblet", "site2.ini", true, "/opt/varnok/bin/site2.ini"},
      {"/opt/varnok/bin/varnok-omblet", "sites/north.ini", true, "/opt/varnok/bin/sites/north.ini"},
      {"/opt/varnok/bin/varnok-omblet", "", true, "/opt/varnok/bin/varnok-omblet.INI"},
      // An installed program cannot write beside itself: the per-user folder holds the file.
      {"/opt/varnok/bin/varnok-omblet", std::nullopt, false, "/home/tech/.config/varnok-omblet/varnok-omblet.INI"},
      {"/opt/varnok/bin/varnok-omblet", "site2.ini", false, "/home/tech/.config/varnok-omblet/site2.ini"},
      {"/opt/varnok/bin/varnok-omblet", "../etc/site.ini", false, "/home/tech/.config/varnok-omblet/site.ini"},
  };
  for (const auto& c : cases) {
    FakeLocation location;
    location.executable = c.executable;
    fs::path beside = fs::path(c.executable).parent_path() /
                      (c.parameter && !c.parameter->empty() ? *c.parameter : "");
    if (!c.parameter || c.parameter->empty()) beside = fs::path(c.executable).replace_extension(".INI");
    if (!c.besideWritable) location.unwritable.insert(beside);
    EXPECT_EQ(SettingsFilePath(location, c.parameter), fs::path(c.expected))
        << c.executable << " " << c.parameter.value_or("(none)");
  }
}

TEST(SettingsFilePath, SystemLocationFindsThisExecutable) {
  auto location = MakeSystemSettingsLocation();
  EXPECT_EQ(location->ExecutablePath().filename(), "app_settings_tests");
  EXPECT_TRUE(location->CanWrite(fs::temp_directory_path() / "varnok-probe.INI"));
  EXPECT_FALSE(location->CanWrite("/proc/self/exe/varnok-probe.INI"));  // a folder that is not one
  EXPECT_FALSE(location->CanWrite(fs::temp_directory_path() / "no-such-folder-varnok" / "x.INI"));
  EXPECT_EQ(location->UserConfigFolder().filename(), "varnok-omblet");
}

}  // namespace
}  // namespace varnok
