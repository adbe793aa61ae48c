#pragma once
// The column header of the picture list's details layout: captions left-aligned, the sort
// arrow right of the caption of one column, and, with hot tracking on, the section under
// the mouse highlighted.

#include <QHeaderView>
#include <QImage>

#include <array>
#include <optional>
#include <vector>

namespace pavix::listview {

class ListHeader final : public QHeaderView {
public:
    explicit ListHeader(QWidget *parent = nullptr);

    bool hotTrack() const { return m_hotTrack; }
    void setHotTrack(bool on);
    // The section under the mouse, -1 when none.
    int hoveredSection() const { return m_hover; }

    // The arrow of a column (0-based): image 0 the down chevron, 1 the up chevron, none
    // removes it. A negative column is ignored.
    void setArrow(int column0, std::optional<int> image);
    std::optional<int> arrow(int column0) const;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    bool viewportEvent(QEvent *event) override;

private:
    const QImage *arrowImage(int logicalIndex) const;
    void setHover(int section);

    std::vector<std::optional<int>> m_arrows;
    std::array<QImage, 2> m_images;
    bool m_hotTrack = false;
    int m_hover = -1;
};

} // namespace pavix::listview
