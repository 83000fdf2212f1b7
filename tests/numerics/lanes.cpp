// The numerics that share their work out over the cores give the same bits
// on one lane, two and many: sums are added in the specimens' order, and
// each share of the work is a function of its own input only.
#include <functional>
#include <random>
#include <string>

#include "core/onallcores.h"
#include "core/sprintf.h"
#include "formats/standardizedtext.h"
#include "geometrytesting.h"
#include "numerics/procrustesanova.h"
#include "numerics/standardsize.h"
#include "numerics/superimposedataset.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

// N specimens of k landmarks in d dimensions, turned, moved and scaled at
// random, then the size column: enough specimens for several blocks.
Eigen::MatrixXd dataSet(Eigen::Index n, Eigen::Index k, int dims, unsigned seed) {
  std::mt19937 engine(seed);
  const Eigen::MatrixXd base = testing::randomConfiguration(engine, k).leftCols(dims);
  std::normal_distribution<double> noise(0.0, 0.05);
  std::uniform_real_distribution<double> scale(0.5, 4.0);
  Eigen::MatrixXd data(n, dims * k + 1);
  for (Eigen::Index i = 0; i < n; ++i) {
    const double s = scale(engine);
    for (Eigen::Index j = 0; j < k; ++j) {
      for (int c = 0; c < dims; ++c) {
        data(i, dims * j + c) = s * (base(j, c) + noise(engine)) + 10.0 * c;
      }
    }
    data(i, dims * k) = s;
  }
  return data;
}

// An action's result as bytes, so that any difference in any bit shows.
std::string bitsOf(const Eigen::MatrixXd& m) {
  return std::string(reinterpret_cast<const char*>(m.data()),
                     sizeof(double) * static_cast<size_t>(m.size()));
}

TEST(Lanes, OneTwoAndManyLanesGiveTheSameBits) {
  const Eigen::MatrixXd flat = dataSet(700, 12, 2, 1);
  const Eigen::MatrixXd solid = dataSet(500, 15, 3, 2);
  const Eigen::MatrixXd wide = dataSet(1800, 200, 3, 3);  // over 2^20 values
  const Eigen::VectorXd x = wide.col(wide.cols() - 1).array().log();
  struct Case {
    const char* action;
    std::function<std::string()> run;
  };
  const Case cases[] = {
      {"superimpose 3D, three rounds",
       [&] {
         const SuperimposedDataSet s = superimposedataset(solid, testing::noNotes(), 3, false);
         return bitsOf(s.data) + bitsOf(s.mean);
       }},
      {"superimpose 2D until converged",
       [&] {
         const SuperimposedDataSet s =
             superimposedataset(flat, testing::noNotes(), 2, false, GpaRounds{.converge = true});
         return bitsOf(s.data) + bitsOf(s.mean) + std::to_string(s.fit.rounds);
       }},
      {"standardize a wide data set",
       [&] {
         const Standardized s = standardsize(wide, x, 1.0);
         return bitsOf(s.y) + bitsOf(s.tvect);
       }},
      {"Procrustes ANOVA",
       [&] {
         const Eigen::MatrixXd y = solid.leftCols(solid.cols() - 1);
         const ProcrustesAnova a =
             procrustesanova(y, {solid.col(solid.cols() - 1), {}, {}, false}, 999, 7);
         return sprintf("%.17g %.17g %.17g", a.terms[0].f, a.terms[0].p, a.terms[0].z);
       }},
      {"Procrustes ANOVA with groups and their slopes",
       [&] {
         const Eigen::MatrixXd y = solid.leftCols(solid.cols() - 1);
         std::vector<int> groupOf(static_cast<size_t>(y.rows()));
         for (size_t i = 0; i < groupOf.size(); ++i) groupOf[i] = static_cast<int>(i % 3);
         std::string text;
         for (const int permutations : {37, 150, 999}) {
           const ProcrustesAnova a = procrustesanova(
               y, {solid.col(solid.cols() - 1), groupOf, {"a", "b", "c"}, true}, permutations, 7);
           for (const auto& t : a.terms) text += sprintf("%.17g %.17g %.17g ", t.f, t.p, t.z);
         }
         return text;
       }},
      {"standardized text", [&] { return standardizedtext(wide, 1.5); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action);
    std::string one;
    {
      const LaneCount lanes(1);
      one = c.run();
    }
    // 4 and 5 lanes cut a chunk of 999 shuffles unlike 2 and 3 do.
    for (const int count : {2, 3, 4, 5, 8}) {
      const LaneCount lanes(count);
      EXPECT_TRUE(c.run() == one) << count << " lanes";
    }
  }
}

}  // namespace
}  // namespace tarvolin
