#include "document/document_writer.h"

#include <algorithm>

#include "picture/picture_bytes.h"
#include "platform/output_file.h"

namespace inkmark {
namespace {

void PutI32(std::vector<std::uint8_t>& out, std::size_t offset, std::int32_t value) {
  PutU32(out, offset, static_cast<std::uint32_t>(value));
}

void AppendObjectHeader(std::vector<std::uint8_t>& out, const DocumentObject& object) {
  const std::size_t at = out.size();
  out.resize(at + kObjectHeaderSize, 0);
  PutU16(out, at + kObjOffKind, object.kind);
  PutI32(out, at + kObjOffLeft, object.left);
  PutI32(out, at + kObjOffTop, object.top);
  PutI32(out, at + kObjOffRight, object.right);
  PutI32(out, at + kObjOffBottom, object.bottom);
  PutU16(out, at + kObjOffTransparent, object.transparent);
  PutI32(out, at + kObjOffTextColor, object.text_color);
}

void AppendTextRecord(std::vector<std::uint8_t>& out, const DocumentObject& object) {
  const std::size_t at = out.size();
  out.resize(at + kTextRecordSize, 0);
  const FontDescription& f = object.font;
  PutI32(out, at, f.height);
  PutI32(out, at + 4, f.width);
  PutI32(out, at + 8, f.escapement);
  PutI32(out, at + 12, f.orientation);
  PutI32(out, at + 16, f.weight);
  const std::uint8_t flags[8] = {f.italic,   f.underline,       f.strike_out,
                                 f.char_set, f.out_precision,   f.clip_precision,
                                 f.quality,  f.pitch_and_family};
  std::copy(std::begin(flags), std::end(flags), out.begin() + static_cast<std::ptrdiff_t>(at + 20));
  // The face name keeps its terminator.
  for (std::size_t i = 0; i + 1 < kFaceNameSize && f.face_name[i] != '\0'; ++i) {
    out[at + 28 + i] = static_cast<std::uint8_t>(f.face_name[i]);
  }
  PutU16(out, at + kTextOffLength, static_cast<std::uint16_t>(object.text.size()));
  std::copy(object.text.begin(), object.text.end(),
            out.begin() + static_cast<std::ptrdiff_t>(at + kTextOffText));
}

}  // namespace

DocumentObject TextObject(std::int32_t left, std::int32_t bottom, const std::string& text,
                          const std::string& face, std::int32_t height, std::int32_t text_color,
                          std::int32_t escapement) {
  DocumentObject object;
  object.kind = kTextObject;
  object.left = left;
  object.right = left;
  object.top = bottom;
  object.bottom = bottom;
  object.text_color = text_color;
  object.text = text;
  object.font.height = height;
  object.font.escapement = escapement;
  object.font.orientation = escapement;
  object.font.weight = 400;
  for (std::size_t i = 0; i < face.size() && i + 1 < kFaceNameSize; ++i) {
    object.font.face_name[i] = face[i];
  }
  return object;
}

DocumentObject ImageObject(std::int32_t left, std::int32_t top, std::int32_t right,
                           std::int32_t bottom, std::vector<std::uint8_t> bitmap,
                           bool transparent) {
  DocumentObject object;
  object.kind = kImageObject;
  object.left = left;
  object.top = top;
  object.right = right;
  object.bottom = bottom;
  object.transparent = transparent ? 1 : 0;
  object.bitmap = std::move(bitmap);
  return object;
}

Result<std::vector<std::uint8_t>> WriteLogoDocument(std::uint16_t page_width,
                                                    std::uint16_t page_height,
                                                    const std::vector<DocumentObject>& objects) {
  std::vector<std::uint8_t> out(kDocumentHeaderSize, 0);
  std::copy(kDocumentMagic.begin(), kDocumentMagic.end(), out.begin());
  PutU16(out, kDocOffPageWidth, page_width);
  PutU16(out, kDocOffPageHeight, page_height);
  std::uint64_t text_bytes = 0;
  std::uint64_t image_bytes = 0;
  for (const DocumentObject& object : objects) {
    AppendObjectHeader(out, object);
    if (object.kind == kTextObject) {
      if (Status fits = CheckTextLength(object.text.size()); !fits) return fits.failure();
      AppendTextRecord(out, object);
      text_bytes += kTextObjectSize;
    } else if (object.kind == kImageObject) {
      if (object.bitmap.size() > UINT32_MAX - kImageObjectFixedSize) {
        return Failure{FailureCode::kTooLarge, "an image beyond 32 bits"};
      }
      const std::size_t at = out.size();
      out.resize(at + 4, 0);
      PutU32(out, at, static_cast<std::uint32_t>(object.bitmap.size()));
      out.insert(out.end(), object.bitmap.begin(), object.bitmap.end());
      image_bytes += kImageObjectFixedSize + object.bitmap.size();
    } else {
      return Failure{FailureCode::kUnsupported, "an object of unknown kind"};
    }
  }
  if (text_bytes > UINT32_MAX || image_bytes > UINT32_MAX) {
    return Failure{FailureCode::kTooLarge, "objects beyond 32 bits"};
  }
  PutU32(out, kDocOffTextBytes, static_cast<std::uint32_t>(text_bytes));
  PutU32(out, kDocOffImageBytes, static_cast<std::uint32_t>(image_bytes));
  return out;
}

bool SaveLogoDocument(const std::string& path, std::uint16_t page_width, std::uint16_t page_height,
                      const std::vector<DocumentObject>& objects) {
  auto bytes = WriteLogoDocument(page_width, page_height, objects);
  if (!bytes) return false;
  return WriteOutputFile(path, *bytes) == OutputError::kNone;
}

}  // namespace inkmark
