#pragma once
// The main window's key table at work: every key pressed in the window reaches the router
// before the focused control does (the control still gets it), and the router says which
// command the key runs. The router filters the whole application's events, because a key
// goes to the focused control, not to the window.

#include "shell/commandtable.h"

#include <QObject>

#include <optional>

class QKeyEvent;
class QWidget;

namespace pavix::shell {

class KeyRouter : public QObject {
    Q_OBJECT
public:
    // Routes the keys pressed in `window` (and its child widgets) while it lives.
    explicit KeyRouter(QWidget *window);
    ~KeyRouter() override;

    // The command of the key table that `key` runs, if any.
    static std::optional<Command> commandOf(const QKeyEvent &key);

signals:
    void commandPressed(Command command);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // True when `event` is a key press reaching `watched`, a widget of the window, as the
    // first widget the key reaches (not passed on to a parent).
    bool isFirstDelivery(QObject *watched, QEvent *event);

    QWidget *m_window;
    // A key press was announced and has not yet reached a widget.
    bool m_keyAnnounced = false;
};

} // namespace pavix::shell
