#include "document/document_reader.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

#include "document/document_format.h"
#include "picture/picture_header.h"
#include "picture/picture_io.h"
#include "platform/string_table.h"

namespace inkmark {
namespace {

// Walks the objects, spending each object's size from its kind's budget. Any
// object that its budget cannot pay for, that runs past the data, or that is
// of an unknown kind refuses the document: walking on would only guess.
Failure Malformed(std::string what, std::size_t pos) {
  return {FailureCode::kCorrupt, "logo document: " + std::move(what) + " at byte " +
                                     std::to_string(kDocumentHeaderSize + pos)};
}

Result<std::vector<LayoutItem>> WalkObjects(std::span<const std::uint8_t> data,
                                            std::uint64_t text_left, std::uint64_t image_left) {
  const ByteReader reader(data);
  std::vector<LayoutItem> items;
  std::size_t pos = 0;
  // Every step moves at least 40 bytes forward, so the walk ends.
  while (text_left > 0 || image_left > 0) {
    auto object = ReadObjectHeader(data, pos);
    if (!object) return Malformed("an object header past the end", pos);
    LayoutItem item;
    item.object = pos;
    item.kind = object->kind;
    std::size_t size = 0;
    if (object->kind == kTextObject) {
      size = kTextObjectSize;
      if (text_left < size || !reader.Has(pos, size))
        return Malformed("a text object beyond the text bytes", pos);
      const std::uint16_t length = *reader.U16(pos + kObjectHeaderSize + kTextOffLength);
      if (!CheckTextLength(length)) {
        return Failure{FailureCode::kTextTooLong, "logo document: a text of " +
                                                      std::to_string(length) + " bytes (at most " +
                                                      std::to_string(kMaxTextBytes) + ") at byte " +
                                                      std::to_string(kDocumentHeaderSize + pos)};
      }
      item.payload = pos + kObjectHeaderSize;
      text_left -= size;
    } else if (object->kind == kImageObject) {
      auto n = reader.U32(pos + kObjectHeaderSize);
      if (!n) return Malformed("an image object past the end", pos);
      size = kImageObjectFixedSize + std::uint64_t{*n};
      if (image_left < size || !reader.Has(pos, size))
        return Malformed("an image object beyond the image bytes", pos);
      item.payload = pos + kObjectHeaderSize;
      item.bitmap = pos + kImageObjectFixedSize;
      item.bitmap_size = *n;
      image_left -= size;
    } else {
      return Malformed("an object of unknown kind " + std::to_string(object->kind), pos);
    }
    items.push_back(item);
    pos += size;
  }
  // The length check makes the budgets add up to the data; this keeps it so.
  if (pos != data.size()) return Malformed("bytes after the last object", pos);
  return items;
}

// Every image item is decoded and converted on each refresh: together they may
// cost no more than one picture of the largest size, each counted at no less
// than a small picture, so that thousands of tiny images cannot add up either.
constexpr std::uint64_t kImageItemLeastPixels = std::uint64_t{1} << 16;

bool DecodingWorkAllowed(std::span<const std::uint8_t> data, const std::vector<LayoutItem>& items) {
  std::uint64_t pixels = 0;
  for (const LayoutItem& item : items) {
    if (item.kind != kImageObject) continue;
    // A bitmap claiming more than one picture may is refused by its decoder
    // before any work is done; it costs as little as the smallest.
    std::uint64_t claimed = 0;
    auto h = ReadBitmapHeader(data.subspan(item.bitmap, item.bitmap_size));
    if (h && PictureSizeAllowed(h->width, std::abs(std::int64_t{h->height}))) {
      claimed = static_cast<std::uint64_t>(h->width) *
                static_cast<std::uint64_t>(std::abs(std::int64_t{h->height}));
    }
    pixels += std::max(claimed, kImageItemLeastPixels);
    if (pixels > kMaxPicturePixels) return false;
  }
  return true;
}

}  // namespace

Result<ParsedDocument> ParseLogoDocument(std::span<const std::uint8_t> file) {
  auto header = ReadDocumentHeader(file);
  if (!header) return Failure{FailureCode::kCorrupt, "logo document: shorter than its header"};
  if (!HasDocumentMagic(file)) return Failure{FailureCode::kCorrupt, "not a logo document"};
  const std::uint64_t expected =
      kDocumentHeaderSize + std::uint64_t{header->text_bytes} + header->image_bytes;
  if (file.size() != expected) {
    return Failure{FailureCode::kCorrupt, "logo document: " + std::to_string(file.size()) +
                                              " bytes where its header gives " +
                                              std::to_string(expected)};
  }
  const auto data = file.subspan(kDocumentHeaderSize);
  auto items = WalkObjects(data, header->text_bytes, header->image_bytes);
  if (!items) return items.failure();
  if (items->empty()) return Failure{FailureCode::kCorrupt, "logo document: no objects"};
  if (!DecodingWorkAllowed(data, *items)) {
    return Failure{FailureCode::kTooLarge, "logo document: its images together are more than the " +
                                               std::to_string(kMaxPicturePixels >> 20) +
                                               "-megapixel limit"};
  }
  ParsedDocument doc;
  std::copy_n(file.begin(), kDocumentHeaderSize, doc.header.begin());
  doc.data.assign(data.begin(), data.end());
  doc.items = std::move(*items);
  return doc;
}

std::int32_t CountDocumentObjects(const std::string& path, DocumentHeaderBytes& header_out) {
  auto file = ReadWholeFile(path);
  if (!file) return 0;
  if (file->size() >= kDocumentHeaderSize) {
    std::copy_n(file->begin(), kDocumentHeaderSize, header_out.begin());
  }
  auto doc = ParseLogoDocument(*file);
  if (!doc) return 0;
  return static_cast<std::int32_t>(doc->items.size());
}

int BuildLayoutItems(const std::string& path, std::int32_t count, std::vector<LayoutItem>& items,
                     std::vector<std::uint8_t>& data_out) {
  items.clear();
  data_out.clear();
  auto file = ReadWholeFile(path);
  if (!file) return 0;
  auto doc = ParseLogoDocument(*file);
  // The file may have changed since it was counted.
  if (!doc || doc->items.size() != static_cast<std::size_t>(std::max(count, 0))) return 0;
  items = std::move(doc->items);
  data_out = std::move(doc->data);
  return 1;
}

Result<ParsedDocument> ReadLogoDocument(const std::string& path) {
  auto file = ReadWholeFile(path);
  if (!file) return file.failure();
  return ParseLogoDocument(*file);
}

int LoadLogoDocument(WindowHandle owner, LogoSession& session) {
  session.items.clear();
  session.document.clear();
  // Read once: a file that changes between two reads cannot mix them.
  auto file = ReadWholeFile(session.source_path);
  if (file && file->size() >= kDocumentHeaderSize)
    std::copy_n(file->begin(), kDocumentHeaderSize, session.document_header.begin());
  Result<ParsedDocument> doc =
      file ? ParseLogoDocument(*file) : Result<ParsedDocument>(file.failure());
  if (!doc) {
    ShowFailure(owner, kStrCannotReadImage, doc.failure());
    return 0;
  }
  session.items = std::move(doc->items);
  session.document = std::move(doc->data);
  for (LayoutItem& item : session.items) {
    if (item.kind == kImageObject) {
      item.params = session.params;
      item.monochrome = session.monochrome;
    }
    item.color_index = 0;
  }
  return 1;
}

}  // namespace inkmark
