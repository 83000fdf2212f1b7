#include "formats/landmarktext.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>

#include "core/errors.h"
#include "core/str2num.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using F = LandmarkFormat;

// Three 3D specimens of two landmarks, with IDs a CSV field must quote.
LandmarkSet skulls() {
  Eigen::MatrixXd data(3, 7);
  data << 1, 2, 3, 4, 5, 6, 1.5,  //
      0.5, -1, 0, 2, 2, 2, 2.25,  //
      -0.0, 1e-5, 7, 8, 9, 1e21, 3;
  return landmarksetof(data, 3, {"a", "b,c", "q\"t"});
}

// One 2D specimen of two landmarks, ID "1", joined by a wireframe.
LandmarkSet wing() {
  LandmarkSet set = landmarksetof(testing::row({1, 2, 3, 4.5, 2}), 2);
  set.wireframe = {{1, 2}};
  return set;
}

TEST(Landmarktext, EachFormatWritesTheSmallSetsAsExpected) {
  struct Case {
    LandmarkSet set;
    F format;
    std::string expected;
  };
  const Case cases[] = {
      {skulls(), F::zor, "1 2 3 4 5 6 1.5  \n0.5 -1 0 2 2 2 2.25  \n-0 1e-05 7 8 9 1e+21 3  \n"},
      {skulls(), F::csv,
       "id,x1,y1,z1,x2,y2,z2,size\na,1,2,3,4,5,6,1.5\n\"b,c\",0.5,-1,0,2,2,2,2.25\n"
       "\"q\"\"t\",-0,1e-05,7,8,9,1e+21,3\n"},
      {skulls(), F::tps,
       "LM3=2\n1 2 3\n4 5 6\nID=a\nLM3=2\n0.5 -1 0\n2 2 2\nID=b,c\n"
       "LM3=2\n-0 1e-05 7\n8 9 1e+21\nID=q\"t\n"},
      {skulls(), F::nts,
       "\" written by Tarvolin\n1 3L 6 0 DIM=3\na\nb,c\nq\"t\n"
       "1 2 3 4 5 6\n0.5 -1 0 2 2 2\n-0 1e-05 7 8 9 1e+21\n"},
      {skulls(), F::morphologika,
       "[individuals]\n3\n\n[landmarks]\n2\n\n[dimensions]\n3\n\n[names]\na\nb,c\nq\"t\n\n["
       "rawpoints]\n'#1\n1 2 3\n4 5 6\n"
       "'#2\n0.5 -1 0\n2 2 2\n'#3\n-0 1e-05 7\n8 9 1e+21\n"},
      {wing(), F::zor, "1 2 3 4.5 2  \n"},
      {wing(), F::csv, "id,x1,y1,x2,y2,size\n1,1,2,3,4.5,2\n"},
      {wing(), F::tps, "LM=2\n1 2\n3 4.5\nID=1\n"},
      {wing(), F::nts, "\" written by Tarvolin\n1 1L 4 0 DIM=2\n1\n1 2 3 4.5\n"},
      {wing(), F::morphologika,
       "[individuals]\n1\n\n[landmarks]\n2\n\n[dimensions]\n2\n\n[names]\n1\n\n"
       "[rawpoints]\n'#1\n1 2\n3 4.5\n\n[wireframe]\n1 2\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(landmarktext(c.set, c.format, std::nullopt), c.expected);
  }
  EXPECT_THROW(landmarktext(wing(), F::fcsv, std::nullopt), std::invalid_argument);
}

// The wing with a change: its text, or the fragment its InputError holds.
TEST(Landmarktext, MissingSemilandmarksSizeAndRefusals) {
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  using Change = std::function<void(LandmarkSet&)>;
  const Change firstMissing = [](LandmarkSet& s) {
    s.coords(0, 0) = s.coords(0, 1) = s.size(0) = nan;
  };
  struct Case {
    Change change;
    F format;
    std::optional<double> lastValue;
    std::string expected;  // the text, or an error message fragment
  };
  const Case cases[] = {
      {firstMissing, F::csv, {}, "id,x1,y1,x2,y2\n1,NA,NA,3,4.5\n"},
      {firstMissing, F::tps, {}, "LM=2\nNA NA\n3 4.5\nID=1\n"},
      {firstMissing,
       F::nts,
       {},
       "\" written by Tarvolin\n1 1L 4 1 -9999 DIM=2\n1\n-9999 -9999 3 4.5\n"},
      {[](LandmarkSet& s) {
         s.coords(0, 1) = nan;
         s.coords(0, 2) = -9999;
       },
       F::nts,
       {},
       "\" written by Tarvolin\n1 1L 4 1 9999 DIM=2\n1\n9999 9999 -9999 4.5\n"},
      {firstMissing, F::morphologika, {}, "'#1\nNA NA\n3 4.5\n"},
      {firstMissing, F::zor, {}, "ZOR format has no way to mark"},
      {[](LandmarkSet& s) {
         s.semilandmark = {false, true};
         s.scale = testing::row({0.5});
       },
       F::tps,
       {},
       "LM=1\n1 2\nCURVES=1\nPOINTS=1\n3 4.5\nID=1\nSCALE=0.5\n"},
      {[](LandmarkSet& s) {
         s.coords = testing::row({1, 2, 3, 4.5, 5, 6, 7, 8});
         s.semilandmark = {false, true, true, true};
         s.curves = {1, 2};
       },
       F::tps,
       {},
       "LM=1\n1 2\nCURVES=2\nPOINTS=1\n3 4.5\nPOINTS=2\n5 6\n7 8\nID=1\n"},
      {[](LandmarkSet&) {}, F::zor, 7.0, "1 2 3 4.5 7  \n"},
      {[](LandmarkSet&) {}, F::csv, 7.0, "id,x1,y1,x2,y2,size\n1,1,2,3,4.5,7\n"},
      {[](LandmarkSet& s) { s.ids = {" x"}; }, F::csv, {}, "\n\" x\",1,2,"},
      {[](LandmarkSet& s) { s.ids = {"x\ny"}; },
       F::tps,
       {},
       "cannot write ID in TPS: it holds a line break"},
      {[](LandmarkSet& s) { s.ids = {"x\x1b]0;t\x07"}; },
       F::csv,
       {},
       "specimen \"x\\e]0;t\\x07\": cannot write ID in CSV: it holds the control character \\e"},
      {[](LandmarkSet& s) { s.ids = {"x y"}; },
       F::nts,
       {},
       "specimen \"x y\": an NTS label cannot hold a blank"},
      {[](LandmarkSet& s) { s.ids = {"'x"}; },
       F::nts,
       {},
       "specimen \"'x\": an NTS label cannot start with \" or ', which open a comment line"},
      {[](LandmarkSet& s) { s.coords(0, 3) = HUGE_VAL; },
       F::csv,
       {},
       "too large to represent; nothing was written"},
      {[](LandmarkSet& s) {
         s = landmarksetof(Eigen::MatrixXd::Ones(3, 5), 2, {"p", "q", "p"});
       },
       F::csv,
       {},
       "specimens 1 and 3 have the same ID \"p\""},
      {[](LandmarkSet& s) {
         s.wireframe = {{1, 3}};
       },
       F::morphologika,
       {},
       "wireframe pair 1 (1 3)"},
      {[](LandmarkSet& s) { s = landmarksetof(Eigen::MatrixXd(0, 5), 2); },
       F::tps,
       {},
       "no specimen"},
  };
  for (const Case& c : cases) {
    LandmarkSet set = wing();
    c.change(set);
    set.path = "wing.txt";
    std::string text;
    try {
      text = landmarktext(set, c.format, c.lastValue);
    } catch (const InputError& e) {
      text = e.what();
      EXPECT_EQ(e.file(), "wing.txt");
    }
    EXPECT_NE(text.find(c.expected), std::string::npos) << "text was:\n" << text;
  }
}

TEST(Landmarktext, NumbersReadBackToTheSameBits) {
  Eigen::MatrixXd data(1, 7);
  data << 0.1, 1e-300, -0.0, 123456789.123456789, 5e-324, -1.7976931348623157e308, 1;
  const std::string text = landmarktext(landmarksetof(data, 3), F::nts, std::nullopt);
  std::string_view numbers = std::string_view(text).substr(text.rfind('\n', text.size() - 2) + 1);
  for (Eigen::Index j = 0; j < 6; ++j) {
    double value = 0;
    const size_t used = parseNumber(numbers, value);
    ASSERT_GT(used, 0u) << numbers;
    EXPECT_EQ(std::bit_cast<uint64_t>(value), std::bit_cast<uint64_t>(data(0, j))) << numbers;
    numbers.remove_prefix(std::min(used + 1, numbers.size()));
  }
}

TEST(Landmarktext, LargeSetsReachTheSinkInPiecesOfAboutAMegabyte) {
  const LandmarkSet set = landmarksetof(Eigen::MatrixXd::Random(300, 3 * 500 + 1), 3);
  for (F format : {F::csv, F::tps, F::nts, F::morphologika}) {
    size_t pieces = 0, largest = 0, total = 0;
    landmarktext(set, format, std::nullopt, [&](std::string_view piece) {
      ++pieces, total += piece.size(), largest = std::max(largest, piece.size());
    });
    EXPECT_GT(pieces, 3u);
    EXPECT_LE(largest, (size_t{1} << 20) + 64);
    EXPECT_EQ(total, landmarktext(set, format, std::nullopt).size());
  }
}

}  // namespace
}  // namespace tarvolin

namespace tarvolin {
namespace {

// A format without SCALE= writes the coordinates times their specimen's
// scale factor: the units the size (scale included) is in. TPS keeps the
// raw coordinates beside their SCALE=.
TEST(Landmarktext, CoordinatesAndSizeShareTheirUnits) {
  LandmarkSet set;
  set.dims = 2;
  set.coords.resize(2, 4);
  set.coords << 0, 0, 3, 4, 0, 0, 3, 4;
  set.ids = {"px", "mm"};
  set.size = Eigen::Vector2d(5, 0.5);
  set.scale = Eigen::Vector2d(1, 0.1);
  const struct {
    F format;
    std::string expected;
  } cases[] = {
      {F::csv, "id,x1,y1,x2,y2,size\npx,0,0,3,4,5\nmm,0,0,0.30000000000000004,0.4,0.5\n"},
      {F::zor, "0 0 3 4 5  \n0 0 0.3 0.4 0.5  \n"},
      {F::nts, "px\nmm\n0 0 3 4\n0 0 0.30000000000000004 0.4\n"},
      {F::morphologika, "'#2\n0 0\n0.30000000000000004 0.4\n"},
      {F::tps, "LM=2\n0 0\n3 4\nID=mm\nSCALE=0.1\n"},
  };
  for (const auto& c : cases) {
    const std::string text = landmarktext(set, c.format, std::nullopt);
    EXPECT_NE(text.find(c.expected), std::string::npos) << static_cast<int>(c.format) << "\n"
                                                        << text;
  }
}

}  // namespace
}  // namespace tarvolin
