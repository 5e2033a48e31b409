#include "monitor/ReadingText.h"

#include "core/TextConversions.h"
#include "monitor/ValueBlock.h"

namespace varnok {

std::optional<std::string> ReadingText(std::span<const std::uint8_t> reply, int valueNumber,
                                       std::string_view unit) {
  const std::optional<float> value = ValueBlockValue(reply, valueNumber);
  if (!value) return std::nullopt;
  std::string text = FormatFixed(*value, 9, 2);
  text += unit;
  return text;
}

}  // namespace varnok
