#include "platform/failure.h"

#include <cstring>

namespace inkmark {

std::string_view FailureCodeName(FailureCode code) {
  switch (code) {
    case FailureCode::kUnknownFormat:
      return "unknown format";
    case FailureCode::kNotRegularFile:
      return "not a regular file";
    case FailureCode::kCannotOpen:
      return "cannot open";
    case FailureCode::kTooLarge:
      return "too large";
    case FailureCode::kCorrupt:
      return "corrupt";
    case FailureCode::kUnsupported:
      return "unsupported";
    case FailureCode::kNoMemory:
      return "out of memory";
    case FailureCode::kWriteFailed:
      return "write failed";
    case FailureCode::kPortUnavailable:
      return "port unavailable";
    case FailureCode::kTimedOut:
      return "timed out";
    case FailureCode::kBusy:
      return "busy";
    case FailureCode::kHungUp:
      return "hung up";
    case FailureCode::kOutputLost:
      return "output lost";
    case FailureCode::kMalformedReply:
      return "malformed reply";
    case FailureCode::kTextTooLong:
      return "text too long";
    case FailureCode::kInvalidArgument:
      return "invalid argument";
    case FailureCode::kNoSpace:
      return "no space left";
    case FailureCode::kCannotFit:
      return "cannot be fitted";
    case FailureCode::kCancelled:
      return "cancelled";
  }
  return "failure";
}

Failure ErrnoFailure(FailureCode code, const std::string& context, int error) {
  return {code, context + ": " + std::strerror(error)};
}

std::string Failure::Describe() const {
  if (detail.empty()) return std::string(FailureCodeName(code));
  return detail;
}

}  // namespace inkmark
