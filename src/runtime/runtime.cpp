#include "runtime/runtime.h"

#include <stdexcept>

#include "core/console.h"
#include "core/notenoughmemory.h"
#include "document/controltags.h"
#include "document/openfig.h"

namespace tarvolin {

Runtime::Runtime(Graphics& graphics, FileDialogs& dialogs, std::string figureFolder)
    : graphics_(graphics), recorder_(dialogs), figureFolder_(std::move(figureFolder)) {
  function_table(*this);
  initTermTable_ = init_term_table(registry_);
  registry_.setModuleCheck([this](std::string_view module) { return started(module); });
}

void Runtime::startup() {
  for (const InitTermPair& pair : initTermTable_) {
    started_.insert(pair.module);
    // Starting a workflow module empties its workflow variables.
    if (pair.module == "stand3sw") {
      stand3sw_.emplace(graphics_, recorder_);
      stand3sw_->setWindowLocator(std::string(tags::kMainWindow),
                                  [this] { return windowOf(tags::kMainWindow); });
    } else if (pair.module == "standsw") {
      standsw_.emplace(graphics_, recorder_);
      standsw_->setWindowLocator(std::string(tags::k2DWindow),
                                 [this] { return windowOf(tags::k2DWindow); });
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
  // Only a window opened from that file counts, not another window that got
  // the number of one closed since.
  const std::vector<Handle> open = openfigWindows(graphics_, base);
  if (open.empty()) return std::nullopt;
  return open.back();
}

std::optional<Handle> Runtime::plotWindow() const {
  if (!stand3sw_) return std::nullopt;
  const std::optional<ObjectId>& plot = stand3sw_->state().fighand1;
  if (!plot || !graphics_.exists(*plot)) return std::nullopt;
  return plot->handle;
}

void Runtime::runCallback(Handle h) {
  const GraphicsObject& control = graphics_.object(h);
  recorder_.beginStep(scriptwindowof(graphics_, h), control.tag, control.details().style,
                      control.details().string, control.details().value);
  struct EndStep {
    SessionRecorder& recorder;
    ~EndStep() { recorder.endStep(); }
  } endStep{recorder_};
  // A plotted object clicked runs its axes' callback, as the object of it.
  const Handle owner = control.type == ObjectType::line ? control.parent : h;
  const std::string callback = graphics_.getString(owner, "Callback");
  if (callback.empty()) return;
  graphics_.setCallbackObject(h);
  try {
    // A click makes the window it lands on the current window.
    if (const std::optional<Handle> window = graphics_.gcbf()) graphics_.figure(*window);
    evaluate(parsecallback(callback), 0);
  } catch (const std::exception& e) {
    console().disp(errortext(e));
    graphics_.setLastError(errortext(e));
  }
  graphics_.setCallbackObject(std::nullopt);
}

Value Runtime::evaluate(const CallExpression& call, int nargout) {
  if (call.name == "gcbo" || call.name == "gcbf") {
    const std::optional<Handle> h = call.name == "gcbo" ? graphics_.gcbo() : graphics_.gcbf();
    return h ? Value(h->value()) : Value();
  }
  Values args;
  for (const CallArgument& argument : call.arguments) {
    args.push_back(argument.isCall ? evaluate(argument.call.front(), 1) : argument.literal);
  }
  const Values results = registry_.call(call.name, nargout, args);
  return results.empty() ? Value() : results.front();
}

}  // namespace tarvolin
