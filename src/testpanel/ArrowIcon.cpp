#include "testpanel/ArrowIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QTransform>

namespace varnok {

QIcon ArrowIcon(ArrowDirection direction, const QColor& colour, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);

  // An arrow pointing right in a unit square; turned for the other directions.
  const QPolygonF arrow{{0.10, 0.38}, {0.52, 0.38}, {0.52, 0.14}, {0.92, 0.50},
                        {0.52, 0.86}, {0.52, 0.62}, {0.10, 0.62}};
  qreal angle = 0;
  switch (direction) {
    case ArrowDirection::Right:
      angle = 0;
      break;
    case ArrowDirection::Down:
      angle = 90;
      break;
    case ArrowDirection::Left:
      angle = 180;
      break;
    case ArrowDirection::Up:
      angle = 270;
      break;
  }
  QTransform transform;
  transform.translate(size / 2.0, size / 2.0);
  transform.rotate(angle);
  transform.scale(size, size);
  transform.translate(-0.5, -0.5);

  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawPolygon(transform.map(arrow));
  painter.end();
  return QIcon(pixmap);
}

}  // namespace varnok
