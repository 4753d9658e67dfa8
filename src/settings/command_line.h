// Command-line options that choose a printer model and its settings at start-up.
#pragma once

#include <cstdint>
#include <string_view>

#include "session/session.h"

namespace inkmark {

// Applies -pn, -pw, -pf, -ps, -pr, -cp, -cb, -cc and -cf, in that order: -pn
// picks the current profile, the others a selection of the current profile.
// Returns 1 when any option picked an entry, else 0.
std::int32_t ApplyCommandLine(LogoSession& session, std::string_view command_line);

}  // namespace inkmark
