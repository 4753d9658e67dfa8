#include "picture/picture_qt.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <string_view>
#include <utility>

#include "picture/picture_header.h"

namespace inkmark {
namespace {

constexpr double kCssPixelsPerInch = 96.0;

// The pixels of `image` over white paper, as a 24-bit picture.
Result<BitmapFile> Rgb24FromImage(const QImage& source) {
  if (Status size = CheckPictureSize(source.width(), source.height(), "picture"); !size)
    return size.failure();
  // 32-bit pixels without premultiplication are read as they are (RGB32 holds
  // 0xff as alpha): no second copy of a large picture.
  const bool direct =
      source.format() == QImage::Format_ARGB32 || source.format() == QImage::Format_RGB32;
  const QImage image = direct ? source : source.convertToFormat(QImage::Format_ARGB32);
  if (image.isNull()) return {FailureCode::kNoMemory, "no memory for the picture"};
  const std::int32_t w = image.width();
  const std::int32_t h = image.height();
  const std::size_t stride = Rgb24Stride(w);
  BitmapFile out(kHeadersSize + stride * static_cast<std::size_t>(h), 0);
  WriteRgb24Header(out, w, h);
  for (std::int32_t y = 0; y < h; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    // Rows are stored bottom-up.
    std::uint8_t* row = out.data() + kHeadersSize + stride * static_cast<std::size_t>(h - 1 - y);
    for (std::int32_t x = 0; x < w; ++x) {
      const QRgb p = line[x];
      const int a = qAlpha(p);
      // Transparent parts are the paper, which is white.
      auto over_white = [a](int c) {
        return static_cast<std::uint8_t>((c * a + 255 * (255 - a) + 127) / 255);
      };
      row[3 * x] = over_white(qBlue(p));
      row[3 * x + 1] = over_white(qGreen(p));
      row[3 * x + 2] = over_white(qRed(p));
    }
  }
  return out;
}

// A decimal number at the start of `text`, which is advanced past it.
std::optional<double> TakeNumber(std::string_view& text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\n' ||
                           text.front() == '\r' || text.front() == ',')) {
    text.remove_prefix(1);
  }
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || !std::isfinite(value)) return std::nullopt;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return value;
}

// A length attribute in CSS pixels (96 to the inch); nullopt for a relative
// length (%, em, ex) or anything that is not a positive length.
std::optional<double> LengthInCssPixels(std::string_view text) {
  auto value = TakeNumber(text);
  if (!value || *value <= 0) return std::nullopt;
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  struct Unit {
    std::string_view name;
    double css_pixels;
  };
  static constexpr Unit kUnits[] = {{"", 1.0},
                                    {"px", 1.0},
                                    {"in", kCssPixelsPerInch},
                                    {"mm", kCssPixelsPerInch / 25.4},
                                    {"cm", kCssPixelsPerInch / 2.54},
                                    {"pt", kCssPixelsPerInch / 72.0},
                                    {"pc", kCssPixelsPerInch / 6.0}};
  for (const Unit& u : kUnits) {
    if (text == u.name) return *value * u.css_pixels;
  }
  return std::nullopt;
}

// The width and height of a view box "min-x min-y width height".
std::optional<SvgSize> ViewBoxSize(std::string_view text) {
  double v[4] = {};
  for (double& n : v) {
    auto number = TakeNumber(text);
    if (!number) return std::nullopt;
    n = *number;
  }
  if (v[2] <= 0 || v[3] <= 0) return std::nullopt;
  return SvgSize{v[2], v[3]};
}

QByteArray AsByteArray(std::span<const std::uint8_t> bytes) {
  return QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                 static_cast<qsizetype>(bytes.size()));
}

// Whether an image reference is a picture carried inside the document: a
// base64 "data" URI (taken as QtSvg takes it) whose bytes are a PNG, JPEG, GIF
// or BMP. An SVG inside one is not taken: its own references would be followed.
bool IsEmbeddedRaster(QStringView href) {
  if (!href.startsWith(QLatin1String("data"))) return false;
  const qsizetype at = href.lastIndexOf(QLatin1String("base64,"));
  if (at < 0) return false;
  const QByteArray data = QByteArray::fromBase64(href.mid(at + 7).toLatin1());
  static constexpr std::string_view kMagic[] = {"\x89PNG", "\xFF\xD8", "GIF8", "BM"};
  return std::any_of(std::begin(kMagic), std::end(kMagic), [&](std::string_view m) {
    return data.startsWith(QByteArrayView(m.data(), qsizetype(m.size())));
  });
}

// A width or height given as a share of a surrounding box, which a picture of
// its own does not have.
bool IsPercentLength(QStringView value) { return value.trimmed().endsWith(QLatin1Char('%')); }

// The root element with its attributes, less a width or height in percent: the
// renderer would take it as a share of 100 pixels and cut the drawing there,
// where without it the drawing keeps its view box, or its own extent.
void WriteRoot(const QXmlStreamReader& in, QXmlStreamWriter& writer) {
  writer.writeStartElement(in.qualifiedName().toString());
  for (const QXmlStreamAttribute& a : in.attributes()) {
    const QStringView name = a.qualifiedName();
    if ((name == QLatin1String("width") || name == QLatin1String("height")) &&
        IsPercentLength(a.value()))
      continue;
    writer.writeAttribute(name.toString(), a.value().toString());
  }
}

// The document without what would make the renderer read anything else: every
// <image> that is not an embedded picture (a path, a file: or http: URI, the
// document itself), the DTD with its entities, and processing instructions.
// Names are copied as written, prefixes included, since the renderer looks
// some attributes up by them ("xlink:href"). Sizes in percent are dropped
// from the root (WriteRoot).
Result<QByteArray> WithoutExternalReferences(std::span<const std::uint8_t> svg) {
  QXmlStreamReader in(AsByteArray(svg));
  in.setNamespaceProcessing(false);
  QByteArray out;
  QXmlStreamWriter writer(&out);
  bool root = true;
  while (!in.atEnd()) {
    switch (in.readNext()) {
      case QXmlStreamReader::StartElement: {
        if (std::exchange(root, false)) {
          WriteRoot(in, writer);
          break;
        }
        if (in.qualifiedName() == QLatin1String("image") ||
            in.qualifiedName().endsWith(QLatin1String(":image"))) {
          // Kept only when it names a picture, and every name it gives is embedded.
          bool named = false;
          bool embedded = true;
          for (const QXmlStreamAttribute& a : in.attributes()) {
            const QStringView name = a.qualifiedName();
            if (name != QLatin1String("href") && !name.endsWith(QLatin1String(":href"))) continue;
            named = true;
            embedded = embedded && IsEmbeddedRaster(a.value());
          }
          if (!named || !embedded) {
            in.skipCurrentElement();
            continue;
          }
        }
        writer.writeCurrentToken(in);
        break;
      }
      case QXmlStreamReader::Invalid:
      case QXmlStreamReader::DTD:
      case QXmlStreamReader::EntityReference:
      case QXmlStreamReader::ProcessingInstruction:
        break;
      default:
        writer.writeCurrentToken(in);
    }
  }
  if (in.hasError()) return {FailureCode::kCorrupt, "SVG: " + in.errorString().toStdString()};
  return out;
}

// Where the view box lands in a `width` x `height` picture under the root's
// preserveAspectRatio: scaled alike in both directions to fit (meet, the
// default) or to fill (slice), aligned as asked (the middle by default), or
// stretched (none).
QRectF ViewBoxPlacement(std::span<const std::uint8_t> svg, QSizeF view_box, double width,
                        double height) {
  QString value;
  QXmlStreamReader xml(AsByteArray(svg));
  while (!xml.atEnd() && !xml.hasError()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    value = xml.attributes().value(QLatin1String("preserveAspectRatio")).toString().simplified();
    break;
  }
  const QRectF all(0, 0, width, height);
  if (view_box.isEmpty()) return all;
  const QStringList words = value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  const QString align = words.value(0, QStringLiteral("xMidYMid"));
  if (align == QLatin1String("none")) return all;
  const bool slice = words.value(1) == QLatin1String("slice");
  const double sx = width / view_box.width();
  const double sy = height / view_box.height();
  const double s = slice ? std::max(sx, sy) : std::min(sx, sy);
  const double w = view_box.width() * s;
  const double h = view_box.height() * s;
  auto offset = [&](QLatin1String min, QLatin1String mid, double room) {
    if (align.contains(min)) return 0.0;
    if (align.contains(mid)) return room / 2;
    return room;
  };
  return QRectF(offset(QLatin1String("xMin"), QLatin1String("xMid"), width - w),
                offset(QLatin1String("YMin"), QLatin1String("YMid"), height - h), w, h);
}

}  // namespace

std::optional<SvgSize> SvgOwnSize(std::span<const std::uint8_t> svg, std::int32_t dots_per_inch) {
  if (dots_per_inch <= 0) return std::nullopt;
  QXmlStreamReader xml(AsByteArray(svg));
  while (!xml.atEnd() && !xml.hasError()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() != QLatin1String("svg")) return std::nullopt;
    const QXmlStreamAttributes attrs = xml.attributes();
    const QByteArray w = attrs.value("width").toUtf8();
    const QByteArray h = attrs.value("height").toUtf8();
    auto width = LengthInCssPixels(std::string_view(w.constData(), std::size_t(w.size())));
    auto height = LengthInCssPixels(std::string_view(h.constData(), std::size_t(h.size())));
    const QByteArray box = attrs.value("viewBox").toUtf8();
    auto view_box = ViewBoxSize(std::string_view(box.constData(), std::size_t(box.size())));
    // One stated side takes the other from the view box's proportions.
    if (width && !height && view_box) height = *width * view_box->height / view_box->width;
    if (height && !width && view_box) width = *height * view_box->width / view_box->height;
    SvgSize css;
    if (width && height) {
      css = {*width, *height};
    } else if (view_box) {
      css = *view_box;
    } else {
      return std::nullopt;
    }
    const double scale = dots_per_inch / kCssPixelsPerInch;
    return SvgSize{css.width * scale, css.height * scale};
  }
  return std::nullopt;
}

namespace {

// A drawing ready to be drawn: the document without what it may not read, and
// its size in pixels at the scale asked for (not yet held to any limit).
struct SvgDrawing {
  std::unique_ptr<QSvgRenderer> renderer;
  double width = 0;
  double height = 0;
};

Result<SvgDrawing> PrepareSvg(std::span<const std::uint8_t> svg, const PictureScale& scale) {
  auto contained = WithoutExternalReferences(svg);
  if (!contained) return contained.failure();
  auto own = SvgOwnSize(svg, scale.dots_per_inch);
  SvgDrawing drawing{std::make_unique<QSvgRenderer>(*contained)};
  if (!drawing.renderer->isValid())
    return {FailureCode::kCorrupt, "SVG: not a drawing that can be read"};
  if (!own) {
    // Neither a size nor a view box: what the renderer makes of it (the extent
    // of what is drawn), at 96 to the inch.
    const QSize fallback = drawing.renderer->defaultSize();
    if (fallback.isEmpty()) return {FailureCode::kCorrupt, "SVG: the drawing has no size"};
    const double s = scale.dots_per_inch / kCssPixelsPerInch;
    own = SvgSize{fallback.width() * s, fallback.height() * s};
  }
  double w = own->width;
  double h = own->height;
  if (scale.width > 0) {
    h = h * scale.width / w;
    w = scale.width;
  }
  drawing.width = std::max(1.0, std::round(w));
  drawing.height = std::max(1.0, std::round(h));
  return drawing;
}

}  // namespace

Result<std::array<std::int64_t, 2>> SvgDrawnSize(std::span<const std::uint8_t> svg,
                                                 const PictureScale& scale) {
  auto drawing = PrepareSvg(svg, scale);
  if (!drawing) return drawing.failure();
  if (!(drawing->width <= double(INT32_MAX) && drawing->height <= double(INT32_MAX)))
    return {FailureCode::kTooLarge, "SVG: its own size is beyond any picture's"};
  return std::array<std::int64_t, 2>{std::int64_t(drawing->width), std::int64_t(drawing->height)};
}

Result<BitmapFile> RenderSvgToRgb24(std::span<const std::uint8_t> svg, const PictureScale& scale) {
  auto drawing = PrepareSvg(svg, scale);
  if (!drawing) return drawing.failure();
  QSvgRenderer& renderer = *drawing->renderer;
  const double rw = drawing->width;
  const double rh = drawing->height;
  // Only the columns kept are made; the drawing is placed as at its whole width.
  const double made_w = scale.crop_width > 0 ? std::min<double>(rw, scale.crop_width) : rw;
  if (!(made_w <= kMaxPictureSide && rh <= kMaxPictureSide)) {
    return {FailureCode::kTooLarge, "SVG: drawn at " + std::to_string(std::llround(made_w)) +
                                        " \u00d7 " + std::to_string(std::llround(rh)) +
                                        " it has a side longer than " +
                                        std::to_string(kMaxPictureSide) + " pixels"};
  }
  if (Status size = CheckPictureSize(std::int64_t(made_w), std::int64_t(rh), "SVG"); !size)
    return size.failure();
  // Drawn at the size it is wanted at, so its edges stay sharp at any width.
  QImage image(int(made_w), int(rh), QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) return {FailureCode::kNoMemory, "no memory for the picture"};
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, ViewBoxPlacement(svg, renderer.viewBoxF().size(), rw, rh));
  }
  return Rgb24FromImage(image);
}

}  // namespace inkmark
