#pragma once
// The client area of the main window: it carries every pane and draws the preview frame.
// A right press on its own surface (not on a pane) asks for the preview's pop-up menu.

#include "common/units.h"

#include <QWidget>

namespace pavix::shell {

class ClientArea : public QWidget {
    Q_OBJECT
public:
    ClientArea(QWidget *parent, double twipsPerPixel);

    // Where the preview frame is drawn (twips), and whether it is.
    void setPreviewFrame(const common::TwipRect &frame, bool shown);

signals:
    void surfaceMenuRequested(QPoint globalPos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    double m_tpp;
    common::TwipRect m_previewFrame;
    bool m_previewShown = false;
};

} // namespace pavix::shell
