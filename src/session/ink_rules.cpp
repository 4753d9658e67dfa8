#include "session/ink_rules.h"

namespace inkmark {

void SetInksFromProfile(LogoSession& session) {
  const PrinterProfile* p = session.CurrentProfile();
  if (p == nullptr) return;
  session.first_color = ColorFromName(p->first_colors.Selected());
  session.second_color = ColorFromName(p->second_colors.Selected());
}

void ApplyInkRule(LogoSession& session, int mono_ink) {
  ConversionParams& params = session.params;
  params.color_table = 0;
  if (session.monochrome != 0) {
    // The monochrome list names the one ink; without a 2nd colour only the 1st remains.
    params.color_table = (mono_ink == 1 && session.second_color != kNoInk) ? 1 : 0;
    params.color_count = 1;
    params.palette_size = 2;
  } else if (session.second_color == kNoInk) {
    params.color_count = 1;
    params.palette_size = 2;
  } else {
    params.color_count = 2;
    params.palette_size = 256;
  }
}

std::uint16_t LevelAttachFor(int position, bool monochrome) {
  if (position <= 0) return kAttachFirst;
  if (position == 1 && !monochrome) return kAttachSecond;
  return kAttachWhite;
}

}  // namespace inkmark
