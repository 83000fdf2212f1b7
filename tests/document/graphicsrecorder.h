#pragma once
// Records what a graphics model announced while the recorder lived: every
// message box and every picture copied, which the model itself does not
// keep. Made before the actions it is to see.
//
// Example:
//   GraphicsRecorder recorded(graphics);
//   graphics.msgbox("Data loaded");
//   recorded.messages()   // {"Data loaded"}

#include <string>
#include <vector>

#include "document/graphics.h"

namespace tarvolin::testing {

class GraphicsRecorder {
 public:
  explicit GraphicsRecorder(Graphics& graphics)
      : graphics_(graphics), id_(graphics.subscribe([this](const GraphicsChange& change) {
          if (change.kind == GraphicsChange::Kind::message) messages_.push_back(change.detail);
          if (change.kind == GraphicsChange::Kind::picture) pictures_.push_back(change.handle);
        })) {}
  GraphicsRecorder(const GraphicsRecorder&) = delete;
  GraphicsRecorder& operator=(const GraphicsRecorder&) = delete;
  ~GraphicsRecorder() { graphics_.unsubscribe(id_); }

  const std::vector<std::string>& messages() const { return messages_; }
  // The window of each picture copied, in order.
  const std::vector<Handle>& pictures() const { return pictures_; }

 private:
  Graphics& graphics_;
  int id_;
  std::vector<std::string> messages_;
  std::vector<Handle> pictures_;
};

}  // namespace tarvolin::testing
