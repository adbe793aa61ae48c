#pragma once
// An image control that shows its picture scaled to its own size (the preview image),
// with a thin flat border. It reports mouse presses with the button mask. Tab reaches it,
// and it draws a focus frame while it has the focus.

#include <QImage>
#include <QWidget>

namespace pavix::preview {

class StretchImage : public QWidget {
    Q_OBJECT
public:
    explicit StretchImage(QWidget *parent);

    void setPicture(const QImage &picture);
    void clearPicture() { setPicture(QImage()); }
    const QImage &picture() const { return m_picture; }
    // The picture as painted: scaled smoothly to the device pixels of the area inside the
    // border, with the screen's device pixel ratio, made again only when the picture, the
    // size or the ratio changes. Null without a picture or an area.
    const QImage &shownPicture();
    bool hasPicture() const { return !m_picture.isNull(); }

signals:
    void mouseDown(int button, int shift);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QImage m_picture;
    QImage m_shown;
};

} // namespace pavix::preview
