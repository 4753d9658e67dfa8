#include "editor/editor_document.h"

#include <QString>
#include <algorithm>

#include "document/compose.h"
#include "document/compose_surface.h"
#include "document/document_reader.h"
#include "document/text_item.h"
#include "picture/picture_header.h"
#include "picture/picture_io.h"
#include "platform/output_file.h"

namespace inkmark {
namespace {

DocumentObject ObjectOf(const ParsedDocument& parsed, const LayoutItem& item) {
  const std::span<const std::uint8_t> data(parsed.data);
  DocumentObject object;
  // The reader has already checked that every part lies inside the data.
  const ObjectHeader header = *ReadObjectHeader(data, item.object);
  object.kind = header.kind;
  object.left = header.left;
  object.top = header.top;
  object.right = header.right;
  object.bottom = header.bottom;
  object.transparent = header.transparent;
  object.text_color = header.text_color;
  if (header.kind == kTextObject) {
    const TextRecord record = *ReadTextRecord(data, item.payload);
    object.font = record.font;
    // The reader refused every text beyond the text limit, so the length lies
    // inside the record's field.
    object.text.assign(record.text.begin(),
                       record.text.begin() + static_cast<std::ptrdiff_t>(record.text_length));
  } else {
    const auto bitmap = data.subspan(item.bitmap, item.bitmap_size);
    object.bitmap.assign(bitmap.begin(), bitmap.end());
  }
  return object;
}

}  // namespace

bool PageSizeAllowed(std::int64_t width, std::int64_t height) {
  return width <= kMaxPageSide && height <= kMaxPageSide && PictureSizeAllowed(width, height);
}

std::optional<TextRecord> TextRecordOf(const DocumentObject& object) {
  if (!CheckTextLength(object.text.size())) return std::nullopt;
  TextRecord record;
  record.font = object.font;
  record.font.face_name[kFaceNameSize - 1] = '\0';
  record.text_length = static_cast<std::uint16_t>(object.text.size());
  std::copy(object.text.begin(), object.text.end(), record.text.begin());
  return record;
}

ItemBox BoxOf(const DocumentObject& object) {
  if (object.kind != kTextObject) {
    return {object.left, object.top, object.right, object.bottom};
  }
  TextBox box{object.left, object.top, object.right, object.bottom};
  TextOrigin origin;
  if (auto record = TextRecordOf(object)) MeasureTextItem(*record, box, origin);
  return {box.left, box.top, box.right, box.bottom};
}

void StoreTextExtent(DocumentObject& object) {
  if (object.kind != kTextObject) return;
  std::optional<TextRecord> record = TextRecordOf(object);
  if (!record) return;
  record->font.escapement = 0;
  TextBox box{object.left, object.top, object.right, object.bottom};
  TextOrigin origin;
  if (MeasureTextItem(*record, box, origin) == 1) {
    object.top = box.top;
    object.right = box.right;
  }
}

std::optional<EditorDocument> LoadEditorDocument(const std::string& path, LoadError& error) {
  auto file = ReadWholeFile(path);
  if (!file) {
    error = LoadError::kUnreadable;
    return std::nullopt;
  }
  auto parsed = ParseLogoDocument(*file);
  if (!parsed) {
    error = LoadError::kNotADocument;
    return std::nullopt;
  }
  const DocumentHeader header = *ReadDocumentHeader(parsed->header);
  EditorDocument document;
  document.page_width = header.page_width;
  document.page_height = header.page_height;
  for (const LayoutItem& item : parsed->items) document.objects.push_back(ObjectOf(*parsed, item));
  error = LoadError::kNone;
  return document;
}

SaveError SaveEditorDocument(const std::string& path, const EditorDocument& document) {
  if (document.objects.empty()) return SaveError::kEmpty;
  if (!PageSizeAllowed(document.page_width, document.page_height)) return SaveError::kUnstorable;
  auto bytes =
      WriteLogoDocument(static_cast<std::uint16_t>(document.page_width),
                        static_cast<std::uint16_t>(document.page_height), document.objects);
  if (!bytes) return SaveError::kUnstorable;
  // A failed write must not leave the user's document half overwritten.
  switch (WriteOutputFile(path, *bytes)) {
    case OutputError::kNone:
      return SaveError::kNone;
    case OutputError::kNotRegularFile:
      return SaveError::kNotRegularFile;
    default:
      return SaveError::kWriteFailed;
  }
}

QImage RenderPage(const EditorDocument& document) {
  if (!PageSizeAllowed(document.page_width, document.page_height)) return {};
  if (document.objects.empty()) return WhiteSurface(document.page_width, document.page_height);
  auto bytes =
      WriteLogoDocument(static_cast<std::uint16_t>(document.page_width),
                        static_cast<std::uint16_t>(document.page_height), document.objects);
  if (!bytes) return {};
  auto parsed = ParseLogoDocument(*bytes);
  if (!parsed) return {};
  LogoSession session;
  session.source_kind = kSourceDocument;
  session.document_header = parsed->header;
  session.document = std::move(parsed->data);
  session.items = std::move(parsed->items);
  auto page = ComposeAsStored(session);
  if (!page) return {};
  return BitmapToSurface(*page).value_or(QImage());
}

}  // namespace inkmark
