// Shared set-up of the composition tests: a Qt application for the fonts, a
// session whose temporary files lie in a test folder, and pictures and
// documents built in memory.
#pragma once

#include <QImage>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "document/compose.h"
#include "document/document_writer.h"
#include "session/session.h"
#include "support/temp_dir.h"

namespace inkmark::testing {

using Bgr24 = std::array<std::uint8_t, 3>;

inline constexpr Bgr24 kWhite24 = {255, 255, 255};
inline constexpr Bgr24 kBlack24 = {0, 0, 0};
inline constexpr Bgr24 kRed24 = {0, 0, 255};

// A 24-bit bitmap file whose left half is `left` and right half `right`.
std::vector<std::uint8_t> SplitBitmap(std::int32_t width, std::int32_t height, Bgr24 left,
                                      Bgr24 right);

// A 24-bit bitmap file of one colour.
inline std::vector<std::uint8_t> SolidBitmap(std::int32_t width, std::int32_t height,
                                             Bgr24 colour) {
  return SplitBitmap(width, height, colour, colour);
}

// A session on a black-and-red printer with `paper_dots` of paper, its
// temporary files in a fresh folder.
class ComposeSession {
 public:
  explicit ComposeSession(std::int32_t paper_dots = 512);

  LogoSession& session() { return session_; }
  const TempDir& dir() const { return dir_; }

  // Makes the printer one-ink ("None" as 2nd colour).
  void UseOneInk();
  // Writes a picture source and selects it.
  void UsePicture(const std::vector<std::uint8_t>& bitmap, const std::string& name = "src.bmp");
  // Writes a document, selects it and loads it; false when it does not load.
  bool UseDocument(std::uint16_t width, std::uint16_t height,
                   const std::vector<DocumentObject>& objects);

 private:
  TempDir dir_;
  LogoSession session_;
};

}  // namespace inkmark::testing
