#include "app/ProgramIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace zmp {

QIcon ProgramIcon() {
  // Rendered here rather than through an icon plugin, so that the icon shows
  // wherever the program runs.
  QSvgRenderer svg(QStringLiteral(":/zmp318t.svg"));
  QIcon icon;
  if (!svg.isValid()) return icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    QPixmap p(size, size);
    p.fill(Qt::transparent);
    QPainter painter(&p);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    icon.addPixmap(p);
  }
  return icon;
}

}  // namespace zmp
