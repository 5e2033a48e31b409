#include "link/LinkAddress.h"

#include <gtest/gtest.h>

#include "link/AddressList.h"
#include "link/ModelFromReply.h"
#include "link/SerialDeviceName.h"

namespace varnok {
namespace {

TEST(LinkAddress, Preparation) {
  const struct {
    const char* typed;
    const char* prepared;
  } cases[] = {
      {"http://192.168.1.20/", "192.168.1.20"},
      {"HTTP://192.168.1.20", "192.168.1.20"},
      {"Https://radiometer.example/", "radiometer.example"},
      {"192.168.1.20//", "192.168.1.20/"},
      {"host/", "host"},
      {"httpbox", "httpbox"},  // no "//": used as typed
      {"10.0.0.5:5020", "10.0.0.5:5020"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(PrepareAddressText(c.typed), c.prepared) << c.typed;
  const std::string longName(150, 'h');
  EXPECT_EQ(PrepareAddressText(longName), longName) << "long addresses are not cut";
}

TEST(LinkAddress, Interpretation) {
  const struct {
    const char* typed;
    bool serial;
    const char* device;
    const char* host;
    int port;  // 0: none
  } cases[] = {
      {"com3", true, "/dev/ttyS2", "", 0},
      {"COM1", true, "/dev/ttyS0", "", 0},
      {"Com12", true, "/dev/ttyS11", "", 0},
      {"computer1", true, "/dev/computer1", "", 0},
      {"/dev/pts/4", true, "/dev/pts/4", "", 0},
      {"/tmp/varnok-tty", true, "/tmp/varnok-tty", "", 0},
      {"10.0.0.5", false, "", "10.0.0.5", 0},
      {"10.0.0.5:5020", false, "", "10.0.0.5", 5020},
      {"http://10.0.0.5:5020/", false, "", "10.0.0.5", 5020},
      {"radiometer:502", false, "", "radiometer", 502},
      {"host:abc", false, "", "host:abc", 0},
      {"host:0", false, "", "host:0", 0},
      {"host:70000", false, "", "host:70000", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    const auto a = InterpretAddress(c.typed);
    EXPECT_EQ(a.serial, c.serial);
    EXPECT_EQ(a.device, c.device);
    EXPECT_EQ(a.host, c.host);
    EXPECT_EQ(a.port.value_or(0), c.port);
  }
}

TEST(LinkAddress, PortText) {
  EXPECT_EQ(ParsePortText("502"), 502);
  EXPECT_EQ(ParsePortText("+5020"), 5020);
  EXPECT_EQ(ParsePortText("-1"), -1);
  EXPECT_EQ(ParsePortText("0"), 0);
  for (const char* bad : {"", "abc", "50 2", "502x", "99999999999"}) EXPECT_FALSE(ParsePortText(bad)) << bad;
}

TEST(ModelFromReply, TextBeforeTheOkLine) {
  EXPECT_EQ(ModelFromReply("QX-7100A\r\nOK\r\n"), "QX-7100A");
  EXPECT_EQ(ModelFromReply("QX-7100A"), "QX-7100A");
  EXPECT_EQ(ModelFromReply("QX\r\nrev 2\r\nOK\r\n"), "QX\r\nrev 2");
  EXPECT_EQ(ModelFromReply("QX\nOK\r\n"), "QX\nOK\r\n");
  EXPECT_EQ(ModelFromReply("\r\nOK"), "");
}

TEST(AddressList, NewestFirstOnceEach) {
  std::vector<std::string> list = {"10.0.0.1", "COM3"};
  EXPECT_TRUE(RememberAddress(list, "10.0.0.9", -1));
  EXPECT_EQ(list, (std::vector<std::string>{"10.0.0.9", "10.0.0.1", "COM3"}));
  EXPECT_FALSE(RememberAddress(list, "COM3", -1));
  EXPECT_TRUE(RememberAddress(list, "com3", -1)) << "letter case counts";
  EXPECT_EQ(list.front(), "com3");
  EXPECT_FALSE(RememberAddress(list, "10.0.0.1", 2)) << "the selected entry";
  EXPECT_EQ(list.size(), 4u);
}

TEST(AddressList, TwentyEntriesAtMostOneDropPerAddress) {
  std::vector<std::string> list;
  for (int i = 0; i < 20; ++i) list.push_back("host" + std::to_string(i));
  EXPECT_TRUE(RememberAddress(list, "new", -1));
  EXPECT_EQ(list.size(), 20u);
  EXPECT_EQ(list.front(), "new");
  EXPECT_EQ(list.back(), "host18");

  std::vector<std::string> fromSettings(23, "");
  for (int i = 0; i < 23; ++i) fromSettings[i] = "s" + std::to_string(i);
  RememberAddress(fromSettings, "new", -1);
  EXPECT_EQ(fromSettings.size(), 23u);
  EXPECT_EQ(fromSettings.back(), "s21");
}

}  // namespace
}  // namespace varnok
