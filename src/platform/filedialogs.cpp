#include "filedialogs.h"

#include <filesystem>
#include <stdexcept>

#include "console.h"

namespace tarvolin {

void ScriptedFileDialogs::choose(std::string path) {
  const std::filesystem::path full = std::filesystem::absolute(path).lexically_normal();
  FileChoice choice;
  choice.name = full.filename().string();
  choice.folder = full.parent_path().string();
  if (choice.folder.empty() || choice.folder.back() != '/') choice.folder += '/';
  answers_.emplace_back(std::move(choice));
}

void ScriptedFileDialogs::cancel() { answers_.emplace_back(std::nullopt); }

std::optional<FileChoice> ScriptedFileDialogs::getFile(std::string_view filter,
                                                       std::string_view title) {
  return answer(false, filter, title);
}

std::optional<FileChoice> ScriptedFileDialogs::putFile(std::string_view filter,
                                                       std::string_view title) {
  return answer(true, filter, title);
}

bool ScriptedFileDialogs::confirm(std::string_view question) {
  questions_.emplace_back(question);
  bool yes = false;
  if (!questionAnswers_.empty()) {
    yes = questionAnswers_.front();
    questionAnswers_.pop_front();
  }
  console().disp("question: " + std::string(question) + (yes ? " (yes)" : " (no)"));
  return yes;
}

std::optional<FileChoice> ScriptedFileDialogs::answer(bool save, std::string_view filter,
                                                      std::string_view title) {
  requests_.push_back(Request{save, std::string(filter), std::string(title)});
  if (answers_.empty()) {
    throw std::logic_error("no answer is queued for the file dialog \"" + std::string(title) +
                           "\"");
  }
  std::optional<FileChoice> next = std::move(answers_.front());
  answers_.pop_front();
  return next;
}

}  // namespace tarvolin
