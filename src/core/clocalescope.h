#pragma once
// Makes the C locale this thread's locale while it lives, so that the C
// library's number functions (snprintf, strtod) write and read a decimal
// point whatever locale the program runs in (a desktop session with a
// decimal comma included).
//
// CLocaleScope() switches the calling thread to the C locale; the destructor
// gives it back the locale it had. Other threads and the process's own
// locale (setlocale) are left alone. The C locale is made once per process,
// so a scope costs two cheap calls and can be opened freely.
//
// Example:
//   {
//     const CLocaleScope cNumbers;
//     std::snprintf(buffer, sizeof buffer, "%4.4f", 3.003);  // "3.0030" in any locale
//   }

#include <locale.h>

namespace tarvolin {

class CLocaleScope {
 public:
  CLocaleScope();
  ~CLocaleScope();
  CLocaleScope(const CLocaleScope&) = delete;
  CLocaleScope& operator=(const CLocaleScope&) = delete;

 private:
  locale_t previous_;
};

}  // namespace tarvolin
