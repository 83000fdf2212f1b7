#pragma once
// The open and save file dialogs, as a service the readers and the workflow
// ask for a file.
//
// getFile(filter, title) and putFile(filter, title) return the chosen file's
// bare name and its folder (ending with the path separator, so that folder
// followed by name is the full path), or nothing when the user cancels.
// askChoice(title, text, details, choices) asks how to go on (with a file
// that has missing landmarks, or records scaled in part) and returns the key
// of the choice made, or nothing when the user cancels.
//
// ScriptedFileDialogs answers from a queue instead of asking a person: each
// choose(path) or cancel() answers the next file dialog, in order;
// answerChoice(key) the next question (a question with no answer queued is
// cancelled). It is what the command line and the tests use.
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

// The filter of the dialogs that load a landmark data set: the names every
// reader's files end in (Morphologika's are .txt, as are ZOR rows; 3D
// Slicer's .fcsv and .mrk.json). The window offers it first, with every
// file beside it: the format is told by the content, not by the name.
inline constexpr std::string_view kLandmarkFilter = "*.txt;*.tps;*.nts;*.csv;*.tsv;*.fcsv;*.json";
// The title of the TPS-style 3D reader's dialog, whose filter is its own
// "*.txt": a window layer knows a landmark dialog by it.
inline constexpr std::string_view kTps3DDialogTitle = "Specify 3D input file to load";

struct FileChoice {
  std::string name;
  std::string folder;
  std::string path() const { return folder + name; }
};

// One answer a question dialog offers: the word that names it (as the
// command line's option value does, "estimate") and the button's label.
struct DialogChoice {
  std::string key;
  std::string label;
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  virtual std::optional<FileChoice> getFile(std::string_view filter, std::string_view title) = 0;
  virtual std::optional<FileChoice> putFile(std::string_view filter, std::string_view title) = 0;
  // Asks the user to choose how to go on: `text` says what is wrong,
  // `details` (which may be long) lists it in full. Returns the key of the
  // choice made, or nothing when the user cancels; without a person to ask
  // the answer is nothing.
  virtual std::optional<std::string> askChoice(std::string_view /*title*/,
                                               std::string_view /*text*/,
                                               std::string_view /*details*/,
                                               const std::vector<DialogChoice>& /*choices*/) {
    return std::nullopt;
  }
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
  // Queues `key` as the answer to the next question dialog (askChoice); a
  // question with no answer queued is cancelled.
  void answerChoice(std::string key);
  // Queues the answer to the next yes-or-no question ("yes" or "no").
  void answer(bool yes) { answerChoice(yes ? "yes" : "no"); }

  std::optional<FileChoice> getFile(std::string_view filter, std::string_view title) override;
  std::optional<FileChoice> putFile(std::string_view filter, std::string_view title) override;
  // The queued answer; an std::invalid_argument when it is none of the
  // choices offered.
  std::optional<std::string> askChoice(std::string_view title, std::string_view text,
                                       std::string_view details,
                                       const std::vector<DialogChoice>& choices) override;

  // Every dialog shown so far, in order.
  const std::vector<Request>& requests() const { return requests_; }
  size_t pendingAnswers() const { return answers_.size(); }
  // The titles of every question dialog shown so far, in order.
  const std::vector<std::string>& questions() const { return questions_; }

 private:
  std::optional<FileChoice> answer(bool save, std::string_view filter, std::string_view title);

  struct Answer {
    std::optional<FileChoice> chosen;
    std::optional<FileChoice> otherwise;
  };
  std::deque<Answer> answers_;
  std::vector<Request> requests_;
  std::deque<std::string> choices_;
  std::vector<std::string> questions_;
};

}  // namespace tarvolin
