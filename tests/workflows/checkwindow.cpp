// The Check data button of both workflow windows, its report window, and
// the specimen chosen there shown in the plot.
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "core/sprintf.h"
#include "document/controltags.h"
#include "formats/dload.h"
#include "tests/testing.h"
#include "workflows/showcheck.h"
#include "workflows/stand3sw.h"
#include "workflows/standsw.h"
#include "workflowtesting.h"

namespace tarvolin {
namespace {

using testing::examplePath;
using testing::readText;
using testing::TempDir;

// A fault planted in one specimen of a data set's rows (N x (d k + 1)).
enum class Fault { none, swap, mirror, times10 };

struct Planted {
  Fault fault;
  std::string finding;  // what the report says of specimen 20; empty: nothing
};

const Planted kPlanted[] = {
    {Fault::none, ""},
    {Fault::swap, "20: landmarks 3 and 9 look swapped (distance "},
    {Fault::mirror, "20 looks mirrored (distance "},
    {Fault::times10, "20: centroid size "},
};

constexpr Eigen::Index kSpecimen = 19;  // specimen 20, near the middle of the clean ones

Eigen::MatrixXd planted(Eigen::MatrixXd rows, int dims, Fault fault) {
  const Eigen::Index size = rows.cols() - 1;
  auto landmark = [&](int j) { return rows.row(kSpecimen).segment(dims * (j - 1), dims); };
  switch (fault) {
    case Fault::none:
      break;
    case Fault::swap: {
      const Eigen::VectorXd third = landmark(3).transpose();
      landmark(3) = landmark(9);
      landmark(9) = third.transpose();
      break;
    }
    case Fault::mirror:
      for (Eigen::Index c = 0; c < size; c += dims) rows(kSpecimen, c) *= -1;
      break;
    case Fault::times10:
      // The 2D window takes superimposed rows: only their size column tells
      // the units they were measured in.
      if (dims == 3) rows.row(kSpecimen).head(size) *= 10;
      rows(kSpecimen, size) *= 10;
      break;
  }
  return rows;
}

std::string rowsText(const Eigen::MatrixXd& rows) {
  std::string text;
  for (Eigen::Index i = 0; i < rows.rows(); ++i) {
    for (Eigen::Index j = 0; j < rows.cols(); ++j) {
      text += sprintf(j == 0 ? "%.17g" : " %.17g", rows(i, j));
    }
    text += '\n';
  }
  return text;
}

struct Workflow {
  bool threeD;
  const char* example;
};

class CheckWindowTest : public ::testing::TestWithParam<Workflow>,
                        protected testing::WorkflowWindows {
 protected:
  CheckWindowTest() : WorkflowWindows(GetParam().threeD) {}

  const std::optional<CheckReport>& check() const {
    return GetParam().threeD ? sw3_.panel().check() : sw2_.panel().check();
  }
  Handle report() const { return graphics_.findobj(tags::kCheckWindow).front(); }
  Handle inReport(std::string_view tag) const { return graphics_.findobj(tag, report()).front(); }
  // The plotted objects of the chosen specimen in the workflow's plot (or
  // of the lines to it from the mean shape).
  std::vector<const GraphicsObject*> chosen(PlotRole role = PlotRole::chosen) const {
    return plotted(role);
  }

  TempDir dir_;
};

TEST_P(CheckWindowTest, FindsEachPlantedFaultAndShowsTheSpecimenChosen) {
  const Eigen::MatrixXd example = dload(examplePath(GetParam().example));
  const Eigen::Index k = (example.cols() - 1) / dims();
  for (const Planted& p : kPlanted) {
    SCOPED_TRACE(p.finding.empty() ? "clean data" : p.finding);
    const std::string file = dir_.file("planted.txt");
    testing::writeText(file, rowsText(planted(example, dims(), p.fault)));
    run("Clear");
    run("LoadData", file);
    ASSERT_EQ(graphics_.lastError(), "");
    EXPECT_EQ(graphics_.getString(graphics_.findobj("CheckDataButton", window_).front(), "Enable"),
              "on");
    // The check on load names how many look out of line.
    EXPECT_EQ(status_.find(" out of line: Check data...") != std::string::npos, !p.finding.empty())
        << status_;
    // The note stays, added to the next step's words, until the data go.
    run("UseCS");
    ASSERT_EQ(graphics_.lastError(), "");
    EXPECT_EQ(status_.starts_with("x is the centroid size of the"), true) << status_;
    EXPECT_EQ(status_.ends_with(" out of line: Check data..."), !p.finding.empty()) << status_;

    run("CheckData");
    ASSERT_EQ(graphics_.lastError(), "");
    ASSERT_TRUE(check());
    EXPECT_EQ(graphics_.getString(report(), "Name"), "Tarvolin data check: planted.txt");
    const std::string words = graphics_.getString(inReport(tags::kCheckText), "String");
    if (p.finding.empty()) {
      EXPECT_NE(words.find("Nothing looks out of line."), std::string::npos) << words;
    } else {
      EXPECT_NE(words.find(p.finding), std::string::npos) << words;
      if (p.fault != Fault::times10) {
        EXPECT_EQ(check()->check.byRank.front(), kSpecimen) << "the faulty specimen ranks first";
      }
    }
    // A row per specimen in the list, and a point per specimen in the plot.
    const std::string rows = graphics_.getString(inReport(tags::kCheckTable), "String");
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n') + 1, example.rows());
    Eigen::Index plotted = 0;
    for (Handle h : graphics_.descendants(inReport(tags::kCheckPlot), ObjectType::line)) {
      if (graphics_.object(h).role == PlotRole::checkDistances) {
        plotted += graphics_.object(h).xdata.size();
      }
    }
    EXPECT_EQ(plotted, example.rows());
    // A size out of line is marked in the plot too, at the specimen's rank.
    std::vector<double> sizeMarked;
    for (Handle h : graphics_.descendants(inReport(tags::kCheckPlot), ObjectType::line)) {
      const GraphicsObject& line = graphics_.object(h);
      if (line.displayName == kCheckSizeOutliers || line.displayName == kCheckBothOutliers) {
        sizeMarked.insert(sizeMarked.end(), line.xdata.data(),
                          line.xdata.data() + line.xdata.size());
      }
    }
    const double rank = check()->check.specimens[kSpecimen].rank;
    EXPECT_EQ(std::count(sizeMarked.begin(), sizeMarked.end(), rank),
              p.fault == Fault::times10 ? 1 : 0);

    // Choosing the first row shows that specimen in the plot, numbered.
    graphics_.setValue(inReport(tags::kCheckTable), 1);
    run("CheckSelect");
    ASSERT_EQ(graphics_.lastError(), "");
    const Eigen::Index first = check()->check.byRank.front();
    const std::vector<const GraphicsObject*> shown = chosen();
    ASSERT_EQ(static_cast<Eigen::Index>(shown.size()), GetParam().threeD ? 1 : k);
    EXPECT_EQ(shown.front()->displayName, std::to_string(first + 1));
    EXPECT_EQ(shown.front()->xdata(0), (GetParam().threeD ? sw3_.DATA() : sw2_.DATA())(first, 0));
    EXPECT_NE(status_.find(std::to_string(first + 1)), std::string::npos) << status_;
    // One line from each landmark of the mean shape to the specimen's.
    const Eigen::MatrixXd& data = GetParam().threeD ? sw3_.DATA() : sw2_.DATA();
    const std::vector<const GraphicsObject*> links = chosen(PlotRole::chosenLinks);
    ASSERT_EQ(links.size(), 1u);
    ASSERT_EQ(links.front()->xdata.size(), 3 * k);
    EXPECT_NEAR(links.front()->xdata(3 * (k - 1)), data.col(dims() * (k - 1)).mean(), 1e-15);
    EXPECT_EQ(links.front()->ydata(3 * (k - 1) + 1), data(first, dims() * (k - 1) + 1));
    EXPECT_TRUE(std::isnan(links.front()->xdata(2)));
    // Choosing another replaces it.
    graphics_.setValue(inReport(tags::kCheckTable), 2);
    run("CheckSelect");
    EXPECT_EQ(chosen().size(), shown.size());
    EXPECT_EQ(chosen(PlotRole::chosenLinks).size(), 1u);
  }
}

TEST_P(CheckWindowTest, CopiesSavesAndRefusesAStaleChoice) {
  run("LoadData", examplePath(GetParam().example));
  run("CheckData");
  ASSERT_TRUE(check());
  const std::string module = GetParam().threeD ? "stand3sw" : "standsw";
  for (const auto& [tag, action] : {std::pair{tags::kCheckCopyButton, "CheckCopy"},
                                    std::pair{tags::kCheckSaveButton, "CheckSave"},
                                    std::pair{tags::kCheckTable, "CheckSelect"}}) {
    EXPECT_EQ(graphics_.getString(inReport(tag), "Callback"),
              module + "('" + std::string(action) + "')");
  }
  run("CheckCopy");
  EXPECT_EQ(graphics_.textClipboard(), check()->text);
  run("CheckSave", dir_.file("check.csv"));
  EXPECT_EQ(readText(dir_.file("check.csv")), check()->csv);

  const std::string stale =
      "Error in CheckSelect: the data set has changed since it was checked; click Check data "
      "again";
  run("Clear");
  EXPECT_EQ(graphics_.getString(graphics_.findobj("CheckDataButton", window_).front(), "Enable"),
            "off");
  graphics_.setValue(inReport(tags::kCheckTable), 1);
  run("CheckSelect");
  EXPECT_EQ(graphics_.lastError(), stale);

  // A workflow window opened anew starts afresh, the report still open.
  Handle own = window_;
  const auto locator = [&own] { return std::optional<Handle>(own); };
  GetParam().threeD ? sw3_.setWindowLocator("Tarvolin", locator)
                    : sw2_.setWindowLocator("Tarvolin2D", locator);
  run("LoadData", examplePath(GetParam().example));
  run("CheckData");
  graphics_.close(own);
  own = testing::testWindow(graphics_, GetParam().threeD);
  graphics_.setValue(inReport(tags::kCheckTable), 1);
  run("CheckSelect");
  EXPECT_EQ(graphics_.lastError(), stale);
}

// The 2D window's wings, wing_12's second TPS curve in reverse order (the
// ten lines of its points, a specimen being 33 lines), are checked once the
// curves slid: the curve is named all the same, judged in the rows as read.
class CheckWindowSlid : public ::testing::Test, protected testing::WorkflowWindows {
 protected:
  CheckWindowSlid() : WorkflowWindows(false) {}
  TempDir dir_;
};

TEST_F(CheckWindowSlid, NamesACurveDigitizedBackwards) {
  const std::string planted = testing::wingsWithACurveBackwards();
  testing::writeText(dir_.file("wings.tps"), planted);
  run("LoadData", dir_.file("wings.tps"));
  graphics_.setValue(graphics_.findobj("SlideBox", window_).front(), 1);
  run("Slide");
  run("CheckData");
  ASSERT_EQ(graphics_.lastError(), "");
  ASSERT_TRUE(sw2_.panel().check());
  EXPECT_TRUE(sw2_.panel().check()->check.specimens[11].outlier);
  const Handle report = graphics_.findobj(tags::kCheckWindow).front();
  const std::string words =
      graphics_.getString(graphics_.findobj(tags::kCheckText, report).front(), "String");
  EXPECT_NE(words.find("wing_12: curve 2 looks digitized backwards (distance "), std::string::npos)
      << words;
}

// However many findings there are, the window's text names a dozen and
// leaves the rest to the table, so that the table and the plot keep room.
TEST(CheckWindowText, NamesADozenFindingsAndCountsTheRest) {
  const struct {
    size_t findings;
    size_t lines;      // after the header's
    std::string last;  // the text's last line
  } cases[] = {
      {0, 1, "Nothing looks out of line."},
      {3, 3, "finding 2"},
      {12, 12, "finding 11"},
      {46, 13, "... and 34 more in the table (Copy table has them all)"},
  };
  for (const auto& c : cases) {
    CheckReport report;
    report.tableHeader = "rank  ID";
    report.text = "Data check: a.txt\n\nrank  ID\n";
    for (size_t i = 0; i < c.findings; ++i)
      report.findings.push_back("finding " + std::to_string(i));
    const std::string text = checkwindowtext(report);
    EXPECT_EQ(text.find("Data check: a.txt\n\n"), 0u) << text;
    EXPECT_EQ(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')), 1 + c.lines)
        << c.findings;
    EXPECT_EQ(text.substr(text.rfind('\n') + 1), c.last) << c.findings;
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, CheckWindowTest,
                         ::testing::Values(Workflow{true, "skulls_zor.txt"},
                                           Workflow{false, "skulls2d_superimposed.txt"}),
                         [](const auto& run) { return run.param.threeD ? "3D" : "2D"; });

}  // namespace
}  // namespace tarvolin
