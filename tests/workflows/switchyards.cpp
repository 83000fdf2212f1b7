// What the 3D and the 2D switchyards do alike, run over both: each step
// enables the next and says what it did in the same words, refused steps
// say why in the same words and change nothing, and the saved file holds
// what the standardization made. What only one window does is tested in
// stand3sw.cpp and standsw.cpp.
#include <gtest/gtest.h>

#include <fstream>

#include "formats/dload.h"
#include "tests/testing.h"
#include "workflows/stand3sw.h"
#include "workflows/standsw.h"
#include "workflowtesting.h"

namespace tarvolin {
namespace {

using testing::examplePath;
using testing::TempDir;

// Each window with the data it standardizes: the 3D skulls, and their side
// views superimposed (the 2D window takes its data as superimposed).
template <typename Sw>
struct Window;
template <>
struct Window<Stand3sw> {
  static constexpr bool with3D = true;
  // The data set loaded last can still be shown after Clear.
  static constexpr const char* afterClear = "000000001";
  static std::string data() { return examplePath("skulls_zor.txt"); }
  static std::string dataName() { return "skulls_zor.txt"; }
};
template <>
struct Window<Standsw> {
  static constexpr bool with3D = false;
  static constexpr const char* afterClear = "000000000";
  static std::string data() { return examplePath("skulls2d_superimposed.txt"); }
  static std::string dataName() { return "skulls2d_superimposed.txt"; }
};

// The buttons of the steps, in the order of the enables string.
const char* const kSteps[] = {"UseCSButton",  "LoadXButton",    "LoadGroupsButton",
                              "GoRegress",    "AcceptStandard", "AllometryButton",
                              "SaveStandard", "ShowStandard",   "ShowDataButton"};

template <typename Sw>
class SwitchyardTest : public ::testing::Test {
 protected:
  SwitchyardTest() {
    graphics_.subscribe([this](const GraphicsChange& c) {
      if (c.kind == GraphicsChange::Kind::status) said_ = c.detail;
    });
  }

  Handle tag(const char* t) const { return graphics_.findobj(t, window_).front(); }
  void type(const char* t, std::string s) { graphics_.set(tag(t), "String", std::move(s)); }
  std::string enables() const {
    std::string state;
    for (const char* b : kSteps) state += graphics_.getString(tag(b), "Enable") == "on" ? '1' : '0';
    return state;
  }
  void run(std::string_view action, std::optional<std::string> path = std::nullopt) {
    if (path) path->empty() ? dialogs_.cancel() : dialogs_.choose(*path);
    said_.clear();
    sw_(action);
  }
  void standardize() {
    for (const char* step : {"UseCS", "UseLn", "Acceptx", "Regress"}) run(step);
  }

  testing::CwdGuard cwd_;
  Graphics graphics_;
  Handle window_ = testing::testWindow(graphics_, Window<Sw>::with3D);
  ScriptedFileDialogs dialogs_;
  Sw sw_{graphics_, dialogs_};
  std::string said_;
};

using Switchyards = ::testing::Types<Stand3sw, Standsw>;
TYPED_TEST_SUITE(SwitchyardTest, Switchyards);

TYPED_TEST(SwitchyardTest, EachStepEnablesTheNextAndSaysWhatItDid) {
  TempDir dir;
  const std::string name = Window<TypeParam>::dataName();
  const struct {
    const char* action;
    std::optional<std::string> answer;
    const char* enables;  // as kSteps
    std::string says;     // how the status line begins
  } steps[] = {
      {"LoadData", Window<TypeParam>::data(), "111000001",
       "Loaded 40 specimens with 14 landmarks from " + name},
      {"UseCS", {}, "111000001", "x is the centroid size"},
      {"UseLn", {}, "111100001", "ln x runs from "},
      {"Acceptx", {}, "111111001", "x accepted"},
      {"Regress", {}, "111111111", "Standardized 40 specimens to ln x = "},
      {"SaveFile", dir.file("standardized.txt"), "111111111", "Saved 40 specimens to "},
      {"LoadxList", examplePath("skulls_mass.txt"), "111000001", "Loaded 40 x values from "},
      {"UseLog", {}, "111100001", "log10 x runs from "},
      {"Clear", {}, Window<TypeParam>::afterClear, "Cleared: load a data set to start again"},
  };
  for (const auto& step : steps) {
    this->run(step.action, step.answer);
    EXPECT_EQ(this->graphics_.lastError(), "") << step.action;
    EXPECT_EQ(this->enables(), step.enables) << step.action;
    EXPECT_EQ(this->said_.rfind(step.says, 0), 0u) << step.action << ": [" << this->said_ << "]";
  }
}

TYPED_TEST(SwitchyardTest, RefusedStepsSayWhyAndChangeNothing) {
  const struct {
    std::vector<const char*> before;  // steps taken first ("load" loads the data)
    const char* standard;             // typed in StandardBox, or nullptr
    const char* action;
    std::string error;  // the console line, from its start
  } cases[] = {
      {{}, nullptr, "UseCS", "Error in UseCS: no data set is loaded; load one first"},
      {{"load"}, nullptr, "Regress", "Error in Regress: "},
      {{"load", "UseCS", "UseLn", "Acceptx"},
       "abc",
       "Regress",
       "Error in Regress: the standard value \"abc\" "},
      {{"load", "UseCS", "UseLn", "Acceptx", "Regress"},
       "9",
       "SaveFile",
       "Error in SaveFile: the standard value was changed to 9 after Standardize used "},
      {{"load"},
       nullptr,
       "ShowRegress",
       "Error in ShowRegress: there is no standardized data to show; standardize first"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.action);
    this->run("Clear");
    for (const char* step : c.before) {
      if (std::string(step) == "load") {
        this->run("LoadData", Window<TypeParam>::data());
      } else {
        this->run(step);
      }
    }
    if (c.standard) this->type("StandardBox", c.standard);
    const std::string enables = this->enables();
    const Eigen::Index rows = this->sw_.SDATA().rows();
    this->run(c.action);
    EXPECT_EQ(this->graphics_.lastError().rfind(c.error, 0), 0u)
        << "[" << this->graphics_.lastError() << "]";
    EXPECT_EQ(this->enables(), enables);
    EXPECT_EQ(this->sw_.SDATA().rows(), rows);
  }
}

// Groups are for the allometry report: Standardize regresses on the data
// set as a whole, with them loaded or not.
TYPED_TEST(SwitchyardTest, StandardizeIgnoresTheGroupsLoaded) {
  TempDir dir;
  const std::string groups = dir.file("groups.txt");
  {
    std::ofstream out(groups);
    for (int i = 0; i < 40; ++i) out << (i < 20 ? "a\n" : "b\n");
  }
  this->run("LoadData", Window<TypeParam>::data());
  this->run("LoadGroups", groups);
  ASSERT_EQ(this->graphics_.lastError(), "");
  ASSERT_TRUE(this->sw_.groups().has_value());
  this->standardize();
  const Eigen::MatrixXd withGroups = this->sw_.SDATA();
  ASSERT_EQ(withGroups.rows(), 40);

  this->run("LoadData", Window<TypeParam>::data());
  ASSERT_FALSE(this->sw_.groups().has_value());
  this->standardize();
  EXPECT_EQ(this->sw_.SDATA(), withGroups);
}

TYPED_TEST(SwitchyardTest, TheSavedFileHoldsTheStandardizedRowsAndTheStandardOrEachSize) {
  TempDir dir;
  this->run("LoadData", Window<TypeParam>::data());
  this->standardize();
  const Eigen::MatrixXd& sdata = this->sw_.SDATA();
  const double standard = std::exp(this->sw_.state().standardizedAt->value);
  for (const double keepSize : {0.0, 1.0}) {
    SCOPED_TRACE(keepSize);
    this->graphics_.set(this->tag("CSBox"), "Value", keepSize);
    const std::string file = dir.file(keepSize != 0 ? "sizes.txt" : "standard.txt");
    this->run("SaveFile", file);
    ASSERT_EQ(this->graphics_.lastError(), "");
    const Eigen::MatrixXd saved = dload(file);
    ASSERT_EQ(saved.rows(), sdata.rows());
    ASSERT_EQ(saved.cols(), sdata.cols());
    const Eigen::Index last = sdata.cols() - 1;
    EXPECT_TRUE(testing::assert_near(saved.leftCols(last), sdata.leftCols(last), 1e-5));
    const Eigen::VectorXd expected = keepSize != 0
                                         ? Eigen::VectorXd(sdata.col(last))
                                         : Eigen::VectorXd::Constant(sdata.rows(), standard);
    EXPECT_TRUE(testing::assert_near(saved.col(last), expected, 1e-3 * expected.maxCoeff()));
  }
}

}  // namespace
}  // namespace tarvolin
