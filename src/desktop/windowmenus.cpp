#include "desktop/windowmenus.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <algorithm>
#include <cmath>

#include "desktop/axeswidget.h"
#include "desktop/figurewindow.h"
#include "desktop/qtview.h"
#include "document/controltags.h"

namespace tarvolin {
namespace {

constexpr int kOpacities[] = {100, 50, 25, 10};

QKeySequence ctrl(Qt::Key key) { return QKeySequence(Qt::CTRL | key); }

}  // namespace

WindowMenus::WindowMenus(QtView& view, FigureWindow& window)
    : QObject(&window), view_(view), window_(window) {
  bar_ = new QMenuBar(&window);
  bar_->setNativeMenuBar(false);  // in the window, above the drawing area, everywhere

  QMenu* file = bar_->addMenu(tr("&File"));
  bindControl(file, tr("Load data..."), tags::kLoadDataButton, ctrl(Qt::Key_O));
  bindControl(file, tr("Load wireframe..."), tags::kLoadWireButton, {});
  bindControl(file, tr("Load groups..."), tags::kLoadGroupsButton, {});
  bindControl(file, tr("Load sliders..."), tags::kLoadSlidersButton, {});
  recent_ = file->addMenu(tr("Recent data files"));
  connect(recent_, &QMenu::aboutToShow, this, &WindowMenus::fillRecent);
  fillRecent();
  file->addSeparator();
  bindControl(file, tr("Save standardized data..."), tags::kSaveStandard, ctrl(Qt::Key_S));
  QAction* save = file->addAction(tr("Save picture..."));
  connect(save, &QAction::triggered, this, [this] {
    view_.savePicture(view_.plotWindowFor(window_.handle()).value_or(kRoot), window_.handle());
  });
  onPlots_.push_back(save);
  if (view_.recordsSession()) {
    QAction* script = file->addAction(tr("Save session as script..."));
    connect(script, &QAction::triggered, this,
            [this] { view_.saveSessionScript(window_.handle()); });
  }
  file->addSeparator();
  QAction* quit = file->addAction(tr("Quit"));
  quit->setShortcut(ctrl(Qt::Key_Q));
  quit->setMenuRole(QAction::QuitRole);
  connect(quit, &QAction::triggered, &view_, &QtView::quit);

  QMenu* edit = bar_->addMenu(tr("&Edit"));
  copy_ = edit->addAction(tr("Copy plot"));
  connect(copy_, &QAction::triggered, this, [this] {
    view_.copyPicture(view_.plotWindowFor(window_.handle()).value_or(kRoot), window_.handle());
  });
  onPlots_.push_back(copy_);

  QMenu* show = bar_->addMenu(tr("&View"));
  bindControl(show, tr("Show data"), tags::kShowDataButton, {});
  bindControl(show, tr("Show standardized"), tags::kShowStandard, {});
  bindControl(show, tr("Check data..."), tags::kCheckDataButton, {});
  bindControl(show, tr("Allometry..."), tags::kAllometryButton, {});
  bindControl(show, tr("Shape space..."), tags::kShapeSpaceButton, {});
  show->addSeparator();
  QAction* reset = show->addAction(tr("Reset view"));
  connect(reset, &QAction::triggered, this, [this] {
    for (AxesWidget* plot : plots()) plot->resetView();
  });
  QAction* larger = show->addAction(tr("Larger markers"));
  connect(larger, &QAction::triggered, this, [this] {
    for (AxesWidget* plot : plots()) plot->largerMarkers();
  });
  QAction* smaller = show->addAction(tr("Smaller markers"));
  connect(smaller, &QAction::triggered, this, [this] {
    for (AxesWidget* plot : plots()) plot->smallerMarkers();
  });
  QMenu* opacity = show->addMenu(tr("Opacity of specimens"));
  opacity_ = new QActionGroup(this);
  for (int percent : kOpacities) {
    QAction* item = opacity->addAction(tr("%1 %").arg(percent));
    item->setCheckable(true);
    item->setData(percent);
    opacity_->addAction(item);
    connect(item, &QAction::triggered, this, [this, percent] {
      for (AxesWidget* plot : plots()) plot->setSpecimenOpacity(percent / 100.0);
      showLook();
    });
  }
  numberMeans_ = show->addAction(tr("Number the landmarks of the means"));
  numberMeans_->setCheckable(true);
  connect(numberMeans_, &QAction::triggered, this, [this](bool on) {
    for (AxesWidget* plot : plots()) plot->setNumberMeans(on);
    showLook();
  });
  for (QAction* item : {reset, larger, smaller, opacity->menuAction(), numberMeans_}) {
    onPlots_.push_back(item);
  }
  // The plot items can be used when there is a plot, and show its look.
  for (QMenu* menu : {file, edit, show}) {
    connect(menu, &QMenu::aboutToShow, this, [this] {
      const bool any = !plots().empty();
      for (QAction* item : onPlots_) item->setEnabled(any);
      // Where the window has a Copy plot button, the item is greyed out
      // when the button is: an emptied plot has nothing to copy.
      if (const std::optional<Handle> button = control(tags::kCopyPlotButton)) {
        copy_->setEnabled(any && view_.graphics().object(*button).details().enable);
      }
      showLook();
    });
  }

  QMenu* help = bar_->addMenu(tr("&Help"));
  connect(help->addAction(tr("Guide")), &QAction::triggered, this,
          [this] { showBox(guideBox_, tr("Guide"), guide()); });
  QAction* about = help->addAction(tr("About Tarvolin"));
  about->setMenuRole(QAction::AboutRole);
  connect(about, &QAction::triggered, this, [this] {
    showBox(aboutBox_, tr("About Tarvolin"),
            tr("Tarvolin %1\n\nSize standardization of 2D and 3D landmark data: Procrustes "
               "superimposition and regression of the shapes on a size variable.")
                .arg(QStringLiteral(TARVOLIN_VERSION)));
  });

  bar_->setFixedHeight(bar_->sizeHint().height());
  controlsChanged();
}

QAction* WindowMenus::action(const QString& text) const {
  for (QAction* item : bar_->findChildren<QAction*>()) {
    if (item->text() == text) return item;
  }
  return nullptr;
}

std::optional<Handle> WindowMenus::control(std::string_view tag) const {
  const std::vector<Handle> found = view_.graphics().findobj(tag, window_.handle());
  if (found.empty()) return std::nullopt;
  return found.front();
}

QAction* WindowMenus::bindControl(QMenu* menu, const QString& text, std::string_view tag,
                                  const QKeySequence& shortcut) {
  QAction* item = menu->addAction(text);
  item->setShortcut(shortcut);
  const std::string bound(tag);
  connect(item, &QAction::triggered, this, [this, bound] {
    if (std::optional<Handle> h = control(bound)) view_.click(*h);
  });
  bound_.emplace_back(item, bound);
  return item;
}

void WindowMenus::controlsChanged() {
  const Graphics& graphics = view_.graphics();
  for (const auto& [item, tag] : bound_) {
    const std::optional<Handle> h = control(tag);
    item->setVisible(h.has_value());
    item->setEnabled(h && graphics.object(*h).details().enable);
  }
  recent_->setEnabled(std::any_of(bound_.begin(), bound_.end(), [](const auto& b) {
    return b.second == tags::kLoadDataButton && b.first->isEnabled();
  }));
}

void WindowMenus::fillRecent() {
  view_.dropMissingRecentFiles();
  recent_->clear();
  const QStringList& files = view_.recentFiles();
  if (files.isEmpty()) {
    recent_->addAction(tr("(none)"))->setEnabled(false);
    return;
  }
  for (const QString& path : files) {
    QAction* item = recent_->addAction(QFileInfo(path).fileName());
    item->setToolTip(QDir::toNativeSeparators(path));
    item->setStatusTip(QDir::toNativeSeparators(path));
    item->setData(path);
    connect(item, &QAction::triggered, this,
            [this, path] { view_.loadFile(window_.handle(), path); });
  }
}

std::vector<AxesWidget*> WindowMenus::plots() const {
  const std::optional<Handle> shown = view_.plotWindowFor(window_.handle());
  FigureWindow* w = shown ? view_.window(*shown) : nullptr;
  return w ? w->axesWidgets() : std::vector<AxesWidget*>{};
}

void WindowMenus::showLook() {
  // The look as drawn: one not chosen may be adapted to big data.
  const std::vector<AxesWidget*> shown = plots();
  const PlotLook look =
      shown.empty() ? PlotLook{}
                    : effectivelook(shown.front()->look(),
                                    plottedpoints(view_.graphics(), shown.front()->handle()));
  for (QAction* item : opacity_->actions()) {
    item->setChecked(std::abs(item->data().toInt() - look.opacity * 100) < 0.5);
  }
  numberMeans_->setChecked(look.numberMeans);
}

QMessageBox* WindowMenus::showBox(QPointer<QMessageBox>& box, const QString& title,
                                  const QString& text) {
  if (!box) {
    box = new QMessageBox(QMessageBox::Information, title, text, QMessageBox::Close, &window_);
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
  }
  box->setText(text);
  box->show();
  // The offscreen platform of the tests has no stacking order.
  if (QGuiApplication::platformName() != "offscreen") box->raise();
  return box;
}

QString WindowMenus::guide() const {
  const bool tps = control(tags::kZORButton).has_value();
  const bool wire = control(tags::kLoadWireButton).has_value();
  const bool ownPlot = !window_.axesWidgets().empty();
  QString data =
      tr("1  Data. Click Load data (Ctrl+O) and choose the landmark file, or drop the "
         "file on this window.");
  if (tps) {
    data +=
        tr(" Any format Tarvolin reads is told by the file's content (ZOR, TPS, NTS, "
           "Morphologika, CSV, 3D Slicer markups); set \"TPS file\" only to read a TPS-style "
           "3D file with the TPS reader.");
  }
  if (ownPlot) {
    data +=
        tr(" This window standardizes 2D data that are already superimposed: it regresses the "
           "coordinates as they are read (data with semilandmarks it superimposes itself once "
           "Slide semilandmarks is set). Superimpose other raw 2D data first, on the command "
           "line:\n"
           "    tarvolin-cli superimpose FILE --dim 2 -o superimposed.txt\n"
           "and load superimposed.txt here (its last column keeps each specimen's size).");
  }
  if (wire) data += tr(" Load wireframe adds the lines between landmarks to every plot.");
  data += tr(" Load sliders... reads which landmarks are semilandmarks that slide (a sliders "
             "file of curve rows, or a surface file); TPS curves need none. Slide semilandmarks "
             "then superimposes them sliding, by bending energy or Procrustes distance.");
  data += tr(" Check data... ranks the specimens by their distance to the mean shape and names "
             "what looks wrong (two landmarks swapped, a mirror image, a size in other units); "
             "choose a row to see that specimen in the plot.");
  const QString x =
      tr("2  X-variable. Click Use centroid size, or Load x list for one value per specimen "
         "in the order of the data set. Choose x, ln x or log10 x, then Accept x. Load groups "
         "reads each specimen's group for the allometry report, which then compares the "
         "groups' shapes and slopes.");
  const QString standardize =
      tr("3  Standardize. Type the standard value (Accept x proposes one), click Standardize, "
         "then Save standardized data (Ctrl+S). A value outside the range of x is used, and "
         "the status line warns that the result is an extrapolation. Shape space... shows the "
         "principal components of shape before and after standardizing: click a specimen to "
         "see it in the plot, and Show shape change draws the change along a component.");
  const QString plot =
      ownPlot ? tr("Show data and Show standardized draw into this window's plot area.")
              : tr("Show data and Show standardized draw into the plot window; drag there to "
                   "turn a 3D plot and use the wheel to zoom.");
  const QString more =
      tr("More: the user guide (a worked analysis, the file formats, what every number and "
         "message means) is guide.md in /usr/share/doc/tarvolin when Tarvolin is installed, "
         "docs/guide.md in its sources; man tarvolin describes this program and its session "
         "scripts, man tarvolin-cli the command line.");
  return data + "\n\n" + x + "\n\n" + standardize + "\n\n" + plot + "\n\n" + more;
}

}  // namespace tarvolin
