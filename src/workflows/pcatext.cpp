#include <algorithm>

#include "core/alignedcolumns.h"
#include "core/onallcores.h"
#include "core/sprintf.h"
#include "workflows/pcatables.h"

namespace tarvolin {
namespace {

// The components: eigenvalue, proportion and the running sum of proportions.
std::string componentstable(const ShapePca& pca) {
  const Eigen::VectorXd proportion = pca.proportions();
  const Eigen::VectorXd cumulative = pca.cumulative();
  std::vector<std::vector<std::string>> cells{
      {"component", "eigenvalue", "proportion", "cumulative"}};
  for (Eigen::Index c = 0; c < pca.components(); ++c) {
    cells.push_back({"PC" + std::to_string(c + 1), sprintf("%.6g", pca.eigenvalues(c)),
                     sprintf("%.5f", proportion(c)), sprintf("%.5f", cumulative(c))});
  }
  std::string text;
  for (const std::string& line : alignedcolumns(cells, {false, true, true, true})) {
    text += line + "\n";
  }
  return text;
}

// Each column of the scores table as wide as its widest cell, the header's
// included, found without keeping the text of a large table.
std::vector<size_t> scorewidths(const ShapePca& pca, const std::vector<std::string>& ids) {
  const auto scores = pca.scores();
  const Eigen::Index m = scores.cols();
  std::vector<std::vector<size_t>> perLane(static_cast<size_t>(laneCount()),
                                           std::vector<size_t>(static_cast<size_t>(m + 1), 0));
  onallcores(scores.size() > 100000, [&](int lane, int lanes) {
    std::vector<size_t>& width = perLane[static_cast<size_t>(lane)];
    char cell[kFormatGRoom];
    for (Eigen::Index i = lane; i < scores.rows(); i += lanes) {
      width[0] = std::max(width[0], ids[static_cast<size_t>(i)].size());
      for (Eigen::Index c = 0; c < m; ++c) {
        const auto n = static_cast<size_t>(formatG(cell, scores(i, c)) - cell);
        width[static_cast<size_t>(c + 1)] = std::max(width[static_cast<size_t>(c + 1)], n);
      }
    }
  });
  std::vector<size_t> width(static_cast<size_t>(m + 1), 0);
  width[0] = 2;  // "id"
  for (Eigen::Index c = 0; c < m; ++c) {
    width[static_cast<size_t>(c + 1)] = 2 + std::to_string(c + 1).size();  // "PC1"
  }
  for (const std::vector<size_t>& lane : perLane) {
    for (size_t c = 0; c < width.size(); ++c) width[c] = std::max(width[c], lane[c]);
  }
  return width;
}

}  // namespace

void pcatext(const ShapePca& pca, const PcaRecord& record, const std::vector<std::string>& ids,
             const TextSink& sink) {
  const Eigen::Index n = pca.specimens;
  const Eigen::Index m = pca.components();
  sink(sprintf("Principal components of the %s: %s, %i specimens, %i landmarks (%iD)\n",
               record.what, record.file, n, pca.variables() / record.dims, record.dims) +
       sprintf("total variance %.6g over %i variables; %i component%s\n\n", pca.totalVariance,
               pca.variables(), m, m == 1 ? "" : "s") +
       componentstable(pca) + "\n");

  // The scores: IDs to the left, numbers to the right, two blanks between
  // columns, as alignedcolumns sets them.
  const std::vector<size_t> width = scorewidths(pca, ids);
  std::string header = "id";
  for (Eigen::Index c = 0; c < m; ++c) {
    const std::string name = "PC" + std::to_string(c + 1);
    header += std::string(
                  width[static_cast<size_t>(c + 1)] - name.size() + 2 + (c == 0 ? width[0] - 2 : 0),
                  ' ') +
              name;
  }
  sink(header + "\n");
  const auto scores = pca.scores();
  pcarowpieces(
      n, 14 * (m + 1),
      [&](Eigen::Index i, std::string& text) {
        const std::string& id = ids[static_cast<size_t>(i)];
        text += id;
        size_t pad = width[0] - id.size();
        char cell[kFormatGRoom];
        for (Eigen::Index c = 0; c < m; ++c) {
          const auto length = static_cast<size_t>(formatG(cell, scores(i, c)) - cell);
          text.append(pad + 2 + width[static_cast<size_t>(c + 1)] - length, ' ');
          text.append(cell, length);
          pad = 0;
        }
        // An ID alone (no component) keeps no blanks at the line's end.
        if (m == 0) {
          while (!text.empty() && text.back() == ' ') text.pop_back();
        }
        text += '\n';
      },
      sink);
}

}  // namespace tarvolin
