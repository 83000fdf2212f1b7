#include "runtime.h"

#include <stdexcept>

#include "platform/console.h"

namespace tarvolin {

Runtime::Runtime(Graphics& graphics, FileDialogs& dialogs, std::string figureFolder)
    : graphics_(graphics), dialogs_(dialogs), figureFolder_(std::move(figureFolder)) {
  function_table(*this);
  initTermTable_ = init_term_table(registry_);
  registry_.setModuleCheck([this](std::string_view module) { return started(module); });
}

void Runtime::startup() {
  for (const InitTermPair& pair : initTermTable_) {
    started_.insert(pair.module);
    // Starting a workflow module empties its workflow variables.
    if (pair.module == "stand3sw") {
      stand3sw_.emplace(graphics_, dialogs_);
      stand3sw_->setWindowLocator([this] { return windowOf("Tarvolin"); });
    } else if (pair.module == "standsw") {
      standsw_.emplace(graphics_, dialogs_);
      standsw_->setWindowLocator([this] { return windowOf("Tarvolin2D"); });
    }
  }
}

void Runtime::shutdown() {
  for (auto pair = initTermTable_.rbegin(); pair != initTermTable_.rend(); ++pair) {
    started_.erase(pair->module);
  }
  stand3sw_.reset();
  standsw_.reset();
}

Stand3sw& Runtime::stand3sw() {
  if (!stand3sw_) throw std::logic_error("stand3sw is not running");
  return *stand3sw_;
}

Standsw& Runtime::standsw() {
  if (!standsw_) throw std::logic_error("standsw is not running");
  return *standsw_;
}

std::optional<Handle> Runtime::windowOf(std::string_view base) const {
  const std::string key = (std::string(base) + "_SINGLETON_handle").substr(0, 31);
  const std::optional<Value> list = graphics_.getappdata(kRoot, key);
  if (!list || !list->isNumeric()) return std::nullopt;
  const Eigen::MatrixXd& handles = list->matrix();
  for (Eigen::Index i = handles.size() - 1; i >= 0; --i) {
    const Handle h = handles(i);
    if (graphics_.isValid(h) && graphics_.object(h).type == ObjectType::figure) return h;
  }
  return std::nullopt;
}

void Runtime::runCallback(Handle h) {
  const std::string callback = graphics_.getString(h, "Callback");
  if (callback.empty()) return;
  graphics_.setCallbackObject(h);
  try {
    // A click makes the window it lands on the current window.
    if (const std::optional<Handle> window = graphics_.gcbf()) graphics_.figure(*window);
    evaluate(parsecallback(callback), 0);
  } catch (const std::exception& e) {
    console().disp(e.what());
    graphics_.setLastError(e.what());
  }
  graphics_.setCallbackObject(std::nullopt);
}

Value Runtime::evaluate(const CallExpression& call, int nargout) {
  if (call.name == "gcbo" || call.name == "gcbf") {
    const std::optional<Handle> h = call.name == "gcbo" ? graphics_.gcbo() : graphics_.gcbf();
    return h ? Value(*h) : Value();
  }
  Values args;
  for (const CallArgument& argument : call.arguments) {
    args.push_back(argument.isCall ? evaluate(argument.call.front(), 1) : argument.literal);
  }
  const Values results = registry_.call(call.name, nargout, args);
  return results.empty() ? Value() : results.front();
}

}  // namespace tarvolin
