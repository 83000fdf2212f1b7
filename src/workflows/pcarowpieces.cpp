#include <algorithm>

#include "core/onallcores.h"
#include "workflows/pcatables.h"

namespace tarvolin {

void pcarowpieces(Eigen::Index rows, Eigen::Index charsPerRow,
                  const std::function<void(Eigen::Index, std::string&)>& formatRow,
                  const TextSink& sink) {
  // Pieces of about half a megabyte: formatting numbers is most of the cost
  // of a large table, so a piece goes to each core at once, and the pieces
  // are written out in order.
  const Eigen::Index perPiece =
      std::max<Eigen::Index>(16, (Eigen::Index{1} << 19) / std::max<Eigen::Index>(charsPerRow, 1));
  const auto count = static_cast<Eigen::Index>(laneCount());
  std::vector<std::string> pieces(static_cast<size_t>(count));
  for (Eigen::Index start = 0; start < rows; start += count * perPiece) {
    onallcores(start + perPiece < rows, [&](int lane, int lanes) {
      for (Eigen::Index piece = lane; piece < count; piece += lanes) {
        const Eigen::Index first = std::min(start + piece * perPiece, rows);
        const Eigen::Index last = std::min(first + perPiece, rows);
        std::string& text = pieces[static_cast<size_t>(piece)];
        for (Eigen::Index row = first; row < last; ++row) formatRow(row, text);
      }
    });
    for (std::string& piece : pieces) {
      if (!piece.empty()) sink(piece);
      piece.clear();
    }
  }
}

}  // namespace tarvolin
