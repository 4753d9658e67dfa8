// The ink rule: which inks the session converts with, from the printer's
// colour selections and the Monochrome choice. The main window and the
// command-line tool both follow it.
#pragma once

#include "session/session.h"

namespace inkmark {

// Sets first_color and second_color from the current profile's colour
// selections; nothing changes when there is no current profile.
void SetInksFromProfile(LogoSession& session);

// Sets color_count, color_table and palette_size of the session's params from
// its inks and Monochrome flag. `mono_ink` is the chosen index in the
// monochrome list: 0 the 1st colour, 1 the 2nd.
void ApplyInkRule(LogoSession& session, int mono_ink);

// The level_attach entry for a level slider moved to `position`: left the 1st
// ink, the middle the 2nd (white when monochrome), right white.
std::uint16_t LevelAttachFor(int position, bool monochrome);

}  // namespace inkmark
