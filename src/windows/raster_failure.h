// Why no logo could be built for a command, in the words a user needs.
#pragma once

#include "platform/failure.h"
#include "platform/message_box.h"

namespace inkmark {

// True when the failure says the picture itself cannot be read (its format,
// its bytes, the file), not that the computer ran short.
bool IsUnreadablePicture(const Failure& why);

// Shows "cannot be read" for an unreadable picture, else the memory text,
// each with the reason under it.
void ShowRasterFailure(WindowHandle owner, const Failure& why);

}  // namespace inkmark
