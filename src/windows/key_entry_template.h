// The key-entry window "KEYIN": its template and control IDs.
#pragma once

#include "platform/dialog_template.h"

namespace inkmark {

enum KeyEntryControlId : int {
  kKeyEntryExecute = 1,
  kKeyEntryStop = 2,
  kKeyEntryEdit = 1020,
};

const DialogTemplate& KeyEntryTemplate();

}  // namespace inkmark
