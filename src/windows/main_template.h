// The main window's template "MAIN".
#pragma once

#include "platform/dialog_template.h"

namespace inkmark {

const DialogTemplate& MainTemplate();

}  // namespace inkmark
