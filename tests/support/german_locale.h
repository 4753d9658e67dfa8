// A German locale ("," as the decimal separator) built for a test, since a
// machine need not have it: LOCPATH points at it while this object lives.
#pragma once

#include <cstdlib>
#include <string>

#include "support/temp_dir.h"

namespace inkmark::testing {

class GermanLocale {
 public:
  static constexpr const char* kName = "de_DE.UTF-8";

  GermanLocale() {
    const std::string line =
        "localedef -i de_DE -f UTF-8 '" + (dir_.path() / kName).string() + "' >/dev/null 2>&1";
    built_ = std::system(line.c_str()) == 0;
    if (built_) setenv("LOCPATH", dir_.path().c_str(), 1);
  }
  ~GermanLocale() {
    if (built_) unsetenv("LOCPATH");
  }
  GermanLocale(const GermanLocale&) = delete;
  GermanLocale& operator=(const GermanLocale&) = delete;

  // False where the locale tools are missing.
  bool built() const { return built_; }
  const std::filesystem::path& folder() const { return dir_.path(); }

 private:
  TempDir dir_;
  bool built_ = false;
};

}  // namespace inkmark::testing
