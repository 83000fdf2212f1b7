#include "core/filedialogs.h"

#include <filesystem>
#include <stdexcept>

#include "tests/testing.h"

namespace tarvolin {
namespace {

namespace fs = std::filesystem;
using testing::CwdGuard;
using testing::TempDir;

TEST(ScriptedFileDialogs, AnswersInQueuedOrderWithFolderEndingInSeparator) {
  ScriptedFileDialogs dialogs;
  dialogs.choose("/data/first.txt");
  dialogs.cancel();
  dialogs.choose("/top.txt");
  EXPECT_EQ(dialogs.pendingAnswers(), 3u);

  auto first = dialogs.getFile("*.*", "Enter file to Load?");
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->name, "first.txt");
  EXPECT_EQ(first->folder, "/data/");
  EXPECT_EQ(first->path(), "/data/first.txt");

  EXPECT_FALSE(dialogs.putFile("*.txt", "Save").has_value());

  auto third = dialogs.getFile("*.txt", "again");
  ASSERT_TRUE(third.has_value());
  EXPECT_EQ(third->folder, "/");
  EXPECT_EQ(third->path(), "/top.txt");
  EXPECT_EQ(dialogs.pendingAnswers(), 0u);
}

TEST(ScriptedFileDialogs, RelativePathIsResolvedWhenChosen) {
  CwdGuard guard;
  TempDir first;
  TempDir second;
  fs::current_path(first.path());
  ScriptedFileDialogs dialogs;
  dialogs.choose("sub/data.txt");
  fs::current_path(second.path());
  dialogs.choose("other.txt");

  auto a = dialogs.getFile("*.*", "t");
  auto b = dialogs.getFile("*.*", "t");
  ASSERT_TRUE(a.has_value());
  ASSERT_TRUE(b.has_value());
  const fs::path firstDir = fs::canonical(first.path());
  const fs::path secondDir = fs::canonical(second.path());
  EXPECT_EQ(a->folder, (firstDir / "sub").string() + "/");
  EXPECT_EQ(a->path(), (firstDir / "sub" / "data.txt").string());
  EXPECT_TRUE(fs::path(a->path()).is_absolute());
  EXPECT_EQ(b->path(), (secondDir / "other.txt").string());
}

TEST(ScriptedFileDialogs, RequestsRecordSaveFlagFilterAndTitle) {
  ScriptedFileDialogs dialogs;
  dialogs.cancel();
  dialogs.cancel();
  dialogs.getFile("*.txt", "Specify 3D input file to load");
  dialogs.putFile("*.*", "Save standardized data");
  ASSERT_EQ(dialogs.requests().size(), 2u);
  EXPECT_FALSE(dialogs.requests()[0].save);
  EXPECT_EQ(dialogs.requests()[0].filter, "*.txt");
  EXPECT_EQ(dialogs.requests()[0].title, "Specify 3D input file to load");
  EXPECT_TRUE(dialogs.requests()[1].save);
  EXPECT_EQ(dialogs.requests()[1].filter, "*.*");
  EXPECT_EQ(dialogs.requests()[1].title, "Save standardized data");
}

TEST(ScriptedFileDialogs, EmptyQueueThrowsLogicError) {
  ScriptedFileDialogs dialogs;
  EXPECT_THROW(dialogs.getFile("*.*", "Enter file to Load?"), std::logic_error);
  dialogs.choose("/x.txt");
  EXPECT_TRUE(dialogs.putFile("*.*", "s").has_value());
  EXPECT_THROW(dialogs.putFile("*.*", "s"), std::logic_error);
}

// Questions are answered from their own queue, in order; one with no answer
// queued is cancelled, and an answer that is not offered is refused.
TEST(ScriptedFileDialogs, QuestionsTakeTheirAnswersInOrder) {
  const std::vector<DialogChoice> offered = {{"drop-specimens", "Drop specimens"},
                                             {"estimate", "Estimate"}};
  ScriptedFileDialogs dialogs;
  dialogs.answerChoice("estimate");
  dialogs.answerChoice("drop-specimens");
  dialogs.answerChoice("guess");
  const struct {
    std::optional<std::string> answer;  // nothing: cancelled
    bool refused;
  } asked[] = {
      {"estimate", false}, {"drop-specimens", false}, {std::nullopt, true}, {std::nullopt, false}};
  for (const auto& a : asked) {
    if (a.refused) {
      EXPECT_THROW(dialogs.askChoice("Missing landmarks", "", "", offered), std::invalid_argument);
    } else {
      EXPECT_EQ(dialogs.askChoice("Missing landmarks", "", "", offered), a.answer);
    }
  }
  EXPECT_EQ(dialogs.questions().size(), 4u);
  EXPECT_TRUE(dialogs.requests().empty());  // the file dialogs' queue is another
}

}  // namespace
}  // namespace tarvolin
