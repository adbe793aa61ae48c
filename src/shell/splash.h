#pragma once
// The splash window: the start-up object. Its one-shot timer runs the whole start-up
// sequence and rewrites the status line after each step.

#include <QWidget>

#include <functional>

class QLabel;
class QTimer;

namespace pavix::shell {

class Splash : public QWidget {
    Q_OBJECT
public:
    // `startup` runs the start-up sequence; it is given a function that shows a status
    // text at once. It is called by the first (and only) tick of the timer.
    using Startup = std::function<void(const std::function<void(const QString &)> &status)>;
    Splash(double twipsPerPixel, Startup startup);

    QLabel *nameLabel() const { return m_nameLabel; }
    QLabel *versionLabel() const { return m_versionLabel; }
    QLabel *statusLabel() const { return m_statusLabel; }

    // Writes the status line and repaints it before returning.
    void showStatus(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The timer's one tick: runs the start-up, then closes the splash.
    void runStartupOnce();

    double m_tpp;
    QLabel *m_nameLabel = nullptr;
    QLabel *m_versionLabel = nullptr;
    QLabel *m_statusLabel = nullptr;
    QTimer *m_startTimer = nullptr;
    Startup m_startup;
    bool m_ran = false;
};

} // namespace pavix::shell
