#include "workflows/readlandmarkfileagain.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "core/errors.h"
#include "workflows/landmarkfingerprint.h"

namespace tarvolin {

LandmarkFile readlandmarkfileagain(const LandmarkReading& reading, Eigen::Index rows,
                                   Eigen::Index cols, const Eigen::VectorXd& size) {
  const InputError changed =
      InputError(reading.path, "is no longer the data set loaded from it; load it again")
          .concerning(Input::data);
  ScriptedFileDialogs replay;
  replay.choose(reading.path);
  for (const std::string& answer : reading.answers) replay.answerChoice(answer);
  std::error_code ignored;
  const std::filesystem::path folder = std::filesystem::current_path(ignored);
  LandmarkFile file;
  try {
    file = readinginput(Input::data, [&] { return loadlandmarkfile(replay, reading.tps); });
  } catch (const std::invalid_argument&) {
    // A question asked now that was not asked then.
    std::filesystem::current_path(folder, ignored);
    throw changed;
  } catch (...) {
    std::filesystem::current_path(folder, ignored);
    throw;
  }
  std::filesystem::current_path(folder, ignored);
  if (file.data.rows() != rows || file.data.cols() != cols ||
      file.data.col(file.data.cols() - 1) != size ||
      landmarkfingerprint(file.data) != reading.fingerprint) {
    throw changed;
  }
  return file;
}

}  // namespace tarvolin
