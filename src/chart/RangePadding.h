#pragma once

namespace varnok {

// An axis range that can be drawn: an empty or one-valued range [min, min] is widened to
// [min - pad, min + pad] with pad 5 % of |min|, at least `smallestPad`, and 1 when that leaves no room
// at all (a range at 0). A range with room is given back as it is.
struct PaddedRange {
  double min;
  double max;
  bool operator==(const PaddedRange&) const = default;
};
PaddedRange PadRange(double min, double max, double smallestPad);

}  // namespace varnok
