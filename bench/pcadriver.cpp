// Times the steps of a principal component analysis of a ZOR file as the
// command line takes them (reading, superimposing, the analysis), and the
// process's peak memory, for measuring before the command existed and for
// seeing where the time goes:
//
//   tarvolin_pca_driver FILE [covariance|crossproduct]

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <utility>

#include "formats/dload.h"
#include "numerics/shapepca.h"
#include "numerics/superimposedataset.h"

int main(int argc, char** argv) {
  using namespace tarvolin;
  if (argc < 2) {
    std::fprintf(stderr, "usage: tarvolin_pca_driver FILE [covariance|crossproduct]\n");
    return 2;
  }
  PcaRoute route = PcaRoute::automatic;
  if (argc > 2)
    route = std::string(argv[2]) == "covariance" ? PcaRoute::covariance : PcaRoute::crossproduct;
  using Clock = std::chrono::steady_clock;
  const auto seconds = [](Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
  };
  const Clock::time_point start = Clock::now();
  Eigen::MatrixXd data = dload(argv[1]);
  const Clock::time_point read = Clock::now();
  SuperimposedDataSet s = superimposedataset(
      std::move(data), [](std::string_view) {}, 3, false);
  const Clock::time_point fitted = Clock::now();
  const Eigen::Index v = s.data.cols() - 1;
  const ShapePca p = shapepca(std::move(s.data), v, 0, route);
  const Clock::time_point done = Clock::now();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf(
      "read %.3f s, superimpose %.3f s, pca %.3f s, total %.3f s; %ld components, "
      "PC1 %.6g; peak %ld KB\n",
      seconds(start, read), seconds(read, fitted), seconds(fitted, done), seconds(start, done),
      static_cast<long>(p.components()), p.components() > 0 ? p.eigenvalues(0) : 0.0,
      usage.ru_maxrss);
  return 0;
}
