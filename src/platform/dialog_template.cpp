#include "platform/dialog_template.h"

#include <cstdint>

namespace inkmark {
namespace {

// a * b / c rounded half away from zero, in 64 bits so no product overflows.
int MulDivRound(int a, int b, int c) {
  if (c == 0) return 0;
  std::int64_t p = std::int64_t(a) * b;
  std::int64_t half = (c < 0 ? -std::int64_t(c) : c) / 2;
  std::int64_t q = ((p < 0) != (c < 0)) ? (p - half) / c : (p + half) / c;
  return int(q);
}

}  // namespace

const ControlTemplate* FindControl(const DialogTemplate& dialog, int id) {
  for (const ControlTemplate& c : dialog.controls)
    if (c.id == id) return &c;
  return nullptr;
}

DialogUnits DialogUnitsFromFont(int alphabet_width, int char_height) {
  DialogUnits units;
  units.base_x = (alphabet_width / 26 + 1) / 2;
  units.base_y = char_height;
  if (units.base_x < 1) units.base_x = 1;
  if (units.base_y < 1) units.base_y = 1;
  return units;
}

PixelRect DialogToPixels(const DialogUnits& units, int x, int y, int width, int height) {
  return {MulDivRound(x, units.base_x, 4), MulDivRound(y, units.base_y, 8),
          MulDivRound(width, units.base_x, 4), MulDivRound(height, units.base_y, 8)};
}

}  // namespace inkmark
