#pragma once
// The file dialogs of the desktop window: Qt's open and save dialogs with
// the title the workflow gives, starting in the working directory, and the
// workflow's filter ("*.*", "*.txt", ...) offered first with "All files"
// beside it.
//
// Example:
//   QtFileDialogs dialogs;
//   auto choice = dialogs.getFile("*.txt", "Enter file to Load?");

#include <QString>
#include <functional>

class QWidget;

#include "platform/filedialogs.h"

namespace tarvolin {

// The Qt filter list for a workflow filter: "*.txt" gives
// "Text files (*.txt);;All files (*)", "*.*" and "*" give "All files (*)".
QString qtfilefilter(std::string_view filter);

class QtFileDialogs : public FileDialogs {
 public:
  // `parent` names the window a dialog belongs to (it opens over it); by
  // default the active window.
  explicit QtFileDialogs(std::function<QWidget*()> parent = {}) : parent_(std::move(parent)) {}

  std::optional<FileChoice> getFile(std::string_view filter, std::string_view title) override;
  std::optional<FileChoice> putFile(std::string_view filter, std::string_view title) override;

 private:
  std::optional<FileChoice> ask(bool save, std::string_view filter, std::string_view title);

  std::function<QWidget*()> parent_;
};

}  // namespace tarvolin
