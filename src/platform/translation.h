// The user's language for the program's own texts. English is built in; a
// Japanese locale (LC_ALL, LC_MESSAGES or LANG, the first one set, starting
// with "ja") loads the Japanese translations made from translations/*.ts.
// Texts are UTF-8.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

class QTranslator;

namespace inkmark {

// The language the environment asks for: "ja" or "" for English.
std::string RequestedLanguage();

// Loads the translations of `language` ("" unloads them) from `folder`.
// False when a translation file for that language is missing or unreadable;
// English is then used.
bool LoadTranslations(std::string_view language, const std::filesystem::path& folder);

// Loads the translations the environment asks for, from their installed place.
void LoadRequestedTranslations();

// The translation of a string-table text by its ID, or "" for none.
std::string TranslatedString(int id);

// The translation of `english` in `context`, or `english` itself.
std::string Translate(const char* context, std::string_view english);

// `text` with %1, %2, ... replaced by the arguments in order (a translation
// may put them in another order); other % signs stay.
std::string Fill(std::string_view text, std::initializer_list<std::string> args);

// Installs the loaded translations, and Qt's own for its dialogs and buttons,
// into the running application.
void InstallTranslations();

}  // namespace inkmark
