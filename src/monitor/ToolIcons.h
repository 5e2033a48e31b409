#pragma once
#include <QIcon>

namespace varnok {

// The glyphs of the monitor chart's tool buttons, drawn in the palette's text colour.
enum class ToolGlyph { Plot, ZoomIn, ZoomOut, UndoZoom };
QIcon ToolIcon(ToolGlyph glyph);

}  // namespace varnok
