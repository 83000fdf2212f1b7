#pragma once
// One window of the graphics model on screen.
//
// The window's drawing area holds its controls and axes where the model
// puts them (pixels, origin at the bottom left of the drawing area, as the
// figure file gives them); it scrolls when the window is made smaller than
// its layout, so every control stays reachable on a small screen. Axes with
// no size of their own fill the drawing area and follow the window's size.
//
// Below the drawing area a bar shows the window's last error or message
// (cut to the bar's width, the whole text in its tooltip) and, in a window
// with axes, the buttons "Reset view", "Copy plot" and "Save picture...". A
// window with a LoadDataButton has menus above the drawing area
// (windowmenus.h) and loads a data file dropped on it. The model counts the
// menu bar and the bar below as part of the window's frame: Position is the
// drawing area, OuterPosition the whole window.
//
// Example:
//   FigureWindow* window = view.window(mainHandle);
//   window->barText();   // "Error in LoadData: ..."

#include <QPointer>
#include <QSize>
#include <QWidget>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "desktop/figurepicture.h"
#include "document/graphics.h"

class QLabel;
class QLineEdit;
class QScrollArea;
class QToolButton;

namespace tarvolin {

class AxesWidget;
class QtView;
class WindowMenus;

class FigureWindow : public QWidget {
  Q_OBJECT

 public:
  FigureWindow(QtView& view, Handle figure);

  Handle handle() const { return handle_; }

  // New widgets for a control and for an axes of this window.
  QWidget* addControl(Handle control);
  AxesWidget* addAxes(Handle axes);
  // Shows control h's properties on its widget.
  void showControl(Handle control, QWidget* widget);
  // Writes what is typed in the window's edit boxes and not yet in the
  // model into it, running each changed box's callback, as leaving the box
  // does. A shortcut (Ctrl+S) leaves the cursor in the box: what is typed
  // there must count all the same.
  void commitEdits();
  // A child widget is going; forget it.
  void forget(QWidget* widget);
  // Places every control and axes where the model puts it.
  void layoutChildren();

  // Moves and sizes the window as the model's Position (the drawing area)
  // or OuterPosition (the whole window) now says.
  void applyPosition();
  void applyOuterPosition();
  // The height of the bar below the drawing area, and of the menu bar
  // above it (0 without menus).
  int barHeight() const;
  int menuHeight() const;
  // The menus of a window with a LoadDataButton; nullptr for other windows.
  WindowMenus* menus() const { return menus_; }

  // Shows a message or error in the bar; repainted at once, so that a
  // long action's progress is seen while it runs.
  void setStatus(const QString& text, bool error);
  // The bar's text in one line, uncut.
  QString barText() const { return statusLine_; }
  // Names the point under the pointer in the bar, the bar's message kept
  // to come back when the pointer leaves the point (an empty text).
  void showPointed(const QString& text);
  // The text as it was given, and whether it is an error.
  const QString& statusMessage() const { return statusMessage_; }
  bool statusIsError() const { return statusError_; }

  // The whole window its layout asks for: the drawing area the model lays
  // the controls out in, with the menu bar and the bar below; empty for a
  // window of plots only, which takes any size.
  QSize contentSize() const;
  // Where the controls stand on the screen, in Qt's screen coordinates: each
  // control's rectangle, and the rectangle that bounds them all (empty
  // without controls).
  std::vector<QRect> controlRects() const;
  // The menu bar, on the screen; empty without menus.
  QRect menuBarRect() const;
  QRect controlsArea() const;

  // Where the window's place is kept between runs (empty: not kept).
  const QString& settingsKey() const { return settingsKey_; }
  void setSettingsKey(const QString& key) { settingsKey_ = key; }
  // Moves the window to `client` (the window without its frame, in Qt's
  // screen coordinates) and writes that into the model.
  void restoreGeometry(const QRect& client);

  // The picture of this window's axes, for the clipboard and for files.
  bool hasPlots() const;
  std::vector<AxesWidget*> axesWidgets() const;
  QByteArray picture(PictureFormat format) const;
  void copyPicture();
  // Asks for a file name and saves the picture there (PNG, SVG or PDF).
  void savePicture();
  // Saves the picture to `path`, its format chosen by the extension;
  // OutputError when the format is unknown or the file cannot be written.
  void savePictureTo(const QString& path);

  // The model closed the window: close it without telling the model again.
  void closeFromModel();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Commits one edit box; true when its text was new to the model.
  bool commitEdit(Handle control, QLineEdit* edit);
  QRect areaRect(const Eigen::Vector4d& position, int areaHeight) const;
  bool hasControls() const;
  void writeGeometryBack();
  void updateTabOrder();
  void updateBar();
  void showStatusLine();
  void addMenus();

  QtView& view_;
  Handle handle_;
  QScrollArea* scroll_ = nullptr;
  QWidget* canvas_ = nullptr;
  QWidget* bar_ = nullptr;
  QLabel* status_ = nullptr;
  // The bar's message while a point is named instead.
  std::optional<std::pair<QString, bool>> beforePointing_;
  QToolButton* resetButton_ = nullptr;
  QToolButton* copyButton_ = nullptr;
  QToolButton* saveButton_ = nullptr;
  WindowMenus* menus_ = nullptr;
  QString statusMessage_;
  QString statusLine_;
  bool statusError_ = false;
  QString settingsKey_;
  std::map<QWidget*, Handle> children_;  // control and axes widgets
  QSize layoutSize_;                     // the drawing area the controls are laid out in
  bool closingFromModel_ = false;
  bool applying_ = false;
};

}  // namespace tarvolin
