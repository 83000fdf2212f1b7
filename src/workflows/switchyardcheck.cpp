// The data check's steps of both switchyards: the check on load, the report
// window and its buttons, and the row chosen in its list.

#include <filesystem>

#include "core/console.h"
#include "core/shownid.h"
#include "core/sprintf.h"
#include "core/writefileatomic.h"
#include "numerics/superimposedataset.h"
#include "workflows/showcheck.h"
#include "workflows/switchyardpanel.h"

namespace tarvolin {

void SwitchyardPanel::checkOnLoad(const AnalysisSession& session) {
  loadNote_.clear();
  outOfLineNote_.clear();
  outOfLineCount_.clear();
  // What the report windows' lines said ("skull_12 is shown among the
  // others in the plot") was said of the data before.
  for (const std::optional<ObjectId>* report : {&checkWindow_, &shapeWindow_, &allometryWindow_}) {
    clearReportLine(*report);
  }
  const Eigen::MatrixXd& data = session.data();
  if (data.size() == 0 || data.size() > kCheckOnLoadCoordinates) return;
  try {
    const DataCheck check = checkdata(data, session.dims(), /*causes=*/false);
    loadNote_ = outoflinestatus(check);
    outOfLineNote_ = loadNote_;
    outOfLineCount_ = outoflinecount(check);
  } catch (const std::exception&) {
    // Data the check cannot take are refused when the user asks for it,
    // with the reason; the load itself went well.
  }
}

void SwitchyardPanel::showCheck(const AnalysisSession& session, const std::string& datafile,
                                std::string_view module,
                                const std::vector<std::vector<int>>& curves,
                                const Eigen::MatrixXd& rowsAsRead) {
  const Eigen::MatrixXd& data = session.data();
  requiredata(data);
  const std::string file = std::filesystem::path(datafile).filename().string();
  graphics_.status(sprintf("Checking %i specimens ...", data.rows()));
  Eigen::MatrixXd plain;
  if (!curves.empty() && rowsAsRead.rows() == data.rows() && rowsAsRead.cols() == data.cols()) {
    plain = superimposedataset(
                rowsAsRead, [](std::string_view) {}, session.dims(), false)
                .data;
  }
  CheckReport report = checkreport(data, session.dims(), session.ids(), file, {}, curves, plain);
  clearReportLine(checkWindow_);
  checkWindow_ = showcheck(graphics_, report, checkWindow_, module);
  console().disp(report.text);
  const std::string count = outoflinecount(report.check);
  graphics_.status(count.empty()
                       ? sprintf("Checked %i specimens: nothing looks out of line", data.rows())
                       : count + ": choose one in the table to see it in the plot");
  check_ = std::move(report);
}

void SwitchyardPanel::keepOutOfLineNote(const GraphicsChange& said) {
  if (outOfLineNote_.empty()) return;
  // The report windows' status lines speak of the report.
  for (const std::optional<ObjectId>* report : {&checkWindow_, &allometryWindow_, &shapeWindow_}) {
    if (*report && graphics_.exists(**report) && (*report)->handle == said.handle) return;
  }
  // "3 specimens look out of line": the words of the note or of the
  // check's own summary.
  if (said.detail.find(outOfLineCount_) != std::string::npos) return;
  graphics_.status(said.handle,
                   said.detail.empty() ? outOfLineNote_ : said.detail + "; " + outOfLineNote_);
}

void SwitchyardPanel::copyCheck() {
  if (!check_) throw MissingError("there is no data check to copy; click Check data first");
  graphics_.copyText(check_->text);
  graphics_.status("The data check is on the clipboard");
}

void SwitchyardPanel::saveCheck() {
  if (!check_) throw MissingError("there is no data check to save; click Check data first");
  const std::optional<FileChoice> choice =
      dialogs_.putFile("*.csv", "File Name for the Data Check Table");
  if (!choice) return;
  writefileatomic(choice->path(), check_->csv);
  graphics_.status("Saved the data check table to " + choice->path());
}

std::optional<Eigen::Index> SwitchyardPanel::checkChoice(const AnalysisSession& session) {
  const bool same = check_ && check_->ids == session.ids() &&
                    session.data().rows() == static_cast<Eigen::Index>(check_->ids.size());
  if (!same || !checkWindow_ || !graphics_.exists(*checkWindow_)) {
    throw MissingError("the data set has changed since it was checked; click Check data again");
  }
  const Handle window = checkWindow_->handle;
  const Handle table = graphics_.findobj(tags::kCheckTable, window).front();
  const int rank = static_cast<int>(graphics_.object(table).details().value);
  const std::vector<Eigen::Index>& byRank = check_->check.byRank;
  if (rank < 1 || rank > static_cast<int>(byRank.size())) return std::nullopt;
  showcheckchoice(graphics_, *check_, window, rank);
  const Eigen::Index specimen = byRank[static_cast<size_t>(rank - 1)];
  const std::string& finding = check_->specimenFinding[static_cast<size_t>(specimen)];
  const std::string id = shownid(check_->ids[static_cast<size_t>(specimen)]);
  graphics_.status(window,
                   finding.empty()
                       ? sprintf("%s (rank %i) is shown among the others in the plot", id, rank)
                       : "Shown among the others in the plot: " + finding);
  return specimen;
}

}  // namespace tarvolin
