#include "platform/program_icons.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace inkmark {

QIcon LoadProgramIcon(ProgramIcon which) {
  QSvgRenderer picture(which == ProgramIcon::kTool ? QStringLiteral(":/icons/inkmark-tool.svg")
                                                   : QStringLiteral(":/icons/inkmark-edit.svg"));
  QIcon icon;
  if (!picture.isValid()) return icon;
  // Drawn at each size rather than scaled, so that small icons stay sharp.
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    picture.render(&painter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace inkmark
