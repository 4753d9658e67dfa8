// Writes logo documents: the header with its two byte budgets, then each
// object in drawing order. For the companion editor and for test fixtures.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/document_format.h"
#include "platform/failure.h"

namespace inkmark {

// One object as the editor holds it. Text objects use `font`, `text` and
// `text_color`; image objects `bitmap` (a whole bitmap file image) and
// `transparent`.
struct DocumentObject {
  std::uint16_t kind = kTextObject;
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  std::uint16_t transparent = 0;
  std::int32_t text_color = 0;
  FontDescription font;
  std::string text;
  std::vector<std::uint8_t> bitmap;
};

// A text object with the given face, height (negative: character height) and
// escapement; its rectangle is given by the reader's measurement, so only the
// bottom-left corner matters.
DocumentObject TextObject(std::int32_t left, std::int32_t bottom, const std::string& text,
                          const std::string& face, std::int32_t height, std::int32_t text_color,
                          std::int32_t escapement = 0);

// An image object drawn into the rectangle.
DocumentObject ImageObject(std::int32_t left, std::int32_t top, std::int32_t right,
                           std::int32_t bottom, std::vector<std::uint8_t> bitmap,
                           bool transparent = false);

// The document's bytes, or why an object cannot be stored: kTextTooLong for a
// text beyond the text limit, kUnsupported for an unknown kind, kTooLarge for
// budgets beyond 32 bits.
Result<std::vector<std::uint8_t>> WriteLogoDocument(std::uint16_t page_width,
                                                    std::uint16_t page_height,
                                                    const std::vector<DocumentObject>& objects);

// Writes the document to `path`, replacing it whole only once every byte is
// written (else it stays as it was). True when it was replaced.
bool SaveLogoDocument(const std::string& path, std::uint16_t page_width, std::uint16_t page_height,
                      const std::vector<DocumentObject>& objects);

}  // namespace inkmark
