#pragma once
// The open and save file dialogs, as a service the readers and the workflow
// ask for a file.
//
// getFile(filter, title) and putFile(filter, title) return the chosen file's
// bare name and its folder (ending with the path separator, so that folder
// followed by name is the full path), or nothing when the user cancels.
//
// ScriptedFileDialogs answers from a queue instead of asking a person: each
// choose(path) or cancel() answers the next dialog, in order. It is what the
// command line and the tests use.
//
// Example:
//   ScriptedFileDialogs dialogs;
//   dialogs.choose("examples/skulls.txt");
//   auto choice = dialogs.getFile("*.*", "Enter file to Load?");
//   // choice->name == "skulls.txt", choice->folder == "/abs/path/examples/"

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvolin {

struct FileChoice {
  std::string name;
  std::string folder;
  std::string path() const { return folder + name; }
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  virtual std::optional<FileChoice> getFile(std::string_view filter, std::string_view title) = 0;
  virtual std::optional<FileChoice> putFile(std::string_view filter, std::string_view title) = 0;
};

class ScriptedFileDialogs : public FileDialogs {
 public:
  struct Request {
    bool save = false;
    std::string filter;
    std::string title;
  };

  // Queues the answer "this file" for the next dialog. A relative path is
  // taken from the working directory at the time of this call, so answers
  // queued together are not moved by the folder changes of earlier loads.
  // An open dialog answered with a `path` that does not exist takes
  // `otherwise` instead, when that exists (a session script's files are
  // looked for beside the script too).
  void choose(std::string path, std::string otherwise = {});
  // Queues the answer "cancel" for the next dialog.
  void cancel();

  std::optional<FileChoice> getFile(std::string_view filter, std::string_view title) override;
  std::optional<FileChoice> putFile(std::string_view filter, std::string_view title) override;

  // Every dialog shown so far, in order.
  const std::vector<Request>& requests() const { return requests_; }
  size_t pendingAnswers() const { return answers_.size(); }

 private:
  std::optional<FileChoice> answer(bool save, std::string_view filter, std::string_view title);

  struct Answer {
    std::optional<FileChoice> chosen;
    std::optional<FileChoice> otherwise;
  };
  std::deque<Answer> answers_;
  std::vector<Request> requests_;
};

}  // namespace tarvolin
