#include "shell/keyrouter.h"

#include "common/keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <utility>

namespace pavix::shell {

KeyRouter::KeyRouter(QWidget *window) : QObject(window), m_window(window)
{
    setObjectName(QStringLiteral("keyRouter"));
    qApp->installEventFilter(this);
}

KeyRouter::~KeyRouter()
{
    qApp->removeEventFilter(this);
}

std::optional<Command> KeyRouter::commandOf(const QKeyEvent &key)
{
    return commandForKey(common::virtualKeyCode(key.key(), key.modifiers()), common::shiftMask(key.modifiers()));
}

bool KeyRouter::isFirstDelivery(QObject *watched, QEvent *event)
{
    // A key press reaches the focused control first and then, while ignored, each of its
    // parents, all within one event. Every key press is announced by a shortcut-override
    // event first, so the first widget it reaches after one is its first delivery. A
    // command's dialog can move the focus away before the key goes on to the parents;
    // counting deliveries, not focus, keeps the key from running the command twice.
    if (event->type() == QEvent::ShortcutOverride) {
        m_keyAnnounced = true;
        return false;
    }
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    return std::exchange(m_keyAnnounced, false) && static_cast<QWidget *>(watched)->window() == m_window;
}

bool KeyRouter::eventFilter(QObject *watched, QEvent *event)
{
    if (isFirstDelivery(watched, event))
        if (const std::optional<Command> command = commandOf(*static_cast<QKeyEvent *>(event)))
            emit commandPressed(*command);
    // Not consumed: the focused control gets the key as well.
    return false;
}

} // namespace pavix::shell
