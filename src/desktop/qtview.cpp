#include "desktop/qtview.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "core/errors.h"
#include "core/writefileatomic.h"
#include "desktop/axeswidget.h"
#include "desktop/figurewindow.h"
#include "desktop/qtfiledialogs.h"
#include "document/clickvalue.h"
#include "formats/detectlandmarkformat.h"

namespace tarvolin {
namespace {

// Room left between windows placed side by side.
constexpr int kWindowGap = 12;
// A plot window is not narrowed below this to fit beside another window.
constexpr int kNarrowestPlot = 360;
// How many recent data files are kept.
constexpr qsizetype kRecentFiles = 8;
// How much of a dropped file is read to tell its format.
constexpr qint64 kFormatSample = 64 * 1024;

// The settings keys.
const char* const kRecentKey = "recentFiles";
const QString kGeometryKey = QStringLiteral("geometry/");

// The pointer is busy while a callback runs, and back as it was after it,
// also when the callback throws.
struct BusyCursor {
  BusyCursor() { QApplication::setOverrideCursor(Qt::BusyCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

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
  for (auto& [h, window] : windows_) {
    if (window->isVisible()) rememberGeometry(*window);
  }
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

void QtView::setSettings(QSettings* settings) {
  settings_ = settings;
  recent_ = settings_ ? settings_->value(kRecentKey).toStringList() : QStringList();
  recent_.removeAll(QString());
  recent_.removeDuplicates();
  if (recent_.size() > kRecentFiles) recent_.resize(kRecentFiles);
}

QString QtView::statusText(Handle figure) const {
  const FigureWindow* w = window(figure);
  return w ? w->statusMessage() : QString();
}

void QtView::runCallback(Handle h) {
  if (!graphics_.isValid(h)) return;
  // What is typed in the window's boxes counts before any of its actions
  // runs, whether a click, a menu item or a shortcut started it.
  if (const std::optional<Handle> figure = graphics_.parentFigure(h)) {
    if (FigureWindow* w = window(*figure);
        w && graphics_.object(h).details().style != ControlStyle::edit) {
      w->commitEdits();
      if (!graphics_.isValid(h)) return;
    }
  }
  // A Load data that read a file without error puts the file first among
  // the recent ones.
  const bool loadsData = dialogs_ && graphics_.object(h).tag == "LoadDataButton";
  if (loadsData) dialogs_->takeOpened();
  {
    BusyCursor busy;
    runCallback_(h);
  }
  if (loadsData) {
    const QString opened = dialogs_->takeOpened();
    if (!opened.isEmpty() && graphics_.lastError().empty()) addRecentFile(opened);
  }
}

void QtView::click(Handle h) {
  if (!graphics_.isValid(h)) return;
  const GraphicsObject& o = graphics_.object(h);
  if (o.type != ObjectType::uicontrol || !o.details().enable) return;
  if (const std::optional<double> value = clickvalue(o)) graphics_.setValue(h, *value);
  runCallback(h);
}

void QtView::loadFile(Handle figure, const QString& path) {
  if (!graphics_.isValid(figure) || !dialogs_) return;
  const std::vector<Handle> load = graphics_.findobj("LoadDataButton", figure);
  if (load.empty()) return;
  if (!graphics_.object(load.front()).details().enable) {
    showStatus(figure, tr("Load data cannot be used now"), true);
    return;
  }
  const std::string name = QDir::toNativeSeparators(path).toStdString();
  // A file no reader takes is refused before Load data runs. The TPS file
  // switch is left as the user set it: read by its content, a TPS file keeps
  // its specimens' IDs, which the older TPS reader drops.
  try {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw InputError(name, 0, "cannot be read");
    const QByteArray sample = file.read(kFormatSample);
    detectlandmarkformat(std::string_view(sample.constData(), static_cast<size_t>(sample.size())),
                         name);
  } catch (const std::exception& e) {
    showStatus(figure, QString::fromStdString(e.what()), true);
    return;
  }
  dialogs_->answerNextOpen(path);
  runCallback(load.front());
  // An answer the action did not ask for must not answer a later dialog.
  dialogs_->answerNextOpen(QString());
}

void QtView::addRecentFile(const QString& path) {
  const QString file = QFileInfo(path).absoluteFilePath();
  recent_.removeAll(file);
  recent_.prepend(file);
  if (recent_.size() > kRecentFiles) recent_.resize(kRecentFiles);
  if (settings_) settings_->setValue(kRecentKey, recent_);
}

void QtView::dropMissingRecentFiles() {
  const qsizetype dropped =
      recent_.removeIf([](const QString& file) { return !QFileInfo::exists(file); });
  if (dropped > 0 && settings_) settings_->setValue(kRecentKey, recent_);
}

void QtView::quit() {
  const std::vector<Handle> open = graphics_.object(kRoot).children;
  for (auto it = open.rbegin(); it != open.rend(); ++it) {
    if (!graphics_.isValid(*it)) continue;
    if (FigureWindow* w = window(*it)) w->close();
  }
}

void QtView::rememberGeometry(const FigureWindow& window) {
  if (!settings_ || window.settingsKey().isEmpty()) return;
  settings_->setValue(kGeometryKey + window.settingsKey(), window.geometry());
}

QString QtView::geometryKey(Handle figure) const {
  const GraphicsObject& o = graphics_.object(figure);
  if (!o.tag.empty()) return QString::fromStdString(o.tag);
  if (graphics_.descendants(figure, ObjectType::uicontrol).empty()) return QStringLiteral("Plot");
  return QString::fromStdString(o.details().name);
}

bool QtView::restoreGeometry(FigureWindow& window) {
  window.setSettingsKey(geometryKey(window.handle()));
  if (!settings_ || window.settingsKey().isEmpty()) return false;
  const QRect kept = settings_->value(kGeometryKey + window.settingsKey()).toRect();
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
  // A place on a screen that is gone is not restored.
  if (!kept.isValid() || !area.intersects(kept)) return false;
  // A place kept on a larger screen, or at a smaller scaling, is brought
  // onto this one whole, with room for the title bar above it.
  constexpr int kTitleRoom = 32;
  constexpr int kFrameRoom = 8;
  // Nor is a window with controls made smaller than its layout (a place kept
  // at a larger scaling, where it had to be fitted onto a smaller screen).
  QRect placed = kept;
  const QSize content = window.contentSize();
  placed.setWidth(std::min(std::max(kept.width(), content.width()), area.width() - 2 * kFrameRoom));
  placed.setHeight(
      std::min(std::max(kept.height(), content.height()), area.height() - kTitleRoom - kFrameRoom));
  placed.moveLeft(std::clamp(placed.left(), area.left() + kFrameRoom,
                             area.right() + 1 - kFrameRoom - placed.width()));
  placed.moveTop(std::clamp(placed.top(), area.top() + kTitleRoom,
                            area.bottom() + 1 - kFrameRoom - placed.height()));
  window.restoreGeometry(placed);
  return true;
}

void QtView::userClosed(Handle figure) {
  if (graphics_.isValid(figure)) graphics_.close(figure);
  // A window the user cannot see must not keep the program running.
  bool anyVisible = false;
  for (Handle h : graphics_.object(kRoot).children) {
    if (graphics_.object(h).details().visible) anyVisible = true;
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
  if (o.details().position == position && o.details().outerPosition == outerPosition) return;
  writingGeometry_ = true;
  graphics_.setWindowGeometry(figure, position, outerPosition);
  writingGeometry_ = false;
}

std::optional<Handle> QtView::plotWindowFor(Handle figure) const {
  if (const FigureWindow* w = window(figure); w && w->hasPlots()) return figure;
  const std::vector<Handle>& open = graphics_.object(kRoot).children;
  for (auto it = open.rbegin(); it != open.rend(); ++it) {
    const FigureWindow* w = window(*it);
    if (w && w->hasPlots() && graphics_.descendants(*it, ObjectType::uicontrol).empty()) {
      return *it;
    }
  }
  return std::nullopt;
}

Handle QtView::actingWindow(Handle fallback) const { return graphics_.gcbf().value_or(fallback); }

void QtView::copyPicture(Handle figure, Handle actingWindow) {
  FigureWindow* w = window(figure);
  if (!w || !w->hasPlots()) {
    // Nothing worth pasting: the clipboard keeps what it held.
    showStatus(actingWindow,
               w ? tr("The window has no plot to copy") : tr("There is no plot to copy"), false);
    return;
  }
  auto* data = new QMimeData;
  data->setData("image/svg+xml", w->picture(PictureFormat::svg));
  const QByteArray png = w->picture(PictureFormat::png);
  data->setData("image/png", png);
  data->setImageData(QImage::fromData(png, "PNG"));
  QGuiApplication::clipboard()->setMimeData(data);
  showStatus(actingWindow, tr("The plot is on the clipboard (SVG and PNG)"), false);
}

void QtView::savePicture(Handle figure, Handle actingWindow) {
  FigureWindow* w = window(figure);
  if (!w || !w->hasPlots()) {
    showStatus(actingWindow, tr("There is no plot to save"), false);
    return;
  }
  QFileDialog dialog(window(actingWindow), tr("Save picture"), QDir::currentPath(),
                     tr("PNG image (*.png);;SVG picture (*.svg);;PDF document (*.pdf)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.selectFile("plot.png");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  QString path = dialog.selectedFiles().front();
  if (!pictureformat(path.toStdString())) {
    // No extension typed: take the one of the filter chosen.
    const QString chosenFilter = dialog.selectedNameFilter();
    const auto star = chosenFilter.indexOf("*.");
    path += star >= 0 ? chosenFilter.mid(star + 1, 4) : QString(".png");
  }
  // The plot window may have gone while the dialog was open.
  w = window(figure);
  try {
    if (!w) throw OutputError(path.toStdString() + ": the plot window was closed");
    w->savePictureTo(path);
    showStatus(actingWindow, tr("Picture saved to %1").arg(QDir::toNativeSeparators(path)), false);
  } catch (const std::exception& e) {
    showStatus(actingWindow, QString::fromStdString(e.what()), true);
  }
}

void QtView::saveSessionScript(Handle actingWindow) {
  if (!sessionScript_) return;
  QFileDialog dialog(window(actingWindow), tr("Save session as script"), QDir::currentPath(),
                     tr("Session scripts (*.txt);;All files (*)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.selectFile("session.txt");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  saveSessionScriptTo(dialog.selectedFiles().front(), actingWindow);
}

void QtView::saveSessionScriptTo(const QString& path, Handle actingWindow) {
  if (!sessionScript_) return;
  try {
    writefileatomic(path.toStdString(), sessionScript_());
    const QString shown = QDir::toNativeSeparators(path);
    showStatus(actingWindow,
               tr("Saved the session as a script to %1; tarvolin-cli run %1 replays it").arg(shown),
               false);
  } catch (const std::exception& e) {
    showStatus(actingWindow, QString::fromStdString(e.what()), true);
  }
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
    if (property == "CurrentFigure") raiseCurrentLater();
    return;
  }
  if (!graphics_.isValid(h)) return;
  const GraphicsObject& o = graphics_.object(h);
  switch (o.type) {
    case ObjectType::figure: {
      FigureWindow* w = window(h);
      if (!w) return;
      if (property == "Name") w->setWindowTitle(QString::fromStdString(o.details().name));
      if (property == "Visible") {
        if (o.details().visible) {
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
          if (property == "FontName") applyFontName(widget, o.details().fontName);
          if (property == "String" || property == "FontName" || property == "Position") {
            measureExtent(graphics_, h, widget);
          }
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
  // In the window whose action showed it, not in a plot window the action
  // made current.
  showStatus(actingWindow(kRoot), QString::fromStdString(text), false);
}

void QtView::showStatus(Handle figure, const QString& text, bool error) {
  FigureWindow* w = window(figure);
  if (!w) {
    const std::optional<Handle> current = graphics_.currentFigure();
    w = current ? window(*current) : nullptr;
  }
  // Clearing the last error at the start of an action leaves the last
  // message standing.
  if (text.isEmpty() && !(w ? w->statusIsError() : statusIsError_)) return;
  statusText_ = text;
  statusIsError_ = error;
  if (w) w->setStatus(text, error);
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
  // A new window opens where it covers no other window: where its layout
  // puts it, else beside one of them (the latest first), when the screen has
  // room; where it has none, where it covers the least of the other windows'
  // controls (those of the workflow windows above all), then of the windows
  // themselves. The first window stays where its layout puts it.
  std::vector<const FigureWindow*> others;
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
    if (it->second != &window && it->second->isVisible()) others.push_back(it->second);
  }
  if (others.empty()) return;
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
  // A window not yet shown has no frame: it will get one like the others'.
  const FigureWindow* shown = others.front();
  const QMargins frame(shown->geometry().left() - shown->frameGeometry().left(),
                       shown->geometry().top() - shown->frameGeometry().top(),
                       shown->frameGeometry().right() - shown->geometry().right(),
                       shown->frameGeometry().bottom() - shown->geometry().bottom());
  const QRect mine = window.geometry().marginsAdded(frame);
  const bool plotsOnly = window.contentSize().isEmpty();

  std::vector<QRect> candidates;
  auto consider = [&](QPoint corner, QSize size) {
    corner.setX(std::clamp(corner.x(), area.left(),
                           std::max(area.left(), area.right() + 1 - size.width())));
    corner.setY(std::clamp(corner.y(), area.top(),
                           std::max(area.top(), area.bottom() + 1 - size.height())));
    candidates.emplace_back(corner, size);
  };
  consider(mine.topLeft(), mine.size());
  for (const FigureWindow* other : others) {
    const QRect theirs = other->frameGeometry();
    const int right = theirs.right() + 1 + kWindowGap;
    consider({right, theirs.top()}, mine.size());
    // A window of plots may be narrowed to the room beside.
    const int room = area.right() + 1 - right;
    if (plotsOnly && room >= kNarrowestPlot && room < mine.width()) {
      consider({right, theirs.top()}, {room, mine.height()});
    }
    consider({theirs.left() - kWindowGap - mine.width(), theirs.top()}, mine.size());
    consider({theirs.left(), theirs.bottom() + 1 + kWindowGap}, mine.size());
    consider({theirs.left(), theirs.top() - kWindowGap - mine.height()}, mine.size());
  }
  for (const QPoint& corner : {area.topRight() - QPoint(mine.width() - 1, 0),
                               area.bottomRight() - QPoint(mine.width() - 1, mine.height() - 1),
                               area.bottomLeft() - QPoint(0, mine.height() - 1), area.topLeft()}) {
    consider(corner, mine.size());
  }
  // Covering controls weighs far more than covering a window, and a
  // workflow window's (one with menus) most.
  constexpr double kControls = 1000;
  constexpr double kWorkflowControls = 1e6;
  auto covered = [](const QRect& a, const QRect& b) {
    const QRect both = a & b;
    return both.isEmpty() ? 0.0 : static_cast<double>(both.width()) * both.height();
  };
  std::vector<std::vector<QRect>> controls;
  for (const FigureWindow* other : others) controls.push_back(other->controlRects());
  auto cost = [&](const QRect& r) {
    double total = 0;
    for (size_t i = 0; i < others.size(); ++i) {
      const double weight = others[i]->menus() != nullptr ? kWorkflowControls : kControls;
      for (const QRect& control : controls[i]) total += weight * covered(r, control);
      total += covered(r, others[i]->frameGeometry());
    }
    return total;
  };
  const QRect* best = &candidates.front();
  double bestCost = cost(*best);
  for (const QRect& r : candidates) {
    const double c = cost(r);
    if (c < bestCost) {
      best = &r;
      bestCost = c;
    }
  }
  window.restoreGeometry(best->marginsRemoved(frame));
}

}  // namespace tarvolin
