#pragma once
// Calls by name: the registry of functions that callbacks, the main window
// function and session scripts reach by their names, with each function's
// declared counts of inputs and outputs.
//
// A declared count of -1 means any number; -(f + 1) means f fixed inputs
// followed by any number. The by-name entry checks the counts before the
// function runs, results first:
//   Run-time Error: File: guidata Line: 1 Column: 1 The function "guidata"
//   was called with more than the declared number of inputs (2).
// (all on one line). A subfunction is named "module/subfunction" and carries
// its own line number. A function that returns fewer results than asked for
// leaves the rest empty, with a console warning naming each missing result.
//
// Name lookup: the local function table of the module whose function is
// running, then the registry.
//
// Example:
//   Registry registry;
//   registry.add({"stand3sw", 1, 1, {"y"}, 1, entry});
//   registry.call("stand3sw", 0, {Value("LoadData")});

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "document/value.h"

namespace tarvolin {

using Values = std::vector<Value>;

// An error of the run-time itself: counts, undefined names and inputs.
class RuntimeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct RegisteredFunction {
  std::string name;  // "stand3sw", or "guidata/getParentFigure" for a subfunction
  int inputs = -1;   // declared count, -1 any, -(f + 1) f fixed then any
  int outputs = -1;
  std::vector<std::string> resultNames;  // for the unassigned-result warning
  int line = 1;                          // where the function starts in its module
  // Runs the function: the number of results wanted, the arguments.
  std::function<Values(int nargout, const Values& args)> body;
};

// The subfunctions of one module, visible to name lookup while that module runs.
struct LocalTable {
  std::string module;
  std::vector<RegisteredFunction> functions;
};

class Registry {
 public:
  // Tells whether a module has been started; a function of a module that is
  // not running (before start-up, after shut-down) cannot be called.
  void setModuleCheck(std::function<bool(std::string_view module)> isStarted) {
    isStarted_ = std::move(isStarted);
  }

  void add(RegisteredFunction function);
  void addLocalTable(LocalTable table);

  // The registered functions in the order they were added.
  const std::vector<RegisteredFunction>& functions() const { return functions_; }
  const LocalTable* localTable(std::string_view module) const;

  // Calls `name` by name, with the count checks; RuntimeError for an
  // undefined name, counts beyond the declared ones, or calls by name nested
  // more than 200 deep.
  Values call(std::string_view name, int nargout, const Values& args);

  // The console's warning for a result a function left unassigned.
  static std::string unassignedWarning(std::string_view function, std::string_view result);

  // Runs `body` with the local table of `module` current, restoring the
  // previous one afterwards (also when body throws).
  template <typename Body>
  auto within(std::string_view module, Body body) {
    struct Restore {
      Registry& registry;
      const LocalTable* previous;
      ~Restore() { registry.current_ = previous; }
    } restore{*this, current_};
    current_ = localTable(module);
    return body();
  }

  // The text of the count error, as the by-name entry raises it.
  static std::string countError(const RegisteredFunction& function, bool outputs);

 private:
  static constexpr int kDeepestCall = 200;
  int depth_ = 0;
  const RegisteredFunction* find(std::string_view name) const;
  Values invoke(const RegisteredFunction& function, int nargout, const Values& args);

  std::vector<RegisteredFunction> functions_;
  std::map<std::string, LocalTable, std::less<>> localTables_;
  const LocalTable* current_ = nullptr;
  std::function<bool(std::string_view)> isStarted_;
};

}  // namespace tarvolin
