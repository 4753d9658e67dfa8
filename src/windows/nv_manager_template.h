// The NV graphics manager window "NVMANAGE": its template, control IDs and the
// place of its key list.
#pragma once

#include "platform/dialog_template.h"

namespace inkmark {

enum NvManagerControlId : int {
  kNvClose = 1,
  kNvGetKeys = 1021,
  kNvKeyList = 1022,
  kNvSelectAll = 1023,
  kNvRemoveSelect = 1024,
  kNvPrint = 1025,
  kNvDelete = 1026,
};

const DialogTemplate& NvManagerTemplate();

// The key list is a multiple-selection list box with a vertical scroll bar,
// which the template's control kinds do not describe: its rectangle in dialog
// units, for the window to place it.
inline constexpr ControlTemplate kNvKeyListPlacement{kNvKeyList, ControlKind::kLabel, "", 8, 20, 80,
                                                     104};

}  // namespace inkmark
