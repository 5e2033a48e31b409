#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/AppError.h"
#include "core/SettingsFile.h"

namespace varnok {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("varnok-settings-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(folder_);
  }
  fs::path File(const std::string& name) const { return folder_ / name; }
  static void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // The file's text with the line ends a fresh file gets on this system made plain LF.
  static std::string ReadText(const fs::path& path) {
    std::string text = ReadBytes(path);
#ifdef _WIN32
    std::erase(text, '\r');  // Windows lines end in CR LF
#endif
    return text;
  }
  fs::path folder_;
};

TEST_F(SettingsFileTest, MissingFileAndKeysGiveDefaults) {
  SettingsFile settings(File("none.INI"));
  EXPECT_EQ(settings.ReadInteger("Form", "Top", 100), 100);
  EXPECT_EQ(settings.ReadString("Form", "CurrentIP", "10.0.0.1"), "10.0.0.1");
  EXPECT_TRUE(settings.ReadBool("Chart", "Last", true));
  EXPECT_FALSE(fs::exists(File("none.INI")));  // reading never creates the file
}

TEST_F(SettingsFileTest, IntegersAndBooleansAsStored) {
  WriteText(File("a.INI"),
            "[Form]\nDec=42\nNeg=-7\nDollar=$1F\nHex=0x10\nWord=abc\nHalf=1.5\nEmpty=\nSpaced= 12\n"
            "[Chart]\nOn=1\nOff=0\nOther=5\nJunk=yes\n");
  SettingsFile settings(File("a.INI"));
  const struct {
    const char* key;
    int expected;
  } integers[] = {{"Dec", 42},  {"Neg", -7},  {"Dollar", 31}, {"Hex", 16},
                  {"Word", 99}, {"Half", 99}, {"Empty", 99},  {"Spaced", 12}};
  for (const auto& c : integers) EXPECT_EQ(settings.ReadInteger("Form", c.key, 99), c.expected) << c.key;
  EXPECT_TRUE(settings.ReadBool("Chart", "On", false));
  EXPECT_FALSE(settings.ReadBool("Chart", "Off", true));
  EXPECT_TRUE(settings.ReadBool("Chart", "Other", false));
  EXPECT_FALSE(settings.ReadBool("Chart", "Junk", false));
  EXPECT_TRUE(settings.ReadBool("Chart", "Junk", true));
  // Keys and sections match in any letter case, as in the usual settings-file format.
  EXPECT_EQ(settings.ReadInteger("form", "DEC", 0), 42);
}

TEST_F(SettingsFileTest, ValuesAreRawAndWhole) {
  const std::string longValue(5000, 'x');
  WriteText(File("raw.INI"), "[Form]\nIPAddress=\"lab host, 2\",COM1;x\\y\nLong=" + longValue + "\n");
  SettingsFile settings(File("raw.INI"));
  EXPECT_EQ(settings.ReadString("Form", "IPAddress", ""), "\"lab host, 2\",COM1;x\\y");
  EXPECT_EQ(settings.ReadString("Form", "Long", ""), longValue);
}

TEST_F(SettingsFileTest, SaveKeepsUnknownKeysSectionsAndComments) {
  WriteText(File("keep.INI"),
            "; written by hand\n[Form]\nTop=5\nQXName=Other.exe\nMyKey=mine\n[Extra]\nA=1\n");
  {
    SettingsFile settings(File("keep.INI"));
    settings.WriteInteger("Form", "Top", 250);
    settings.WriteString("Chart", "Timer", "2.5");
    settings.WriteBool("Chart", "Last", true);
    settings.Save();
  }
  const std::string text = ReadText(File("keep.INI"));
  EXPECT_NE(text.find("; written by hand"), std::string::npos) << text;
  EXPECT_NE(text.find("Top=250\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("Top=5"), std::string::npos) << text;
  EXPECT_NE(text.find("QXName=Other.exe"), std::string::npos) << text;
  EXPECT_NE(text.find("MyKey=mine"), std::string::npos) << text;
  EXPECT_NE(text.find("[Extra]"), std::string::npos) << text;
  EXPECT_NE(text.find("Timer=2.5\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Last=1\n"), std::string::npos) << text;
  EXPECT_NE(text.rfind("[Chart]"), std::string::npos) << text;
  EXPECT_NE(text.substr(0, 3), "\xEF\xBB\xBF");  // no byte-order mark

  SettingsFile again(File("keep.INI"));
  EXPECT_EQ(again.ReadInteger("Form", "Top", 0), 250);
  EXPECT_EQ(again.ReadString("Extra", "A", ""), "1");
  EXPECT_TRUE(again.ReadBool("Chart", "Last", false));
}

TEST_F(SettingsFileTest, WrittenValuesStayOnOneLine) {
  {
    SettingsFile settings(File("line.INI"));
    settings.WriteString("Form", "CurrentIP", "a\r\nInjected=1");
    settings.Save();
  }
  SettingsFile again(File("line.INI"));
  EXPECT_EQ(again.ReadString("Form", "Injected", "none"), "none");
  EXPECT_EQ(again.ReadString("Form", "CurrentIP", ""), "a  Injected=1");
}

TEST_F(SettingsFileTest, SaveCreatesTheUserFolderWhenMissing) {
  const fs::path nested = folder_ / "config" / "varnok-omblet" / "x.INI";
  SettingsFile settings(nested);
  settings.WriteInteger("Form", "Top", 1);
  settings.Save();
  EXPECT_EQ(SettingsFile(nested).ReadInteger("Form", "Top", 0), 1);
}

#ifndef _WIN32  // a folder's permission bits do not stop writes on Windows
TEST_F(SettingsFileTest, UnwritableFolderFailsWithItsMessageAndKeepsTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  WriteText(File("ro.INI"), "[Form]\nTop=5\n");
  SettingsFile settings(File("ro.INI"));
  settings.WriteInteger("Form", "Top", 7);
  ::chmod(folder_.c_str(), 0555);
  try {
    settings.Save();
    ADD_FAILURE() << "saved into a read-only folder";
  } catch (const AppError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + File("ro.INI").string());
  }
  ::chmod(folder_.c_str(), 0755);
  EXPECT_EQ(ReadText(File("ro.INI")), "[Form]\nTop=5\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator{}), 1);  // no temp left
}
#endif

TEST_F(SettingsFileTest, FailuresNameTheFileAndLeaveNoTemporaryFile) {
  WriteText(File("plain"), "not a folder");
  fs::create_directories(File("folder.INI") / "inside");  // a folder where the file should be
  const fs::path cases[] = {File("plain") / "x.INI", File("folder.INI")};
  for (const auto& path : cases) {
    SettingsFile settings(path);
    settings.WriteInteger("Form", "Top", 7);
    try {
      settings.Save();
      ADD_FAILURE() << "saved to " << path;
    } catch (const AppError& e) {
      EXPECT_EQ(std::string(e.what()), "Unable to write to " + path.string());
    }
  }
  EXPECT_TRUE(fs::is_directory(File("folder.INI") / "inside"));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator{}), 2);
}

TEST_F(SettingsFileTest, SavingTheValuesItHoldsWritesTheFileBackByteForByte) {
  const std::string original =
      "\xEF\xBB\xBF; kept\r\n[Form]\r\nTop = 5\r\nstray line\r\n[Site\r\nName=a\0b\r\n[Form2]\r\nCmd=x\r\n; end"s;
  WriteText(File("same.INI"), original);
  {
    SettingsFile settings(File("same.INI"));
    settings.WriteInteger("Form", "Top", settings.ReadInteger("Form", "Top", 0));
    settings.WriteString("Site", "Name", settings.ReadString("Site", "Name", ""));
    settings.Save();
  }
  EXPECT_EQ(ReadBytes(File("same.INI")), original);
  {
    SettingsFile settings(File("same.INI"));
    settings.WriteInteger("Form", "Top", 6);
    settings.Save();
  }
  std::string changed = original;
  changed.replace(changed.find("Top = 5"), 7, "Top = 6");
  EXPECT_EQ(ReadBytes(File("same.INI")), changed);
}

#ifndef _WIN32  // a live parent process and file permissions as POSIX has them
TEST_F(SettingsFileTest, StartRemovesOnlyTheTemporariesOfEndedSaves) {
  const std::string stale = ".s.INI.saving-999999999-abcdef";  // no process has that number
  const std::string live = ".s.INI.saving-" + std::to_string(::getppid()) + "-abcdef";
  const std::string others[] = {"s.INI.backup", ".t.INI.saving-999999999-abcdef", live};
  WriteText(File("s.INI"), "[Form]\nTop=5\n");
  WriteText(File(stale), "half a file");
  for (const auto& name : others) WriteText(File(name), "mine");
  SettingsFile settings(File("s.INI"));
  EXPECT_FALSE(fs::exists(File(stale)));
  for (const auto& name : others) EXPECT_TRUE(fs::exists(File(name))) << name;
  EXPECT_EQ(settings.ReadInteger("Form", "Top", 0), 5);
  settings.WriteInteger("Form", "Top", 6);
  settings.Save();
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator{}), 4);  // no new litter
}

TEST_F(SettingsFileTest, AFileThatCannotBeReadIsNeverReplaced) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  WriteText(File("locked.INI"), "[Form]\nTop=5\n[Mine]\nKeep=1\n");
  ::chmod(File("locked.INI").c_str(), 0200);
  SettingsFile settings(File("locked.INI"));
  EXPECT_EQ(settings.ReadInteger("Form", "Top", 100), 100);
  settings.WriteInteger("Form", "Top", 7);
  EXPECT_THROW(settings.Save(), AppError);
  ::chmod(File("locked.INI").c_str(), 0600);
  EXPECT_EQ(ReadText(File("locked.INI")), "[Form]\nTop=5\n[Mine]\nKeep=1\n");
}
#endif

}  // namespace
}  // namespace varnok
