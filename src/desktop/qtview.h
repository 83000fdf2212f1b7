#pragma once
// The desktop window layer: Qt widgets that show the graphics model as it
// stands and follow every change to it at once.
//
// Each window of the model is a FigureWindow; each control a widget of its
// kind (push button, radio button, check box, edit box, text box); each axes
// an AxesWidget that draws its point sets. A click, a toggle or an edit is
// written into the model first (Value, String) and then the control's
// callback runs through `runCallback`, as the program's run-time does it.
// Closing a window closes it in the model; when the user has closed the
// last window the user can see, every other window is closed too and
// lastWindowClosed() is signalled.
//
// The view also shows what the model announces: a message box (without
// title, not waiting for the user), the last error or message in the status
// line of every window with controls, and the window picture put on the
// clipboard by print("-dmeta"), as SVG together with PNG.
//
// Example:
//   Graphics graphics;
//   QtView view(graphics, [&](Handle h) { runtime.runCallback(h); });
//   runtime.call("Tarvolin", 0, {});   // the main window appears

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "platform/graphics.h"

class QMessageBox;
class QWidget;

namespace tarvolin {

class AxesWidget;
class FigureWindow;

class QtView : public QObject {
  Q_OBJECT

 public:
  using CallbackRunner = std::function<void(Handle)>;

  QtView(Graphics& graphics, CallbackRunner runCallback);
  ~QtView() override;
  QtView(const QtView&) = delete;
  QtView& operator=(const QtView&) = delete;

  Graphics& graphics() { return graphics_; }

  // The widgets that show model objects; nullptr for an unknown handle.
  FigureWindow* window(Handle figure) const;
  QWidget* control(Handle control) const;
  AxesWidget* axes(Handle axes) const;

  // The text of the status lines: the last error, else the last message.
  const QString& statusText() const { return statusText_; }
  bool statusIsError() const { return statusIsError_; }

  // The message boxes still open, oldest first.
  std::vector<QMessageBox*> messageBoxes() const;

  // Puts window `figure`'s picture on the clipboard as SVG and PNG.
  void copyPicture(Handle figure);

  // Runs control h's callback, after a click, toggle or edit.
  void runCallback(Handle h);

  // Called by a window the user closes.
  void userClosed(Handle figure);

  // Window geometry read back from the screen, written into the model
  // without the view reacting to its own change.
  void writeGeometry(Handle figure, const Eigen::Vector4d& position,
                     const Eigen::Vector4d& outerPosition);

 signals:
  void lastWindowClosed();

 private:
  void onChange(const GraphicsChange& change);
  void created(Handle h);
  void deleted(Handle h);
  void propertyChanged(Handle h, const std::string& property);
  void showMessage(const std::string& text);
  void setStatus(const QString& text, bool error);
  void raiseCurrentLater();
  void dataChanged(Handle axes);
  void placeNewWindow(FigureWindow& window);

  Graphics& graphics_;
  CallbackRunner runCallback_;
  int subscription_ = 0;
  std::map<Handle, FigureWindow*> windows_;
  std::map<Handle, QWidget*> controls_;
  std::map<Handle, AxesWidget*> axes_;
  std::vector<QPointer<QMessageBox>> messageBoxes_;
  QString statusText_;
  bool statusIsError_ = false;
  bool writingGeometry_ = false;
  bool raisePending_ = false;
  std::optional<Handle> lastRaised_;
};

}  // namespace tarvolin
