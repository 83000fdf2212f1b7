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
#include "document/controltags.h"
#include "document/propertynames.h"
#include "formats/detectlandmarkformat.h"

namespace tarvolin {
namespace {

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
  const bool loadsData = dialogs_ && graphics_.object(h).tag == tags::kLoadDataButton;
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
  const std::vector<Handle> load = graphics_.findobj(tags::kLoadDataButton, figure);
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

}  // namespace tarvolin
