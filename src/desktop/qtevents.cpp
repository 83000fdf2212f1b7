#include "desktop/qtevents.h"

#include <QCoreApplication>
#include <QEvent>

namespace tarvolin {

bool QtEvents::next(Runtime& /*runtime*/) {
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  // Widgets of closed windows and controls are deleted here: this loop is
  // not Qt's own, which would do it on its way round.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return true;
}

}  // namespace tarvolin
