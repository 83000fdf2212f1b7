#pragma once
// Helpers shared by every test: one tolerance check for matrices, one check
// of an error's type and message, a scratch folder, and a guard that puts the
// working directory back after a reader moved it.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <Eigen/Core>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/filedialogs.h"
#include "core/textsink.h"
#include "document/handle.h"

namespace tarvolin::testing {

// Fails unless a and b have the same size and differ by at most eps anywhere.
inline ::testing::AssertionResult assert_near(const Eigen::MatrixXd& a, const Eigen::MatrixXd& b,
                                              double eps) {
  if (a.rows() != b.rows() || a.cols() != b.cols()) {
    return ::testing::AssertionFailure() << "sizes differ: " << a.rows() << "x" << a.cols()
                                         << " and " << b.rows() << "x" << b.cols();
  }
  if (a.size() == 0) return ::testing::AssertionSuccess();
  const double worst = (a - b).cwiseAbs().maxCoeff();
  if (!(worst <= eps)) {
    return ::testing::AssertionFailure() << "largest difference " << worst << " exceeds " << eps;
  }
  return ::testing::AssertionSuccess();
}

// A row vector written out in a test: row({1, 2, 3}).
// The notes of a routine (its self-checks) where a test expects none: any
// text written there fails the test.
inline TextSink noNotes() {
  return [](std::string_view text) { ADD_FAILURE() << "unexpected notes: " << text; };
}

inline Eigen::RowVectorXd row(std::initializer_list<double> values) {
  return Eigen::Map<const Eigen::RowVectorXd>(values.begin(),
                                              static_cast<Eigen::Index>(values.size()));
}

inline std::string dataPath(const std::string& name) {
  return std::string(TARVOLIN_TEST_DATA_DIR) + "/" + name;
}

inline std::string examplePath(const std::string& name) {
  return std::string(TARVOLIN_EXAMPLES_DIR) + "/" + name;
}

// True when `number` stands in `text` as a word of its own, not inside a
// longer number: for checking that a message names a line or a count.
inline bool mentions(const std::string& text, long number) {
  const std::string word = std::to_string(number);
  for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
    const bool before = at == 0 || !std::isdigit(static_cast<unsigned char>(text[at - 1]));
    const size_t end = at + word.size();
    const bool after = end == text.size() || !std::isdigit(static_cast<unsigned char>(text[end]));
    if (before && after) return true;
  }
  return false;
}

inline void writeText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Passes when exactly one file dialog was shown, of the given kind, filter
// and title.
// examples/wings2d.tps with the second curve of wing_12 digitized
// backwards: a specimen is 33 lines, its second curve's points lines 23 to
// 32, which are put in reverse order.
inline std::string wingsWithACurveBackwards() {
  const std::string wings = readText(examplePath("wings2d.tps"));
  std::vector<std::string> lines;
  for (size_t at = 0; at < wings.size();) {
    const size_t end = wings.find('\n', at);
    lines.push_back(wings.substr(at, end - at + 1));
    at = end + 1;
  }
  if (lines.size() < 33 * 12 || lines[33 * 11 + 32] != "ID=wing_12\n") return wings;
  std::reverse(lines.begin() + 33 * 11 + 22, lines.begin() + 33 * 11 + 32);
  std::string planted;
  for (const std::string& line : lines) planted += line;
  return planted;
}

inline ::testing::AssertionResult shownOneDialog(const ScriptedFileDialogs& dialogs, bool save,
                                                 const std::string& filter,
                                                 const std::string& title) {
  const auto& shown = dialogs.requests();
  if (shown.size() != 1) {
    return ::testing::AssertionFailure() << shown.size() << " dialogs were shown, not 1";
  }
  if (shown[0].save != save || shown[0].filter != filter || shown[0].title != title) {
    return ::testing::AssertionFailure() << "shown: " << (shown[0].save ? "save" : "open") << " \""
                                         << shown[0].filter << "\" \"" << shown[0].title << "\"";
  }
  return ::testing::AssertionSuccess();
}

// A fresh, empty folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tarvolin-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string file(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Restores the working directory when it goes out of scope.
class CwdGuard {
 public:
  CwdGuard() : saved_(std::filesystem::current_path()) {}
  ~CwdGuard() { std::filesystem::current_path(saved_); }
  CwdGuard(const CwdGuard&) = delete;
  CwdGuard& operator=(const CwdGuard&) = delete;

 private:
  std::filesystem::path saved_;
};

}  // namespace tarvolin::testing

// Expects `statement` to throw `type` whose what() contains `fragment`.
#define EXPECT_THROW_MSG(statement, type, fragment)                                  \
  do {                                                                               \
    try {                                                                            \
      statement;                                                                     \
      ADD_FAILURE() << "expected " #type " containing \"" << (fragment) << "\"";     \
    } catch (const type& caught_error_) {                                            \
      EXPECT_NE(std::string(caught_error_.what()).find(fragment), std::string::npos) \
          << "message was: " << caught_error_.what();                                \
    }                                                                                \
  } while (false)

// As EXPECT_THROW_MSG, for a message that must read exactly `text`: the
// texts the system's definition fixes word for word.
#define EXPECT_THROW_TEXT(statement, type, text)                         \
  do {                                                                   \
    try {                                                                \
      statement;                                                         \
      ADD_FAILURE() << "expected " #type " saying \"" << (text) << "\""; \
    } catch (const type& caught_error_) {                                \
      EXPECT_EQ(std::string(caught_error_.what()), std::string(text));   \
    }                                                                    \
  } while (false)

namespace tarvolin {

// A handle in a failed check's message: its number.
inline std::ostream& operator<<(std::ostream& out, Handle h) { return out << h.value(); }

}  // namespace tarvolin
