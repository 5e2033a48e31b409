#pragma once
#include <string>

#include "config/ExactNumberText.h"
#include "core/TextConversions.h"

namespace varnok {

// How a decoded reply puts its numbers into the panel: as the console's Read shows them
// (FormatFixed with each field's precision and decimals), or exactly, for a backup that must upload
// the same bytes again.
enum class ReplyTexts { kShown, kExact };

inline std::string ReplyNumberText(float value, ReplyTexts texts, int precision, int decimals) {
  return texts == ReplyTexts::kExact ? ExactFloat32Text(value) : FormatFixed(value, precision, decimals);
}

}  // namespace varnok
