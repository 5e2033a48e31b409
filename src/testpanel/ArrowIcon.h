#pragma once
#include <QColor>
#include <QIcon>

namespace varnok {

enum class ArrowDirection { Up, Down, Left, Right };

// A solid arrow (shaft and head) drawn in `colour`, for the drive buttons.
QIcon ArrowIcon(ArrowDirection direction, const QColor& colour, int size = 24);

}  // namespace varnok
