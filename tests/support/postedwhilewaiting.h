#pragma once
// An event the test posts before a wait, as a repaint or the desktop's ping would come: it is
// posted again until `ready()` holds, then runs `act()` once. Handled only when the wait
// serves the interface thread's events, so acted() tells whether it did.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <functional>
#include <utility>

namespace pavix::testsupport {

class PostedWhileWaiting : public QObject {
public:
    PostedWhileWaiting(std::function<bool()> ready, std::function<void()> act)
        : m_ready(std::move(ready)), m_act(std::move(act))
    {
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
    }
    bool acted() const { return m_acted; }

protected:
    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        if (!m_ready()) {
            QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        } else if (!m_acted) {
            m_acted = true;
            m_act();
        }
        return true;
    }

private:
    std::function<bool()> m_ready;
    std::function<void()> m_act;
    bool m_acted = false;
};

} // namespace pavix::testsupport
