#include <array>
#include <string>
#include <utility>

#include "document/compose.h"
#include "document/compose_convert.h"
#include "document/document_format.h"
#include "picture/picture.h"
#include "picture/picture_header.h"
#include "picture/picture_io.h"

namespace inkmark {
namespace {

// A picture source at paper scale, converted; the converter's file as stored.
std::optional<BitmapFile> ConvertPictureForPaper(LogoSession& session) {
  if (session.print_width_dots <= 0) return std::nullopt;
  // Loaded afresh: the window's record of the source size may predate the file.
  // A drawing is drawn at the paper's width, or its own size at the resolution;
  // a picture is scaled to the paper's width (or kept at its own) and cut at it,
  // decoding no more of it than that keeps.
  const std::int32_t width = session.fit_to_width ? session.print_width_dots : 0;
  std::array<std::int32_t, 2> size{};
  if (!LoadScaledCropped(session.source_path, PictureScaleFor(session, width), width,
                         session.print_width_dots, session.temp_dest_path, size)) {
    return std::nullopt;
  }
  session.params.target_width = static_cast<std::uint32_t>(size[0]);
  session.params.target_height = static_cast<std::uint32_t>(size[1]);
  return ConvertFileInPlace(session.temp_dest_path, session.params, session);
}

// A document composed for the paper and cropped at its edge: the 24-bit page.
std::optional<BitmapFile> ComposeDocumentForPaper(LogoSession& session) {
  auto header = ReadDocumentHeader(session.document_header);
  if (!header || header->page_width == 0 || session.print_width_dots <= 0) return std::nullopt;
  const double scale = session.fit_to_width
                           ? static_cast<double>(session.print_width_dots) / header->page_width
                           : 1.0;
  auto page = ComposeConverted(session, scale, scale);
  if (!page) return std::nullopt;
  std::array<std::int32_t, 2> size{};
  return ScaleCropToFile(static_cast<std::int32_t>(header->page_width * scale),
                         session.print_width_dots, "", &*page, session.temp_dest_path, size);
}

bool IsPictureSource(std::int32_t kind) {
  return kind == kSourceBitmap || kind == kSourceRle || kind == kSourceJpeg ||
         kind == kSourceOtherPicture;
}

}  // namespace

std::optional<LogoRaster> BuildLogoRaster(LogoSession& session) {
  if (IsPictureSource(session.source_kind)) {
    auto converted = ConvertPictureForPaper(session);
    if (!converted) return std::nullopt;
    return LogoRaster::FromFile(std::move(*converted));
  }
  if (session.source_kind == kSourceDocument) {
    auto page = ComposeDocumentForPaper(session);
    if (!page) return std::nullopt;
    return RasterFromComposite(*page, session);
  }
  return std::nullopt;
}

std::optional<BitmapFile> BuildPreviewImage(LogoSession& session) {
  if (IsPictureSource(session.source_kind)) return ConvertPictureForPaper(session);
  if (session.source_kind == kSourceDocument) return ComposeDocumentForPaper(session);
  return std::nullopt;
}

}  // namespace inkmark
