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

#include "platform/filedialogs.h"

namespace tarvolin {

// The Qt filter list for a workflow filter: "*.txt" gives
// "Text files (*.txt);;All files (*)", "*.*" and "*" give "All files (*)".
QString qtfilefilter(std::string_view filter);

class QtFileDialogs : public FileDialogs {
 public:
  std::optional<FileChoice> getFile(std::string_view filter, std::string_view title) override;
  std::optional<FileChoice> putFile(std::string_view filter, std::string_view title) override;
};

}  // namespace tarvolin
