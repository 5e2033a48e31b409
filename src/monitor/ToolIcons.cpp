#include "monitor/ToolIcons.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>

namespace varnok {

QIcon ToolIcon(ToolGlyph glyph) {
  QPixmap pixmap(20, 20);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor ink = QGuiApplication::palette().color(QPalette::ButtonText);
  painter.setPen(QPen(ink, 2));
  switch (glyph) {
    case ToolGlyph::Plot: {
      // A small trace with a start triangle.
      painter.setBrush(QColor(0, 140, 0));
      painter.setPen(Qt::NoPen);
      painter.drawPolygon(QPolygonF({QPointF(3, 3), QPointF(11, 8), QPointF(3, 13)}));
      painter.setPen(QPen(QColor(0, 90, 200), 1.5));
      painter.setBrush(Qt::NoBrush);
      painter.drawPolyline(
          QPolygonF({QPointF(2, 17), QPointF(7, 14), QPointF(11, 18), QPointF(15, 11), QPointF(18, 13)}));
      break;
    }
    case ToolGlyph::ZoomIn:
    case ToolGlyph::ZoomOut: {
      painter.drawEllipse(QRectF(3, 3, 10, 10));
      painter.drawLine(QPointF(12, 12), QPointF(17, 17));
      painter.setPen(QPen(ink, 1.5));
      painter.drawLine(QPointF(5.5, 8), QPointF(10.5, 8));
      if (glyph == ToolGlyph::ZoomIn) painter.drawLine(QPointF(8, 5.5), QPointF(8, 10.5));
      break;
    }
    case ToolGlyph::UndoZoom: {
      QPainterPath arc;
      arc.moveTo(5, 8);
      arc.cubicTo(8, 3, 17, 4, 16, 11);
      arc.cubicTo(15, 16, 9, 17, 6, 14);
      painter.drawPath(arc);
      painter.setBrush(ink);
      painter.setPen(Qt::NoPen);
      painter.drawPolygon(QPolygonF({QPointF(2, 4), QPointF(8, 4), QPointF(3, 11)}));
      break;
    }
  }
  return QIcon(pixmap);
}

}  // namespace varnok
