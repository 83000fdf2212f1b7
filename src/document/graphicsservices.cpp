#include <array>

#include "document/graphics.h"

// The services: message boxes, the clipboard, callbacks' objects, errors
// and status texts, and the listeners told of every change.

namespace tarvolin {

void Graphics::msgbox(std::string text) {
  lastMessage_ = text;
  notify(GraphicsChange::Kind::message, kRoot, std::move(text));
}

void Graphics::print(std::string_view option) {
  if (option != "-dmeta")
    throw GraphicsError("print: unknown option \"" + std::string(option) + "\"");
  const Handle window = gcf();
  clipboard_.reset();
  ClipboardPicture& picture = clipboard_.emplace();
  picture.figure = window;
  const std::vector<Handle> lines = descendants(window, ObjectType::line);
  picture.lines.reserve(lines.size());
  for (Handle h : lines) picture.lines.push_back(object(h));
  notify(GraphicsChange::Kind::picture, window, "");
}

void Graphics::copyText(std::string text) {
  textClipboard_ = text;
  notify(GraphicsChange::Kind::text, actingWindow(), std::move(text));
}

std::optional<Handle> Graphics::gcbo() const {
  if (callbackObject_ && isValid(*callbackObject_)) return callbackObject_;
  return std::nullopt;
}

std::optional<Handle> Graphics::gcbf() const {
  const std::optional<Handle> h = gcbo();
  return h ? parentFigure(*h) : std::nullopt;
}

std::optional<Handle> Graphics::parentFigure(Handle h) const {
  while (isValid(h) && h != kRoot) {
    const GraphicsObject& o = object(h);
    if (o.type == ObjectType::figure) return h;
    h = o.parent;
  }
  return std::nullopt;
}

Handle Graphics::actingWindow() const {
  if (const std::optional<Handle> window = gcbf()) return *window;
  return currentFigure_.value_or(kRoot);
}

void Graphics::setLastError(std::string text) {
  lastError_ = text;
  notify(GraphicsChange::Kind::error, actingWindow(), std::move(text));
}

void Graphics::status(std::string text) {
  notify(GraphicsChange::Kind::status, actingWindow(), std::move(text));
}

void Graphics::status(Handle window, std::string text) {
  notify(GraphicsChange::Kind::status, window, std::move(text));
}

int Graphics::subscribe(Listener listener) {
  const int id = nextListener_++;
  listeners_.emplace(id, std::make_unique<const Listener>(std::move(listener)));
  return id;
}

void Graphics::unsubscribe(int id) {
  const auto found = listeners_.find(id);
  if (found == listeners_.end()) return;
  if (telling_ > 0) retired_.push_back(std::move(found->second));
  listeners_.erase(found);
}

void Graphics::notify(GraphicsChange::Kind kind, Handle h, std::string detail) {
  if (listeners_.empty()) return;
  const GraphicsChange change{kind, h, std::move(detail)};
  // A listener may subscribe or unsubscribe while it is told: those of the
  // moment are told, from a list of them that needs no allocation for the
  // few a model has (a 2D plot announces one object per point); one that
  // unsubscribes is kept until the telling is done.
  struct Telling {
    int& depth;
    std::vector<std::unique_ptr<const Listener>>& retired;
    explicit Telling(int& d, std::vector<std::unique_ptr<const Listener>>& r)
        : depth(d), retired(r) {
      ++depth;
    }
    ~Telling() {
      if (--depth == 0) retired.clear();
    }
  } telling(telling_, retired_);
  constexpr size_t kFew = 8;
  if (listeners_.size() <= kFew) {
    std::array<const Listener*, kFew> current{};
    size_t n = 0;
    for (const auto& entry : listeners_) current[n++] = entry.second.get();
    for (size_t i = 0; i < n; ++i) (*current[i])(change);
    return;
  }
  std::vector<const Listener*> current;
  for (const auto& entry : listeners_) current.push_back(entry.second.get());
  for (const Listener* listener : current) (*listener)(change);
}

}  // namespace tarvolin
