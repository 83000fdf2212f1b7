#include "workflows/loadlandmarkfile.h"

#include <filesystem>
#include <system_error>

#include "core/console.h"
#include "core/errors.h"
#include "core/notenoughmemory.h"
#include "core/readtextfile.h"
#include "numerics/checklandmarkdata.h"
#include "numerics/withcentroidsize.h"
#include "workflows/askrawscale.h"
#include "workflows/gettpsfile3D.h"
#include "workflows/landmarkfingerprint.h"
#include "workflows/loadchosenlandmarks.h"

namespace tarvolin {
namespace {

// Asks `dialogs` and writes down the file chosen and the answers given.
class Noting : public FileDialogs {
 public:
  Noting(FileDialogs& dialogs, LandmarkReading& reading) : dialogs_(dialogs), reading_(reading) {}
  std::optional<FileChoice> getFile(std::string_view filter, std::string_view title) override {
    std::optional<FileChoice> choice = dialogs_.getFile(filter, title);
    if (choice) reading_.path = choice->path();
    return choice;
  }
  std::optional<FileChoice> putFile(std::string_view filter, std::string_view title) override {
    return dialogs_.putFile(filter, title);
  }
  std::optional<std::string> askChoice(std::string_view title, std::string_view text,
                                       std::string_view details,
                                       const std::vector<DialogChoice>& choices) override {
    std::optional<std::string> answer = dialogs_.askChoice(title, text, details, choices);
    if (answer) reading_.answers.push_back(*answer);
    return answer;
  }

 private:
  FileDialogs& dialogs_;
  LandmarkReading& reading_;
};

}  // namespace

LandmarkFile loadlandmarkfile(FileDialogs& asked, bool tps) {
  LandmarkFile file;
  file.reading.tps = tps;
  Noting dialogs(asked, file.reading);
  bool rowsAreLines = false;
  if (tps) {
    // Its reader asks for the file itself: memory that runs out while it
    // reads is said without a size, not with an earlier data set's.
    workingon(0, 0, 0);
    TpsFile read;
    try {
      read = gettpsfile3D(dialogs);
    } catch (const MixedScaleError& refusal) {
      if (!askrawscale(dialogs, refusal)) throw;
      std::string text;
      std::string reason;
      if (!readtextfile(refusal.file(), text, reason)) {
        throw InputError(refusal.file(), "cannot be opened: " + reason);
      }
      read = parsetps3D(text, refusal.file(), true);
      read.chosen = true;
      read.path = refusal.file();
      read.fname = std::filesystem::path(read.path).filename().string();
      file.notes.push_back(read.path +
                           ": SCALE= not applied: sizes are in the raw units of every record");
    }
    if (!read.chosen) return file;
    if (!read.openError.empty()) {
      // The reader's notice has no line end: the error goes on a line of its own.
      console().disp("");
      throw InputError(read.path, "cannot be opened: " + read.openError);
    }
    file.fname = read.fname;
    file.path = read.path;
    file.data = withcentroidsize(read.y, read.scale);
  } else {
    const std::optional<FileChoice> choice =
        dialogs.getFile(kLandmarkFilter, "Enter file to Load?");
    if (!choice) return file;
    ChosenLandmarks read = loadchosenlandmarks(*choice, 3, dialogs);
    file.fname = read.name;
    file.path = read.set.path;
    file.ids = std::move(read.set.ids);
    file.notice = read.set.notice;
    file.notes = std::move(read.set.notes);
    file.semilandmark = std::move(read.set.semilandmark);
    file.curves = std::move(read.set.curves);
    file.data = landmarkdataset(std::move(read.set));
    rowsAreLines = read.rowsAreLines;
    file.missingDone = std::move(read.missingDone);
    file.landmarksRenumbered = read.landmarksRenumbered;
    // The next dialog opens where this file was found.
    std::error_code ignored;
    std::filesystem::current_path(choice->folder, ignored);
  }
  file.chosen = true;
  checklandmarkdata(file.data, file.path, rowsAreLines);
  file.reading.fingerprint = landmarkfingerprint(file.data);
  return file;
}

}  // namespace tarvolin
