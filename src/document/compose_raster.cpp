#include <sys/statvfs.h>

#include <array>
#include <climits>
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

const Failure kNoPaperWidth{FailureCode::kInvalidArgument, "the printer has no paper width"};
const Failure kNoSource{FailureCode::kInvalidArgument, "no picture or logo document is chosen"};
const Failure kConversionFailed{FailureCode::kNoMemory, "the picture cannot be converted"};
const Failure kComposeFailed{FailureCode::kNoMemory, "the logo document cannot be composed"};

// What stopped a step that wrote the temporary file `path`: a full disk when
// the folder that holds it has no room left, else `otherwise`.
Failure WhyNotWritten(const std::string& path, Failure otherwise) {
  const auto slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  struct statvfs fs {};
  if (!path.empty() && ::statvfs(folder.c_str(), &fs) == 0 && fs.f_bavail == 0)
    return Failure{FailureCode::kNoSpace, "no space left in " + folder};
  return otherwise;
}

// A picture source at paper scale, converted; the converter's file as stored.
Result<BitmapFile> ConvertPictureForPaper(LogoSession& session) {
  if (session.print_width_dots <= 0) return kNoPaperWidth;
  // Loaded afresh: the window's record of the source size may predate the file.
  // A drawing is drawn at the paper's width, or its own size at the resolution;
  // a picture is scaled to the paper's width (or kept at its own) and cut at it,
  // decoding no more of it than that keeps.
  const std::int32_t width = session.fit_to_width ? session.print_width_dots : 0;
  std::array<std::int32_t, 2> size{};
  auto loaded = LoadScaledCropped(session.source_path, PictureScaleFor(session, width), width,
                                  session.print_width_dots, session.temp_dest_path, size);
  if (!loaded)
    return loaded.code() == FailureCode::kWriteFailed
               ? WhyNotWritten(session.temp_dest_path, loaded.failure())
               : loaded.failure();
  session.params.target_width = static_cast<std::uint32_t>(size[0]);
  session.params.target_height = static_cast<std::uint32_t>(size[1]);
  auto converted = ConvertFileInPlace(session.temp_dest_path, session.params, session);
  if (!converted) return WhyNotWritten(session.temp_dest_path, kConversionFailed);
  return std::move(*converted);
}

// A document composed for the paper and cropped at its edge: the 24-bit page.
Result<BitmapFile> ComposeDocumentForPaper(LogoSession& session) {
  if (session.print_width_dots <= 0) return kNoPaperWidth;
  auto header = ReadDocumentHeader(session.document_header);
  if (!header || header->page_width == 0)
    return Failure{FailureCode::kCorrupt, "the logo document has no page width"};
  const double scale = session.fit_to_width
                           ? static_cast<double>(session.print_width_dots) / header->page_width
                           : 1.0;
  // A page that fitting makes empty or beyond any picture's size has no place on the paper.
  const double width = header->page_width * scale, height = header->page_height * scale;
  if (width < 1 || height < 1 || width > double(INT32_MAX) || height > double(INT32_MAX) ||
      !PictureSizeAllowed(std::int64_t(width), std::int64_t(height)))
    return Failure{FailureCode::kCannotFit, "a page of " + std::to_string(header->page_width) +
                                                " x " + std::to_string(header->page_height) +
                                                " dots becomes " +
                                                std::to_string(std::int64_t(width)) + " x " +
                                                std::to_string(std::int64_t(height)) + " dots"};
  // The cut copies whole padded rows, which may reach into the first column past it.
  auto page = ComposeConverted(session, scale, scale, std::int64_t{session.print_width_dots} + 1);
  if (!page) return WhyNotWritten(session.temp_dest_path, kComposeFailed);
  auto composed = ReadBitmapHeader(*page);
  if (!composed) return kComposeFailed;
  std::array<std::int32_t, 2> size{};
  auto cut = ScaleCropToFile(composed->width, session.print_width_dots, "", &*page,
                             session.temp_dest_path, size);
  if (!cut) return WhyNotWritten(session.temp_dest_path, kComposeFailed);
  return std::move(*cut);
}

bool IsPictureSource(std::int32_t kind) {
  return kind == kSourceBitmap || kind == kSourceRle || kind == kSourceJpeg ||
         kind == kSourceOtherPicture;
}

}  // namespace

Result<LogoRaster> BuildLogoRaster(LogoSession& session) {
  if (IsPictureSource(session.source_kind)) {
    auto converted = ConvertPictureForPaper(session);
    if (!converted) return converted.failure();
    auto raster = LogoRaster::FromFile(std::move(*converted));
    if (!raster) return kConversionFailed;
    return std::move(*raster);
  }
  if (session.source_kind == kSourceDocument) {
    auto page = ComposeDocumentForPaper(session);
    if (!page) return page.failure();
    auto raster = RasterFromComposite(*page, session);
    if (!raster) return kComposeFailed;
    return std::move(*raster);
  }
  return kNoSource;
}

Result<BitmapFile> BuildPreviewImage(LogoSession& session) {
  if (IsPictureSource(session.source_kind)) return ConvertPictureForPaper(session);
  if (session.source_kind == kSourceDocument) return ComposeDocumentForPaper(session);
  return kNoSource;
}

}  // namespace inkmark
