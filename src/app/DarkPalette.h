#pragma once
#include <QPalette>

namespace varnok {

// A dark desktop palette (dark window and base, light text), for checking that every page stays
// readable on a dark desktop theme.
QPalette DarkPalette();

}  // namespace varnok
