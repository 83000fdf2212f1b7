#pragma once
// A decimal-comma locale for the tests that check numbers are read and
// written the same in every locale. Test machines need not have one
// installed, so de_DE.UTF-8 is built with localedef (Debian's locales
// package holds its sources) into a folder of the test process's own, once
// per process; the folder is removed when the process ends.
//
// DecimalComma, while it lives, makes de_DE.UTF-8 the process's locale in
// every category, as a German desktop session does, and its destructor puts
// the locale and LOCPATH back. When the locale cannot be made, or it does
// not write a decimal comma, the constructor throws, failing the test with
// the reason.
//
// Example:
//   {
//     const DecimalComma comma;
//     EXPECT_EQ(sprintf("%4.4f", 3.003), "3.0030");
//   }

#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

namespace tarvolin::testing {

class DecimalComma {
 public:
  DecimalComma() {
    const Built& built = locale();
    if (!built.problem.empty()) throw std::runtime_error(built.problem);
    savedLocale_ = std::setlocale(LC_ALL, nullptr);
    if (const char* path = ::getenv("LOCPATH")) savedLocpath_ = path;
    ::setenv("LOCPATH", built.folder.c_str(), 1);
    if (std::setlocale(LC_ALL, kName) == nullptr) {
      restore();
      throw std::runtime_error(std::string("setlocale cannot use ") + kName + " built in " +
                               built.folder.string());
    }
    const std::string point = std::localeconv()->decimal_point;
    if (point != ",") {
      restore();
      throw std::runtime_error(std::string(kName) + " has the decimal point \"" + point +
                               "\", not a comma");
    }
  }
  ~DecimalComma() { restore(); }
  DecimalComma(const DecimalComma&) = delete;
  DecimalComma& operator=(const DecimalComma&) = delete;

 private:
  static constexpr const char* kName = "de_DE.UTF-8";

  // The folder the locale is built in, or why it could not be built.
  class Built {
   public:
    Built() {
      std::string pattern =
          (std::filesystem::temp_directory_path() / "tarvolin-locale-XXXXXX").string();
      if (::mkdtemp(pattern.data()) == nullptr) {
        problem = "cannot make a folder for the locale from " + pattern;
        return;
      }
      folder = pattern;
      const std::string command =
          "localedef -i de_DE -f UTF-8 '" + (folder / kName).string() + "' 2>&1";
      std::string output;
      int status = -1;
      if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
          output.append(buffer, n);
        }
        status = ::pclose(pipe);
      }
      // Exit status 1 means warnings only: the locale was written.
      if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) > 1) {
        problem =
            "cannot build the decimal-comma locale (is Debian's locales package "
            "installed?): " +
            command + " gave status " + std::to_string(status) + "\n" + output;
      }
    }
    ~Built() {
      std::error_code ignored;
      if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
    }
    Built(const Built&) = delete;
    Built& operator=(const Built&) = delete;

    std::filesystem::path folder;
    std::string problem;
  };

  static const Built& locale() {
    static const Built built;
    return built;
  }

  void restore() {
    std::setlocale(LC_ALL, savedLocale_.c_str());
    if (savedLocpath_) {
      ::setenv("LOCPATH", savedLocpath_->c_str(), 1);
    } else {
      ::unsetenv("LOCPATH");
    }
  }

  std::string savedLocale_;
  std::optional<std::string> savedLocpath_;
};

}  // namespace tarvolin::testing
