#include <charconv>
#include <filesystem>
#include <stdexcept>

#include "cli/clisteps.h"
#include "core/quotedtext.h"
#include "core/sprintf.h"
#include "formats/landmarktext.h"
#include "numerics/noshapevariation.h"
#include "numerics/shapepca.h"
#include "numerics/shapespacedimensions.h"
#include "workflows/pcascorescsv.h"
#include "workflows/pcatables.h"
#include "plotting/plotmorphospace.h"

namespace tarvolin {
namespace {

// --pcs I,J: two component numbers from 1; nothing when not given.
std::optional<std::pair<int, int>> pcsof(const std::string& text) {
  if (text.empty()) return std::nullopt;
  const size_t comma = text.find(',');
  auto number = [](std::string_view word) {
    int value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size() && value >= 1
               ? std::optional<int>(value)
               : std::nullopt;
  };
  const std::optional<int> across =
      comma == std::string::npos ? std::nullopt : number(std::string_view(text).substr(0, comma));
  const std::optional<int> up =
      comma == std::string::npos ? std::nullopt : number(std::string_view(text).substr(comma + 1));
  if (!across || !up) {
    throw InputError("--pcs must be two component numbers from 1, as I,J (1,2), not " +
                     quotedtext(text))
        .concerning(Input::option);
  }
  return std::pair{*across, *up};
}

// The options pca refuses together, before the long work.
void refusemismatched(const CliOptions& options) {
  if (options.of == PcaOf::superimposed &&
      (options.x != "cs" || options.transform != Transform::none || !options.standard.empty())) {
    throw InputError(
        "--x, --transform and --standard choose the standardization of --of standardized; "
        "the superimposed coordinates have none")
        .concerning(Input::option);
  }
  if (!options.pcs.empty() && options.plot.empty()) {
    throw InputError("--pcs chooses the components --plot draws, and --plot is not given")
        .concerning(Input::option);
  }
  if (options.withinGroups && (options.of != PcaOf::standardized || options.groups.empty())) {
    throw InputError(
        "--within-groups chooses the slope of --of standardized with --groups; without both it "
        "changes nothing")
        .concerning(Input::option);
  }
  if (options.json && options.to == LandmarkFormat::csv && options.toGiven) {
    throw InputError("--json and --to csv both say how the scores are written; choose one")
        .concerning(Input::option);
  }
  if (options.toGiven && options.to != LandmarkFormat::csv && options.shapes.empty()) {
    throw InputError("--to " + wordof(options.to) +
                     " is the format of --shapes FILE, which is not given; the scores are "
                     "written as text, --to csv or --json")
        .concerning(Input::option);
  }
  if (!options.plot.empty()) {
    const std::string extension = std::filesystem::path(options.plot).extension().string();
    std::string lower;
    for (const char c : extension)
      lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower != ".svg" && lower != ".png" && lower != ".pdf") {
      throw OutputError(options.plot + ": a picture is saved as .png, .svg or .pdf");
    }
  }
}

// A component --pcs names, from 1, checked against those reported.
Eigen::Index pcindex(int number, Eigen::Index reported, const std::string& pcs) {
  if (number > reported) {
    throw InputError(sprintf("--pcs %s: there %s only %i component%s", pcs,
                             reported == 1 ? "is" : "are", reported, reported == 1 ? "" : "s"))
        .concerning(Input::option);
  }
  return number - 1;
}

}  // namespace

void runpca(const CliOptions& options, std::ostream& out, std::ostream& err) {
  refusemismatched(options);
  const std::optional<std::pair<int, int>> pcs = pcsof(options.pcs);
  // A picture that cannot be drawn is said before the long work.
  const WritePictureEntry picture =
      options.plot.empty() ? nullptr : loadpicturemodule(options.plot);

  LandmarkSet set;
  Eigen::MatrixXd rows;
  std::optional<SpecimenGroups> groups;
  std::shared_ptr<const Sliding> slid;
  PcaRecord record;
  record.of = wordof(options.of);
  if (options.of == PcaOf::standardized) {
    StandardizedRows standardized = standardizedrows(options, err, set, options.withinGroups);
    rows = std::move(standardized.rows);
    groups = std::move(standardized.groups);
    slid = std::move(standardized.slid);
    const std::string x =
        options.transform == Transform::none ? std::string("x") : wordof(options.transform) + " x";
    record.what = sprintf("coordinates standardized to %s = %4.4f", x, standardized.standard);
  } else {
    bool rowsAreLines = false;
    set = loadclidata(options, err, rowsAreLines);
    groups = groupsof(options, set);
    AnalysisSession session;
    const GpaRounds fit = fitof(options, set);
    slid = fit.slide;
    session.load(checkeddataset(set, rowsAreLines), set.path, set.dims, {}, fit, false);
    if (options.gpa == GpaChoice::converged || session.loaded().fit.slid) {
      err << "tarvolin-cli: " << gpareporttext(session.loaded().fit) << "\n";
    }
    rows = session.releaseData();
    record.what = "superimposed coordinates";
  }
  record.file = barename(set.path);
  record.dims = set.dims;

  // The data set goes over to the analysis, which keeps the scores in its
  // memory: a large one is never held twice.
  const Eigen::Index variables = rows.cols() - 1;
  ShapePca pca;
  try {
    const Eigen::Index dimensions =
        shapespacedimensions(set.dims, variables / set.dims, slid ? &slid->sliders : nullptr,
                             options.of == PcaOf::standardized);
    pca = shapepca(std::move(rows), variables, options.components, PcaRoute::automatic,
                   std::max<Eigen::Index>(dimensions, 1));
  } catch (const std::invalid_argument& e) {
    throw InputError(set.path, e.what()).concerning(Input::data);
  }

  // Specimens of one shape leave only the rounding of their coordinates,
  // whose "components" would be noise reported as all the variation.
  if (pca.onlyrounding()) {
    throw InputError(set.path, sameshapetext(pca.specimens, pca.totalVariance))
        .concerning(Input::data);
  }
  if (picture && pca.components() < 2) {
    throw InputError(set.path, sprintf("--plot draws the scores on two components, and "
                                       "there is only %i; nothing was written",
                                       pca.components()))
        .concerning(Input::data);
  }

  Eigen::Index across = 0, up = 1;
  if (pcs) {
    across = pcindex(pcs->first, pca.components(), options.pcs);
    up = pcindex(pcs->second, pca.components(), options.pcs);
  }

  // Every file was found writable before the work; one that fails now (a
  // full disk) says which results are already written.
  std::vector<std::string> written;
  const auto writing = [&written](const std::string& file, const std::function<void()>& write) {
    try {
      write();
    } catch (const OutputError& e) {
      if (written.empty()) throw;
      std::string list;
      for (const std::string& name : written) list += (list.empty() ? "" : ", ") + name;
      throw OutputError(std::string(e.what()) + " (already written: " + list + ")");
    }
    if (!file.empty()) written.push_back(file);
  };
  writing(options.output, [&] {
    if (options.json) {
      deliver(
          options, [&](const TextSink& write) { pcajson(pca, record, set.ids, write); }, out);
    } else if (options.to == LandmarkFormat::csv && options.toGiven) {
      deliver(
          options, [&](const TextSink& write) { pcascorescsv(pca, set.ids, write, set.path); },
          out);
    } else {
      deliver(
          options, [&](const TextSink& write) { pcatext(pca, record, set.ids, write); }, out);
    }
  });
  if (!options.loadings.empty()) {
    writing(options.loadings, [&] {
      writefileatomic(options.loadings,
                      [&](const TextSink& write) { pcaloadingscsv(pca, set.dims, write); });
    });
  }
  if (!options.shapes.empty()) {
    writing(options.shapes, [&] {
      LandmarkSet shapes = pcashapes(pca, set.dims);
      shapes.path = options.shapes;
      const LandmarkFormat format = options.toGiven ? options.to : LandmarkFormat::csv;
      writefileatomic(options.shapes, [&](const TextSink& write) {
        landmarktext(shapes, format, std::nullopt, write, ZorDigits::exact);
      });
    });
  }
  if (picture) {
    Graphics graphics;
    const Handle axes = graphics.axes(graphics.figure());
    MorphospaceView view;
    view.pcx = across;
    view.pcy = up;
    view.title = record.file + ": " + record.what;
    if (options.of == PcaOf::standardized && groups) {
      view.title += options.withinGroups ? " (slope pooled within the groups)" : " (common slope)";
    }
    plotmorphospace(graphics, axes, pca, set.ids, groups, view);
    writing(options.plot, [&] { writepicture(picture, graphics, axes, options.plot); });
  }
}

}  // namespace tarvolin
