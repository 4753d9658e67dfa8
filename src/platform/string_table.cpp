#include "platform/string_table.h"

#include "platform/translation.h"

namespace inkmark {
namespace {

struct Entry {
  int id;
  std::string_view text;
};

constexpr Entry kEnglish[] = {
    {1, "Open"},
    {2,
     "Bitmap File(*.BMP;*.RLE)~*.BMP;*.RLE~JPEG File(*.JPG)~*.JPG~Quorvel Logo File(*.QLF)~*.QLF~"
     "Other Picture(*.PNG;*.GIF;*.SVG)~*.PNG;*.GIF;*.SVG~"},
    {4, "BMP,RLE,JPG,QLF,PNG,GIF,SVG"},
    {6, "BMP,BIN"},
    {7, "Black"},
    {8, "Red"},
    {9, "Green"},
    {10, "Blue"},
    {12, "Quorvel Inkmark Tool"},
    {13, "Bitmap File(*.BMP)~*.BMP~ORC/POS Command File(*.BIN)~*.BIN~"},
    {14, "Save As"},
    {15, "Insufficient Memory.  Please increase Virtual Memory."},
    {16, "Printer information file(*.DEF) is missing."},
    {17, "Failed to delete NV graphics \"%s\". Please confirm the printer settings."},
    {19, "Input a two-digit character from 0x20 to 0x7e for the key."},
    {20, "Failed to register NV graphics. Please confirm the printer settings."},
    {21, "Do you want to delete NV graphics \"%s\" ?"},
    {23, "Test printing failure. Please confirm the printer settings."},
    {24, "Failed to print of NV graphics \"%s\" ."},
    {25, "Invalid file name.  Input a proper name."},
    {26, "The application could not be initialized."},
    {27, "No Key code exist in NV graphics."},
    {28,
     "The specified image file cannot be read.\nThe file may be corrupted, or the image format may "
     "not be supported."},
    {29, "Insufficient NV graphics memory."},
    {30, "The registrable image data size for NV graphics is up to [%s]dot."},
    {31, "Specified key already exists."},
    {32, "Failed to get key code list."},
    {33, "Failed to get NV graphics capacity."},
    {34, "Failed to open printer port."},
    {35,
     "The printer may still be waiting for the rest of the data. Switch it off and on before the "
     "next command."},
    {40, "\"%s\" is not a regular file and cannot be replaced. Choose another name."},
    {41, "The file \"%s\" could not be written. A file of that name is left as it was."},
    {42, "The temporary folder \"%s\" cannot be made private. Pictures cannot be shown."},
    {43, "The temporary files could not be written: the disk that holds them is full."},
    {44, "The page cannot be fitted on the paper. Choose another paper width or layout."},
    {45, "The registration of NV graphics was cancelled."},
    {46, "The test print was cancelled."},
};

}  // namespace

std::string_view EnglishString(int id) {
  for (const auto& e : kEnglish)
    if (e.id == id) return e.text;
  return {};
}

std::string LoadString(int id, std::size_t max_chars) {
  for (const auto& e : kEnglish) {
    if (e.id != id) continue;
    std::string text = TranslatedString(id);
    if (text.empty()) return std::string(e.text.substr(0, max_chars));
    // A translation is UTF-8: it keeps as many characters as the English
    // text may have, and is never cut inside one.
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && chars++ == max_chars) {
        text.resize(i);
        break;
      }
    }
    return text;
  }
  return {};
}

}  // namespace inkmark
