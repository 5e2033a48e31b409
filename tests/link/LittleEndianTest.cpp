#include "link/LittleEndian.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

namespace varnok {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The instrument's byte order whatever the host's: lowest byte first, at any offset.
TEST(LittleEndian, FieldsAreLowestByteFirstAtAnyOffset) {
  std::uint8_t buffer[11] = {};
  PutUInt16(buffer + 1, 0xA1B2);
  EXPECT_EQ(Bytes(buffer + 1, buffer + 3), (Bytes{0xB2, 0xA1}));
  PutUInt32(buffer + 3, 0x01020304u);
  EXPECT_EQ(Bytes(buffer + 3, buffer + 7), (Bytes{0x04, 0x03, 0x02, 0x01}));
  EXPECT_EQ(buffer[0], 0);  // nothing written outside the field
  EXPECT_EQ(buffer[7], 0);

  const std::uint8_t wire[] = {0x00, 0xEF, 0xCD, 0xAB, 0x89, 0x67, 0x45, 0x23, 0x01};
  EXPECT_EQ(GetUInt16(wire + 1), 0xCDEF);
  EXPECT_EQ(GetUInt32(wire + 1), 0x89ABCDEFu);
  EXPECT_EQ(GetUInt64(wire + 1), 0x0123456789ABCDEFull);
  const std::uint8_t minusTwo[] = {0xFE, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(GetInt32(minusTwo), -2);
}

TEST(LittleEndian, FloatingPointValuesKeepEveryBit) {
  // 1.0f is 3F800000, 1.0 is 3FF0000000000000: their bytes as the instrument sends them.
  std::uint8_t f[4];
  PutFloat32(f, 1.0f);
  EXPECT_EQ(Bytes(f, f + 4), (Bytes{0x00, 0x00, 0x80, 0x3F}));
  std::uint8_t d[8];
  PutFloat64(d, 1.0);
  EXPECT_EQ(Bytes(d, d + 8), (Bytes{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));

  for (float value : {-0.0f, 1.17549435e-38f, 1e-45f, -179.999985f, std::numeric_limits<float>::max(),
                      std::numeric_limits<float>::infinity()}) {
    PutFloat32(f, value);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(GetFloat32(f)), std::bit_cast<std::uint32_t>(value)) << value;
  }
  for (double value : {-0.0, 4.9e-324, 0.1, -1e308}) {
    PutFloat64(d, value);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(GetFloat64(d)), std::bit_cast<std::uint64_t>(value)) << value;
  }
  PutFloat32(f, std::numeric_limits<float>::quiet_NaN());
  EXPECT_TRUE(std::isnan(GetFloat32(f)));
}

}  // namespace
}  // namespace varnok
