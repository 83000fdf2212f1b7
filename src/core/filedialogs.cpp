#include "core/filedialogs.h"

#include <filesystem>
#include <stdexcept>

#include "core/console.h"

namespace tarvolin {

namespace {

FileChoice choiceOf(const std::string& path) {
  const std::filesystem::path full = std::filesystem::absolute(path).lexically_normal();
  FileChoice choice;
  choice.name = full.filename().string();
  choice.folder = full.parent_path().string();
  if (choice.folder.empty() || choice.folder.back() != '/') choice.folder += '/';
  return choice;
}

}  // namespace

void ScriptedFileDialogs::choose(std::string path, std::string otherwise) {
  Answer answer{choiceOf(path), std::nullopt};
  if (!otherwise.empty()) answer.otherwise = choiceOf(otherwise);
  answers_.push_back(std::move(answer));
}

void ScriptedFileDialogs::cancel() { answers_.push_back(Answer{}); }

void ScriptedFileDialogs::answerChoice(std::string key) { choices_.push_back(std::move(key)); }

std::optional<std::string> ScriptedFileDialogs::askChoice(
    std::string_view title, std::string_view /*text*/, std::string_view /*details*/,
    const std::vector<DialogChoice>& choices) {
  questions_.emplace_back(title);
  if (choices_.empty()) return std::nullopt;
  std::string key = std::move(choices_.front());
  choices_.pop_front();
  std::string offered;
  for (const DialogChoice& choice : choices) {
    if (choice.key == key) return key;
    offered += (offered.empty() ? "" : ", ") + choice.key;
  }
  throw std::invalid_argument("the answer " + key + " is not one of the choices: " + offered);
}

std::optional<FileChoice> ScriptedFileDialogs::getFile(std::string_view filter,
                                                       std::string_view title) {
  return answer(false, filter, title);
}

std::optional<FileChoice> ScriptedFileDialogs::putFile(std::string_view filter,
                                                       std::string_view title) {
  return answer(true, filter, title);
}

std::optional<FileChoice> ScriptedFileDialogs::answer(bool save, std::string_view filter,
                                                      std::string_view title) {
  requests_.push_back(Request{save, std::string(filter), std::string(title)});
  if (answers_.empty()) {
    throw std::logic_error("no answer is queued for the file dialog \"" + std::string(title) +
                           "\"");
  }
  Answer next = std::move(answers_.front());
  answers_.pop_front();
  std::error_code error;
  if (!save && next.chosen && next.otherwise &&
      !std::filesystem::exists(next.chosen->path(), error) &&
      std::filesystem::exists(next.otherwise->path(), error)) {
    return next.otherwise;
  }
  return next.chosen;
}

}  // namespace tarvolin
