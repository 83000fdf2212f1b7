#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <algorithm>
#include <vector>

#include "desktop/figurewindow.h"
#include "desktop/qtview.h"

namespace tarvolin {
namespace {

// Room left between windows placed side by side.
constexpr int kWindowGap = 12;
// A plot window is not narrowed below this to fit beside another window.
constexpr int kNarrowestPlot = 360;

}  // namespace

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
