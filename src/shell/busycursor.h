#pragma once
// Shows the busy (wait) pointer for as long as the guard lives.

#include <QApplication>
#include <QCursor>

namespace pavix::shell {

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace pavix::shell
