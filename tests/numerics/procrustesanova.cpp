#include "numerics/procrustesanova.h"

#include <Eigen/QR>
#include <cmath>
#include <random>

#include "core/errors.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

// The shuffles as the header defines them, written out again.
std::vector<std::vector<int>> definedShuffles(int n, int count, std::uint64_t seed) {
  std::mt19937_64 random(seed);
  std::vector<std::vector<int>> all;
  for (int r = 0; r < count; ++r) {
    std::vector<int> order(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) order[static_cast<size_t>(i)] = i;
    for (int i = n - 1; i > 0; --i) {
      const auto bound = static_cast<std::uint64_t>(i) + 1;
      std::uint64_t draw = random();
      while (draw < (0 - bound) % bound) draw = random();
      std::swap(order[static_cast<size_t>(i)], order[static_cast<size_t>(draw % bound)]);
    }
    all.push_back(order);
  }
  return all;
}

// Residual SS of y on the first `columns` columns of the design, by a
// least-squares solve of its own.
double rss(const Eigen::MatrixXd& design, Eigen::Index columns, const Eigen::MatrixXd& y) {
  const Eigen::MatrixXd d = design.leftCols(columns);
  const Eigen::MatrixXd b = d.colPivHouseholderQr().solve(y);
  return (y - d * b).squaredNorm();
}

// The whole ANOVA recomputed from its definition, one model at a time and
// one refit per shuffle.
ProcrustesAnova recomputed(const Eigen::MatrixXd& y, const AnovaDesign& design, int permutations,
                           std::uint64_t seed) {
  const auto n = static_cast<int>(y.rows());
  const int groups = design.groupOf.empty() ? 1 : static_cast<int>(design.groupNames.size());
  const int columns = 2 + (groups - 1) * (design.interaction ? 2 : 1);
  Eigen::MatrixXd d = Eigen::MatrixXd::Zero(n, columns);
  for (int i = 0; i < n; ++i) {
    d(i, 0) = 1;
    d(i, 1) = design.x(i);
    const int g = groups > 1 ? design.groupOf[static_cast<size_t>(i)] : 0;
    if (g > 0) d(i, 1 + g) = 1;
    if (g > 0 && design.interaction) d(i, groups + g) = design.x(i);
  }
  std::vector<std::pair<int, int>> ranges{{1, 2}};
  if (groups > 1) ranges.emplace_back(2, groups + 1);
  if (groups > 1 && design.interaction) ranges.emplace_back(groups + 1, columns);

  ProcrustesAnova a;
  a.totalSs = rss(d, 1, y);
  a.residualDf = n - columns;
  a.residualSs = rss(d, columns, y);
  auto fOf = [&](const Eigen::MatrixXd& data, std::pair<int, int> range) {
    return ((rss(d, range.first, data) - rss(d, range.second, data)) /
            (range.second - range.first)) /
           (rss(d, columns, data) / a.residualDf);
  };
  const auto shuffles = definedShuffles(n, permutations, seed);
  for (const auto& range : ranges) {
    AnovaTerm t;
    t.ss = rss(d, range.first, y) - rss(d, range.second, y);
    t.rsq = t.ss / a.totalSs;
    t.f = fOf(y, range);
    const Eigen::MatrixXd reduced = d.leftCols(range.first);
    const Eigen::MatrixXd fitted = reduced * reduced.colPivHouseholderQr().solve(y);
    const Eigen::MatrixXd residuals = y - fitted;
    std::vector<double> logs{std::log(t.f)};
    int atLeast = 1;
    for (const auto& order : shuffles) {
      Eigen::MatrixXd permuted = fitted;
      for (int i = 0; i < n; ++i) permuted.row(i) += residuals.row(order[static_cast<size_t>(i)]);
      const double f = fOf(permuted, range);
      atLeast += f >= t.f - 1e-9 * std::max(t.f, 1.0) ? 1 : 0;
      logs.push_back(std::log(f));
    }
    t.p = static_cast<double>(atLeast) / (permutations + 1);
    const Eigen::Map<const Eigen::ArrayXd> l(logs.data(), static_cast<Eigen::Index>(logs.size()));
    const double sd = std::sqrt((l - l.mean()).square().sum() / static_cast<double>(l.size() - 1));
    t.z = (std::log(t.f) - l.mean()) / sd;
    a.terms.push_back(t);
  }
  return a;
}

// Shape (6 coordinates) of 18 specimens in 3 groups, whose slope on x
// differs by group by `slopeSpread`.
Eigen::MatrixXd shapes(const AnovaDesign& design, double slopeSpread, std::uint32_t seed) {
  std::mt19937 engine(seed);
  std::normal_distribution<double> noise(0, 0.01);
  Eigen::MatrixXd y(design.x.size(), 6);
  for (Eigen::Index i = 0; i < y.rows(); ++i) {
    const double g = design.groupOf.empty() ? 0 : design.groupOf[static_cast<size_t>(i)];
    for (Eigen::Index c = 0; c < 6; ++c) {
      y(i, c) =
          0.1 * static_cast<double>(c) + (0.02 + slopeSpread * g) * design.x(i) + noise(engine);
    }
  }
  return y;
}

AnovaDesign threeGroups(bool interaction) {
  AnovaDesign design;
  design.x = Eigen::VectorXd::LinSpaced(18, 2.0, 4.0);
  for (int i = 0; i < 18; ++i) design.groupOf.push_back(i % 3);
  design.groupNames = {"a", "b", "c"};
  design.interaction = interaction;
  return design;
}

// Every figure of the table against the definitions, recomputed one model
// and one refit at a time: one group, groups, groups with the interaction
// (equal and unequal slopes).
TEST(Procrustesanova, AgreesWithARecomputationFromTheDefinitions) {
  struct Case {
    const char* what;
    AnovaDesign design;
    double slopeSpread;
  };
  AnovaDesign oneGroup;
  oneGroup.x = Eigen::VectorXd::LinSpaced(18, 2.0, 4.0);
  for (const Case& c : {Case{"one group", oneGroup, 0.0}, Case{"groups", threeGroups(false), 0.0},
                        Case{"equal slopes", threeGroups(true), 0.0},
                        Case{"unequal slopes", threeGroups(true), 0.05}}) {
    SCOPED_TRACE(c.what);
    const Eigen::MatrixXd y = shapes(c.design, c.slopeSpread, 7);
    const ProcrustesAnova a = procrustesanova(y, c.design, 99, 42);
    const ProcrustesAnova b = recomputed(y, c.design, 99, 42);
    ASSERT_EQ(a.terms.size(), b.terms.size());
    EXPECT_NEAR(a.totalSs, b.totalSs, 1e-12);
    EXPECT_NEAR(a.residualSs, b.residualSs, 1e-12);
    EXPECT_EQ(a.residualDf, b.residualDf);
    EXPECT_EQ(a.totalDf, 17);
    for (size_t t = 0; t < a.terms.size(); ++t) {
      SCOPED_TRACE(a.terms[t].term);
      EXPECT_NEAR(a.terms[t].ss, b.terms[t].ss, 1e-12);
      EXPECT_NEAR(a.terms[t].rsq, b.terms[t].rsq, 1e-10);
      EXPECT_NEAR(a.terms[t].f, b.terms[t].f, 1e-8 * b.terms[t].f);
      EXPECT_EQ(a.terms[t].p, b.terms[t].p);
      EXPECT_NEAR(a.terms[t].z, b.terms[t].z, 1e-8);
    }
    if (a.terms.size() == 3) {
      EXPECT_EQ(a.terms[2].p<0.05, c.slopeSpread> 0) << "p of size:group " << a.terms[2].p;
    }
  }
}

// Answers known without computing: shape that follows x exactly, shape that
// does not change with x at all, and a run that repeats with its seed.
TEST(Procrustesanova, KnownAnswersAndRepeatableRuns) {
  AnovaDesign design;
  design.x = (Eigen::VectorXd(8) << 1, 2, 3, 4, 1, 2, 3, 4).finished();
  Eigen::MatrixXd follows(8, 3);
  Eigen::MatrixXd flat(8, 3);
  for (int i = 0; i < 8; ++i) {
    follows.row(i) << 0.5 * design.x(i), -0.25 * design.x(i), 1;
    // The same for x and 5 - x: no slope at all.
    const double v = (design.x(i) - 2.5) * (design.x(i) - 2.5);
    flat.row(i) << v, (i < 4 ? 1 : -1), 0.3;
  }
  const ProcrustesAnova all = procrustesanova(follows, design, 99, 1);
  EXPECT_NEAR(all.terms[0].rsq, 1.0, 1e-12);
  EXPECT_EQ(all.terms[0].p, 0.01);
  const ProcrustesAnova none = procrustesanova(flat, design, 99, 1);
  EXPECT_NEAR(none.terms[0].ss, 0.0, 1e-14);
  EXPECT_EQ(none.terms[0].p, 1.0);

  const Eigen::MatrixXd y = shapes(threeGroups(true), 0.01, 3);
  const ProcrustesAnova first = procrustesanova(y, threeGroups(true), 199, 9);
  const ProcrustesAnova again = procrustesanova(y, threeGroups(true), 199, 9);
  for (size_t t = 0; t < first.terms.size(); ++t) {
    EXPECT_EQ(first.terms[t].p, again.terms[t].p);
    EXPECT_EQ(first.terms[t].z, again.terms[t].z);
  }
}

TEST(Procrustesanova, ModelsThatCannotBeFittedAreRefusedWithTheirReason) {
  AnovaDesign constant;
  constant.x = Eigen::VectorXd::Constant(6, 2.0);
  AnovaDesign lonely = threeGroups(false);
  lonely.groupOf[0] = 3;
  lonely.groupNames.push_back("d");
  AnovaDesign crowded = threeGroups(true);
  crowded.x.conservativeResize(6);
  crowded.groupOf.resize(6);
  AnovaDesign one;
  one.x = Eigen::VectorXd::Constant(1, 2.0);
  struct Case {
    AnovaDesign design;
    const char* words;
  };
  for (const Case& c :
       {Case{constant, "the same x value"}, Case{lonely, "\"d\" has one specimen"},
        Case{crowded, "6 parameters for 6 specimens"},
        Case{one, "the model has 2 parameters for 1 specimen; it needs at least 3"}}) {
    const Eigen::MatrixXd y = Eigen::MatrixXd::Random(c.design.x.size(), 4);
    try {
      procrustesanova(y, c.design, 9, 1);
      ADD_FAILURE() << "no error for " << c.words;
    } catch (const InputError& e) {
      EXPECT_NE(e.message().find(c.words), std::string::npos) << e.message();
      EXPECT_EQ(e.message().find("same x value") != std::string::npos,
                std::string(c.words) == "the same x value")
          << e.message();
    }
  }
}

}  // namespace
}  // namespace tarvolin
