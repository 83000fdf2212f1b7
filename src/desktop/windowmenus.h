#pragma once
// The menu bar of a window that runs a workflow (one with a LoadDataButton):
//
//   File  Load data... (Ctrl+O), Load wireframe..., Load groups..., Load sliders...,
//         Recent data files, Save standardized data... (Ctrl+S), Save picture...,
//         Save session as script... (where the view records the session), Quit (Ctrl+Q)
//   Edit  Copy plot
//   View  Show data, Show standardized, Allometry..., Reset view, Larger markers,
//         Smaller markers, Opacity of specimens, Number the landmarks of the means
//   Help  Guide, About Tarvolin
//
// An item bound to a control (Load data to LoadDataButton, Show data to
// ShowDataButton, ...) does what a click on the control does and is enabled
// exactly when the control is; where the window has no such control the
// item is left out. Save picture, Copy plot and the view items act on the
// plot the window's workflow draws into (QtView::plotWindowFor). A recent
// file chosen is loaded as a file dropped on the window is.
//
// Example:
//   auto* menus = new WindowMenus(view, window);   // the window shows menus->menuBar()
//   menus->controlsChanged();                      // after a control was added or enabled
//   menus->action("Load data...")->trigger();

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "desktop/renderaxes.h"
#include "document/graphics.h"

class QAction;
class QActionGroup;
class QKeySequence;
class QMenu;
class QMenuBar;

namespace tarvolin {

class AxesWidget;
class FigureWindow;
class QtView;

class WindowMenus : public QObject {
  Q_OBJECT

 public:
  WindowMenus(QtView& view, FigureWindow& window);

  QMenuBar* menuBar() const { return bar_; }
  // The item of that text in any menu; nullptr when there is none.
  QAction* action(const QString& text) const;
  // The window's controls changed (added, removed, enabled): the bound
  // items follow.
  void controlsChanged();
  // The short guide to the window's three steps that Help > Guide shows.
  QString guide() const;
  // The open Guide and About boxes, for tests and for raising them again.
  QMessageBox* guideBox() const { return guideBox_.data(); }
  QMessageBox* aboutBox() const { return aboutBox_.data(); }

 private:
  QAction* bindControl(QMenu* menu, const QString& text, std::string_view tag,
                       const QKeySequence& shortcut);
  std::optional<Handle> control(std::string_view tag) const;
  std::vector<AxesWidget*> plots() const;
  void fillRecent();
  // Shows the look of the plots on the view items.
  void showLook();
  QMessageBox* showBox(QPointer<QMessageBox>& box, const QString& title, const QString& text);

  QtView& view_;
  FigureWindow& window_;
  QMenuBar* bar_ = nullptr;
  QMenu* recent_ = nullptr;
  QActionGroup* opacity_ = nullptr;
  QAction* numberMeans_ = nullptr;
  QAction* copy_ = nullptr;
  std::vector<std::pair<QAction*, std::string>> bound_;  // item and the tag of its control
  std::vector<QAction*> onPlots_;                        // items that need a plot
  QPointer<QMessageBox> guideBox_;
  QPointer<QMessageBox> aboutBox_;
};

}  // namespace tarvolin
