#include "platform/translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdlib>
#include <memory>

#include "platform/paths.h"

namespace inkmark {
namespace {

// The string table's translations are keyed by their IDs ("IDS_28"); the
// windows', the editor's and the command-line tool's by context and English text.
struct Translators {
  std::unique_ptr<QTranslator> strings;
  std::unique_ptr<QTranslator> texts;
  std::unique_ptr<QTranslator> qt;
  std::string language;
};

Translators& Loaded() {
  static Translators translators;
  return translators;
}

std::unique_ptr<QTranslator> Load(const QString& name, const QString& folder) {
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(name, folder)) return nullptr;
  return translator;
}

}  // namespace

std::string RequestedLanguage() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') continue;
    return std::string_view(value).starts_with("ja") ? "ja" : "";
  }
  return "";
}

bool LoadTranslations(std::string_view language, const std::filesystem::path& folder) {
  Translators& t = Loaded();
  t = Translators{};
  if (language.empty()) return true;
  const QString lang = QString::fromUtf8(language.data(), qsizetype(language.size()));
  const QString dir = QString::fromStdString(folder.string());
  t.strings = Load("inkmark_strings_" + lang, dir);
  t.texts = Load("inkmark_" + lang, dir);
  t.qt = Load("qtbase_" + lang, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  if (t.strings == nullptr || t.texts == nullptr) {
    t = Translators{};
    return false;
  }
  t.language = language;
  return true;
}

void LoadRequestedTranslations() { LoadTranslations(RequestedLanguage(), TranslationsFolder()); }

std::string TranslatedString(int id) {
  const Translators& t = Loaded();
  if (t.strings == nullptr) return {};
  const std::string key = "IDS_" + std::to_string(id);
  return t.strings->translate(nullptr, key.c_str()).toStdString();
}

std::string Translate(const char* context, std::string_view english) {
  const Translators& t = Loaded();
  if (t.texts == nullptr || english.empty()) return std::string(english);
  const std::string source(english);
  const QString text = t.texts->translate(context, source.c_str());
  return text.isEmpty() ? source : text.toStdString();
}

std::string Fill(std::string_view text, std::initializer_list<std::string> args) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    const std::size_t n = std::size_t(next - '1');
    if (text[i] == '%' && next >= '1' && next <= '9' && n < args.size()) {
      out += *(args.begin() + n);
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

void InstallTranslations() {
  for (QTranslator* translator :
       {Loaded().strings.get(), Loaded().texts.get(), Loaded().qt.get()}) {
    if (translator != nullptr) QCoreApplication::installTranslator(translator);
  }
}

}  // namespace inkmark
