// The document the editor works on: a page size and its objects in drawing
// order, read through the tool's own document reader and written through the
// document writer, so that whatever the editor saves the tool loads as made.
#pragma once

#include <QImage>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/document_writer.h"

namespace inkmark {

// Composition refuses larger pages, so the editor never makes one.
inline constexpr std::int32_t kMaxPageSide = 32768;
// A new page is this tall until the user changes it: room for a few lines of text.
inline constexpr std::int32_t kDefaultPageHeight = 200;

struct EditorDocument {
  std::int32_t page_width = 512;
  std::int32_t page_height = kDefaultPageHeight;
  std::vector<DocumentObject> objects;  // drawing order: later objects on top
};

// A rectangle in page pixels, right and bottom exclusive.
struct ItemBox {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  std::int32_t width() const { return right - left; }
  std::int32_t height() const { return bottom - top; }
  bool Contains(std::int32_t x, std::int32_t y) const {
    return x >= left && x < right && y >= top && y < bottom;
  }
  bool operator==(const ItemBox&) const = default;
};

// True when the composition can draw a page of this size.
bool PageSizeAllowed(std::int64_t width, std::int64_t height);

// The text record the tool reads back for a text object; nullopt for a text
// beyond the text limit, which no document can hold.
std::optional<TextRecord> TextRecordOf(const DocumentObject& object);

// Where the object shows on the page: an image's rectangle, or the box the
// tool measures for a text (turned with its escapement).
ItemBox BoxOf(const DocumentObject& object);

// Stores the measured, unturned size of a text in its rectangle (left and
// bottom are the anchor and stay), so that the file's rectangle is truthful.
void StoreTextExtent(DocumentObject& object);

enum class LoadError { kNone, kUnreadable, kNotADocument };

// Reads a logo document through the tool's reader. On failure `error` says why.
std::optional<EditorDocument> LoadEditorDocument(const std::string& path, LoadError& error);

enum class SaveError { kNone, kEmpty, kUnstorable, kNotRegularFile, kWriteFailed };

// Writes the document through the document writer, replacing the file only
// once every byte is on disk. A document without objects is refused: the tool
// cannot use one.
SaveError SaveEditorDocument(const std::string& path, const EditorDocument& document);

// The page as the tool composes it when it shows the document as stored: the
// document is written, read back through the tool's reader and composed. A
// null image when the composition fails.
QImage RenderPage(const EditorDocument& document);

}  // namespace inkmark
