// Both text readers on many random texts made of the characters their
// formats use: each text is either read into finite numbers of a consistent
// shape or refused with an InputError. Never a crash, a hang, another kind
// of exception, or a number that is not finite.

#include <random>
#include <string>

#include "platform/errors.h"
#include "shapes/dload.h"
#include "shapes/gettpsfile3D.h"
#include "shapes/readmrkjson.h"
#include "shapes/readzor.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

std::string randomText(std::mt19937& engine, std::string_view alphabet, size_t maxLength) {
  std::uniform_int_distribution<size_t> length(0, maxLength);
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  std::string text(length(engine), ' ');
  for (char& c : text) c = alphabet[pick(engine)];
  return text;
}

TEST(MalformedInput, NumericMatrixReaderReadsOrRefuses) {
  std::mt19937 engine(21);
  int read = 0;
  for (int trial = 0; trial < 3000; ++trial) {
    const std::string text = randomText(engine, "0123456789 .-+e,\t\n\n\r", 60);
    try {
      const Eigen::MatrixXd m = parsenumericmatrix(text, "random.txt");
      ++read;
      ASSERT_GT(m.size(), 0) << text;
      ASSERT_TRUE(m.allFinite()) << text;
    } catch (const InputError& e) {
      ASSERT_EQ(e.file(), "random.txt");
    }
  }
  EXPECT_GT(read, 100);
}

TEST(MalformedInput, TpsReaderReadsOrRefuses) {
  std::mt19937 engine(22);
  int read = 0;
  for (int trial = 0; trial < 3000; ++trial) {
    const std::string text = "LM3=1\n" + randomText(engine, "0123456789 .-LlMm3=\n\nSCALE", 80);
    try {
      const TpsFile f = parsetps3D(text, "random.tps");
      ++read;
      ASSERT_EQ(f.y.cols() % 3, 0) << text;
      ASSERT_EQ(f.y.rows(), f.scale.size()) << text;
      ASSERT_EQ(f.namelist.size(), static_cast<size_t>(f.y.rows())) << text;
      ASSERT_TRUE(f.y.allFinite()) << text;
      ASSERT_TRUE((f.scale.array() > 0).all()) << text;
    } catch (const InputError& e) {
      ASSERT_EQ(e.file(), "random.tps");
    }
  }
  EXPECT_GT(read, 20);
}

// A set read is consistent: one ID and one size per specimen, d coordinates
// per landmark, and NaN exactly where a landmark is flagged missing.
::testing::AssertionResult consistent(const LandmarkSet& set) {
  const Eigen::Index n = set.specimens();
  if (n == 0 || set.landmarks() == 0 || set.coords.cols() != set.dims * set.landmarks() ||
      static_cast<Eigen::Index>(set.ids.size()) != n || set.size.size() != n) {
    return ::testing::AssertionFailure() << "shapes do not agree";
  }
  if (set.hasMissing() != set.coords.array().isNaN().any()) {
    return ::testing::AssertionFailure() << "missing flags and NaN disagree";
  }
  if (!set.coords.array().isNaN().select(0, set.coords).allFinite()) {
    return ::testing::AssertionFailure() << "a coordinate is not finite";
  }
  return ::testing::AssertionSuccess();
}

// `text` with a few characters replaced, inserted or deleted at random.
std::string mutated(std::mt19937& engine, std::string text, std::string_view alphabet) {
  std::uniform_int_distribution<int> edits(1, 4);
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
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
  return text;
}

TEST(MalformedInput, ZorRowsAndSlicerJsonReadOrRefuse) {
  const std::string zor = "1 2 NA 4 5\n6.5 -7 8 9e1 10\n";
  const std::string json =
      "{\"markups\": [{\"controlPoints\": [{\"position\": [1, 2, 3]}, "
      "{\"position\": \"\", \"positionStatus\": \"missing\"}, {\"position\": [0, 5, 1.5]}]}]}";
  std::mt19937 engine(23);
  int read[2] = {0, 0};
  for (int trial = 0; trial < 4000; ++trial) {
    const bool isJson = trial % 2 == 1;
    const std::string text = isJson ? mutated(engine, json, "{}[],:\"0123456789.- ")
                                    : mutated(engine, zor, "0123456789 .-eNA\n");
    try {
      const LandmarkSet set = isJson ? readmrkjson(text, "random.mrk.json", {})
                                     : readzor(text, "random.txt", {2, std::nullopt});
      ++read[isJson];
      ASSERT_TRUE(consistent(set)) << text;
    } catch (const InputError& e) {
      ASSERT_EQ(e.file(), isJson ? "random.mrk.json" : "random.txt");
    }
  }
  EXPECT_GT(read[0], 100);
  EXPECT_GT(read[1], 100);
}

}  // namespace
}  // namespace tarvolin
