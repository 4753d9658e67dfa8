#include "windows/raster_failure.h"

#include "platform/string_table.h"

namespace inkmark {

bool IsUnreadablePicture(const Failure& why) {
  switch (why.code) {
    case FailureCode::kUnknownFormat:
    case FailureCode::kNotRegularFile:
    case FailureCode::kCannotOpen:
    case FailureCode::kTooLarge:
    case FailureCode::kCorrupt:
    case FailureCode::kUnsupported:
      return true;
    default:
      return false;
  }
}

void ShowRasterFailure(WindowHandle owner, const Failure& why) {
  ShowFailure(owner, IsUnreadablePicture(why) ? kStrCannotReadImage : kStrNoMemory, why);
}

}  // namespace inkmark
