// Semilandmarks in both windows: Load sliders..., the switch Slide
// semilandmarks and its criterion, the fit they make, and the plot.

#include <cmath>
#include <memory>
#include <set>
#include <string>

#include "core/console.h"
#include "core/errors.h"
#include "core/sprintf.h"
#include "formats/readlandmarks.h"
#include "numerics/superimposedataset.h"
#include "tests/testing.h"
#include "workflows/semilandmarks.h"
#include "workflows/slidersfilekind.h"
#include "workflowtesting.h"

namespace tarvolin {
namespace {

using testing::TempDir;
using testing::writeText;

constexpr int kSpecimens = 7;
constexpr int kLandmarks = 10;  // 4 fixed, then a curve of 6 points

// Landmark j of specimen i: a rectangle's corners and an arch over it, each
// specimen bent, shifted and sized its own way.
std::vector<double> point(int i, int j, int dims) {
  static const double base[kLandmarks][3] = {
      {0, 0, 0},     {4, 0, 0.2},   {4, 3, 0},     {0, 3, 0.3}, {0, 3.5, 0},
      {1, 4.2, 0.1}, {2, 4.5, 0.2}, {3, 4.3, 0.1}, {3.6, 4, 0}, {4, 3.5, 0.1}};
  std::vector<double> p;
  for (int d = 0; d < dims; ++d) {
    const double wobble = 0.15 * std::sin(1.7 * i + 2.3 * j + 0.9 * d);
    p.push_back((1 + 0.1 * i) * (base[j][d] + wobble) + 2 * d + i);
  }
  return p;
}

std::string numbers(const std::vector<double>& values) {
  std::string text;
  for (const double v : values) text += (text.empty() ? "" : " ") + std::to_string(v);
  return text;
}

// The specimens in TPS: LM= (LM3=) for the corners, the arch as CURVES=1.
std::string tpsWithCurve(int dims) {
  std::string text;
  for (int i = 0; i < kSpecimens; ++i) {
    text += (dims == 3 ? "LM3=4\n" : "LM=4\n");
    for (int j = 0; j < 4; ++j) text += numbers(point(i, j, dims)) + "\n";
    text += "CURVES=1\nPOINTS=6\n";
    for (int j = 4; j < kLandmarks; ++j) text += numbers(point(i, j, dims)) + "\n";
    text += "ID=s" + std::to_string(i + 1) + "\n";
  }
  return text;
}

// The same specimens as rows, X1 Y1 [Z1] ... and the size: no curves.
std::string rows(int dims) {
  std::string text;
  for (int i = 0; i < kSpecimens; ++i) {
    std::vector<double> row;
    for (int j = 0; j < kLandmarks; ++j) {
      for (const double v : point(i, j, dims)) row.push_back(v);
    }
    row.push_back(10 + i);
    text += numbers(row) + "\n";
  }
  return text;
}

// The arch's inner points, each between its neighbours, numbered from 1.
const char* const kSliders = "before,slide,after\n5 6 7\n6 7 8\n7 8 9\n8 9 10\n";
const std::vector<CurveSlider> kArch = {{4, 5, 6}, {5, 6, 7}, {6, 7, 8}, {7, 8, 9}};

class SlidingWindows : public ::testing::TestWithParam<bool>, public testing::WorkflowWindows {
 protected:
  SlidingWindows() : WorkflowWindows(GetParam()) {
    writeText(dir_.file("arch.tps"), tpsWithCurve(dims()));
    writeText(dir_.file("rows.txt"), rows(dims()));
    writeText(dir_.file("sliders.csv"), kSliders);
  }

  Handle tag(const char* t) const { return graphics_.findobj(t, window_).front(); }
  bool shown(const char* t) const { return graphics_.object(tag(t)).details().visible; }
  double value(const char* t) const { return graphics_.object(tag(t)).details().value; }
  bool enabled(const char* t) const { return graphics_.object(tag(t)).details().enable; }
  // As a click on the switch, or a choice of the criterion, does.
  void slide(bool on) {
    graphics_.setValue(tag("SlideBox"), on ? 1 : 0);
    run("Slide");
  }
  void criterion(SlideCriterion by) {
    graphics_.setValue(tag("SlideCriterion"), by == SlideCriterion::bendingEnergy ? 1 : 2);
    run("SlideCriterion");
  }
  std::string file(const char* name) const { return dir_.file(name); }
  // far.tps: the specimens with the top of the arch of s4, landmark 7, far
  // above it.
  void writeFarArch() {
    std::string text = tpsWithCurve(dims());
    const std::string top = numbers(point(3, 6, dims()));
    std::vector<double> far = point(3, 6, dims());
    far[1] += 12;
    text.replace(text.find(top), top.size(), numbers(far));
    writeText(file("far.tps"), text);
  }

  // The rows of a file as read, and as superimposedataset superimposes them.
  Eigen::MatrixXd asRead(const char* name) const {
    ReadOptions options;
    options.dims = dims();
    return landmarkdataset(readlandmarks(file(name), std::nullopt, options));
  }
  // The popup's items: each criterion in the default order, then in the refit order.
  void choose(SlideCriterion by, SlideOrder order) {
    graphics_.setValue(tag("SlideCriterion"), (by == SlideCriterion::bendingEnergy ? 1 : 2) +
                                                  (order == SlideOrder::refit ? 2 : 0));
    run("SlideCriterion");
  }
  Eigen::MatrixXd superimposed(const char* name, std::optional<SlideCriterion> by,
                               SlideOrder order = SlideOrder::reference) const {
    GpaRounds rounds;
    if (by) {
      Sliding how;
      how.sliders.curve = kArch;
      how.criterion = *by;
      how.order = order;
      rounds.slide = std::make_shared<const Sliding>(how);
    }
    return superimposedataset(asRead(name), testing::noNotes(), dims(), dims() == 3, rounds).data;
  }

  TempDir dir_;
};

INSTANTIATE_TEST_SUITE_P(Windows, SlidingWindows, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& p) {
                           return p.param ? "3D" : "2D";
                         });

// The switch and its criterion are there only for data whose points slide:
// a TPS file's curves or a sliders file loaded for them; new data, and
// Clear, forget the sliders file.
TEST_P(SlidingWindows, TheSwitchShowsOnlyForDataWithSemilandmarks) {
  const struct {
    const char* action;
    const char* answer;
    bool shown;
    bool loadSliders;  // Load sliders... enabled
    bool curves;       // a file with curves: the 3D window slides them from the start
  } steps[] = {
      {"LoadData", "rows.txt", false, true, false},
      {"LoadSliders", "sliders.csv", true, true, false},
      {"LoadData", "rows.txt", false, true, false},
      {"LoadData", "arch.tps", true, true, true},
      {"Clear", nullptr, false, false, false},
      {"LoadData", "arch.tps", true, true, true},
      {"LoadData", "rows.txt", false, true, false},
  };
  for (const auto& step : steps) {
    run(step.action, step.answer ? std::optional(file(step.answer)) : std::nullopt);
    ASSERT_EQ(graphics_.lastError(), "") << step.action << " " << step.answer;
    EXPECT_EQ(shown("SlideBox"), step.shown) << step.action << " " << step.answer;
    EXPECT_EQ(shown("SlideCriterion"), step.shown) << step.action << " " << step.answer;
    EXPECT_EQ(enabled("LoadSlidersButton"), step.loadSliders) << step.action;
    EXPECT_EQ(value("SlideBox"), step.curves && dims() == 3 ? 1 : 0) << step.action;
    EXPECT_EQ(shown("ShowSlidingButton"), step.shown) << step.action << " " << step.answer;
    EXPECT_EQ(enabled("ShowSlidingButton"), value("SlideBox") == 1) << step.action;
  }
  // Without semilandmarks the switch refuses, whoever presses it.
  slide(true);
  EXPECT_NE(graphics_.lastError().find("no landmark of the data set slides"), std::string::npos)
      << graphics_.lastError();
  EXPECT_EQ(value("SlideBox"), 0);
}

// Set, the switch superimposes the rows as read again, sliding, exactly as
// the fit does; another criterion fits again; unset, the plain
// superimposition (the 2D window: the rows as read) comes back bit for bit.
// The later steps start again, as with new data.
TEST_P(SlidingWindows, SlidingSuperimposesTheRowsAsReadAgain) {
  const struct {
    const char* data;
    const char* sliders;  // loaded after the data, or none
  } cases[] = {{"arch.tps", nullptr}, {"rows.txt", "sliders.csv"}};
  for (const auto& c : cases) {
    run("LoadData", file(c.data));
    if (c.sliders) run("LoadSliders", file(c.sliders));
    ASSERT_EQ(graphics_.lastError(), "") << c.data;
    // The 3D window slides a file's curves from the start, as the command
    // line does.
    if (dims() == 3 && !c.sliders) {
      EXPECT_EQ(value("SlideBox"), 1);
      EXPECT_TRUE(session().data() == superimposed(c.data, SlideCriterion::bendingEnergy));
      EXPECT_NE(status_.find(gpareporttext(session().loaded().fit, GpaReportFor::window)),
                std::string::npos)
          << status_;
      slide(false);
      ASSERT_EQ(graphics_.lastError(), "") << c.data;
    }
    const Eigen::MatrixXd plain = session().data();
    run("UseCS");
    run("UseLn");
    ASSERT_EQ(session().x().size(), kSpecimens);
    ASSERT_TRUE(enabled("GoRegress"));

    slide(true);
    ASSERT_EQ(graphics_.lastError(), "") << c.data;
    EXPECT_TRUE(session().data() == superimposed(c.data, SlideCriterion::bendingEnergy)) << c.data;
    EXPECT_EQ(session().x().size(), 0) << c.data;
    EXPECT_FALSE(enabled("GoRegress")) << c.data;
    EXPECT_NE(status_.find(gpareporttext(session().loaded().fit, GpaReportFor::window)),
              std::string::npos)
        << status_;

    criterion(SlideCriterion::procrustesDistance);
    ASSERT_EQ(graphics_.lastError(), "") << c.data;
    EXPECT_TRUE(session().data() == superimposed(c.data, SlideCriterion::procrustesDistance))
        << c.data;

    slide(false);
    ASSERT_EQ(graphics_.lastError(), "") << c.data;
    EXPECT_TRUE(session().data() == plain) << c.data;
    EXPECT_TRUE(plain == (dims() == 3 ? superimposed(c.data, std::nullopt) : asRead(c.data)))
        << c.data;
    // Unset, the criterion waits: nothing is fitted again.
    criterion(SlideCriterion::bendingEnergy);
    EXPECT_TRUE(session().data() == plain) << c.data;
  }
}

// The refit order is a choice of the criterion's popup, in either window:
// the fit is the refit order's, the status line tells of each round as it
// ends and then what the fit did; the choice stays with the switch.
TEST_P(SlidingWindows, TheRefitOrderIsAChoiceAndEachRoundIsTold) {
  // Shared with the listener, which may outlive this body.
  const auto heard = std::make_shared<std::vector<std::string>>();
  std::vector<std::string>& told = *heard;
  graphics_.subscribe([heard](const GraphicsChange& c) {
    if (c.kind == GraphicsChange::Kind::status) heard->push_back(c.detail);
  });
  const struct {
    SlideCriterion by;
    SlideOrder order;
    const char* says;
  } cases[] = {
      {SlideCriterion::bendingEnergy, SlideOrder::refit, "bending energy, refit order, "},
      {SlideCriterion::procrustesDistance, SlideOrder::refit, "Procrustes distance, refit order, "},
      {SlideCriterion::procrustesDistance, SlideOrder::reference,
       "Procrustes distance, default order, "},
  };
  run("LoadData", file("arch.tps"));
  slide(true);
  for (const auto& c : cases) {
    told.clear();
    choose(c.by, c.order);
    ASSERT_EQ(graphics_.lastError(), "") << c.says;
    EXPECT_TRUE(session().data() == superimposed("arch.tps", c.by, c.order)) << c.says;
    const GpaReport& fit = session().loaded().fit;
    EXPECT_EQ(fit.order, c.order);
    EXPECT_NE(status_.find(c.says), std::string::npos) << status_;
    // A line a round, then the fit's report.
    std::vector<std::string> rounds;
    for (const std::string& t : told) {
      if (t.rfind("Sliding: round ", 0) == 0) rounds.push_back(t);
    }
    ASSERT_EQ(rounds.size(), static_cast<size_t>(fit.rounds)) << c.says;
    EXPECT_EQ(rounds.back(),
              "Sliding: round " + std::to_string(fit.rounds) + " of at most 9, change " +
                  tarvolin::sprintf("%.3g", fit.lastChange) + " ...");
    // Unset and set again, the switch slides as last chosen.
    slide(false);
    slide(true);
    EXPECT_EQ(session().loaded().fit.order, c.order);
    EXPECT_EQ(session().loaded().fit.criterion, c.by);
  }
}

// A semilandmark that ends off its curve is named, with its specimen, in
// the status line.
TEST_P(SlidingWindows, ASemilandmarkOffItsCurveIsNamed) {
  writeFarArch();
  run("LoadData", file("far.tps"));
  slide(true);
  ASSERT_EQ(graphics_.lastError(), "");
  EXPECT_NE(status_.find("; s4: semilandmark 7 slid "), std::string::npos) << status_;
  EXPECT_NE(status_.find(" centroid sizes off its curve"), std::string::npos) << status_;
}

// Show sliding... opens a window of the specimen that slid farthest, its
// points after sliding over its semilandmarks before, with how far they
// slid and what slid astray; another specimen can be chosen; fitted again,
// the window shows the new fit on the same specimen, and it closes once
// nothing slides.
TEST_P(SlidingWindows, ShowSlidingShowsASpecimenBeforeAndAfter) {
  writeFarArch();
  run("LoadData", file("far.tps"));
  slide(true);
  ASSERT_TRUE(enabled("ShowSlidingButton"));
  const auto slidingWindow = [&]() -> std::optional<Handle> {
    const std::vector<Handle> open = graphics_.findobj("SlidingWindow");
    if (open.empty()) return std::nullopt;
    return open.front();
  };
  const auto in = [&](const char* t) { return graphics_.findobj(t, *slidingWindow()).front(); };
  // The points drawn of each role, k x d.
  const auto drawn = [&](PlotRole role) {
    for (const Handle h : graphics_.object(in("SlidingPlot")).children) {
      const GraphicsObject& o = graphics_.object(h);
      if (o.role != role) continue;
      Eigen::MatrixXd p(o.xdata.size(), dims());
      p.col(0) = o.xdata.map().transpose();
      p.col(1) = o.ydata.map().transpose();
      if (dims() == 3) p.col(2) = o.zdata.map().transpose();
      return p;
    }
    return Eigen::MatrixXd();
  };
  const auto row = [&](Eigen::Index i) {
    return session().data().row(i).head(kLandmarks * dims()).reshaped(dims(), kLandmarks)
        .transpose().eval();
  };
  const struct {
    const char* action;
    int chosen;            // the specimen the window is to show, from 1; 0: no window
    const char* begins;    // its line
    const char* astray;    // what the line says of a point that slid astray, or nothing
  } steps[] = {
      {"ShowSliding", 4, "s4: 4 semilandmarks slid ", "; s4: semilandmark 7 slid "},
      {"SlidingSpecimen", 2, "s2: 4 semilandmarks slid ", nullptr},
      {"SlideCriterion", 2, "s2: 4 semilandmarks slid ", nullptr},
      {"Slide", 0, nullptr, nullptr},
  };
  for (const auto& step : steps) {
    const std::string action = step.action;
    if (action == "SlidingSpecimen") {
      graphics_.setValue(in("SlidingSpecimen"), step.chosen);
      run(action);
    } else if (action == "SlideCriterion") {
      choose(SlideCriterion::procrustesDistance, SlideOrder::refit);
    } else if (action == "Slide") {
      slide(false);
    } else {
      run(action);
    }
    ASSERT_EQ(graphics_.lastError(), "") << action;
    if (step.chosen == 0) {
      EXPECT_FALSE(slidingWindow()) << action;
      EXPECT_FALSE(enabled("ShowSlidingButton"));
      continue;
    }
    ASSERT_TRUE(slidingWindow()) << action;
    EXPECT_EQ(graphics_.object(*slidingWindow()).details().name, "Tarvolin sliding: far.tps");
    EXPECT_EQ(graphics_.object(in("SlidingSpecimen")).details().string, "s1\ns2\ns3\ns4\ns5\ns6\ns7");
    EXPECT_EQ(graphics_.object(in("SlidingSpecimen")).details().value, step.chosen) << action;
    const std::string line = graphics_.object(in("SlidingText")).details().string;
    EXPECT_EQ(line.rfind(step.begins, 0), 0u) << line;
    EXPECT_NE(line.find(", the farthest landmark "), std::string::npos) << line;
    if (step.astray) {
      EXPECT_NE(line.find(step.astray), std::string::npos) << line;
    }
    // What slid astray in other specimens is not said of this one.
    for (size_t at = line.find("; "); at != std::string::npos; at = line.find("; ", at + 1)) {
      EXPECT_EQ(line.compare(at + 2, 3, step.begins, 3), 0) << line;
    }
    // After sliding: the specimen as the fit in force has it; before: its
    // four inner points of the arch, which the fit moved from there.
    const Eigen::MatrixXd after = row(step.chosen - 1);
    EXPECT_EQ(drawn(PlotRole::slidPoints), after) << action;
    const Eigen::MatrixXd before = drawn(PlotRole::unslidPoints);
    ASSERT_EQ(before.rows(), 4) << action;
    const Eigen::MatrixXd& unslid = session().loaded().unslid;
    for (int p = 0; p < 4; ++p) {
      EXPECT_EQ(before.row(p), unslid.row(step.chosen - 1).segment((5 + p) * dims(), dims()));
      EXPECT_GT((before.row(p) - after.row(5 + p)).norm(), 0.0) << p;
    }
  }
  // Nothing slid: nothing to show.
  run("ShowSliding");
  EXPECT_NE(graphics_.lastError().find("the semilandmarks have not slid; set Slide semilandmarks "
                                       "first"),
            std::string::npos)
      << graphics_.lastError();
}

// A sliders file that cannot be used is refused naming the file and the
// line, and changes nothing: not the fit, not the switch, not the points
// that slide.
TEST_P(SlidingWindows, ARefusedSlidersFileChangesNothing) {
  const struct {
    const char* text;
    long line;  // 0: the file as a whole
    const char* says;
    bool in2D;  // refused in 2D only
  } cases[] = {
      {"5 6 7\n6 7\n", 2, "the row holds 2 fields, not 3 landmark numbers", false},
      {"# arch\n\n5 6 99\n", 3, "landmark 99 does not exist: the data have 10 landmarks", false},
      {"5 6 7\n6 6 8\n", 2, "cannot slide towards itself", false},
      {"# nothing yet\n", 0, "names no landmark that slides", false},
      {"2\n3\n", 0, "points slide on a surface in 3D data only", true},
  };
  for (const auto& c : cases) {
    if (c.in2D && dims() == 3) continue;
    run("LoadData", file("arch.tps"));
    slide(true);
    ASSERT_EQ(graphics_.lastError(), "");
    const Eigen::MatrixXd slid = session().data();
    const size_t drawn = plotted(PlotRole::specimens).size();
    writeText(file("bad.txt"), c.text);
    run("LoadSliders", file("bad.txt"));
    const std::string where = file("bad.txt") + (c.line ? ":" + std::to_string(c.line) : "") + ": ";
    EXPECT_EQ(graphics_.lastError().rfind("Error in LoadSliders: " + where, 0), 0u)
        << graphics_.lastError();
    EXPECT_NE(graphics_.lastError().find(c.says), std::string::npos) << graphics_.lastError();
    EXPECT_TRUE(session().data() == slid) << c.text;
    EXPECT_EQ(value("SlideBox"), 1) << c.text;
    EXPECT_EQ(plotted(PlotRole::specimens).size(), drawn) << c.text;
    // The arch still slides as the TPS curves say.
    slide(false);
    slide(true);
    EXPECT_TRUE(session().data() == superimposed("arch.tps", SlideCriterion::bendingEnergy))
        << c.text;
  }
}

// Semilandmarks are drawn smaller than the fixed landmarks, specimens and
// mean alike, each landmark keeping its place in its configuration: the
// TPS curve's points, or the points a sliders file names; with a legend
// entry of their own, and the curves they slide on drawn over the mean.
TEST_P(SlidingWindows, SemilandmarksAreDrawnSmaller) {
  const struct {
    const char* data;
    const char* sliders;
    std::vector<int> semilandmarks;  // from 0
  } cases[] = {{"arch.tps", nullptr, {4, 5, 6, 7, 8, 9}},
               {"rows.txt", "sliders.csv", {5, 6, 7, 8}}};
  for (const auto& c : cases) {
    run("LoadData", file(c.data));
    if (c.sliders) run("LoadSliders", file(c.sliders));
    ASSERT_EQ(graphics_.lastError(), "");
    for (const PlotRole role : {PlotRole::specimens, PlotRole::mean}) {
      // Each configuration's points in order, with the marker of each.
      std::vector<double> sizes;
      for (const GraphicsObject* o : plotted(role)) {
        for (Eigen::Index i = 0; i < o->xdata.size(); ++i) sizes.push_back(o->markerSize);
      }
      ASSERT_EQ(sizes.size(), (role == PlotRole::mean ? 1u : kSpecimens) * kLandmarks) << c.data;
      const double fixed = sizes.front();
      for (size_t i = 0; i < sizes.size(); ++i) {
        const bool semi = std::count(c.semilandmarks.begin(), c.semilandmarks.end(),
                                     static_cast<int>(i % kLandmarks)) > 0;
        EXPECT_EQ(sizes[i], semi ? fixed / 2 : fixed) << c.data << " point " << i;
      }
    }
    // Their own legend entries, and the arch's 5 segments drawn on the mean.
    std::set<std::string> names;
    for (const PlotRole role : {PlotRole::specimens, PlotRole::mean}) {
      for (const GraphicsObject* o : plotted(role)) names.insert(std::string(o->displayName));
    }
    // The 2D window takes rows as read until sliding superimposes them.
    const std::string specimens = GetParam() ? "specimens, superimposed" : "specimens, as read";
    EXPECT_EQ(names, (std::set<std::string>{specimens, "semilandmarks", "mean shape",
                                            "mean shape: semilandmarks"}))
        << c.data;
    EXPECT_EQ(plotted(PlotRole::curves).size(), 5u) << c.data;
  }
  // The mean's points in order: the 3D mean drawn as runs of one kind holds
  // the mean shape's landmarks as they are numbered.
  if (dims() == 3) {
    Eigen::RowVectorXd x(kLandmarks);
    Eigen::Index at = 0;
    for (const GraphicsObject* o : plotted(PlotRole::mean)) {
      for (Eigen::Index i = 0; i < o->xdata.size(); ++i) x(at++) = o->xdata(i);
    }
    EXPECT_TRUE(x == session().loaded().mean.col(0).transpose());
  }
}

// The 2D window refuses rows that are not superimposed; once sliders are
// loaded for them, the refusal says that sliding superimposes them.
TEST_P(SlidingWindows, RawRowsAreToldOfSlidingOnceSlidersAreLoaded) {
  if (dims() == 3) GTEST_SKIP() << "the 3D window superimposes what it loads";
  run("LoadData", file("rows.txt"));
  run("LoadSliders", file("sliders.csv"));
  for (const char* step : {"UseCS", "UseLn", "Regress"}) run(step);
  EXPECT_NE(graphics_.lastError().find("or set Slide semilandmarks"), std::string::npos)
      << graphics_.lastError();
}

class SlidingWindow3D : public ::testing::Test, public testing::WorkflowWindows {
 protected:
  SlidingWindow3D() : WorkflowWindows(true) {}
};

// The 3D window reads its data file again for the rows as read, answering
// the questions as the user answered them when it was loaded; a file that
// has changed since is refused, and the plain fit stays.
TEST_F(SlidingWindow3D, ReadsTheFileAgainAsItWasReadOrRefusesAChangedOne) {
  TempDir dir;
  writeText(dir.file("sliders.txt"), "1 9 10\n9 10 11\n10 11 12\n");
  dialogs_.answerChoice("estimate");
  run("LoadData", testing::examplePath("skulls_missing.csv"));
  run("LoadSliders", dir.file("sliders.txt"));
  ASSERT_EQ(graphics_.lastError(), "");
  graphics_.setValue(graphics_.findobj("SlideBox", window_).front(), 1);
  run("Slide");
  EXPECT_EQ(graphics_.lastError(), "");
  EXPECT_EQ(dialogs_.questions().size(), 1u);

  writeText(dir.file("rows.txt"), rows(3));
  run("LoadData", dir.file("rows.txt"));
  writeText(dir.file("arch.txt"), kSliders);
  run("LoadSliders", dir.file("arch.txt"));
  const Eigen::MatrixXd plain = session().data();
  std::string changed = rows(3);
  // The first specimen's first coordinate: its size column stays as it was.
  changed.replace(0, changed.find(' '), "99");
  writeText(dir.file("rows.txt"), changed);
  graphics_.setValue(graphics_.findobj("SlideBox", window_).front(), 1);
  run("Slide");
  EXPECT_EQ(graphics_.lastError(), "Error in Slide: " + dir.file("rows.txt") +
                                       ": is no longer the data set loaded from it; load it again");
  EXPECT_TRUE(session().data() == plain);
  EXPECT_EQ(graphics_.object(graphics_.findobj("SlideBox", window_).front()).details().value, 0);
}

// A file whose curves cannot slide (here the curve starts on a landmark,
// so the mean shape has two points at one place) opens all the same, with
// the plain fit, the switch unset and the reason said.
TEST_F(SlidingWindow3D, CurvesThatCannotSlideOpenWithThePlainFit) {
  TempDir dir;
  std::string text = tpsWithCurve(3);
  for (int i = 0; i < kSpecimens; ++i) {
    const std::string first = numbers(point(i, 0, 3)), curve = numbers(point(i, 4, 3));
    text.replace(text.find(curve), curve.size(), first);
  }
  writeText(dir.file("closed.tps"), text);
  run("LoadData", dir.file("closed.tps"));
  EXPECT_EQ(graphics_.lastError(), "");
  EXPECT_EQ(graphics_.object(graphics_.findobj("SlideBox", window_).front()).details().value, 0);
  EXPECT_FALSE(session().loaded().fit.slid);
  EXPECT_NE(status_.find("the semilandmarks were not slid"), std::string::npos) << status_;
}

// Load sliders... tells the two kinds of file by their first row of
// numbers, and a file of one kind keeps the other kind loaded.
TEST(Semilandmarks, TellsTheKindOfFileAndKeepsTheOther) {
  const struct {
    const char* text;
    SlidersFileKind kind;
  } kinds[] = {
      {"1 2 3\n", SlidersFileKind::curves},
      {"\xEF\xBB\xBF# a comment\n\nbefore;slide;after\n1;2;3\n", SlidersFileKind::curves},
      {"point\n7\n8\n", SlidersFileKind::surface},
      {"  12\t\r\n13\r\n", SlidersFileKind::surface},
      {"1 2\n", SlidersFileKind::curves},
      {"", SlidersFileKind::curves},
  };
  for (const auto& k : kinds) EXPECT_EQ(slidersfilekind(k.text), k.kind) << k.text;

  TempDir dir;
  writeText(dir.file("curves.txt"), "1 2 3\n2 3 4\n");
  writeText(dir.file("surface.txt"), "6\n7\n");
  LandmarkSet set;
  set.coords.resize(0, 3 * 8);
  Semilandmarks semi;
  semi.reset(set);
  EXPECT_EQ(semi.load(dir.file("surface.txt")), SlidersFileKind::surface);
  EXPECT_EQ(semi.load(dir.file("curves.txt")), SlidersFileKind::curves);
  EXPECT_EQ(semi.sliders(), (Sliders{{{0, 1, 2}, {1, 2, 3}}, {5, 6}}));
  EXPECT_EQ(semi.flags(), (std::vector<bool>{false, true, true, false, false, true, true, false}));
  // Landmarks left out: the file's numbers no longer name the same points.
  semi.reset(set, true);
  EXPECT_THROW_MSG(semi.load(dir.file("curves.txt")), InputError,
                   "landmarks missing in some specimen were left out");
  EXPECT_FALSE(semi.slide());
}

}  // namespace
}  // namespace tarvolin
