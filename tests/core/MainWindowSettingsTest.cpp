#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "core/MainWindowSettings.h"
#include "core/SettingsFile.h"

namespace varnok {
namespace {

namespace fs = std::filesystem;

class MainWindowSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = fs::temp_directory_path() /
            ("varnok-mws-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".INI");
    fs::remove(path_);
  }
  void TearDown() override { fs::remove(path_); }
  MainWindowSettings ReadFrom(const std::string& text) {
    std::ofstream(path_, std::ios::binary) << text;
    return ReadMainWindowSettings(SettingsFile(path_));
  }
  fs::path path_;
};

TEST_F(MainWindowSettingsTest, DefaultsWithoutFile) {
  const MainWindowSettings s = ReadMainWindowSettings(SettingsFile(path_));
  EXPECT_EQ(s.top, 100);
  EXPECT_EQ(s.left, 100);
  EXPECT_EQ(s.width, 970);
  EXPECT_EQ(s.height, 640);
  EXPECT_EQ(s.unitAddress, 0);
  EXPECT_EQ(s.ipAddresses, (std::vector<std::string>{kFactoryAddress, "COM1"}));
  EXPECT_EQ(s.currentIP, kFactoryAddress);
  EXPECT_EQ(s.qxName, "QXC.exe");
  EXPECT_EQ(s.chartWindow, 5000);
  EXPECT_EQ(s.chartTimer, "1.0");
  EXPECT_FALSE(s.chartLast);
}

TEST_F(MainWindowSettingsTest, StoredValuesClampedOrDefaulted) {
  const struct {
    const char* file;
    int MainWindowSettings::*field;
    int expected;
  } cases[] = {
      {"[Chart]\nWindow=0\n", &MainWindowSettings::chartWindow, 1},
      {"[Chart]\nWindow=200000\n", &MainWindowSettings::chartWindow, 100000},
      {"[Chart]\nWindow=-5\n", &MainWindowSettings::chartWindow, 1},
      {"[Chart]\nWindow=$10\n", &MainWindowSettings::chartWindow, 16},
      {"[Form]\nUnitAddress=300\n", &MainWindowSettings::unitAddress, 255},
      {"[Form]\nUnitAddress=-1\n", &MainWindowSettings::unitAddress, 0},
      {"[Form]\nUnitAddress=0x0A\n", &MainWindowSettings::unitAddress, 10},
      {"[Form]\nTop=abc\n", &MainWindowSettings::top, 100},
      {"[Form]\nLeft=12.5\n", &MainWindowSettings::left, 100},
      {"[Form]\nWidth=1200\n", &MainWindowSettings::width, 1200},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadFrom(c.file).*c.field, c.expected) << c.file;
  }
}

TEST_F(MainWindowSettingsTest, EveryKeyRoundTripsAndQXNameIsNotWritten) {
  MainWindowSettings written;
  written.top = 33;
  written.left = -20;  // a window on a screen left of the main one
  written.width = 1111;
  written.height = 777;
  written.unitAddress = 200;
  written.ipAddresses = {"lab host, north", "COM3", "say \"x\"", "10.1.2.3:5020"};
  written.currentIP = "lab host, north";
  written.qxName = "Changed.exe";
  written.chartWindow = 1234;
  written.chartTimer = "0,5";
  written.chartLast = true;
  {
    SettingsFile file(path_);
    WriteMainWindowSettings(file, written);
    file.Save();
  }
  const MainWindowSettings read = ReadMainWindowSettings(SettingsFile(path_));
  EXPECT_EQ(read.top, written.top);
  EXPECT_EQ(read.left, written.left);
  EXPECT_EQ(read.width, written.width);
  EXPECT_EQ(read.height, written.height);
  EXPECT_EQ(read.unitAddress, written.unitAddress);
  EXPECT_EQ(read.ipAddresses, written.ipAddresses);
  EXPECT_EQ(read.currentIP, written.currentIP);
  EXPECT_EQ(read.chartWindow, written.chartWindow);
  EXPECT_EQ(read.chartTimer, written.chartTimer);
  EXPECT_EQ(read.chartLast, written.chartLast);
  EXPECT_EQ(read.qxName, "QXC.exe");  // never written, so still the default
}

TEST_F(MainWindowSettingsTest, EmptyAddressListStaysEmpty) {
  EXPECT_TRUE(ReadFrom("[Form]\nIPAddress=\n").ipAddresses.empty());
}

}  // namespace
}  // namespace varnok
