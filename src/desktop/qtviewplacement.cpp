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
// The title bar a window manager puts above a window, where the platform
// does not say (a window not yet framed, the offscreen platform).
constexpr int kTitleBar = 32;

// What a window takes of the screen: its frame, with room for a title bar
// above the window when the frame leaves none.
QRect occupied(const QRect& client, const QRect& frame) {
  QRect taken = frame;
  taken.setTop(std::min(frame.top(), client.top() - kTitleBar));
  return taken;
}

double covered(const QRect& a, const QRect& b) {
  const QRect both = a & b;
  return both.isEmpty() ? 0.0 : static_cast<double>(both.width()) * both.height();
}

}  // namespace

void QtView::placeNewWindow(FigureWindow& window) {
  // A new window opens where it covers no other window: where its layout
  // puts it, else beside one of them (the latest first), else anywhere the
  // screen has room; where it has none, where it leaves the other windows'
  // title bars and menu bars free, if it can, and covers the least of their
  // controls (those of the workflow windows above all), then of the windows
  // themselves. The first window stays where its layout puts it.
  std::vector<const FigureWindow*> others;
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
    if (it->second != &window && it->second->isVisible()) others.push_back(it->second);
  }
  if (others.empty()) return;
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
  // A window not yet shown has no frame: it will get one like the others',
  // and a title bar above it in any case.
  const FigureWindow* shown = others.front();
  QMargins frame(shown->geometry().left() - shown->frameGeometry().left(),
                 shown->geometry().top() - shown->frameGeometry().top(),
                 shown->frameGeometry().right() - shown->geometry().right(),
                 shown->frameGeometry().bottom() - shown->geometry().bottom());
  // A window as tall as the screen keeps on it, what room there is for its
  // title bar.
  frame.setTop(std::max(frame.top(), std::min(kTitleBar, area.height() - frame.bottom() -
                                                             window.geometry().height())));
  const QRect mine = window.geometry().marginsAdded(frame);
  const bool plotsOnly = window.contentSize().isEmpty();

  std::vector<QRect> taken;
  for (const FigureWindow* other : others) {
    taken.push_back(occupied(other->geometry(), other->frameGeometry()));
  }
  std::vector<QRect> candidates;
  auto consider = [&](QPoint corner, QSize size) {
    corner.setX(std::clamp(corner.x(), area.left(),
                           std::max(area.left(), area.right() + 1 - size.width())));
    corner.setY(std::clamp(corner.y(), area.top(),
                           std::max(area.top(), area.bottom() + 1 - size.height())));
    candidates.emplace_back(corner, size);
  };
  consider(mine.topLeft(), mine.size());
  for (const QRect& theirs : taken) {
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
  // Any free room: a place clear of every window can be slid left and up
  // until it meets the screen's edge or a window, so one of these corners
  // finds it, with the gap where the room allows and without it where not.
  // Where every window is covered somewhere, a place that leaves the title
  // bars and menus free is found the same way: below a title bar or menu bar.
  std::vector<int> xs{area.left()}, ys{area.top()};
  for (size_t i = 0; i < taken.size(); ++i) {
    const QRect& theirs = taken[i];
    for (const int gap : {kWindowGap, 0}) {
      xs.push_back(theirs.right() + 1 + gap);
      xs.push_back(theirs.left() - gap - mine.width());
      ys.push_back(theirs.bottom() + 1 + gap);
      ys.push_back(theirs.top() - gap - mine.height());
    }
    ys.push_back(others[i]->geometry().top());
    if (const QRect menu = others[i]->menuBarRect(); !menu.isEmpty())
      ys.push_back(menu.bottom() + 1);
  }
  for (const int y : ys) {
    for (const int x : xs) consider({x, y}, mine.size());
  }

  // A place that leaves every title bar and menu bar free comes first (a
  // window whose title bar is covered can no longer be moved); among the
  // places, covering the controls weighs far more than covering a window,
  // and a workflow window's (one with menus) most.
  constexpr double kControls = 1000;
  constexpr double kWorkflowControls = 1e6;
  std::vector<std::vector<QRect>> bars, controls;
  for (size_t i = 0; i < others.size(); ++i) {
    QRect title = taken[i];
    title.setBottom(others[i]->geometry().top() - 1);
    bars.push_back({title, others[i]->menuBarRect()});
    controls.push_back(others[i]->controlRects());
  }
  auto coversBars = [&](const QRect& r) {
    for (const std::vector<QRect>& of : bars) {
      for (const QRect& bar : of) {
        if (r.intersects(bar)) return true;
      }
    }
    return false;
  };
  auto cost = [&](const QRect& r) {
    double total = 0;
    for (size_t i = 0; i < others.size(); ++i) {
      const double weight = others[i]->menus() != nullptr ? kWorkflowControls : kControls;
      for (const QRect& control : controls[i]) total += weight * covered(r, control);
      total += covered(r, taken[i]);
    }
    return total;
  };
  const bool barsCanStayFree = std::any_of(candidates.begin(), candidates.end(),
                                           [&](const QRect& r) { return !coversBars(r); });
  const QRect* best = nullptr;
  double bestCost = 0;
  for (const QRect& r : candidates) {
    if (barsCanStayFree && coversBars(r)) continue;
    const double c = cost(r);
    if (!best || c < bestCost) {
      best = &r;
      bestCost = c;
    }
    if (bestCost == 0) break;
  }
  window.restoreGeometry(best->marginsRemoved(frame));
}

}  // namespace tarvolin
