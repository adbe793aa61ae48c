#pragma once
// A splitter handle (beside the folder tree, beside the preview): a borderless strip with the left-right split cursor.
// It reports presses, moves and releases with the button mask, the shift mask and the
// pointer position relative to its own left and top edges in twips. While a button is
// held after a press it keeps receiving the mouse (Qt's implicit grab).

#include <QWidget>

namespace pavix::shell {

class SplitterBar : public QWidget {
    Q_OBJECT
public:
    SplitterBar(QWidget *parent, double twipsPerPixel);

signals:
    void mouseDown(int button, int shift, double xTwips, double yTwips);
    void mouseMove(int button, int shift, double xTwips, double yTwips);
    void mouseUp(int button, int shift, double xTwips, double yTwips);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    double m_tpp;
};

} // namespace pavix::shell
