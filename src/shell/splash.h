#pragma once
// The splash window `Splash`: the start-up object. Its one-shot timer runs the whole
// start-up sequence and rewrites the status line `Label3` after each step.

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

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QTimer *Timer1 = nullptr;

    // Writes the status line and repaints it before returning.
    void showStatus(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void Timer1_Timer();

    double m_tpp;
    Startup m_startup;
    bool m_ran = false;
};

} // namespace pavix::shell
