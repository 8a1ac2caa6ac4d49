// A menu item chosen as a user chooses it: the window acts on it once the menu has closed, from
// the event loop; chooseNow delivers that at once, the item's message box (if any) included.
#pragma once

#include <QAction>
#include <QCoreApplication>
#include <QEvent>

namespace corvani::test {

inline void chooseNow(QAction* item) {
  item->trigger();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
}

}  // namespace corvani::test
