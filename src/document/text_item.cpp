#include "document/text_item.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <span>

#include "document/compose_surface.h"
#include "document/compose_units.h"
#include "document/text_item_font.h"
#include "picture/picture_header.h"

namespace inkmark {
namespace {

std::span<const std::uint8_t> TextBytes(const TextRecord& text) {
  return std::span<const std::uint8_t>(text.text).first(
      std::min<std::size_t>(text.text_length, kMaxTextBytes));
}

std::vector<QString> Characters(const TextRecord& text) {
  return SplitTextCharacters(TextBytes(text), CodePageOfCharset(text.font.char_set));
}

// How far the glyphs' ink reaches past the advances: before the first one
// (its left overhang, a "j"'s hook) and after the last (its right overhang, an
// "f" or a slanted "y"). Slanted glyphs of the Japanese set have their own
// allowance instead.
struct Lean {
  std::int32_t before = 0;
  std::int32_t after = 0;
};
Lean LeanOf(const TextRecord& text, const QFontMetrics& metrics,
            const std::vector<QString>& characters) {
  Lean lean;
  if ((text.font.italic != 0 && text.font.char_set == 128) || characters.empty()) return lean;
  if (characters.front().size() == 1)
    lean.before = std::max(0, -metrics.leftBearing(characters.front().front()));
  if (characters.back().size() == 1)
    lean.after = std::max(0, -metrics.rightBearing(characters.back().front()));
  return lean;
}

}  // namespace

int MeasureTextItem(const TextRecord& text, TextBox& box, TextOrigin& origin) {
  auto font = MakeItemFont(text.font);
  if (!font) return 0;
  const QFontMetrics metrics(*font);
  // The box is as wide as the advances the drawing steps by, character by
  // character: a kerned advance of the whole would cut off the last glyphs.
  const std::vector<QString> characters = Characters(text);
  std::int64_t advances = 0;
  for (const QString& c : characters) advances += metrics.horizontalAdvance(c);
  std::int32_t cx = static_cast<std::int32_t>(advances);
  const std::int32_t cy = metrics.height();
  // Slanted outline glyphs of the Japanese set lean past their advance.
  if (text.font.italic != 0 && text.font.char_set == 128 && IsOutlineFont(*font)) {
    cx += metrics.averageCharWidth() / 2;
  } else {
    // Other glyphs may overhang it too: the box holds them whole.
    const Lean lean = LeanOf(text, metrics, characters);
    cx += lean.before + lean.after;
  }
  box.right = HoldToInt32(std::int64_t{box.left} + cx);
  box.top = HoldToInt32(std::int64_t{box.bottom} - cy);
  origin = {0, 0};
  if (text.font.escapement != 0) RotateTextBox(cx, cy, text.font.escapement, box, origin);
  return 1;
}

void RotateTextBox(std::int32_t cx, std::int32_t cy, std::int32_t escapement, TextBox& box,
                   TextOrigin& origin) {
  const std::int32_t deg = (escapement % 3600) / 10;
  const double theta = (deg % 90) * 0.017453292519444445;
  const auto a = static_cast<std::int32_t>(cy * std::sin(theta));
  const auto b = static_cast<std::int32_t>(cx * std::sin(theta) + cy * std::cos(theta));
  const auto c = static_cast<std::int32_t>(cx * std::cos(theta));
  const auto d = static_cast<std::int32_t>(cy * std::cos(theta));
  // The document's left and bottom may lie anywhere in the 32-bit range.
  const std::int64_t l = box.left;
  const std::int64_t bt = box.bottom;
  const auto edges = [](std::int64_t left, std::int64_t top, std::int64_t right,
                        std::int64_t bottom) {
    return TextBox{HoldToInt32(left), HoldToInt32(top), HoldToInt32(right), HoldToInt32(bottom)};
  };
  if (deg < 0) {
    origin = {0, 0};
  } else if (deg < 90) {
    box = edges(l - a, bt - b, l + c, bt);
    origin = {0, b - d};
  } else if (deg < 180) {
    box = edges(l - b, bt - c, l, bt + a);
    origin = {b - d, a + c};
  } else if (deg < 270) {
    box = edges(l - c, bt, l + a, bt + b);
    origin = {a + c, d};
  } else {
    box = edges(l, bt - a, l + b, bt + c);
    origin = {d, 0};
  }
}

int DrawTextItem(QImage& page, const ObjectHeader& object, const TextRecord& text,
                 std::int32_t color, double scale_x, double scale_y, std::int64_t page_top) {
  if (text.text_length == 0) return 1;
  TextBox box{object.left, object.top, object.right, object.bottom};
  TextOrigin origin;
  if (MeasureTextItem(text, box, origin) == 0) {
    box = {object.left, object.top, object.right, object.bottom};
    origin = {0, 0};
  }
  const std::int64_t w = std::int64_t{box.right} - box.left;
  const std::int64_t h = std::int64_t{box.bottom} - box.top;
  if (w <= 0 || h <= 0) return 1;
  if (w > INT32_MAX || h > INT32_MAX || !PictureSizeAllowed(w, h)) return 0;
  const std::int64_t x0 = ScaleTrunc(box.left, scale_x);
  const std::int64_t y0 = ScaleTrunc(box.top, scale_y) - page_top;
  const std::int64_t dw = ScaleTrunc(w, scale_x);
  const std::int64_t dh = ScaleTrunc(h, scale_y);
  // The glyphs are drawn only where the page shows them: a font may be far taller
  // than the page.
  const SourceWindow shown = PickedWindow(page.width(), page.height(), x0, y0, dw, dh, w, h);
  if (shown.Empty()) return 1;
  QImage surface = WhiteSurface(static_cast<std::int32_t>(shown.right - shown.left),
                                static_cast<std::int32_t>(shown.bottom - shown.top));
  if (surface.isNull()) return 0;

  QFont font = MakeItemFont(text.font).value_or(QFont());
  font.setStyleStrategy(QFont::NoAntialias);
  const QFontMetrics metrics(font);
  {
    QPainter painter(&surface);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.translate(static_cast<double>(-shown.left), static_cast<double>(-shown.top));
    std::int64_t x = std::max(origin.x, 0);
    std::int64_t y = std::max(origin.y, 0);
    const double phi = text.font.escapement * 0.0017453292500000002;
    const double degrees = text.font.escapement / 10.0;
    const std::vector<QString> characters = Characters(text);
    // The first glyph's overhang starts inside the box, not before it.
    const std::int32_t before = LeanOf(text, metrics, characters).before;
    x += static_cast<std::int64_t>(before * std::cos(phi));
    y -= static_cast<std::int64_t>(before * std::sin(phi));
    for (const QString& c : characters) {
      painter.save();
      painter.translate(static_cast<double>(x), static_cast<double>(y));
      painter.rotate(-degrees);
      painter.drawText(QPointF(0, metrics.ascent()), c);
      painter.restore();
      const int cw = metrics.horizontalAdvance(c);
      x += static_cast<std::int64_t>(cw * std::cos(phi));
      y -= static_cast<std::int64_t>(cw * std::sin(phi));
    }
  }

  StretchBlitPart(page, x0, y0, dw, dh, {surface, shown.left, shown.top, w, h}, RasterOp::kAnd);
  FillRect(page, x0, y0, dw, dh, SurfacePixel(color), RasterOp::kOr);
  return 1;
}

}  // namespace inkmark
