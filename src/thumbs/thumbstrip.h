#pragma once
// The thumbnail strip: one painted surface holding the thumbnail elements
// (position in twips, cell bitmap, visibility) and the selection marker.
// Element 0 always exists. It reports presses on a thumbnail or on empty space, double
// clicks and keys in the program's masks and virtual-key codes. While it has the focus it
// draws a focus frame round the marker, or round its visible part when nothing is marked.

#include <QImage>
#include <QPoint>
#include <QStringList>
#include <QWidget>

#include <vector>

namespace pavix::thumbs {

class ThumbStrip : public QWidget {
    Q_OBJECT
public:
    ThumbStrip(QWidget *parent, double twipsPerPixel);

    // Number of elements; at least 1.
    int elementCount() const { return static_cast<int>(m_cells.size()); }
    // Creates or destroys elements so that there are `count` (at least 1; element 0 is
    // never destroyed). New elements are hidden and have no picture.
    void setElementCount(int count);
    // Places element i at a position in strip twips; an index that does not exist is
    // ignored.
    void setElementPosition(int i, QPoint twips);
    void setElementPicture(int i, const QImage &cell);
    void setElementVisible(int i, bool visible);
    bool elementVisible(int i) const;
    QPoint elementPosition(int i) const;
    QImage elementPicture(int i) const;
    // The file names of the elements, in element order, for assistive tools; "" for an
    // element without one.
    void setElementNames(const QStringList &names) { m_names = names; }
    QString elementName(int i) const { return m_names.value(i); }

    // The selection marker, 850 x 850 twips with its top-left corner at `twips`.
    void setMarkerPosition(QPoint twips);
    void setMarkerVisible(bool visible);
    bool markerVisible() const { return m_markerVisible; }
    QPoint markerPosition() const { return m_marker; }
    // The element the marker was last put on, and announces it to assistive tools as the
    // selected item (and the focused one while the strip has the focus); -1 while the
    // marker is hidden.
    void setMarkedElement(int i);
    int markedElement() const { return m_markerVisible ? m_markedElement : -1; }

    // The visible element whose 900 x 900 picture holds the point (pixels); -1 for none.
    int elementAt(QPoint px) const;
    // Pixel rectangle of element i.
    QRect elementRect(int i) const;

signals:
    void thumbMouseDown(int index, int button, int shift);
    void thumbDblClick(int index);
    void emptyMouseDown(int button, int shift);
    void keyDown(int keyCode, int shift);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    struct Cell {
        QPoint twips;
        QImage picture;
        bool visible = false;
    };
    QRect markerRect() const;

    double m_tpp;
    std::vector<Cell> m_cells;
    QPoint m_marker;
    bool m_markerVisible = false;
    int m_markedElement = -1;
    QStringList m_names;
};

} // namespace pavix::thumbs
