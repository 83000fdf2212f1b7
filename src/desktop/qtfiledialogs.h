#pragma once
// The file dialogs of the desktop window: Qt's open and save dialogs with
// the title the workflow gives, starting in the working directory, and the
// workflow's filter ("*.*", "*.txt", ...) offered first with "All files"
// beside it. The dialogs that load a landmark data set (filter
// kLandmarkFilter, and the TPS reader's "Specify 3D input file to load")
// offer "Landmark files (*.txt *.tps *.nts *.csv *.tsv *.fcsv *.json)".
//
// With settings, the first dialog of a run starts in the folder the last
// choice of an earlier run was made in, and every choice is remembered for
// the next run. A file dropped on a window answers the next open dialog
// without showing it (answerNextOpen). A question (askChoice) is a message
// box with a button for each choice.
//
// Example:
//   QtFileDialogs dialogs;
//   auto choice = dialogs.getFile("*.txt", "Enter file to Load?");
//   dialogs.answerNextOpen("/data/skulls.tps");   // the next getFile returns it

#include <QString>
#include <functional>

class QSettings;
class QWidget;

#include "core/filedialogs.h"

namespace tarvolin {

// The Qt filter list for a workflow filter: "*.txt" gives
// "Text files (*.txt);;All files (*)", "*.*" and "*" give "All files (*)".
QString qtfilefilter(std::string_view filter);

// The filter list of a dialog: that of the workflow's filter, or the
// landmark files for a dialog that loads a data set. An x list's dialog
// ("*.*") shows all files, a wireframe's ("*.txt") text files first.
QString qtdialogfilter(std::string_view filter, std::string_view title);

class QtFileDialogs : public FileDialogs {
 public:
  // `parent` names the window a dialog belongs to (it opens over it); by
  // default the active window.
  explicit QtFileDialogs(std::function<QWidget*()> parent = {}) : parent_(std::move(parent)) {}

  std::optional<FileChoice> getFile(std::string_view filter, std::string_view title) override;
  std::optional<FileChoice> putFile(std::string_view filter, std::string_view title) override;
  // A message box over the window that asked, with a button for each
  // choice and Cancel; the details (the whole list) under Show Details,
  // where they scroll. Waits for the answer.
  std::optional<std::string> askChoice(std::string_view title, std::string_view text,
                                       std::string_view details,
                                       const std::vector<DialogChoice>& choices) override;

  // Where the last folder chosen is kept between runs; nullptr keeps nothing.
  void setSettings(QSettings* settings) { settings_ = settings; }
  // The next getFile returns `path` without showing a dialog; an empty path
  // withdraws an answer not yet taken.
  void answerNextOpen(const QString& path) { answer_ = path; }
  // The file the last getFile returned since the last call (empty when
  // none did, or the user cancelled), and forgets it.
  QString takeOpened();

 private:
  std::optional<FileChoice> ask(bool save, std::string_view filter, std::string_view title);
  QString startFolder() const;
  void chosen(const QString& path);

  std::function<QWidget*()> parent_;
  QSettings* settings_ = nullptr;
  QString answer_;
  QString opened_;
  bool choseThisRun_ = false;
};

}  // namespace tarvolin
