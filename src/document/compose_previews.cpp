#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "converter/convert.h"
#include "document/compose.h"
#include "document/compose_page.h"
#include "document/document_format.h"
#include "picture/picture.h"
#include "picture/picture_header.h"
#include "picture/picture_io.h"
#include "session/temp_files.h"

namespace inkmark {
namespace {

// The usable width of a preview control: its client width less the frame.
std::int32_t PreviewWidth(const PreviewControls& window, int control) {
  return window.ClientWidth(control) - 2;
}

// The page shown scaled to the preview: composed only in the rows and columns
// the scaler reads, never whole at its own size.
bool DocumentPreviews(LogoSession& session, std::int32_t a) {
  if (session.items.empty()) return false;
  std::array<std::int32_t, 2> page{};
  auto sizes = [&](std::int32_t width, std::int32_t height) {
    page = {width, height};
    const std::int64_t c =
        session.fit_to_width ? a : std::int64_t{a} * width / session.print_width_dots;
    return std::vector<ScaleCrop>{{static_cast<std::int32_t>(std::max<std::int64_t>(c, 1)), a}};
  };
  auto shown = ScaleCropDecoded(
      [&](const MakeRowPlan& plan) { return ComposeAsStoredRows(session, plan); },
      [&]() -> Result<BitmapFile> {
        auto whole = ComposeAsStored(session);
        if (!whole) return Failure{FailureCode::kNoMemory, "the logo document cannot be composed"};
        return std::move(*whole);
      },
      sizes);
  if (!shown || shown->size() != 1) return false;
  if (!session.temp_fit_path.empty() &&
      !WriteTempFile(session.temp_fit_path, shown->front().picture))
    return false;
  session.source_width = static_cast<std::uint32_t>(page[0]);
  session.source_height = static_cast<std::uint32_t>(page[1]);
  session.fit_size = shown->front().size;
  session.fit_image = std::move(shown->front().picture);
  session.source_shown = ShownSource::kFit;
  return true;
}

// Keeps the two pictures shown and shows the one the paper width asks for.
bool KeepPreviews(LogoSession& session, BitmapFile fit, BitmapFile cut) {
  session.fit_image = std::move(fit);
  session.cut_image = std::move(cut);
  session.source_shown = session.fit_to_width ? ShownSource::kFit : ShownSource::kCut;
  return true;
}

// The width of the cut preview: the picture at the paper's scale, at least one
// dot, so that a tiny picture still shows.
std::int32_t CutWidth(const LogoSession& session, std::int32_t source_width, std::int32_t a) {
  return static_cast<std::int32_t>(
      std::max<std::int64_t>(std::int64_t{source_width} * a / session.print_width_dots, 1));
}

// A JPEG or bitmap picture shown at the previews' sizes straight from its
// file: read and decoded once, only in the rows and columns they keep.
bool PlannedPicturePreviews(LogoSession& session, std::int32_t a) {
  std::array<std::int32_t, 2> source{};
  auto sizes = [&](std::int32_t width, std::int32_t height) {
    source = {width, height};
    return std::vector<ScaleCrop>{{a, a}, {CutWidth(session, width, a), a}};
  };
  const std::array<std::string, 2> files = {session.temp_fit_path, session.temp_cut_path};
  auto previews = LoadScaledCroppedEach(session.source_path, sizes, files);
  if (!previews || previews->size() != 2) return false;
  session.source_width = static_cast<std::uint32_t>(source[0]);
  session.source_height = static_cast<std::uint32_t>(source[1]);
  session.fit_size = (*previews)[0].size;
  session.cut_size = (*previews)[1].size;
  return KeepPreviews(session, std::move((*previews)[0].picture),
                      std::move((*previews)[1].picture));
}

// A drawing shown at each preview's size, drawn at that size and never at its
// own first: its own size may be beyond any picture's while the paper's is not.
bool DrawingPreviews(LogoSession& session, std::int32_t a) {
  auto own = ScalablePictureSize(session.source_path, PictureScaleFor(session, 0));
  if (!own) return false;
  const auto [own_width, own_height] = *own;
  session.source_width = static_cast<std::uint32_t>(own_width);
  session.source_height = static_cast<std::uint32_t>(own_height);
  auto fit_drawn = LoadPicture(session.source_path, PictureScaleFor(session, a));
  if (!fit_drawn) return false;
  auto fit = ScaleCropToFile(a, a, "", &*fit_drawn, session.temp_fit_path, session.fit_size);
  if (!fit) return false;
  // Drawn at the cut's width but made only as far as the cut, and the column
  // its row padding reads.
  PictureScale cut_scale =
      PictureScaleFor(session, CutWidth(session, static_cast<std::int32_t>(own_width), a));
  cut_scale.crop_width = a + 1;
  auto cut_drawn = LoadPicture(session.source_path, cut_scale);
  if (!cut_drawn) return false;
  auto drawn = ReadBitmapHeader(*cut_drawn);
  if (!drawn) return false;
  auto cut =
      ScaleCropToFile(drawn->width, a, "", &*cut_drawn, session.temp_cut_path, session.cut_size);
  if (!cut) return false;
  return KeepPreviews(session, std::move(*fit), std::move(*cut));
}

bool PicturePreviews(LogoSession& session, std::int32_t a) {
  if (IsPlannedPicture(session.source_path)) return PlannedPicturePreviews(session, a);
  if (IsScalablePicture(session.source_path)) return DrawingPreviews(session, a);
  auto picture = LoadPicture(session.source_path);
  if (!picture) return false;
  auto header = ReadBitmapHeader(*picture);
  if (!header) return false;
  session.source_width = static_cast<std::uint32_t>(header->width);
  session.source_height = static_cast<std::uint32_t>(header->height);
  auto fit = ScaleCropToFile(a, a, "", &*picture, session.temp_fit_path, session.fit_size);
  if (!fit) return false;
  const std::int32_t c = CutWidth(session, header->width, a);
  auto cut = ScaleCropToFile(c, a, "", &*picture, session.temp_cut_path, session.cut_size);
  if (!cut) return false;
  return KeepPreviews(session, std::move(*fit), std::move(*cut));
}

// Brings the selected item up to date from the window before it is converted.
void UpdateSelectedItem(const PreviewControls& window, LogoSession& session) {
  if (session.item_index < 0 ||
      static_cast<std::size_t>(session.item_index) >= session.items.size()) {
    return;
  }
  LayoutItem& item = session.items[static_cast<std::size_t>(session.item_index)];
  if (item.kind == kImageObject) {
    item.params = session.params;
    item.monochrome = session.monochrome;
    item.color_index = window.ListSelection(kMonochromeColorList) == 1 ? 1 : 0;
  } else if (item.kind == kTextObject) {
    item.color_index = window.ListSelection(kTextColorList) == 1 ? 1 : 0;
  }
}

bool DocumentConvertedPreview(const PreviewControls& window, LogoSession& session, std::int32_t a) {
  if (session.items.empty()) return false;
  UpdateSelectedItem(window, session);
  auto header = ReadDocumentHeader(session.document_header);
  if (!header || header->page_width == 0) return false;
  double s = 0;
  std::int64_t c = a;
  if (session.fit_to_width) {
    s = static_cast<double>(a) / header->page_width;
  } else {
    s = static_cast<double>(a) / session.print_width_dots;
    c = static_cast<std::int64_t>(header->page_width * s);
  }
  // Composed only as far as the preview shows it, and the column its cut reads.
  auto page = ComposeConverted(session, s, s, std::int64_t{a} + 1);
  if (!page) return false;
  if (c > a) {
    auto composed = ReadBitmapHeader(*page);
    if (!composed) return false;
    std::array<std::int32_t, 2> size{};
    page = ScaleCropToFile(composed->width, a, "", &*page, session.temp_dest_path, size);
    if (!page) return false;
  }
  session.converted = std::move(*page);
  return true;
}

bool PictureConvertedPreview(LogoSession& session) {
  const bool fit = session.fit_to_width != 0;
  const auto& size = fit ? session.fit_size : session.cut_size;
  const std::string& source = fit ? session.temp_fit_path : session.temp_cut_path;
  session.params.target_width = static_cast<std::uint32_t>(size[0]);
  session.params.target_height = static_cast<std::uint32_t>(size[1]);
  // Without a prepared picture the files are an earlier picture's.
  if ((fit ? session.fit_image : session.cut_image).empty()) return false;
  const std::int32_t inks[2] = {session.first_color, session.second_color};
  // A refused conversion leaves the last preview's file behind; it must not be shown.
  if (QrvConvertLogo(source.c_str(), &session.params, inks, session.temp_dest_path.c_str()) != 1) {
    return false;
  }
  auto converted = LoadPicture(session.temp_dest_path);
  if (!converted) return false;
  session.converted = std::move(*converted);
  return true;
}

}  // namespace

int MakeSourcePreviews(const PreviewControls& window, LogoSession& session) {
  session.fit_image.clear();
  session.cut_image.clear();
  session.source_shown = ShownSource::kNone;
  const std::int32_t a = PreviewWidth(window, kSourcePreview);
  if (a <= 0 || session.print_width_dots <= 0) return 0;
  bool made = false;
  if (session.source_kind == kSourceDocument) {
    made = DocumentPreviews(session, a);
  } else if (session.source_kind != kSourceNone) {
    made = PicturePreviews(session, a);
  }
  if (!made) {
    session.fit_image.clear();
    session.cut_image.clear();
    session.source_shown = ShownSource::kNone;
    // Nothing may convert what an earlier source left in the files.
    DeleteTempFiles(session);
  }
  return made ? 1 : 0;
}

int MakeConvertedPreview(const PreviewControls& window, LogoSession& session) {
  session.converted.clear();
  const std::int32_t a = PreviewWidth(window, kConvertedPreview);
  if (a <= 0 || session.print_width_dots <= 0) return 0;
  bool made = false;
  if (session.source_kind == kSourceDocument) {
    made = DocumentConvertedPreview(window, session, a);
  } else if (session.source_kind != kSourceNone) {
    made = PictureConvertedPreview(session);
  }
  return made ? 1 : 0;
}

void ResetSecondColorItems(LogoSession& session) {
  for (LayoutItem& item : session.items) {
    if (item.color_index != 1) continue;
    item.color_index = 0;
    if (item.monochrome != 0) item.params.color_table = 0;
  }
}

}  // namespace inkmark
