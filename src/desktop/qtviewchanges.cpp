#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "desktop/axeswidget.h"
#include "desktop/figurewindow.h"
#include "desktop/qtview.h"
#include "document/propertynames.h"

namespace tarvolin {
namespace {

// Brings a window to the front. The offscreen platform of the tests has no
// stacking order and would only complain.
void raiseWindow(QWidget* window) {
  if (QGuiApplication::platformName() != "offscreen") window->raise();
}

// Shows a control's text in the font its FontName asks for: "monospace" is
// the system's fixed-width font, any other name a family of that name, and
// no name the window's own font.
void applyFontName(QWidget* widget, const std::string& name) {
  if (name.empty()) {
    widget->setFont(QFont());
  } else if (name == "monospace") {
    widget->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  } else {
    widget->setFont(QFont(QString::fromStdString(name)));
  }
}

// Tells the model the room a text box's text needs at the box's width, in
// the font it is shown in, so that a layout made from Extent holds it all.
void measureExtent(Graphics& graphics, Handle h, QWidget* widget) {
  auto* label = qobject_cast<QLabel*>(widget);
  if (label == nullptr) return;
  const int width = std::max(1, static_cast<int>(graphics.object(h).details().position(2)));
  const int height = label->heightForWidth(width);
  graphics.setExtent(h, width, height > 0 ? height : label->sizeHint().height());
}

}  // namespace

void QtView::onChange(const GraphicsChange& change) {
  switch (change.kind) {
    case GraphicsChange::Kind::created:
      created(change.handle);
      break;
    case GraphicsChange::Kind::deleted:
      deleted(change.handle);
      break;
    case GraphicsChange::Kind::property:
      propertyChanged(change.handle, change.detail);
      break;
    case GraphicsChange::Kind::message:
      showMessage(change.detail);
      break;
    case GraphicsChange::Kind::picture:
      copyPicture(change.handle, actingWindow(change.handle));
      break;
    case GraphicsChange::Kind::text:
      QGuiApplication::clipboard()->setText(QString::fromStdString(change.detail));
      break;
    case GraphicsChange::Kind::error:
      showStatus(change.handle, QString::fromStdString(change.detail), !change.detail.empty());
      break;
    case GraphicsChange::Kind::status:
      if (change.detail.empty()) {
        // An empty status text clears the window's line, message or error.
        if (FigureWindow* w = window(change.handle)) w->setStatus(QString(), false);
      } else {
        showStatus(change.handle, QString::fromStdString(change.detail), false);
      }
      break;
  }
}

void QtView::created(Handle h) {
  const GraphicsObject& o = graphics_.object(h);
  switch (o.type) {
    case ObjectType::figure: {
      auto* w = new FigureWindow(*this, h);
      windows_[h] = w;
      w->applyPosition();
      // Shown once the action that made it has set it up (its position, its
      // controls, whether it is visible at all).
      QTimer::singleShot(0, w, [this, h] {
        FigureWindow* shown = window(h);
        if (!shown || !graphics_.object(h).details().visible) return;
        if (!shown->isVisible() && !restoreGeometry(*shown)) placeNewWindow(*shown);
        shown->show();
        raiseWindow(shown);
      });
      break;
    }
    case ObjectType::uicontrol:
      if (FigureWindow* w = window(o.parent)) {
        QWidget* widget = w->addControl(h);
        controls_[h] = widget;
        if (!o.details().fontName.empty()) applyFontName(widget, o.details().fontName);
        measureExtent(graphics_, h, widget);
      }
      break;
    case ObjectType::axes:
      if (FigureWindow* w = window(o.parent)) axes_[h] = w->addAxes(h);
      break;
    case ObjectType::line:
      dataChanged(o.parent);
      break;
    case ObjectType::root:
      break;
  }
}

void QtView::deleted(Handle h) {
  // A control's or an axes' widget leaves its window at once and is
  // deleted when the event loop comes round: it may be the very widget
  // whose click is being served.
  auto dropChild = [](QWidget* widget) {
    if (auto* w = qobject_cast<FigureWindow*>(widget->window())) w->forget(widget);
    widget->hide();
    widget->deleteLater();
  };
  if (auto control = controls_.find(h); control != controls_.end()) {
    dropChild(control->second);
    controls_.erase(control);
    return;
  }
  if (auto plot = axes_.find(h); plot != axes_.end()) {
    dropChild(plot->second);
    axes_.erase(plot);
    return;
  }
  if (auto shown = windows_.find(h); shown != windows_.end()) {
    FigureWindow* w = shown->second;
    windows_.erase(shown);
    // A window opened later may get this number and must come to the front.
    if (lastRaised_ == h) lastRaised_.reset();
    w->closeFromModel();
    w->deleteLater();
    return;
  }
  // A plotted object: its axes are no longer known, so every plot is drawn
  // again (once, when the event loop next paints).
  for (auto& [handle, widget] : axes_) widget->dataChanged();
}

void QtView::propertyChanged(Handle h, const std::string& property) {
  if (h == kRoot) {
    if (property == props::kCurrentFigure) raiseCurrentLater();
    return;
  }
  if (!graphics_.isValid(h)) return;
  const GraphicsObject& o = graphics_.object(h);
  switch (o.type) {
    case ObjectType::figure: {
      FigureWindow* w = window(h);
      if (!w) return;
      if (property == props::kName) w->setWindowTitle(QString::fromStdString(o.details().name));
      if (property == props::kVisible) {
        if (o.details().visible) {
          w->show();
          raiseWindow(w);
        } else {
          w->hide();
        }
      }
      if (!writingGeometry_ && property == props::kPosition) w->applyPosition();
      if (!writingGeometry_ && property == props::kOuterPosition) w->applyOuterPosition();
      break;
    }
    case ObjectType::uicontrol:
      if (QWidget* widget = control(h)) {
        if (auto* w = qobject_cast<FigureWindow*>(widget->window())) {
          w->showControl(h, widget);
          if (property == props::kPosition) w->layoutChildren();
          if (property == props::kFontName) applyFontName(widget, o.details().fontName);
          if (property == props::kString || property == props::kFontName ||
              property == props::kPosition) {
            measureExtent(graphics_, h, widget);
          }
        }
      }
      break;
    case ObjectType::axes:
      if (property == props::kPosition) {
        if (FigureWindow* w = window(o.parent)) w->layoutChildren();
      }
      dataChanged(h);
      break;
    case ObjectType::line:
      dataChanged(o.parent);
      break;
    case ObjectType::root:
      break;
  }
}

void QtView::dataChanged(Handle axesHandle) {
  if (AxesWidget* widget = axes(axesHandle)) widget->dataChanged();
}

void QtView::raiseCurrentLater() {
  if (raisePending_) return;
  raisePending_ = true;
  QTimer::singleShot(0, this, [this] {
    raisePending_ = false;
    // Only a window that became current comes to the front, and never over
    // a dialog the user is answering.
    const std::optional<Handle> current = graphics_.currentFigure();
    if (!current || current == lastRaised_ || QApplication::activeModalWidget()) return;
    lastRaised_ = current;
    if (FigureWindow* w = window(*current); w && w->isVisible()) raiseWindow(w);
  });
}

}  // namespace tarvolin
