#include "qtview.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "axeswidget.h"
#include "figurewindow.h"

namespace tarvolin {
namespace {

// Room left between windows placed side by side.
constexpr int kWindowGap = 12;
// A plot window is not narrowed below this to fit beside another window.
constexpr int kNarrowestPlot = 360;

// Brings a window to the front. The offscreen platform of the tests has no
// stacking order and would only complain.
void raiseWindow(QWidget* window) {
  if (QGuiApplication::platformName() != "offscreen") window->raise();
}

}  // namespace

QtView::QtView(Graphics& graphics, CallbackRunner runCallback)
    : graphics_(graphics), runCallback_(std::move(runCallback)) {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    graphics_.setScreenSize(area.width(), area.height());
  }
  subscription_ = graphics_.subscribe([this](const GraphicsChange& change) { onChange(change); });
  // Windows made before the view existed.
  for (Handle h : graphics_.object(kRoot).children) {
    created(h);
    for (Handle child : graphics_.descendants(h, ObjectType::uicontrol)) created(child);
    for (Handle child : graphics_.descendants(h, ObjectType::axes)) created(child);
  }
}

QtView::~QtView() {
  graphics_.unsubscribe(subscription_);
  for (QMessageBox* box : messageBoxes()) delete box;
  for (auto& [h, window] : windows_) delete window;
}

FigureWindow* QtView::window(Handle figure) const {
  auto found = windows_.find(figure);
  return found == windows_.end() ? nullptr : found->second;
}

QWidget* QtView::control(Handle control) const {
  auto found = controls_.find(control);
  return found == controls_.end() ? nullptr : found->second;
}

AxesWidget* QtView::axes(Handle axes) const {
  auto found = axes_.find(axes);
  return found == axes_.end() ? nullptr : found->second;
}

std::vector<QMessageBox*> QtView::messageBoxes() const {
  std::vector<QMessageBox*> open;
  for (const QPointer<QMessageBox>& box : messageBoxes_) {
    if (box) open.push_back(box.data());
  }
  return open;
}

void QtView::runCallback(Handle h) {
  if (graphics_.isValid(h)) runCallback_(h);
}

void QtView::userClosed(Handle figure) {
  if (graphics_.isValid(figure)) graphics_.close(figure);
  // A window the user cannot see must not keep the program running.
  bool anyVisible = false;
  for (Handle h : graphics_.object(kRoot).children) {
    if (graphics_.object(h).visible) anyVisible = true;
  }
  if (anyVisible) return;
  while (!graphics_.object(kRoot).children.empty()) {
    graphics_.close(graphics_.object(kRoot).children.back());
  }
  emit lastWindowClosed();
}

void QtView::writeGeometry(Handle figure, const Eigen::Vector4d& position,
                           const Eigen::Vector4d& outerPosition) {
  if (!graphics_.isValid(figure)) return;
  const GraphicsObject& o = graphics_.object(figure);
  if (o.position == position && o.outerPosition == outerPosition) return;
  writingGeometry_ = true;
  graphics_.setWindowGeometry(figure, position, outerPosition);
  writingGeometry_ = false;
}

void QtView::copyPicture(Handle figure) {
  FigureWindow* w = window(figure);
  if (!w) return;
  if (!w->hasPlots()) {
    // Nothing worth pasting: the clipboard keeps what it held.
    setStatus(tr("The window has no plot to copy"), false);
    return;
  }
  auto* data = new QMimeData;
  data->setData("image/svg+xml", w->picture(PictureFormat::svg));
  const QByteArray png = w->picture(PictureFormat::png);
  data->setData("image/png", png);
  data->setImageData(QImage::fromData(png, "PNG"));
  QGuiApplication::clipboard()->setMimeData(data);
  setStatus(tr("The plot is on the clipboard (SVG and PNG)"), false);
}

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
      copyPicture(change.handle);
      break;
    case GraphicsChange::Kind::error:
      setStatus(QString::fromStdString(change.detail), !change.detail.empty());
      break;
    case GraphicsChange::Kind::status:
      setStatus(QString::fromStdString(change.detail), false);
      break;
  }
}

void QtView::created(Handle h) {
  const GraphicsObject& o = graphics_.object(h);
  switch (o.type) {
    case ObjectType::figure: {
      auto* w = new FigureWindow(*this, h);
      windows_[h] = w;
      w->setStatus(statusText_, statusIsError_);
      w->applyPosition();
      // Shown once the action that made it has set it up (its position, its
      // controls, whether it is visible at all).
      QTimer::singleShot(0, w, [this, h] {
        FigureWindow* shown = window(h);
        if (!shown || !graphics_.object(h).visible) return;
        if (!shown->isVisible()) placeNewWindow(*shown);
        shown->show();
        raiseWindow(shown);
      });
      break;
    }
    case ObjectType::uicontrol:
      if (FigureWindow* w = window(o.parent)) controls_[h] = w->addControl(h);
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
    if (property == "CurrentFigure") raiseCurrentLater();
    return;
  }
  if (!graphics_.isValid(h)) return;
  const GraphicsObject& o = graphics_.object(h);
  switch (o.type) {
    case ObjectType::figure: {
      FigureWindow* w = window(h);
      if (!w) return;
      if (property == "Name") w->setWindowTitle(QString::fromStdString(o.name));
      if (property == "Visible") {
        if (o.visible) {
          w->show();
          raiseWindow(w);
        } else {
          w->hide();
        }
      }
      if (!writingGeometry_ && property == "Position") w->applyPosition();
      if (!writingGeometry_ && property == "OuterPosition") w->applyOuterPosition();
      break;
    }
    case ObjectType::uicontrol:
      if (QWidget* widget = control(h)) {
        if (auto* w = qobject_cast<FigureWindow*>(widget->window())) {
          w->showControl(h, widget);
          if (property == "Position") w->layoutChildren();
        }
      }
      break;
    case ObjectType::axes:
      if (property == "Position") {
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

void QtView::showMessage(const std::string& text) {
  QWidget* parent = nullptr;
  if (std::optional<Handle> current = graphics_.currentFigure()) parent = window(*current);
  auto* box = new QMessageBox(QMessageBox::Information, QString(), QString::fromStdString(text),
                              QMessageBox::Ok, parent);
  box->setWindowModality(Qt::NonModal);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->show();
  messageBoxes_.emplace_back(box);
  setStatus(QString::fromStdString(text), false);
}

void QtView::setStatus(const QString& text, bool error) {
  // Clearing the last error at the start of an action leaves the last
  // message standing.
  if (text.isEmpty() && !statusIsError_) return;
  statusText_ = text;
  statusIsError_ = error;
  for (auto& [h, w] : windows_) w->setStatus(text, error);
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

void QtView::placeNewWindow(FigureWindow& window) {
  // A window of plots opens beside the newest window with controls rather
  // than over it, when the screen has room.
  const Graphics& g = graphics_;
  if (!g.descendants(window.handle(), ObjectType::uicontrol).empty()) return;
  const QRect mine = window.frameGeometry();
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
    FigureWindow* other = it->second;
    if (other == &window || !other->isVisible()) continue;
    if (g.descendants(other->handle(), ObjectType::uicontrol).empty()) continue;
    const QRect theirs = other->frameGeometry();
    if (!theirs.intersects(mine)) return;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
    // Beside it, narrowed to the room the screen has there if need be.
    const int left = theirs.right() + 1 + kWindowGap;
    const int room = area.right() + 1 - left;
    if (room < kNarrowestPlot) return;
    const int width = std::min(mine.width(), room);
    // The model measures from the bottom left of the screen.
    const Eigen::Vector4d& o = g.object(window.handle()).outerPosition;
    const double bottom = area.top() + area.height() - (std::max(theirs.top(), area.top()) + o(3));
    graphics_.set(window.handle(), "OuterPosition",
                  Eigen::MatrixXd(Eigen::RowVector4d(left - area.left(), bottom, width, o(3))));
    return;
  }
}

}  // namespace tarvolin
