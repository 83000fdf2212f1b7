#include "core/textpieces.h"

#include <algorithm>
#include <vector>

#include "core/onallcores.h"

namespace tarvolin {

void textpieces(Eigen::Index rows, Eigen::Index charsPerRow,
                const std::function<void(Eigen::Index, Eigen::Index, std::string&)>& formatRows,
                const TextSink& sink) {
  const Eigen::Index perPiece =
      std::max<Eigen::Index>(16, (Eigen::Index{1} << 19) / std::max<Eigen::Index>(charsPerRow, 1));
  const auto count = static_cast<Eigen::Index>(laneCount());
  std::vector<std::string> pieces(static_cast<size_t>(count));
  for (Eigen::Index start = 0; start < rows; start += count * perPiece) {
    onallcores(start + perPiece < rows, [&](int lane, int lanes) {
      for (Eigen::Index piece = lane; piece < count; piece += lanes) {
        const Eigen::Index first = std::min(start + piece * perPiece, rows);
        const Eigen::Index last = std::min(first + perPiece, rows);
        formatRows(first, last, pieces[static_cast<size_t>(piece)]);
      }
    });
    for (std::string& piece : pieces) {
      if (!piece.empty()) sink(piece);
      piece.clear();
    }
  }
}

}  // namespace tarvolin
