// Numbers in plan files and reports always use a decimal point, whatever the
// user's locale says: a desktop program runs under the user's LC_NUMERIC.
#pragma once

#include <locale.h>

class CNumbers {
 public:
  CNumbers() {
    static locale_t c_locale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
    previous_ = c_locale ? uselocale(c_locale) : static_cast<locale_t>(0);
  }
  ~CNumbers() {
    if (previous_) uselocale(previous_);
  }
  CNumbers(const CNumbers&) = delete;
  CNumbers& operator=(const CNumbers&) = delete;

 private:
  locale_t previous_;
};
