#pragma once
// The About box: a window without a title bar over a tiled background, with the program's
// name, a notice, and its web and mail addresses as links. A click on a link opens it; a
// click anywhere else closes the box. Moving onto a link colours it blue; it turns black
// again only when the pointer crosses the background. Tab reaches the links as well; the one
// Tab moved onto is blue, and Enter or Space opens the link that has the focus.

#include "about/links.h"

#include <QCoreApplication>
#include <QDialog>

#include <QImage>

#include <array>

class QLabel;

namespace pavix::platform {
class LinkOpener;
}

namespace pavix::about {

inline QString aboutTitle()
{
    return QCoreApplication::translate("pavix::about::AboutBox", "Previewer for tiled images");
}
inline QString aboutNotice()
{
    return QCoreApplication::translate("pavix::about::AboutBox",
                                       "Pavix 3.0: see a picture repeated edge to edge, with your text over it.");
}

class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(const Links &links, platform::LinkOpener &opener, double twipsPerPixel, QWidget *parent);

    QLabel *webLink() const { return m_webLink; }
    QLabel *mailLink() const { return m_mailLink; }
    QLabel *webCaption() const { return m_webCaption; }
    QLabel *mailCaption() const { return m_mailCaption; }


protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openLink(const QUrl &address);
    void setLinkColour(QLabel *label, const QColor &colour);

    Links m_links;
    platform::LinkOpener &m_opener;
    double m_tpp;
    QImage m_background;
    QLabel *m_titleLabel = nullptr;
    QLabel *m_noticeLabel = nullptr;
    QLabel *m_webCaption = nullptr;
    QLabel *m_mailCaption = nullptr;
    QLabel *m_webLink = nullptr;
    QLabel *m_mailLink = nullptr;
    QLabel *m_spareLabel = nullptr;
};

} // namespace pavix::about
