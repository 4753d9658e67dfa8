// Dialog templates as data: every control of a window with its ID, kind,
// caption and rectangle in dialog units, and the conversion of dialog units to
// pixels from the template font's character size.
#pragma once

#include <span>
#include <string_view>

namespace inkmark {

// The ID of a control that no handler refers to (labels, group boxes).
inline constexpr int kNoControlId = -1;

enum class ControlKind {
  kGroupBox,
  kLabel,
  kEdit,
  kPushButton,
  kDefaultPushButton,
  kCheckBox,
  kRadioButton,
  kDropDownList,
  kTrackBar,
  kSunkenFrame,
};

// Style bits; a kind ignores those that do not apply to it.
enum ControlStyle : unsigned {
  kStylePlain = 0,
  kStyleOwnerDrawn = 1u << 0,  // drop-down list whose items the window draws
  kStyleCentered = 1u << 1,    // label text centred horizontally
  kStyleRight = 1u << 2,       // label text right-aligned
  kStyleVCentered = 1u << 3,   // label text centred vertically
  kStyleTicks = 1u << 4,       // track bar with a tick at every position
  kStyleNotify = 1u << 5,      // check box that also reports focus changes
  kStyleAutoScroll = 1u << 6,  // edit that scrolls its text horizontally
};

struct ControlTemplate {
  int id = kNoControlId;
  ControlKind kind = ControlKind::kLabel;
  std::string_view caption;
  int x = 0, y = 0, width = 0, height = 0;  // dialog units
  unsigned style = kStylePlain;
};

struct DialogTemplate {
  std::string_view name;
  std::string_view title;
  std::string_view font_face;
  int font_points = 0;
  int width = 0, height = 0;  // dialog units
  std::span<const ControlTemplate> controls;
};

// The template's first control with `id`, or nullptr.
const ControlTemplate* FindControl(const DialogTemplate& dialog, int id);

// The template font's dialog base units in pixels: the average character width
// and the character height.
struct DialogUnits {
  int base_x = 1;
  int base_y = 1;
};

// Base units from the width of the 52 letters "A".."Z","a".."z" and the
// character height of the font, rounded as the dialog manager rounds them.
DialogUnits DialogUnitsFromFont(int alphabet_width, int char_height);

struct PixelRect {
  int x = 0, y = 0, width = 0, height = 0;
};

// x and width scale by base_x / 4, y and height by base_y / 8, each rounded to
// the nearest pixel.
PixelRect DialogToPixels(const DialogUnits& units, int x, int y, int width, int height);

}  // namespace inkmark
