#include <optional>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "core/SettingsFilePath.h"
#include "tests/support/TempFolder.h"

namespace varnok {
namespace {

namespace fs = std::filesystem;

class FakeLocation : public SettingsLocation {
 public:
  fs::path executable = "/opt/varnok/bin/varnok-omblet";
  std::set<fs::path> unwritable;  // files the program may not write
  fs::path ExecutablePath() const override { return executable; }
  bool CanWrite(const fs::path& file) const override { return unwritable.count(file) == 0; }
  fs::path userFolder = "/home/tech/.config/varnok-omblet";
  fs::path UserConfigFolder() const override { return userFolder; }
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
      {"/opt/varnok/bin/varnok-omblet", std::nullopt, false,
       "/home/tech/.config/varnok-omblet/varnok-omblet.INI"},
      {"/opt/varnok/bin/varnok-omblet", "site2.ini", false, "/home/tech/.config/varnok-omblet/site2.ini"},
      {"/opt/varnok/bin/varnok-omblet", "../etc/site.ini", false,
       "/home/tech/.config/varnok-omblet/site.ini"},
  };
  for (const auto& c : cases) {
    FakeLocation location;
    location.executable = c.executable;
    fs::path beside =
        fs::path(c.executable).parent_path() / (c.parameter && !c.parameter->empty() ? *c.parameter : "");
    if (!c.parameter || c.parameter->empty()) beside = fs::path(c.executable).replace_extension(".INI");
    if (!c.besideWritable) location.unwritable.insert(beside);
    EXPECT_EQ(SettingsFilePath(location, c.parameter), fs::path(c.expected))
        << c.executable << " " << c.parameter.value_or("(none)");
  }
}

// An installed program with a prepared file beside it: read that file while no per-user file exists,
// write only the per-user one.
TEST(SettingsFilePath, PreparedFileBesideAReadOnlyProgramIsRead) {
  enum Before { kNothing, kPreparedOnly, kBothExist, kUserFolderBlocked };
  const struct {
    const char* what;
    Before before;
    bool returnsUserFile;
    const char* userText;  // nullptr: no per-user file afterwards
  } cases[] = {
      {"prepared file copied", kPreparedOnly, true, "[Form1]\nTop=7\n"},
      {"per-user file kept as it is", kBothExist, true, "[Form1]\nTop=99\n"},
      {"nothing prepared", kNothing, true, nullptr},
      {"per-user folder cannot be made", kUserFolderBlocked, false, nullptr},
  };
  for (const auto& c : cases) {
    testing::TempFolder root;
    fs::create_directories(root.Path() / "opt");
    FakeLocation location;
    location.executable = root.Path() / "opt" / "varnok-omblet";
    location.userFolder = root.Path() / "home" / ".config" / "varnok-omblet";
    const fs::path beside = root.Path() / "opt" / "varnok-omblet.INI";
    const fs::path userFile = location.userFolder / "varnok-omblet.INI";
    location.unwritable.insert(beside);
    if (c.before != kNothing) root.Write("opt/varnok-omblet.INI", "[Form1]\nTop=7\n");
    if (c.before == kBothExist) {
      fs::create_directories(location.userFolder);
      root.Write("home/.config/varnok-omblet/varnok-omblet.INI", "[Form1]\nTop=99\n");
    }
    if (c.before == kUserFolderBlocked) root.Write("home", "a file where the folder would go");

    const fs::path chosen = SettingsFilePath(location, std::nullopt);
    EXPECT_EQ(chosen, c.returnsUserFile ? userFile : beside) << c.what;
    if (c.before != kNothing) {
      EXPECT_EQ(root.Read("opt/varnok-omblet.INI"), "[Form1]\nTop=7\n") << c.what;
    }
    if (c.userText == nullptr) {
      EXPECT_FALSE(fs::exists(userFile)) << c.what;
    } else {
      EXPECT_EQ(root.Read("home/.config/varnok-omblet/varnok-omblet.INI"), c.userText) << c.what;
    }
  }
}

TEST(SettingsFilePath, SystemLocationFindsThisExecutable) {
  auto location = MakeSystemSettingsLocation();
  EXPECT_EQ(location->ExecutablePath().filename(), "core_settings_tests");
  EXPECT_TRUE(location->CanWrite(fs::temp_directory_path() / "varnok-probe.INI"));
  EXPECT_FALSE(location->CanWrite("/proc/self/exe/varnok-probe.INI"));  // a folder that is not one
  EXPECT_FALSE(location->CanWrite(fs::temp_directory_path() / "no-such-folder-varnok" / "x.INI"));
  EXPECT_EQ(location->UserConfigFolder().filename(), "varnok-omblet");
}

}  // namespace
}  // namespace varnok
