#include "document/compose_convert.h"

#include "converter/convert.h"
#include "picture/picture_io.h"

namespace inkmark {

std::optional<BitmapFile> ConvertFileInPlace(const std::string& path,
                                             const ConversionParams& params,
                                             const LogoSession& session) {
  if (path.empty()) return std::nullopt;
  const std::int32_t inks[2] = {session.first_color, session.second_color};
  if (QrvConvertLogo(path.c_str(), &params, inks, path.c_str()) != 1) return std::nullopt;
  return ReadWholeFile(path).ToOptional();
}

}  // namespace inkmark
