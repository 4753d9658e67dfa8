// Small path utilities the windows and the pipeline share.
#pragma once

#include <string_view>

namespace inkmark {

// 1 when the path names an existing entry (file, folder or link), else 0.
// The root "/" always counts as existing.
int PathExists(std::string_view path);

// 0 when the last component of the path holds any of " * / : ; < > ? |, else 1.
// An empty name is valid.
int IsValidFileName(std::string_view path);

}  // namespace inkmark
