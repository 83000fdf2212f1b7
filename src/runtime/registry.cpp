#include "runtime/registry.h"

#include <algorithm>

#include "core/console.h"
#include "core/sprintf.h"

namespace tarvolin {
namespace {

// The count above which a call fails; nothing when any number is allowed.
std::optional<int> limit(int declared) {
  if (declared < 0) return std::nullopt;
  return declared;
}

// The module a function belongs to: "guidata" for "guidata/getParentFigure".
std::string_view moduleOf(std::string_view name) { return name.substr(0, name.find('/')); }

}  // namespace

void Registry::add(RegisteredFunction function) { functions_.push_back(std::move(function)); }

void Registry::addLocalTable(LocalTable table) {
  std::string module = table.module;
  localTables_.insert_or_assign(std::move(module), std::move(table));
}

const LocalTable* Registry::localTable(std::string_view module) const {
  auto found = localTables_.find(module);
  return found == localTables_.end() ? nullptr : &found->second;
}

std::string Registry::countError(const RegisteredFunction& function, bool outputs) {
  return sprintf(
      "Run-time Error: File: %s Line: %i Column: 1 The function \"%s\" was called with more than "
      "the declared number of %s (%i).",
      function.name, function.line, function.name, outputs ? "outputs" : "inputs",
      outputs ? function.outputs : function.inputs);
}

const RegisteredFunction* Registry::find(std::string_view name) const {
  if (current_) {
    for (const RegisteredFunction& f : current_->functions) {
      // Subfunctions are called by their own name inside their module.
      const std::string_view own = std::string_view(f.name).substr(f.name.find('/') + 1);
      if (own == name || f.name == name) return &f;
    }
  }
  for (const RegisteredFunction& f : functions_) {
    if (f.name == name) return &f;
  }
  return nullptr;
}

Values Registry::call(std::string_view name, int nargout, const Values& args) {
  // Calls by name that call by name again (Tarvolin('Tarvolin', ...), a
  // callback calling itself) end with a message, not by running out of
  // stack or of memory.
  if (depth_ >= kDeepestCall) {
    throw RuntimeError("calls nested more than " + std::to_string(kDeepestCall) + " deep; \"" +
                       std::string(name) + "\" was not called");
  }
  struct Depth {
    int& depth;
    explicit Depth(int& d) : depth(++d) {}
    ~Depth() { --depth; }
  } depth(depth_);
  const RegisteredFunction* function = find(name);
  if (!function)
    throw RuntimeError("Undefined function or variable \"" + std::string(name) + "\".");
  if (std::optional<int> most = limit(function->outputs); most && nargout > *most) {
    throw RuntimeError(countError(*function, true));
  }
  if (std::optional<int> most = limit(function->inputs);
      most && static_cast<int>(args.size()) > *most) {
    throw RuntimeError(countError(*function, false));
  }
  return invoke(*function, nargout, args);
}

std::string Registry::unassignedWarning(std::string_view function, std::string_view result) {
  return "Warning: Output \"" + std::string(result) + "\" of \"" + std::string(function) +
         "\" was not assigned during the call.";
}

Values Registry::invoke(const RegisteredFunction& function, int nargout, const Values& args) {
  const std::string_view module = moduleOf(function.name);
  if (isStarted_ && !isStarted_(module)) {
    throw RuntimeError("The module \"" + std::string(module) + "\" is not running.");
  }
  Values results = within(module, [&] { return function.body(nargout, args); });
  for (int i = static_cast<int>(results.size()); i < nargout; ++i) {
    const std::string result = i < static_cast<int>(function.resultNames.size())
                                   ? function.resultNames[static_cast<size_t>(i)]
                                   : sprintf("%i", i + 1);
    console().disp(unassignedWarning(function.name, result));
    results.emplace_back();
  }
  // Results beyond those asked for are dropped; with none asked for, the
  // first stays, as the value a console would show as ans.
  results.resize(std::min(results.size(), static_cast<size_t>(std::max(nargout, 1))));
  return results;
}

}  // namespace tarvolin
