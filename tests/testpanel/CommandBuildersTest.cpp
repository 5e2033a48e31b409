// The coded commands of the test tab, byte for byte, without any window.
#include <gtest/gtest.h>

#include <chrono>

#include "tests/support/FakeInstrumentLink.h"
#include "testpanel/DriveAction.h"
#include "testpanel/FanCommand.h"
#include "testpanel/OptionBits.h"

namespace varnok {
namespace {

using testing::Bytes;
using testing::FakeInstrumentLink;
using testing::TextBytes;
using B = std::vector<std::uint8_t>;

struct DriveCase {
  DriveButton button;
  std::vector<PanelCommand> commands;
};

TEST(DriveButtonAction, EachButtonSendsItsFixedDigitText) {
  const DriveCase cases[] = {
      {DriveButton::ElevationUp, {{4, TextBytes("0009000")}}},
      {DriveButton::ElevationRight, {{4, TextBytes("0018000")}}},
      {DriveButton::ElevationLeft, {{4, TextBytes("0000000")}}},
      {DriveButton::ElevationDown, {{4, TextBytes("0027000")}}},
      {DriveButton::ElevationHome, {{4, TextBytes("01")}}},
      {DriveButton::ElevationReset, {{4, TextBytes("07")}}},
      {DriveButton::AzimuthUpperLeft, {{5, TextBytes("00000")}}},
      // The upper right arrow drives to 0 degrees like the upper left one.
      {DriveButton::AzimuthUpperRight, {{5, TextBytes("00000")}}},
      {DriveButton::AzimuthHome, {{5, TextBytes("07")}, {5, TextBytes("01")}}},
      {DriveButton::AzimuthLowerLeft, {{5, TextBytes("00270")}}},
      {DriveButton::AzimuthLowerRight, {{5, TextBytes("00090")}}},
      // The azimuth panel's "Reset" is the elevation drive's reset, code 4.
      {DriveButton::AzimuthReset, {{4, TextBytes("07")}}},
  };
  for (const DriveCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.button));
    const DriveAction action = DriveButtonAction(c.button);
    EXPECT_EQ(action.commands, c.commands);
  }
}

TEST(RunDriveAction, PayloadStartsAZeroFilledBufferAndLengthIsTheDigitCount) {
  FakeInstrumentLink link;
  RunDriveAction(link, DriveButtonAction(DriveButton::ElevationUp));
  ASSERT_EQ(link.sent.size(), 1u);
  EXPECT_EQ(link.sent[0].code, 4);
  EXPECT_EQ(link.sent[0].length, 7);
  EXPECT_EQ(link.sent[0].payload, B({'0', '0', '0', '9', '0', '0', '0'}));
  EXPECT_TRUE(link.sent[0].restZero) << "no terminator or stale bytes after the digits";
}

TEST(RunDriveAction, AzimuthHomeSendsBothCommandsAPauseApartEvenWhenTheFirstFails) {
  FakeInstrumentLink link;
  link.timeEachCall = true;
  link.script = {{-1, {}}, {1, {0}}};
  RunDriveAction(link, DriveButtonAction(DriveButton::AzimuthHome));
  ASSERT_EQ(link.sent.size(), 2u);
  EXPECT_EQ(link.sent[0].payload, TextBytes("07"));
  EXPECT_EQ(link.sent[1].payload, TextBytes("01"));
  EXPECT_GE(*link.sent[1].at - *link.sent[0].at, std::chrono::milliseconds(2));
}

struct FanCase {
  int position;
  B payload;
};

TEST(FanSpeedCommand, PositionGoesOutAsSixteenBitLittleEndian) {
  const FanCase cases[] = {
      {0, {0x00, 0x00}},    {10, {0x0A, 0x00}},   {255, {0xFF, 0x00}},     {256, {0x00, 0x01}},
      {1000, {0xE8, 0x03}}, {4095, {0xFF, 0x0F}}, {0x12345, {0x45, 0x23}},  // only the low 16 bits travel
  };
  for (const FanCase& c : cases) {
    SCOPED_TRACE(c.position);
    const PanelCommand command = FanSpeedCommand(c.position);
    EXPECT_EQ(command.code, 3);
    EXPECT_EQ(command.Length(), 2);
    EXPECT_EQ(command.payload, c.payload);
  }
}

struct OptionCase {
  std::uint32_t mask;
  bool on;
  std::uint8_t code;
  B payload;
};

TEST(SetOptionBitCommand, SetsWithCode20AndClearsWithCode19) {
  const OptionCase cases[] = {
      {0x02, true, 20, {0x02, 0x00, 0x00, 0x00}},       {0x02, false, 19, {0x02, 0x00, 0x00, 0x00}},
      {0x04, true, 20, {0x04, 0x00, 0x00, 0x00}},       {0x04, false, 19, {0x04, 0x00, 0x00, 0x00}},
      {0x08, true, 20, {0x08, 0x00, 0x00, 0x00}},       {0x08, false, 19, {0x08, 0x00, 0x00, 0x00}},
      {0x10, true, 20, {0x10, 0x00, 0x00, 0x00}},       {0x10, false, 19, {0x10, 0x00, 0x00, 0x00}},
      {0x01020304, true, 20, {0x04, 0x03, 0x02, 0x01}},  // byte order of a wide mask
  };
  for (const OptionCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.mask << " on=" << c.on);
    const PanelCommand command = SetOptionBitCommand(c.mask, c.on);
    EXPECT_EQ(command.code, c.code);
    EXPECT_EQ(command.Length(), 4);
    EXPECT_EQ(command.payload, c.payload);
  }
}

TEST(OptionBoxes, MasksAndOrderOfTheFourBoxes) {
  ASSERT_EQ(kOptionBoxes.size(), 4u);
  const std::pair<std::string, std::uint32_t> expected[] = {
      {"OPb2", 0x02}, {"OPb4", 0x04}, {"OPb8", 0x08}, {"OPb10", 0x10}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(kOptionBoxes[i].name, expected[i].first);
    EXPECT_EQ(kOptionBoxes[i].mask, expected[i].second);
  }
  EXPECT_EQ(ReadOptionBitsCommand(), (PanelCommand{199, {}}));
}

struct DecodeCase {
  int result;
  B reply;
  std::optional<OptionStates> states;
};

TEST(DecodeOptionReply, ReadsBitsOneToFourOfByteZeroAndIgnoresShortReplies) {
  const DecodeCase cases[] = {
      {2, {0x1E, 0x00}, OptionStates{true, true, true, true}},
      {2, {0x01, 0x00}, OptionStates{false, false, false, false}},  // bit 0 is not shown
      {2, {0xE1, 0xFF}, OptionStates{false, false, false, false}},  // nor bits 5 to 7
      {2, {0x12, 0x00}, OptionStates{true, false, false, true}},
      {4, {0x0C, 0x1E, 0x1E, 0x1E}, OptionStates{false, true, true, false}},  // only byte 0 counts
      {1, {0x1E}, std::nullopt},                                              // one reply byte is not enough
      {0, {0x1E}, std::nullopt},
      {-1, {0x1E}, std::nullopt},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "result " << c.result << " byte " << int(c.reply[0]));
    EXPECT_EQ(DecodeOptionReply(c.result, c.reply.data()), c.states);
  }
}

struct ChangeCase {
  OptionStates shown;
  OptionStates reported;
  std::vector<OptionChange> changes;
};

TEST(RefreshChanges, ListsOnlyBoxesWhoseStateDiffersInBoxOrder) {
  const ChangeCase cases[] = {
      {{false, false, false, false}, {false, false, false, false}, {}},
      {{true, false, true, false}, {true, false, true, false}, {}},
      {{false, false, false, false}, {true, false, false, true}, {{0, true}, {3, true}}},
      {{true, true, true, true}, {false, true, false, true}, {{0, false}, {2, false}}},
      {{false, true, false, true},
       {true, false, true, false},
       {{0, true}, {1, false}, {2, true}, {3, false}}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(RefreshChanges(cases[i].shown, cases[i].reported), cases[i].changes);
  }
}

}  // namespace
}  // namespace varnok
