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
// title, not waiting for the user), an error or status text in the status
// line of the window it belongs to (the current window's when it names
// none; a message box's text goes there too), and the window picture put on
// the clipboard by print("-dmeta"), as SVG together with PNG, and a text
// put there by copyText, as plain text. A control's FontName is honoured
// ("monospace": the system's fixed-width font). While a callback runs the
// pointer is busy.
//
// A window with a LoadDataButton also has menus (see windowmenus.h) and
// takes a landmark file dropped on it: the file is loaded as Load data
// would, its format told by its content. The data files loaded last are
// kept, newest first, for the menu of recent files.
//
// With settings the view remembers between runs the recent files and where
// each window stood (by its Tag, else "Plot" for a window of plots only);
// without, it remembers nothing. A kept place never makes a window with
// controls smaller than its layout. A window opened anew with no kept place
// goes where it covers no other window when the screen has room, else where
// it covers the least of the other windows' controls; the first window stays
// where its layout puts it.
//
// A text box's Extent is measured in the font it is shown in, at its width,
// and written into the model whenever its text, font or place changes.
//
// The class is spread over files by job: qtview.cpp (clicks, files, recent
// files, remembered places, status), qtviewchanges.cpp (the listener that
// mirrors the model's changes into widgets), qtviewplacement.cpp (where a new
// window opens), qtviewpictures.cpp (the clipboard, pictures, session scripts).
//
// Example:
//   Graphics graphics;
//   QtView view(graphics, [&](Handle h) { runtime.runCallback(h); });
//   view.setFileDialogs(&dialogs);
//   view.setSettings(&settings);
//   runtime.call("Tarvolin", 0, {});   // the main window appears

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "document/graphics.h"

class QMessageBox;
class QSettings;
class QWidget;

namespace tarvolin {

class AxesWidget;
class FigureWindow;
class QtFileDialogs;

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

  // What a window's status line shows: its last error, else its last message.
  QString statusText(Handle figure) const;
  // The last text shown in any status line, and whether it was an error.
  const QString& statusText() const { return statusText_; }
  bool statusIsError() const { return statusIsError_; }
  // Shows `text` in the status line of window `figure` (of the current
  // window when `figure` names none). An empty text clears an error there
  // and leaves a message standing.
  void showStatus(Handle figure, const QString& text, bool error);

  // The message boxes still open, oldest first.
  std::vector<QMessageBox*> messageBoxes() const;

  // Where the recent files and the windows' places are kept between runs;
  // nullptr keeps nothing. The settings object must outlive the view.
  void setSettings(QSettings* settings);
  // The dialogs a dropped or recent file answers; without them such a file
  // is not loaded.
  void setFileDialogs(QtFileDialogs* dialogs) { dialogs_ = dialogs; }

  // Puts window `figure`'s picture on the clipboard as SVG and PNG; what
  // came of it is said in the status line of `actingWindow`.
  void copyPicture(Handle figure, Handle actingWindow);
  void copyPicture(Handle figure) { copyPicture(figure, figure); }
  // Asks for a file name over `actingWindow` and saves window `figure`'s
  // picture there.
  void savePicture(Handle figure, Handle actingWindow);
  // What "Save session as script..." writes: the session so far as a
  // session script; without it the menu item is left out.
  void setSessionScript(std::function<std::string()> script) { sessionScript_ = std::move(script); }
  bool recordsSession() const { return static_cast<bool>(sessionScript_); }
  // Asks for a file name over `actingWindow` and writes the session script
  // there, whole or not at all.
  void saveSessionScript(Handle actingWindow);
  // Writes the session script to `path`; an error is shown in the status
  // line of `actingWindow`.
  void saveSessionScriptTo(const QString& path, Handle actingWindow);
  // The window whose plots the menus and bar of window `figure` act on: the
  // window itself when it has axes, else the newest open window with axes
  // and no controls.
  std::optional<Handle> plotWindowFor(Handle figure) const;

  // Runs control h's callback, after a click, toggle or edit. What is typed
  // in an edit box of its window and not yet committed is committed first
  // (FigureWindow::commitEdits). The pointer is busy meanwhile.
  void runCallback(Handle h);
  // Does what a click on control h does: its Value set as clickvalue says
  // (a radio button of a group switched on, one of no group and a check box
  // toggled), then its callback runs.
  void click(Handle h);
  // Loads the data file `path` in window `figure` as its Load data would:
  // the next open dialog is answered with `path` and the LoadDataButton's
  // callback runs. The TPS file switch (ZORButton) is not touched: it
  // changes only when the user clicks it.
  void loadFile(Handle figure, const QString& path);
  // The data files loaded last, newest first.
  const QStringList& recentFiles() const { return recent_; }
  // Forgets the recent files that no longer exist.
  void dropMissingRecentFiles();

  // Called by a window the user closes.
  void userClosed(Handle figure);
  // Closes every window, as the user closing them does.
  void quit();
  // Keeps where a window stands for the next run.
  void rememberGeometry(const FigureWindow& window);

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
  void raiseCurrentLater();
  void dataChanged(Handle axes);
  void placeNewWindow(FigureWindow& window);
  bool restoreGeometry(FigureWindow& window);
  QString geometryKey(Handle figure) const;
  void addRecentFile(const QString& path);
  // The window a message of the view belongs to: the one whose callback
  // runs, else `fallback`.
  Handle actingWindow(Handle fallback) const;

  Graphics& graphics_;
  CallbackRunner runCallback_;
  int subscription_ = 0;
  std::map<Handle, FigureWindow*> windows_;
  std::map<Handle, QWidget*> controls_;
  std::map<Handle, AxesWidget*> axes_;
  std::vector<QPointer<QMessageBox>> messageBoxes_;
  QString statusText_;
  bool statusIsError_ = false;
  QSettings* settings_ = nullptr;
  QtFileDialogs* dialogs_ = nullptr;
  QStringList recent_;
  bool writingGeometry_ = false;
  bool raisePending_ = false;
  std::optional<Handle> lastRaised_;
  std::function<std::string()> sessionScript_;
};

}  // namespace tarvolin
