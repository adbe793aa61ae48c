#pragma once
// Turns the signals that end a program from outside (SIGTERM from a logout or `kill`,
// SIGINT from Ctrl+C in a terminal, SIGHUP when the terminal goes) into a Qt signal
// delivered on the event loop, so the program can close as its close button does.

#include <QObject>

class QSocketNotifier;

namespace pavix::platform {

class TerminationWatcher : public QObject {
    Q_OBJECT
public:
    // Watches SIGTERM, SIGINT and SIGHUP from now on; the signals' former handling comes
    // back when the watcher goes. One watcher at a time.
    explicit TerminationWatcher(QObject *parent = nullptr);
    ~TerminationWatcher() override;

    // False when the signals could not be watched (the program then ends as it would).
    bool isWatching() const { return m_notifier != nullptr; }

signals:
    void terminationRequested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace pavix::platform
