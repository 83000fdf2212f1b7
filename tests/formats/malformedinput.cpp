// Both text readers on many random texts made of the characters their
// formats use: each text is either read into finite numbers of a consistent
// shape or refused with an InputError. Never a crash, a hang, another kind
// of exception, or a number that is not finite.

#include <random>
#include <string>

#include "core/errors.h"
#include "formats/dload.h"
#include "formats/readmrkjson.h"
#include "formats/readtps3d.h"
#include "formats/readzor.h"
#include "readertesting.h"
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
    const std::string text =
        "LM3=1\n" + randomText(engine, "0123456789        .-LlMm3=\n\nSCALE", 80);
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

TEST(MalformedInput, ZorRowsAndSlicerJsonReadOrRefuse) {
  const std::string zor = "1 2 NA 4 5\n6.5 -7 8 9e1 10\n";
  const std::string json =
      "{\"markups\": [{\"controlPoints\": [{\"position\": [1, 2, 3]}, "
      "{\"position\": \"\", \"positionStatus\": \"missing\"}, {\"position\": [0, 5, 1.5]}]}]}";
  const auto readZor2D = [](std::string_view text, const std::string& fname, const ReadOptions&) {
    return readzor(text, fname, {2, std::nullopt});
  };
  EXPECT_GT(testing::readOrRefuseEdits(readZor2D, zor, "0123456789 .-eNA\n", "random.txt", 23),
            100);
  EXPECT_GT(
      testing::readOrRefuseEdits(readmrkjson, json, "{}[],:\"0123456789.- ", "random.mrk.json", 24),
      100);
}

}  // namespace
}  // namespace tarvolin
