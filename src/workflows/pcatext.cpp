#include <algorithm>

#include "core/alignedcolumns.h"
#include "core/printable.h"
#include "core/shownid.h"
#include "core/sprintf.h"
#include "core/textpieces.h"
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

// The widest text "%g" writes: a sign, six digits, a point and a
// three-digit exponent ("-1.23457e-100"). Every score column is that wide,
// so that a large table is formatted once, with no pass to measure it.
constexpr size_t kScoreWidth = 13;

}  // namespace

void pcatext(const ShapePca& pca, const PcaRecord& record, const std::vector<std::string>& ids,
             const TextSink& sink) {
  const Eigen::Index n = pca.specimens;
  const Eigen::Index m = pca.components();
  sink(sprintf("Principal components of the %s: %s, %i specimens, %i landmarks (%iD)\n",
               record.what, printable(record.file), n, pca.variables() / record.dims, record.dims) +
       sprintf("total variance %.6g over %i variables; %i component%s\n\n", pca.totalVariance,
               pca.variables(), m, m == 1 ? "" : "s") +
       componentstable(pca) + "\n");

  // The scores: IDs to the left, numbers to the right, two blanks between
  // columns, as alignedcolumns sets them. The IDs are shown printable and
  // cut short: one long ID would widen every row.
  std::vector<std::string> shown;
  shown.reserve(ids.size());
  for (const std::string& id : ids) shown.push_back(shownid(id));
  size_t idWidth = 2;  // "id"
  for (const std::string& id : shown) idWidth = std::max(idWidth, id.size());
  std::string header = "id" + std::string(idWidth - 2, ' ');
  for (Eigen::Index c = 0; c < m; ++c) {
    const std::string name = "PC" + std::to_string(c + 1);
    header += std::string(2 + kScoreWidth - std::min(name.size(), kScoreWidth), ' ') + name;
  }
  while (!header.empty() && header.back() == ' ') header.pop_back();
  sink(header + "\n");
  const auto scores = pca.scores();
  textpieces(
      n, 14 * (m + 1),
      [&](Eigen::Index first, Eigen::Index last, std::string& text) {
        for (Eigen::Index i = first; i < last; ++i) {
          const std::string& id = shown[static_cast<size_t>(i)];
          text += id;
          size_t pad = idWidth - id.size();
          char cell[kFormatGRoom];
          for (Eigen::Index c = 0; c < m; ++c) {
            const auto length = static_cast<size_t>(formatG(cell, scores(i, c)) - cell);
            text.append(pad + 2 + kScoreWidth - std::min(length, kScoreWidth), ' ');
            text.append(cell, length);
            pad = 0;
          }
          text += '\n';
        }
      },
      sink);
}

}  // namespace tarvolin
