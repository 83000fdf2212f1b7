// The analysis without widgets: the steps build on each other as the
// windows and the command line expect, the standardization is the one the
// numerics define, and every refusal says which input it concerns.
#include "workflows/analysissession.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "core/errors.h"
#include "numerics/standardizegroups.h"
#include "numerics/standardsize.h"
#include "tests/testing.h"
#include "workflows/superimposelandmarks.h"

namespace tarvolin {
namespace {

using testing::assert_near;

// Six 3D specimens of four landmarks that grow and change shape with size;
// the last column is the size.
Eigen::MatrixXd sixSpecimens() {
  Eigen::MatrixXd rows(6, 13);
  const double base[12] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1};
  for (Eigen::Index i = 0; i < 6; ++i) {
    const double s = 1.0 + 0.2 * static_cast<double>(i);
    for (Eigen::Index j = 0; j < 12; ++j) {
      rows(i, j) =
          s * base[j] + 0.01 * static_cast<double>((i * 7 + j * 3) % 5) + 0.05 * s * (j == 4);
    }
    rows(i, 12) = 10 * s;
  }
  return rows;
}

AnalysisSession loadedSession() {
  AnalysisSession session;
  session.load(sixSpecimens(), "six.txt", 3, {"a", "b", "c", "d", "e", "f"}, GpaRounds{}, true);
  return session;
}

SpecimenGroups groupsOf(std::vector<int> of, std::vector<std::string> names) {
  return SpecimenGroups{std::move(names), std::move(of), "groups.txt"};
}

TEST(AnalysisSession, StandardizesAsTheNumericsDefineAndSuperimposesAgain) {
  AnalysisSession session = loadedSession();
  session.useCentroidSize("six.txt");
  session.transform(Transform::ln);
  const double value = session.proposedStandard();

  const SuperimposedDataSet expected =
      superimposelandmarks(standardsize(session.data(), session.fx(), value).y, "six.txt", 3, true);
  const SuperimposedDataSet& got = session.standardize(value, {});
  EXPECT_TRUE(assert_near(got.data, expected.data, 1e-12));
  ASSERT_EQ(session.standardizedAt(), value);

  // With two groups, the slope pooled within them; without superimposing again.
  session.setGroups(groupsOf({0, 0, 0, 1, 1, 1}, {"p", "q"}));
  AnalysisSession::Standardizing asRegressed;
  asRegressed.superimposeAgain = false;
  const Eigen::MatrixXd pooled =
      standardizegroups(session.data(), session.fx(), value, {0, 0, 0, 1, 1, 1}, {"p", "q"}).y;
  EXPECT_TRUE(assert_near(session.standardize(value, asRegressed).data, pooled, 1e-12));
}

TEST(AnalysisSession, EachStepForgetsWhatWasMadeOfTheOneBefore) {
  struct Case {
    const char* step;
    std::function<void(AnalysisSession&)> act;
    bool xKept, transformKept, standardizedKept;
  };
  const std::vector<Case> cases = {
      {"load anew",
       [](AnalysisSession& s) { s.load(sixSpecimens(), "again.txt", 3, {}, GpaRounds{}, false); },
       false, false, false},
      {"centroid size again", [](AnalysisSession& s) { s.useCentroidSize("six.txt"); }, true, false,
       false},
      {"an x list",
       [](AnalysisSession& s) { s.setX(Eigen::VectorXd::LinSpaced(6, 1, 6), "x.txt"); }, true,
       false, false},
      {"another transform", [](AnalysisSession& s) { s.transform(Transform::log10); }, true, true,
       false},
      {"groups", [](AnalysisSession& s) { s.setGroups(std::nullopt); }, true, true, true},
      // The windows transform x themselves; what was standardized is saved
      // with the transform it was made on.
      {"a window's transform",
       [](AnalysisSession& s) { s.useTransformed(s.x().array().log10(), Transform::log10); }, true,
       true, true},
      {"cleared", [](AnalysisSession& s) { s.clear(); }, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    AnalysisSession session = loadedSession();
    session.useCentroidSize("six.txt");
    session.transform(Transform::ln);
    session.standardize(session.proposedStandard(), {});
    c.act(session);
    EXPECT_EQ(session.x().size() != 0, c.xKept);
    EXPECT_EQ(session.transformInForce().has_value(), c.transformKept);
    EXPECT_EQ(session.fx().size() != 0, c.transformKept);
    EXPECT_EQ(session.standardizedAt().has_value(), c.standardizedKept);
    EXPECT_EQ(session.standardized().data.size() != 0, c.standardizedKept);
  }
}

TEST(AnalysisSession, TheWindowsClearKeepsOnlyWhatIsDrawnAndTheTransform) {
  AnalysisSession session = loadedSession();
  session.setGroups(groupsOf({0, 0, 0, 1, 1, 1}, {"p", "q"}));
  session.useCentroidSize("six.txt");
  session.transform(Transform::ln);
  AnalysisSession::Standardizing how;
  how.withStack = true;
  session.standardize(session.proposedStandard(), how);
  ASSERT_EQ(session.standardized().stack.specimens(), 6);

  session.forgetData();
  EXPECT_EQ(session.data().size() + session.x().size() + session.fx().size() +
                session.standardized().data.size(),
            0);
  EXPECT_TRUE(session.ids().empty());
  EXPECT_FALSE(session.groups().has_value());
  EXPECT_TRUE(session.xSource().empty());
  EXPECT_FALSE(session.standardizedAt().has_value());
  EXPECT_EQ(session.loaded().stack.specimens(), 6);
  EXPECT_EQ(session.loaded().mean.rows(), 4);
  EXPECT_EQ(session.standardized().stack.specimens(), 6);
  EXPECT_EQ(session.transformInForce(), Transform::ln);
}

TEST(AnalysisSession, StandardizesAsAWindowAsks) {
  struct Case {
    const char* asked;
    bool withinGroups;
    bool vetRefuses;
    bool pooled;  // the result is the slope pooled within the groups
  };
  const std::vector<Case> cases = {
      {"pooled within the groups", true, false, true},
      {"on the whole data set, as the windows regress", false, false, false},
      {"refused by the window's look at the result", false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.asked);
    AnalysisSession session = loadedSession();
    session.setGroups(groupsOf({0, 0, 0, 1, 1, 1}, {"p", "q"}));
    session.useCentroidSize("six.txt");
    session.transform(Transform::ln);
    const double value = session.proposedStandard();
    AnalysisSession::Standardizing how;
    how.superimposeAgain = false;
    how.withinGroups = false;
    const Eigen::MatrixXd before = session.standardize(value + 0.1, how).data;

    how.withinGroups = c.withinGroups;
    if (c.vetRefuses) {
      how.vet = [](const SuperimposedDataSet&) { throw InputError("not finite"); };
      EXPECT_THROW(session.standardize(value, how), InputError);
      // What was standardized before stays, with its value.
      EXPECT_EQ(session.standardized().data, before);
      EXPECT_EQ(session.standardizedAt(), value + 0.1);
      continue;
    }
    const Eigen::MatrixXd expected =
        c.pooled
            ? standardizegroups(session.data(), session.fx(), value, {0, 0, 0, 1, 1, 1}, {"p", "q"})
                  .y
            : standardsize(session.data(), session.fx(), value).y;
    EXPECT_TRUE(assert_near(session.standardize(value, how).data, expected, 1e-12));
    EXPECT_EQ(session.standardizedAt(), value);
  }
}

TEST(AnalysisSession, EveryRefusalSaysWhichInputItConcerns) {
  const Eigen::VectorXd sameX = Eigen::VectorXd::Constant(6, 2.0);
  const Eigen::VectorXd withZero = (Eigen::VectorXd(6) << 0, 1, 2, 3, 4, 5).finished();
  struct Case {
    const char* what;
    std::function<void(AnalysisSession&)> act;
    Input input;
  };
  const std::vector<Case> cases = {
      {"every x the same",
       [&](AnalysisSession& s) {
         s.setX(sameX, "x.txt");
         s.transform(Transform::none);
         s.standardize(2.0, {});
       },
       Input::x},
      {"the logarithm of zero",
       [&](AnalysisSession& s) {
         s.setX(withZero, "x.txt");
         s.transform(Transform::ln);
       },
       Input::x},
      {"a standard value too far outside x",
       [](AnalysisSession& s) {
         s.useCentroidSize("six.txt");
         s.transform(Transform::none);
         s.standardize(std::numeric_limits<double>::max(), {});
       },
       Input::standardValue},
      {"a group of one specimen",
       [](AnalysisSession& s) {
         s.useCentroidSize("six.txt");
         s.transform(Transform::none);
         s.setGroups(groupsOf({0, 0, 0, 0, 0, 1}, {"p", "q"}));
         s.standardize(10, {});
       },
       Input::groups},
      {"x that does not vary within any group",
       [](AnalysisSession& s) {
         s.setX((Eigen::VectorXd(6) << 1, 1, 1, 2, 2, 2).finished(), "x.txt");
         s.transform(Transform::none);
         s.setGroups(groupsOf({0, 0, 0, 1, 1, 1}, {"p", "q"}));
         s.standardize(1, {});
       },
       Input::groups},
      {"an allometry on x that does not vary",
       [&](AnalysisSession& s) {
         s.setX(sameX, "x.txt");
         s.transform(Transform::none);
         s.allometry({"x.txt", "none"}, "six.txt", "three rounds", {9, 1, false});
       },
       Input::x},
      {"an allometry with a group of one",
       [](AnalysisSession& s) {
         s.useCentroidSize("six.txt");
         s.transform(Transform::none);
         s.setGroups(groupsOf({0, 0, 0, 0, 0, 1}, {"p", "q"}));
         s.allometry({"centroid size", "none"}, "six.txt", "three rounds", {9, 1, false});
       },
       Input::groups},
      {"an allometry with more terms than specimens allow",
       [](AnalysisSession& s) {
         s.useCentroidSize("six.txt");
         s.transform(Transform::none);
         s.setGroups(groupsOf({0, 0, 1, 1, 2, 2}, {"p", "q", "r"}));
         s.allometry({"centroid size", "none"}, "six.txt", "three rounds", {9, 1, true});
       },
       Input::data},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AnalysisSession session = loadedSession();
    try {
      c.act(session);
      ADD_FAILURE() << "expected an InputError";
    } catch (const InputError& e) {
      EXPECT_EQ(e.input(), c.input) << e.what();
    }
  }
}

TEST(AnalysisSession, ReadingAnInputMarksOnlyErrorsThatSayNone) {
  struct Case {
    InputError raised;
    Input expected;
  };
  const std::vector<Case> cases = {
      {InputError("x.txt", "cannot be opened"), Input::x},
      {InputError("x.txt", "cannot be opened").concerning(Input::standardValue),
       Input::standardValue},
  };
  for (const Case& c : cases) {
    try {
      readinginput(Input::x, [&]() -> int { throw c.raised; });
      ADD_FAILURE() << "the error went missing";
    } catch (const InputError& e) {
      EXPECT_EQ(e.input(), c.expected);
      EXPECT_EQ(std::string(e.what()), std::string(c.raised.what()));
    }
  }
}

}  // namespace
}  // namespace tarvolin
