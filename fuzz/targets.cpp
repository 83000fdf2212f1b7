#include "targets.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cctype>
#include <sstream>
#include <stdexcept>
#include <string>

#include "core/console.h"
#include "core/errors.h"
#include "core/readnumber.h"
#include "core/sprintf.h"
#include "core/str2num.h"
#include "document/hgload.h"
#include "formats/detectlandmarkformat.h"
#include "formats/dload.h"
#include "formats/readcovariate.h"
#include "formats/readfcsv.h"
#include "formats/readlandmarks.h"
#include "formats/readmorphologika.h"
#include "formats/readmrkjson.h"
#include "formats/readnts.h"
#include "formats/readrowtable.h"
#include "formats/readtableids.h"
#include "formats/readtps.h"
#include "formats/readtps3d.h"
#include "formats/readzor.h"
#include "landmarks/landmarkset.h"
#include "numerics/superimposedataset.h"
#include "runtime/callbackstring.h"
#include "runtime/registry.h"
#include "runtime/runtime.h"
#include "runtime/sessionscript.h"

namespace tarvolin {
namespace {

std::string_view textOf(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The console's lines go nowhere while a target runs.
struct QuietConsole {
  Console::Sink previous = console().setSink([](std::string_view) {});
  ~QuietConsole() { console().setSink(std::move(previous)); }
};

// Runs `body`, quietly; the program's refusals are answers, anything else
// escapes.
template <typename Body>
int refusalsAllowed(Body body) {
  const QuietConsole quiet;
  try {
    body();
  } catch (const InputError&) {
  } catch (const GraphicsError&) {
  } catch (const RuntimeError&) {
  }
  return 0;
}

// An input as a file with a name, for the readers that take a path: a file
// in memory, named through /proc.
class MemoryFile {
 public:
  explicit MemoryFile(std::string_view text) : fd_(::memfd_create("fuzz-input", MFD_CLOEXEC)) {
    if (fd_ < 0) throw std::runtime_error("memfd_create failed");
    for (size_t done = 0; done < text.size();) {
      const ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
      if (n <= 0) throw std::runtime_error("write to a memory file failed");
      done += static_cast<size_t>(n);
    }
  }
  ~MemoryFile() { ::close(fd_); }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;
  std::string path() const { return "/proc/self/fd/" + std::to_string(fd_); }

 private:
  int fd_;
};

// A reader of landmark text, in 2D, in 3D and telling the dimension itself;
// what it reads is superimposed, as every command does next.
template <typename Reader>
int landmarkReader(Reader reader, const uint8_t* data, size_t size) {
  const std::string_view text = textOf(data, size);
  for (const int dims : {0, 2, 3}) {
    refusalsAllowed([&] {
      LandmarkSet set = reader(text, "fuzz.txt", ReadOptions{dims, std::nullopt});
      if (!set.missing.any() && set.coords.rows() > 1) {
        const int d = set.dims;
        superimposedataset(landmarkdataset(std::move(set)), consoleSink(), d);
      }
    });
  }
  return 0;
}

int numbers(const uint8_t* data, size_t size) {
  const std::string_view text = textOf(data, size);
  readnumber(text);
  double value = 0;
  parseNumber(text, value);
  str2num(text);
  return 0;
}

int formatted(const uint8_t* data, size_t size) {
  // The first line is the format, every later line a value: a number where
  // it reads as one, a text otherwise.
  std::istringstream lines{std::string(textOf(data, size))};
  std::string format;
  std::getline(lines, format);
  // The program's formats are its own, with small widths; a width of a
  // billion would only measure how long a billion blanks take to write.
  size_t digits = 0;
  for (const char c : format) {
    digits = std::isdigit(static_cast<unsigned char>(c)) ? digits + 1 : 0;
    if (digits > 4) return 0;
  }
  std::vector<FormatArg> args;
  for (std::string line; std::getline(lines, line) && args.size() < 64;) {
    const NumberText read = readnumber(line);
    if (read.value) {
      args.emplace_back(*read.value);
    } else {
      args.emplace_back(line);
    }
  }
  vsprintf(format, args);
  std::string g;
  for (const FormatArg& a : args) {
    if (const double* v = std::get_if<double>(&a)) appendG(g, *v);
  }
  return 0;
}

int numericFile(const uint8_t* data, size_t size) {
  return refusalsAllowed([&] { parsenumericmatrix(textOf(data, size), "fuzz.txt"); });
}

int tps3D(const uint8_t* data, size_t size) {
  return refusalsAllowed([&] { parsetps3D(textOf(data, size), "fuzz.txt"); });
}

int detect(const uint8_t* data, size_t size) {
  return refusalsAllowed([&] { detectlandmarkformat(textOf(data, size), "fuzz.txt"); });
}

int anyLandmarkFile(const uint8_t* data, size_t size) {
  const MemoryFile file(textOf(data, size));
  return refusalsAllowed([&] { readlandmarks(file.path(), std::nullopt, {}); });
}

// The covariate table, and its IDs as the data check reads them.
int covariate(const uint8_t* data, size_t size) {
  const MemoryFile file(textOf(data, size));
  refusalsAllowed([&] { readtableids(file.path(), "mass"); });
  return refusalsAllowed([&] { readcovariate(file.path(), "mass", {"a", "b", "c"}); });
}

int callback(const uint8_t* data, size_t size) {
  return refusalsAllowed([&] { parsecallback(textOf(data, size)); });
}

int figureFile(const uint8_t* data, size_t size) {
  const MemoryFile file(textOf(data, size));
  Graphics graphics;
  return refusalsAllowed([&] { hgload(graphics, file.path()); });
}

int sessionScript(const uint8_t* data, size_t size) {
  // No file is ever chosen: a script could otherwise have any file read or
  // written. Its "choose" steps become "cancel".
  std::istringstream lines{std::string(textOf(data, size))};
  std::string script;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string first;
    words >> first;
    script += (first == "choose" ? "cancel" : line) + "\n";
  }
  const MemoryFile file(script);
  Graphics graphics;
  ScriptedFileDialogs dialogs;
  Runtime runtime(graphics, dialogs, TARVOLIN_RESOURCES_DIR);
  return refusalsAllowed([&] {
    SessionScript events(file.path(), dialogs, false);
    const char* const argv[] = {"tarvolin"};
    mainLoop(runtime, 1, argv, "Tarvolin", 1, main_info(runtime), events);
  });
}

}  // namespace

const std::vector<FuzzTarget>& fuzztargets() {
  static const std::vector<FuzzTarget> targets{
      {"numbers", numbers},
      {"formatted", formatted},
      {"numeric", numericFile},
      {"tps3d", tps3D},
      {"detect", detect},
      {"landmarks", anyLandmarkFile},
      {"zor", [](const uint8_t* d, size_t n) { return landmarkReader(readzor, d, n); }},
      {"tps", [](const uint8_t* d, size_t n) { return landmarkReader(readtps, d, n); }},
      {"nts", [](const uint8_t* d, size_t n) { return landmarkReader(readnts, d, n); }},
      {"morphologika",
       [](const uint8_t* d, size_t n) { return landmarkReader(readmorphologika, d, n); }},
      {"table", [](const uint8_t* d, size_t n) { return landmarkReader(readrowtable, d, n); }},
      {"fcsv", [](const uint8_t* d, size_t n) { return landmarkReader(readfcsv, d, n); }},
      {"mrkjson", [](const uint8_t* d, size_t n) { return landmarkReader(readmrkjson, d, n); }},
      {"covariate", covariate},
      {"callback", callback},
      {"figure", figureFile},
      {"session", sessionScript},
  };
  return targets;
}

const FuzzTarget* fuzztarget(std::string_view name) {
  for (const FuzzTarget& t : fuzztargets()) {
    if (t.name == name) return &t;
  }
  return nullptr;
}

}  // namespace tarvolin
