#pragma once
#include <cstdint>

// Every command code the console sends to the instrument.
namespace varnok::cmd {

inline constexpr std::uint8_t kFanSpeed = 3;              // 16-bit position (2 bytes)
inline constexpr std::uint8_t kElevationDrive = 4;        // 7 digits, or "01" / "07"
inline constexpr std::uint8_t kAzimuthDrive = 5;          // 5 digits, or "01" / "07"
inline constexpr std::uint8_t kWriteCalibrationRow = 7;   // index + record (78 bytes)
inline constexpr std::uint8_t kWriteTipConfig = 8;        // 18 + 4n bytes
inline constexpr std::uint8_t kWriteUserCorrections = 9;  // 64 bytes
inline constexpr std::uint8_t kWriteBlower = 10;          // 80 bytes
inline constexpr std::uint8_t kWriteCalConstants = 11;    // 128 bytes
inline constexpr std::uint8_t kClearOptionBits = 19;      // 32-bit mask
inline constexpr std::uint8_t kSetOptionBits = 20;        // 32-bit mask
inline constexpr std::uint8_t kText = 128;                // text command over TCP; model query with no data
inline constexpr std::uint8_t kReadValueBlock = 132;      // first value, count (4 bytes); 4 bytes per value
inline constexpr std::uint8_t kReadClock = 141;           // no data; reply bytes 1 to 6
inline constexpr std::uint8_t kReadCalibrationRow = 167;  // index (2 bytes); 76-byte record
inline constexpr std::uint8_t kReadTipConfig = 168;
inline constexpr std::uint8_t kReadUserCorrections = 169;
inline constexpr std::uint8_t kReadBlower = 170;
inline constexpr std::uint8_t kReadCalConstants = 171;
inline constexpr std::uint8_t kReadOptionBits = 199;  // no data; reply byte 0
inline constexpr std::uint8_t kSaveToFlash = 200;     // no data; 32-bit write count

}  // namespace varnok::cmd
