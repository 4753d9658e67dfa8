// The program's texts, by string ID. English texts; a text that takes an
// argument holds one "%s".
#pragma once

#include <string>
#include <string_view>

namespace inkmark {

enum StringId : int {
  kStrOpenTitle = 1,
  kStrOpenFileTypes = 2,
  kStrOpenExtensions = 4,
  kStrSaveExtensions = 6,
  kStrBlack = 7,
  kStrRed = 8,
  kStrGreen = 9,
  kStrBlue = 10,
  kStrAppCaption = 12,
  kStrSaveFileTypes = 13,
  kStrSaveTitle = 14,
  kStrNoMemory = 15,
  kStrNoPrinterFile = 16,
  kStrDeleteFailed = 17,
  kStrBadKey = 19,
  kStrRegisterFailed = 20,
  kStrAskDelete = 21,
  kStrTestPrintFailed = 23,
  kStrPrintFailed = 24,
  kStrBadFileName = 25,
  kStrCannotInitialize = 26,
  kStrNoKeys = 27,
  kStrCannotReadImage = 28,
  kStrNoNvMemory = 29,
  kStrNvSizeLimit = 30,
  kStrKeyExists = 31,
  kStrKeyListFailed = 32,
  kStrCapacityFailed = 33,
  kStrPortOpenFailed = 34,
  // Shown after a define or test print broke off inside a command.
  kStrTransferBrokenOff = 35,
  kStrNotRegularFile = 40,
  kStrWriteFailed = 41,
  kStrTempFolderUnsafe = 42,
  kStrTempDiskFull = 43,
  kStrPageCannotFit = 44,
  // Shown when the user stopped a define or a test print.
  kStrRegisterCancelled = 45,
  kStrTestPrintCancelled = 46,
};

// The text of `id` in the user's language, cut to `max_chars` characters as a
// fixed buffer of max_chars + 1 bytes would hold the English text (a UTF-8
// translation keeps as many characters, never part of one); "" for an unknown ID.
std::string LoadString(int id, std::size_t max_chars = 127);

// The English text of `id` whatever the user's language, for texts that are
// matched against what files hold (the ink names); "" for an unknown ID.
std::string_view EnglishString(int id);

}  // namespace inkmark
