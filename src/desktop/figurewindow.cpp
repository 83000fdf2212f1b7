#include "desktop/figurewindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "core/errors.h"
#include "core/writefileatomic.h"
#include "desktop/axeswidget.h"
#include "desktop/figurepicture.h"
#include "desktop/qtview.h"
#include "desktop/windowmenus.h"
#include "document/clickvalue.h"
#include "document/controltags.h"
#include "document/propertynames.h"

namespace tarvolin {
namespace {

// The part of the screen windows are placed on, in Qt's coordinates (origin
// top left). The model measures from its bottom left corner.
QRect screenArea() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) return screen->availableGeometry();
  return QRect(0, 0, 1920, 1080);
}

QString text(const std::string& s) { return QString::fromStdString(s); }

QRect toRect(const QRectF& r) { return r.toAlignedRect(); }

const char* const kStatusTip = QT_TR_NOOP("The last error or message");

// The one local file a drag carries; empty for anything else.
QString droppedFile(const QMimeData* data) {
  if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl& url = data->urls().front();
  return url.isLocalFile() ? url.toLocalFile() : QString();
}

}  // namespace

FigureWindow::FigureWindow(QtView& view, Handle figure) : view_(view), handle_(figure) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  setWindowTitle(text(view_.graphics().object(figure).details().name));

  canvas_ = new QWidget;
  canvas_->installEventFilter(this);
  canvas_->setMinimumSize(120, 90);
  scroll_ = new QScrollArea;
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setWidgetResizable(true);
  scroll_->setWidget(canvas_);

  bar_ = new QWidget;
  bar_->setObjectName("StatusBar");
  bar_->setAttribute(Qt::WA_StyledBackground);
  bar_->setStyleSheet("#StatusBar { border-top: 1px solid palette(mid); }");
  auto* barLayout = new QHBoxLayout(bar_);
  barLayout->setContentsMargins(8, 2, 4, 2);
  status_ = new QLabel;
  status_->setTextFormat(Qt::PlainText);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  status_->setToolTip(tr(kStatusTip));
  status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  status_->installEventFilter(this);
  barLayout->addWidget(status_, 1);
  auto makeButton = [&](const QString& label, const QString& tip) {
    auto* button = new QToolButton;
    button->setText(label);
    button->setToolTip(tip);
    button->setAutoRaise(true);
    button->setVisible(false);
    barLayout->addWidget(button);
    return button;
  };
  resetButton_ = makeButton(tr("Reset view"), tr("Show the plot as it was first drawn"));
  copyButton_ = makeButton(tr("Copy plot"), tr("Put the plot on the clipboard, as SVG and as PNG"));
  saveButton_ = makeButton(tr("Save picture..."), tr("Save the plot as a PNG, SVG or PDF file"));
  connect(resetButton_, &QToolButton::clicked, this, [this] {
    for (AxesWidget* axes : axesWidgets()) axes->resetView();
  });
  connect(copyButton_, &QToolButton::clicked, this, &FigureWindow::copyPicture);
  connect(saveButton_, &QToolButton::clicked, this, &FigureWindow::savePicture);
  bar_->setFixedHeight(QFontMetrics(font()).height() + 12);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(scroll_, 1);
  layout->addWidget(bar_);
}

int FigureWindow::barHeight() const { return bar_->maximumHeight(); }

int FigureWindow::menuHeight() const { return menus_ ? menus_->menuBar()->maximumHeight() : 0; }

void FigureWindow::addMenus() {
  menus_ = new WindowMenus(view_, *this);
  static_cast<QVBoxLayout*>(layout())->insertWidget(0, menus_->menuBar());
  setAcceptDrops(true);
  // The drawing area keeps its size; the window grows by the menu bar.
  applyPosition();
}

QWidget* FigureWindow::addControl(Handle control) {
  const Graphics& graphics = view_.graphics();
  const GraphicsObject& o = graphics.object(control);
  QWidget* widget = nullptr;
  switch (o.details().style) {
    case ControlStyle::pushbutton: {
      auto* button = new QPushButton(canvas_);
      button->setAutoDefault(false);
      connect(button, &QPushButton::clicked, this, [this, control] { view_.runCallback(control); });
      widget = button;
      break;
    }
    case ControlStyle::radiobutton:
    case ControlStyle::checkbox: {
      QAbstractButton* button = nullptr;
      const bool radio = o.details().style == ControlStyle::radiobutton;
      if (radio) {
        auto* radioButton = new QRadioButton(canvas_);
        // The model keeps a group exclusive and the widgets follow it; Qt's
        // own exclusivity could not show a group with none switched on.
        radioButton->setAutoExclusive(false);
        button = radioButton;
      } else {
        button = new QCheckBox(canvas_);
      }
      connect(button, &QAbstractButton::clicked, this, [this, control] {
        // The model says what the click makes of the Value (a radio button of
        // a group is switched on, a switch of its own toggled); the widget
        // then shows the model.
        Graphics& g = view_.graphics();
        if (!g.isValid(control)) return;
        if (const std::optional<double> value = clickvalue(g.object(control))) {
          g.setValue(control, *value);
        }
        view_.runCallback(control);
      });
      widget = button;
      break;
    }
    case ControlStyle::edit: {
      auto* edit = new QLineEdit(canvas_);
      // A file dropped on the window is a data set to load, not text.
      edit->setAcceptDrops(false);
      connect(edit, &QLineEdit::editingFinished, this,
              [this, control, edit] { commitEdit(control, edit); });
      widget = edit;
      break;
    }
    case ControlStyle::listbox: {
      auto* list = new QListWidget(canvas_);
      list->setSelectionMode(QAbstractItemView::SingleSelection);
      list->setUniformItemSizes(true);  // a long table scrolls without measuring every line
      // The user's choice, by click or by key, becomes the Value and runs the
      // callback; the model's own changes are shown with the signals blocked.
      // A click on the row already chosen chooses it again (to show it once
      // more after the plot was drawn anew): the press that changes the row
      // has run the callback already, and says so until the event is done.
      auto changing = std::make_shared<bool>(false);
      connect(list, &QListWidget::currentRowChanged, this, [this, control, changing](int row) {
        Graphics& g = view_.graphics();
        if (!g.isValid(control) || row < 0) return;
        *changing = true;
        QTimer::singleShot(0, this, [changing] { *changing = false; });
        g.setValue(control, row + 1);
        view_.runCallback(control);
      });
      connect(list, &QListWidget::itemPressed, this,
              [this, control, changing, list](QListWidgetItem* item) {
                Graphics& g = view_.graphics();
                if (*changing || !g.isValid(control) || list->row(item) < 0) return;
                g.setValue(control, list->row(item) + 1);
                view_.runCallback(control);
              });
      widget = list;
      break;
    }
    case ControlStyle::popupmenu: {
      auto* menu = new QComboBox(canvas_);
      // Only the user's choice runs the callback; the model's own changes
      // are shown with the signals blocked.
      connect(menu, QOverload<int>::of(&QComboBox::activated), this, [this, control](int row) {
        Graphics& g = view_.graphics();
        if (!g.isValid(control) || row < 0) return;
        g.setValue(control, row + 1);
        view_.runCallback(control);
      });
      widget = menu;
      break;
    }
    case ControlStyle::text: {
      auto* label = new QLabel(canvas_);
      label->setTextFormat(Qt::PlainText);
      label->setWordWrap(true);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      if (o.tag.empty()) {
        // A heading.
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
      } else {
        // A box the workflow writes its results into.
        label->setFrameShape(QFrame::StyledPanel);
        label->setAutoFillBackground(true);
        label->setBackgroundRole(QPalette::Base);
        label->setMargin(3);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
      }
      widget = label;
      break;
    }
  }
  widget->setObjectName(text(o.tag));
  children_[widget] = control;
  if (!menus_ && o.tag == tags::kLoadDataButton) addMenus();
  showControl(control, widget);
  layoutSize_ = layoutSize_.expandedTo(QSize(1, 1));
  canvas_->setMinimumSize(layoutSize_.expandedTo(QSize(120, 90)));
  layoutChildren();
  updateTabOrder();
  widget->setVisible(o.details().visible);
  return widget;
}

AxesWidget* FigureWindow::addAxes(Handle axes) {
  auto* widget = new AxesWidget(view_.graphics(), axes, canvas_);
  connect(widget, &AxesWidget::copyRequested, this, &FigureWindow::copyPicture);
  connect(widget, &AxesWidget::saveRequested, this, &FigureWindow::savePicture);
  connect(widget, &AxesWidget::pointed, this, &FigureWindow::showPointed);
  connect(widget, &AxesWidget::pointClicked, this, [this](Handle point) {
    if (view_.graphics().isValid(point)) view_.runCallback(point);
  });
  children_[widget] = axes;
  layoutChildren();
  updateTabOrder();
  updateBar();
  widget->show();
  return widget;
}

void FigureWindow::showControl(Handle control, QWidget* widget) {
  const GraphicsObject& o = view_.graphics().object(control);
  const QString label = text(o.details().string);
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(label);
    if (button->isCheckable()) button->setChecked(o.details().value != 0);
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    if (edit->text() != label) edit->setText(label);
  } else if (auto* box = qobject_cast<QLabel*>(widget)) {
    box->setText(label);
  } else if (auto* menu = qobject_cast<QComboBox*>(widget)) {
    const QSignalBlocker quiet(menu);
    const QStringList items = label.isEmpty() ? QStringList() : label.split(u'\n');
    bool same = menu->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i) same = menu->itemText(i) == items[i];
    if (!same) {
      menu->clear();
      menu->addItems(items);
    }
    const int row = static_cast<int>(o.details().value) - 1;
    menu->setCurrentIndex(row >= 0 && row < menu->count() ? row : -1);
  } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
    const QSignalBlocker quiet(list);
    const QStringList items = label.isEmpty() ? QStringList() : label.split(u'\n');
    bool same = list->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i) same = list->item(i)->text() == items[i];
    if (!same) {
      list->clear();
      list->addItems(items);
    }
    const int row = static_cast<int>(o.details().value) - 1;
    list->setCurrentRow(row >= 0 && row < list->count() ? row : -1);
  }
  widget->setEnabled(o.details().enable);
  if (widget->isHidden() == o.details().visible) widget->setVisible(o.details().visible);
  widget->setToolTip(text(o.details().tooltip));
  widget->setAccessibleName(label.isEmpty() ? text(o.tag) : label);
  if (menus_) menus_->controlsChanged();
}

bool FigureWindow::commitEdit(Handle control, QLineEdit* edit) {
  Graphics& g = view_.graphics();
  if (!g.isValid(control)) return false;
  const std::string typed = edit->text().toStdString();
  if (typed == g.object(control).details().string) return false;
  g.setString(control, typed);
  view_.runCallback(control);
  return true;
}

void FigureWindow::commitEdits() {
  // A copy: a callback may add or remove controls.
  const std::map<QWidget*, Handle> children = children_;
  for (const auto& [widget, h] : children) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) commitEdit(h, edit);
  }
}

void FigureWindow::forget(QWidget* widget) {
  children_.erase(widget);
  updateBar();
  if (menus_) menus_->controlsChanged();
}

QRect FigureWindow::areaRect(const Eigen::Vector4d& p, int areaHeight) const {
  return toRect(QRectF(p(0), areaHeight - p(1) - p(3), p(2), p(3)));
}

bool FigureWindow::hasControls() const {
  return std::any_of(children_.begin(), children_.end(),
                     [](const auto& child) { return !qobject_cast<AxesWidget*>(child.first); });
}

bool FigureWindow::hasPlots() const { return !axesWidgets().empty(); }

QSize FigureWindow::contentSize() const {
  if (!hasControls()) return {};
  return layoutSize_ + QSize(0, barHeight() + menuHeight());
}

std::vector<QRect> FigureWindow::controlRects() const {
  std::vector<QRect> rects;
  for (const auto& [widget, h] : children_) {
    if (qobject_cast<AxesWidget*>(widget)) continue;
    rects.emplace_back(widget->mapToGlobal(QPoint(0, 0)), widget->size());
  }
  return rects;
}

QRect FigureWindow::menuBarRect() const {
  if (!menus_) return {};
  const QWidget* bar = menus_->menuBar();
  return {bar->mapToGlobal(QPoint(0, 0)), bar->size()};
}

QRect FigureWindow::controlsArea() const {
  QRect area;
  for (const QRect& r : controlRects()) area |= r;
  return area;
}

std::vector<AxesWidget*> FigureWindow::axesWidgets() const {
  std::vector<AxesWidget*> plots;
  for (const auto& [widget, h] : children_) {
    if (auto* axes = qobject_cast<AxesWidget*>(widget)) plots.push_back(axes);
  }
  return plots;
}

void FigureWindow::layoutChildren() {
  const Graphics& graphics = view_.graphics();
  // With controls the layout keeps its designed size and stays anchored at
  // the top left; a window of plots only gives its plots the whole area.
  const int areaHeight = hasControls() ? layoutSize_.height() : canvas_->height();
  for (const auto& [widget, h] : children_) {
    if (!graphics.isValid(h)) continue;
    const Eigen::Vector4d& p = graphics.object(h).details().position;
    if (graphics.object(h).type == ObjectType::axes && (p(2) <= 0 || p(3) <= 0)) {
      widget->setGeometry(canvas_->rect());
    } else {
      widget->setGeometry(areaRect(p, areaHeight));
    }
  }
}

void FigureWindow::updateTabOrder() {
  std::vector<QWidget*> order;
  for (const auto& [widget, h] : children_) {
    if (widget->focusPolicy() != Qt::NoFocus) order.push_back(widget);
  }
  // Reading order: rows from the top, left to right within a row.
  std::sort(order.begin(), order.end(), [](const QWidget* a, const QWidget* b) {
    const bool axesA = qobject_cast<const AxesWidget*>(a) != nullptr;
    const bool axesB = qobject_cast<const AxesWidget*>(b) != nullptr;
    if (axesA != axesB) return axesB;
    if (a->y() / 8 != b->y() / 8) return a->y() < b->y();
    return a->x() < b->x();
  });
  for (size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void FigureWindow::updateBar() {
  const bool axes = hasPlots();
  resetButton_->setVisible(axes);
  copyButton_->setVisible(axes);
  saveButton_->setVisible(axes);
}

void FigureWindow::applyPosition() {
  const Eigen::Vector4d& p = view_.graphics().object(handle_).details().position;
  const QRect screen = screenArea();
  const int bar = barHeight();
  const int menu = menuHeight();
  const QRect client =
      toRect(QRectF(screen.left() + p(0), screen.top() + screen.height() - p(1) - p(3) - menu, p(2),
                    p(3) + bar + menu));
  layoutSize_ = QSize(static_cast<int>(p(2)), static_cast<int>(p(3)));
  applying_ = true;
  setGeometry(client);
  applying_ = false;
  if (hasControls()) canvas_->setMinimumSize(layoutSize_.expandedTo(QSize(120, 90)));
  layoutChildren();
  writeGeometryBack();
}

void FigureWindow::applyOuterPosition() {
  const Eigen::Vector4d& o = view_.graphics().object(handle_).details().outerPosition;
  const QRect screen = screenArea();
  const QRect frame = frameGeometry();
  const QRect client = geometry();
  const QRect outer = toRect(
      QRectF(screen.left() + o(0), screen.top() + screen.height() - o(1) - o(3), o(2), o(3)));
  applying_ = true;
  setGeometry(QRect(outer.left() + (client.left() - frame.left()),
                    outer.top() + (client.top() - frame.top()),
                    std::max(1, outer.width() - (frame.width() - client.width())),
                    std::max(1, outer.height() - (frame.height() - client.height()))));
  applying_ = false;
  writeGeometryBack();
}

void FigureWindow::writeGeometryBack() {
  const QRect screen = screenArea();
  const QRect client = geometry();
  const QRect frame = frameGeometry();
  const int bar = barHeight();
  const double bottom = screen.top() + screen.height();
  const Eigen::Vector4d inner(client.left() - screen.left(), bottom - client.bottom() - 1 + bar,
                              client.width(), std::max(0, client.height() - bar - menuHeight()));
  const Eigen::Vector4d outer(frame.left() - screen.left(), bottom - frame.bottom() - 1,
                              frame.width(), frame.height());
  view_.writeGeometry(handle_, inner, outer);
}

void FigureWindow::showPointed(const QString& text) {
  if (!text.isEmpty()) {
    const auto kept = beforePointing_ ? beforePointing_
                                      : std::make_optional(std::pair(statusMessage_, statusError_));
    setStatus(text, false);
    beforePointing_ = kept;
  } else if (beforePointing_) {
    const auto [message, error] = *beforePointing_;
    setStatus(message, error);
  }
}

void FigureWindow::setStatus(const QString& message, bool error) {
  // A message of its own replaces the one a named point stood in for.
  beforePointing_.reset();
  // The bar holds one line: a message of several lines (such as the list of
  // specimens with missing landmarks) runs on in it, and the tooltip shows
  // it as it was written.
  QString oneLine;
  for (qsizetype i = 0; i < message.size(); ++i) {
    if (message[i] != u'\n') {
      oneLine += message[i];
    } else if (i + 1 < message.size()) {
      oneLine += i > 0 && message[i - 1] == u':' ? QStringLiteral(" ") : QStringLiteral("; ");
    }
  }
  statusMessage_ = message;
  statusLine_ = oneLine;
  statusError_ = error;
  status_->setToolTip(message.isEmpty() ? tr(kStatusTip) : message);
  status_->setStyleSheet(error ? "color: #b00020;" : "");
  showStatusLine();
  // Texts that arrive while an action runs show its progress: they are
  // painted now, not when the action is over.
  if (status_->isVisible()) status_->repaint();
}

void FigureWindow::showStatusLine() {
  // A line longer than the bar ends in "..."; the tooltip holds all of it.
  const int room = std::max(0, status_->contentsRect().width());
  status_->setText(status_->fontMetrics().elidedText(statusLine_, Qt::ElideRight, room));
}

void FigureWindow::restoreGeometry(const QRect& client) {
  applying_ = true;
  setGeometry(client);
  applying_ = false;
  layoutChildren();
  writeGeometryBack();
}

namespace {

std::vector<PictureArea> pictureAreas(const std::map<QWidget*, Handle>& children, QSize& size) {
  std::vector<PictureArea> areas;
  QRect all;
  for (const auto& [widget, h] : children) {
    if (auto* axes = qobject_cast<AxesWidget*>(widget)) {
      all = all.united(axes->geometry());
      areas.push_back({h, QRectF(axes->geometry()), axes->viewAngles(), axes->look()});
    }
  }
  for (PictureArea& a : areas) a.area.translate(-all.topLeft());
  size = all.size();
  return areas;
}

}  // namespace

void FigureWindow::copyPicture() { view_.copyPicture(handle_, handle_); }

void FigureWindow::savePicture() { view_.savePicture(handle_, handle_); }

QByteArray FigureWindow::picture(PictureFormat format) const {
  QSize size;
  const std::vector<PictureArea> areas = pictureAreas(children_, size);
  return figurepicture(view_.graphics(), areas, size, format);
}

void FigureWindow::savePictureTo(const QString& path) {
  const std::string file = path.toStdString();
  const std::optional<PictureFormat> format = pictureformat(file);
  if (!format) throw OutputError(file + ": a picture is saved as .png, .svg or .pdf");
  if (!hasPlots()) throw OutputError(file + ": this window has no plot to save");
  const QByteArray bytes = picture(*format);
  writefileatomic(file, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

void FigureWindow::closeFromModel() {
  closingFromModel_ = true;
  close();
}

void FigureWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  if (isVisible()) view_.rememberGeometry(*this);
  if (!closingFromModel_) view_.userClosed(handle_);
}

void FigureWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (!applying_ && isVisible()) writeGeometryBack();
}

void FigureWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!applying_ && isVisible()) writeGeometryBack();
}

bool FigureWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == canvas_ && event->type() == QEvent::Resize) layoutChildren();
  if (watched == status_ && event->type() == QEvent::Resize) showStatusLine();
  return QWidget::eventFilter(watched, event);
}

void FigureWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (menus_ && !droppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void FigureWindow::dropEvent(QDropEvent* event) {
  const QString path = droppedFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  // Loaded once the drop is over, so that the application the file came
  // from is not kept waiting while the data are read.
  QTimer::singleShot(0, this, [this, path] { view_.loadFile(handle_, path); });
}

}  // namespace tarvolin
