#pragma once
// Helpers shared by the tests of the landmark readers.

#include <Eigen/Core>
#include <random>
#include <string>
#include <string_view>

#include "core/errors.h"
#include "core/readtextfile.h"
#include "landmarks/landmarkset.h"
#include "tests/testing.h"

namespace tarvolin::testing {

// Equal sizes, NaN in the same places, the other values within 1e-9.
inline ::testing::AssertionResult sameWithNaN(const Eigen::MatrixXd& a, const Eigen::MatrixXd& b) {
  if (a.rows() != b.rows() || a.cols() != b.cols()) return assert_near(a, b, 0);
  if ((a.array().isNaN() != b.array().isNaN()).any()) {
    return ::testing::AssertionFailure() << "NaN in other places:\n" << a << "\n\n" << b;
  }
  return assert_near(a.array().isNaN().select(0, a), b.array().isNaN().select(0, b), 1e-9);
}

// Reads `source` with `read` under the name `fname`: the fixture
// formats/`folder`/`source`, or `source` itself when it holds a line end.
template <typename Reader>
LandmarkSet readSource(Reader read, const std::string& folder, const std::string& source,
                       const std::string& fname, const ReadOptions& options = {}) {
  if (source.find('\n') != std::string::npos || source.find('\r') != std::string::npos) {
    return read(source, fname, options);
  }
  std::string text;
  std::string reason;
  EXPECT_TRUE(readtextfile(dataPath("formats/" + folder + "/" + source), text, reason)) << reason;
  return read(text, fname, options);
}

// Expects `read()` to throw an InputError naming `fname` (any file when it
// is empty), `line` (0: no line) and holding `fragment` in its message;
// `source` names the case.
template <typename Read>
void expectRefused(Read read, const std::string& fname, long line, const std::string& fragment,
                   const std::string& source) {
  SCOPED_TRACE(source);
  try {
    read();
    ADD_FAILURE() << "read without an error";
  } catch (const InputError& error) {
    if (fname.empty()) {
      EXPECT_NE(error.file(), "");
    } else {
      EXPECT_EQ(error.file(), fname);
    }
    EXPECT_EQ(error.line(), line) << error.what();
    EXPECT_NE(error.message().find(fragment), std::string::npos) << error.what();
  }
}

// A set read is consistent: specimens and landmarks, one ID, size and scale
// per specimen, a flag per landmark, d coordinates per landmark, NaN exactly
// where a landmark is flagged missing and nothing else that is not finite,
// wireframe pairs within 1..k.
inline ::testing::AssertionResult consistent(const LandmarkSet& set) {
  const Eigen::Index n = set.specimens();
  const Eigen::Index k = set.landmarks();
  if (n == 0 || k == 0 || set.coords.cols() != set.dims * k ||
      static_cast<Eigen::Index>(set.ids.size()) != n || set.size.size() != n ||
      (set.scale.size() != 0 && set.scale.size() != n) ||
      (!set.semilandmark.empty() && static_cast<Eigen::Index>(set.semilandmark.size()) != k)) {
    return ::testing::AssertionFailure() << "the parts of the set disagree in size";
  }
  if (set.hasMissing() != set.coords.array().isNaN().any()) {
    return ::testing::AssertionFailure() << "missing flags and NaN disagree";
  }
  if (!set.coords.array().isNaN().select(0, set.coords).allFinite()) {
    return ::testing::AssertionFailure() << "a coordinate is not finite";
  }
  for (const auto& [from, to] : set.wireframe) {
    if (from < 1 || to < 1 || from > k || to > k) {
      return ::testing::AssertionFailure() << "a wire joins a landmark the set does not have";
    }
  }
  return ::testing::AssertionSuccess();
}

// Reads `trials` copies of `file`, each with one to four characters replaced,
// inserted or deleted from `alphabet`: each is read into a consistent set or
// refused with an InputError naming `fname`, never anything else. Returns how
// many were read.
template <typename Reader>
int readOrRefuseEdits(Reader read, const std::string& file, std::string_view alphabet,
                      const std::string& fname, unsigned seed, int trials = 4000) {
  std::mt19937 engine(seed);
  std::uniform_int_distribution<int> edits(1, 4);
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  int readCount = 0;
  for (int trial = 0; trial < trials; ++trial) {
    std::string text = file;
    for (int e = edits(engine); e > 0 && !text.empty(); --e) {
      const size_t at = std::uniform_int_distribution<size_t>(0, text.size() - 1)(engine);
      switch (engine() % 3) {
        case 0:
          text[at] = alphabet[pick(engine)];
          break;
        case 1:
          text.insert(at, 1, alphabet[pick(engine)]);
          break;
        default:
          text.erase(at, 1);
      }
    }
    try {
      const LandmarkSet set = read(text, fname, ReadOptions{});
      ++readCount;
      EXPECT_TRUE(consistent(set)) << text;
    } catch (const InputError& e) {
      EXPECT_EQ(e.file(), fname) << text;
    }
  }
  return readCount;
}

}  // namespace tarvolin::testing
