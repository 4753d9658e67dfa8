// One call of the converter on a file, replacing it, as the composition makes
// every conversion.
#pragma once

#include <optional>
#include <string>

#include "session/session.h"

namespace inkmark {

// Converts the bitmap file at `path` in place with `params` and the session's
// inks, and reads the result back whole. nullopt when the converter refuses
// (it then leaves the file as it was, which must not pass for its output) or
// the result cannot be read.
std::optional<BitmapFile> ConvertFileInPlace(const std::string& path,
                                             const ConversionParams& params,
                                             const LogoSession& session);

}  // namespace inkmark
