// The tool tips of the main window, key entry and the NV manager: a short
// line per control, by control ID, in English; the Qt side shows them
// translated (context "ToolTips").
#pragma once

#include <span>

namespace inkmark {

struct ControlTip {
  int id;
  const char* text;
};

inline constexpr char kToolTipContext[] = "ToolTips";

std::span<const ControlTip> MainToolTips();
std::span<const ControlTip> KeyEntryToolTips();
std::span<const ControlTip> NvManagerToolTips();

// The tip of control `id` in `tips`, or nullptr.
const char* ToolTipOf(std::span<const ControlTip> tips, int id);

}  // namespace inkmark
