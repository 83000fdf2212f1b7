#include "core/writefileatomic.h"

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/errors.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> listing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Lowers the limit on the size of files this process writes, so that a
// write fails part way; restores the limit and the signal on the way out.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = ::signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = saved_;
    lowered.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::signal(SIGXFSZ, previous_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*previous_)(int) = nullptr;
};

TEST(Writefileatomic, WritesContent) {
  TempDir dir;
  const std::string content = std::string("0.5 1e-05 5  \n", 14) + std::string("a\0b", 3);
  writefileatomic(dir.file("out.txt"), content);
  EXPECT_EQ(slurp(dir.file("out.txt")), content);
  EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"out.txt"});

  writefileatomic(dir.file("empty.txt"), "");
  EXPECT_TRUE(fs::is_regular_file(dir.file("empty.txt")));
  EXPECT_EQ(fs::file_size(dir.file("empty.txt")), 0u);
}

TEST(Writefileatomic, ReplacesExistingFileAndKeepsItsPermissions) {
  TempDir dir;
  const std::string path = dir.file("out.txt");
  writefileatomic(path, std::string(5000, 'o'));
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  writefileatomic(path, "new\n");
  EXPECT_EQ(slurp(path), "new\n");
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"out.txt"});
}

TEST(Writefileatomic, MissingFolderThrowsAndLeavesNothing) {
  TempDir dir;
  const std::string path = dir.file("nowhere/out.txt");
  EXPECT_THROW_MSG(writefileatomic(path, "data"), OutputError, path);
  EXPECT_TRUE(listing(dir.path()).empty());
}

TEST(Writefileatomic, TargetThatIsAFolderThrowsAndLeavesNothing) {
  TempDir dir;
  fs::create_directory(dir.path() / "out.txt");
  std::ofstream(dir.file("keep.txt"), std::ios::binary) << "keep me\n";
  EXPECT_THROW_MSG(writefileatomic(dir.file("out.txt"), "data"), OutputError, dir.file("out.txt"));
  EXPECT_TRUE(fs::is_directory(dir.path() / "out.txt"));
  EXPECT_TRUE(fs::is_empty(dir.path() / "out.txt"));
  EXPECT_EQ(slurp(dir.file("keep.txt")), "keep me\n");
  EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"keep.txt", "out.txt"}));
}

TEST(Writefileatomic, FailedWriteLeavesExistingFileUnchanged) {
  TempDir dir;
  const std::string path = dir.file("standardized.txt");
  const std::string original = "1 2 3  \n4 5 6  \n";
  writefileatomic(path, original);
  {
    FileSizeLimit limit(4096);
    EXPECT_THROW_MSG(writefileatomic(path, std::string(100000, '7')), OutputError, path);
  }
  EXPECT_EQ(slurp(path), original);
  EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"standardized.txt"});

  // A file nobody may write stays as it is, whoever runs the program.
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_THROW_MSG(writefileatomic(path, "new"), OutputError, path + ": Permission denied");
  EXPECT_EQ(slurp(path), original);
  EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"standardized.txt"});
}

TEST(Writefileatomic, LinksPipesAndLongNames) {
  TempDir dir;
  // Through a symbolic link: the file it points to gets the content, the
  // link stays a link.
  fs::create_directory(dir.path() / "data");
  testing::writeText(dir.file("data/real.txt"), "old\n");
  fs::create_symlink("data/real.txt", dir.path() / "link.txt");
  writefileatomic(dir.file("link.txt"), "new\n");
  EXPECT_TRUE(fs::is_symlink(dir.path() / "link.txt"));
  EXPECT_EQ(slurp(dir.file("data/real.txt")), "new\n");
  EXPECT_EQ(listing(dir.path() / "data"), std::vector<std::string>{"real.txt"});

  // A pipe is written into, not replaced.
  const std::string pipe = dir.file("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = slurp(pipe); });
  writefileatomic(pipe, "through the pipe\n");
  reader.join();
  EXPECT_EQ(received, "through the pipe\n");
  EXPECT_EQ(fs::status(pipe).type(), fs::file_type::fifo);

  // A pipe without a name, as a shell's process substitution gives it: its
  // link in /dev/fd names "pipe:[...]", which is no file to follow to.
  for (const std::string folder : {"/dev/fd/", "/proc/self/fd/"}) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    writefileatomic(folder + std::to_string(ends[1]), "through " + folder + "\n");
    ::close(ends[1]);
    char buffer[64] = {};
    const ssize_t got = ::read(ends[0], buffer, sizeof buffer);
    ::close(ends[0]);
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(std::max<ssize_t>(got, 0))),
              "through " + folder + "\n");
  }

  // The longest legal name, which leaves no room for a temporary name made
  // from it.
  const std::string longName(255, 'n');
  writefileatomic(dir.file(longName), "long\n");
  EXPECT_EQ(slurp(dir.file(longName)), "long\n");
}

TEST(Writefileatomic, AFileWithOtherNamesIsWrittenInPlace) {
  TempDir dir;
  const std::string path = dir.file("a.txt");
  const std::string other = dir.file("b.txt");
  testing::writeText(path, "old\n");
  ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);
  const struct {
    std::string name;
    std::function<void()> write;
    std::string error;  // empty: none
    std::string after;
  } cases[] = {
      {"written", [&] { writefileatomic(path, "new, longer\n"); }, "", "new, longer\n"},
      {"shorter", [&] { writefileatomic(path, "cut\n"); }, "", "cut\n"},
      {"refused before writing",
       [&] {
         writefileatomic(path, [](const TextSink& write) {
           write("half");
           throw InputError("refused");
         });
       },
       "refused", "cut\n"},
      {"the write fails",
       [&] {
         FileSizeLimit limit(4096);
         writefileatomic(path, std::string(100000, '7'));
       },
       path + ": File too large; it was being written in place (it has 2 names), so its old "
              "content may be lost",
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.error.empty()) {
      c.write();
    } else {
      EXPECT_THROW_MSG(c.write(), std::exception, c.error);
    }
    if (!c.after.empty()) {
      EXPECT_EQ(slurp(other), c.after);
    }
    EXPECT_TRUE(fs::equivalent(path, other));
    EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"a.txt", "b.txt"}));
  }
}

// Runs `work` in a child process as the user and group nobody (65534) and
// returns its exit status; -1 when that cannot be done.
int asNobody(const std::function<int()>& work) {
  const pid_t child = ::fork();
  if (child < 0) return -1;
  if (child == 0) {
    if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) _exit(100);
    int status = 101;
    try {
      status = work();
    } catch (...) {
      status = 102;
    }
    _exit(status);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

TEST(Writefileatomic, OwnersAndSetIdBitsWhenReplacingAnotherUsersFile) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs the super-user to make files of other users";
  TempDir dir;
  fs::permissions(dir.path(), fs::perms::all);  // anyone may make files here
  fs::create_directory(dir.path() / "closed");
  fs::permissions(dir.path() / "closed", static_cast<fs::perms>(0755));
  const auto owned = [](const std::string& path, uid_t user, mode_t mode) {
    testing::writeText(path, "old\n");
    EXPECT_EQ(::chown(path.c_str(), user, user), 0);
    EXPECT_EQ(::chmod(path.c_str(), mode), 0);
  };
  const auto statOf = [](const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st;
  };
  const struct {
    std::string name;
    std::string file;
    uid_t owner;
    mode_t mode;
    bool byNobody;
    uid_t ownerAfter;
    mode_t modeAfter;
  } cases[] = {
      // The super-user keeps the owner and group, and with them the bits.
      {"root replaces nobody's", "nobody.txt", 65534, 06775, false, 65534, 06775},
      // Nobody cannot give the file to root: the new file is nobody's, and
      // must not run as nobody where it ran as root.
      {"nobody replaces root's", "root.txt", 0, 06777, true, 65534, 0777},
      // No new file can be made in the folder: written in place, still root's.
      {"nobody writes root's in place", "closed/root.txt", 0, 0666, true, 0, 0666},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.file(c.file);
    owned(path, c.owner, c.mode);
    if (c.byNobody) {
      EXPECT_EQ(asNobody([&] {
                  writefileatomic(path, "new\n");
                  return 0;
                }),
                0);
    } else {
      writefileatomic(path, "new\n");
    }
    EXPECT_EQ(slurp(path), "new\n");
    const struct stat after = statOf(path);
    EXPECT_EQ(after.st_uid, c.ownerAfter);
    EXPECT_EQ(after.st_gid, c.ownerAfter);
    EXPECT_EQ(after.st_mode & 07777, c.modeAfter);
  }
}

}  // namespace
}  // namespace tarvolin
