#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace varnok {

// A housekeeping reading for the status grid: value `valueNumber` of a value-block reply with two
// decimals, followed by its unit (" K", " mbar", ...). Nothing when the reply does not hold the value.
std::optional<std::string> ReadingText(std::span<const std::uint8_t> reply, int valueNumber,
                                       std::string_view unit);

}  // namespace varnok
