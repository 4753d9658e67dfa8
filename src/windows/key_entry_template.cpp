#include "windows/key_entry_template.h"

namespace inkmark {
namespace {

using K = ControlKind;

constexpr ControlTemplate kKeyEntryControls[] = {
    {kKeyEntryExecute, K::kDefaultPushButton, "&Execute", 24, 48, 60, 16},
    {kKeyEntryStop, K::kPushButton, "&Stop", 100, 48, 60, 16},
    {kNoControlId, K::kLabel, "&Input a key to use for registration of NV graphics.", 8, 8, 170,
     10},
    {kKeyEntryEdit, K::kEdit, "", 40, 26, 32, 12, kStyleAutoScroll},
    {kNoControlId, K::kLabel, "&Key:", 12, 26, 24, 12, kStyleVCentered},
};

constexpr DialogTemplate kKeyEntry{"KEYIN", "Setting Key", "Arial", 9, 184, 72, kKeyEntryControls};

}  // namespace

const DialogTemplate& KeyEntryTemplate() { return kKeyEntry; }

}  // namespace inkmark
