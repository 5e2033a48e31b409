#include "app/DarkPalette.h"

namespace varnok {

QPalette DarkPalette() {
  const QColor window(0x2B, 0x2B, 0x2E), base(0x1E, 0x1E, 0x20), text(0xE6, 0xE6, 0xE6);
  const QColor button(0x3A, 0x3A, 0x3E), highlight(0x2F, 0x6F, 0xD0), disabled(0x80, 0x80, 0x80);
  QPalette p;
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, base);
  p.setColor(QPalette::AlternateBase, window);
  p.setColor(QPalette::ToolTipBase, button);
  p.setColor(QPalette::ToolTipText, text);
  p.setColor(QPalette::PlaceholderText, disabled);
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Button, button);
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::BrightText, QColor(0xFF, 0x60, 0x60));
  p.setColor(QPalette::Light, QColor(0x55, 0x55, 0x5A));
  p.setColor(QPalette::Midlight, QColor(0x48, 0x48, 0x4C));
  p.setColor(QPalette::Mid, QColor(0x60, 0x60, 0x66));
  p.setColor(QPalette::Dark, QColor(0x18, 0x18, 0x1A));
  p.setColor(QPalette::Shadow, Qt::black);
  p.setColor(QPalette::Highlight, highlight);
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::Link, QColor(0x6A, 0xA8, 0xFF));
  p.setColor(QPalette::LinkVisited, QColor(0xB0, 0x8C, 0xFF));
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    p.setColor(QPalette::Disabled, role, disabled);
  }
  return p;
}

}  // namespace varnok
