#include "windows/nv_manager_template.h"

namespace inkmark {
namespace {

using K = ControlKind;

constexpr ControlTemplate kNvManagerControls[] = {
    {kNvClose, K::kDefaultPushButton, "&Close", 100, 110, 76, 16},
    {kNoControlId, K::kLabel, "NV graphics &keycode:", 8, 8, 80, 10},
    {kNvGetKeys, K::kPushButton, "&Get keycode lists", 100, 20, 76, 16},
    {kNvSelectAll, K::kPushButton, "&Select All", 100, 42, 76, 14},
    {kNvRemoveSelect, K::kPushButton, "&Remove Select", 100, 58, 76, 14},
    {kNvPrint, K::kPushButton, "&Print", 100, 78, 76, 14},
    {kNvDelete, K::kPushButton, "&Delete", 100, 94, 76, 14},
};

constexpr DialogTemplate kNvManager{"NVMANAGE", "Control Printer Registry", "Arial", 9, 184,
                                    134,        kNvManagerControls};

}  // namespace

const DialogTemplate& NvManagerTemplate() { return kNvManager; }

}  // namespace inkmark
