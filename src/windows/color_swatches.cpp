#include "windows/color_swatches.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <array>

#include "windows/main_window.h"

namespace inkmark {
namespace {

constexpr int kSwatchSize = 16;
constexpr int kSwatchShown = 11;

QImage MakeSwatch(int id) {
  QImage picture(kSwatchSize, kSwatchSize, QImage::Format_RGB32);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  const QRect square(0, 0, kSwatchShown, kSwatchShown);
  switch (id) {
    case 104:
      painter.fillRect(square, QColor(0, 0, 0));
      break;
    case 105:
      painter.fillRect(square, QColor(255, 0, 0));
      break;
    case 106:
      painter.fillRect(square, QColor(0, 255, 0));
      break;
    case 107:
      painter.fillRect(square, QColor(0, 0, 255));
      break;
    default:
      painter.setPen(QColor(128, 128, 128));
      painter.drawRect(square.adjusted(0, 0, -1, -1));
      break;
  }
  return picture;
}

QColor FromColorValue(std::int32_t value) {
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

}  // namespace

const QImage& SwatchPicture(int id) {
  static const std::array<QImage, 5> pictures = {MakeSwatch(104), MakeSwatch(105), MakeSwatch(106),
                                                 MakeSwatch(107), MakeSwatch(108)};
  int index = id >= 104 && id <= 108 ? id - 104 : 4;
  return pictures[std::size_t(index)];
}

void DrawColorItem(QPainter& painter, const QRect& rect, const QString& text, bool selected,
                   bool disabled) {
  const QPalette palette = QApplication::palette();
  ColorItemLook look = ColorItemLookFor(text.toLocal8Bit().toStdString(), disabled);
  QColor text_color = disabled ? palette.color(QPalette::Disabled, QPalette::Text)
                               : FromColorValue(look.text_color);
  QColor background = palette.color(QPalette::Base);
  if (selected) {
    text_color = palette.color(QPalette::HighlightedText);
    background = palette.color(QPalette::Highlight);
  }
  painter.fillRect(rect, background);
  const int char_height = painter.fontMetrics().height();
  const int top = (rect.top() + rect.top() + rect.height() - char_height) / 2;
  painter.setClipRect(rect);
  painter.setPen(text_color);
  painter.drawText(QRect(rect.left() + 19, top, rect.width() - 19, char_height),
                   Qt::AlignLeft | Qt::AlignTop, text);
  painter.drawImage(QPoint(rect.left() + 5, top), SwatchPicture(look.swatch),
                    QRect(0, 0, kSwatchShown, kSwatchShown));
}

}  // namespace inkmark
