// The About box (offscreen): which clicks open links and which close it, and the two-state
// colouring of the links.
#include "about/aboutbackground.h"
#include "about/aboutbox.h"
#include "platform/linkopener.h"
#include "support/boxanswerer.h"
#include "support/printers.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>

#include <gtest/gtest.h>

using namespace pavix;
using about::AboutBox;

namespace {

class RecordingOpener : public platform::LinkOpener {
public:
    bool open(const QUrl &address) override
    {
        opened << address;
        return succeed;
    }
    QList<QUrl> opened;
    bool succeed = true;
};

void send(QWidget *target, QEvent::Type type)
{
    const QPointF at(2, 2);
    QMouseEvent event(type, at, target->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

QColor textColour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

} // namespace

TEST(AboutBox, LinksTurnBlueOnTheWayInAndBlackOnlyOverTheBackground)
{
    RecordingOpener opener;
    AboutBox box(about::Links(), opener, 15.0, nullptr);
    EXPECT_EQ(box.size(), QSize(461, 271)); // 6915 x 4065 twips
    EXPECT_TRUE(box.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(box.isModal());
    EXPECT_EQ(textColour(box.webCaption()), QColor(255, 128, 0));
    EXPECT_EQ(textColour(box.webLink()), QColor(Qt::black));

    send(box.webLink(), QEvent::MouseMove);
    EXPECT_EQ(textColour(box.webLink()), QColor(0, 0, 255));
    send(box.mailLink(), QEvent::MouseMove);
    EXPECT_EQ(textColour(box.webLink()), QColor(0, 0, 255));
    EXPECT_EQ(textColour(box.mailLink()), QColor(0, 0, 255));
    // Other labels change nothing.
    send(box.webCaption(), QEvent::MouseMove);
    EXPECT_EQ(textColour(box.mailLink()), QColor(0, 0, 255));
    send(&box, QEvent::MouseMove);
    EXPECT_EQ(textColour(box.webLink()), QColor(Qt::black));
    EXPECT_EQ(textColour(box.mailLink()), QColor(Qt::black));
}

TEST(AboutBox, TheAddressesOpenTheirLinksAndAnyOtherClickCloses)
{
    RecordingOpener opener;
    testsupport::BoxAnswerer boxes;
    about::Links links;
    auto *box = new AboutBox(links, opener, 15.0, nullptr);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();

    send(box->webLink(), QEvent::MouseButtonPress);
    send(box->mailLink(), QEvent::MouseButtonPress);
    ASSERT_EQ(opener.opened.size(), 2);
    EXPECT_EQ(opener.opened[0], links.homePageIndex);
    EXPECT_EQ(opener.opened[1], QUrl(QStringLiteral("mailto:pavix@example.org")));
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(boxes.texts().isEmpty());

    // The desktop refuses: the address is named.
    opener.succeed = false;
    send(box->webLink(), QEvent::MouseButtonPress);
    EXPECT_EQ(boxes.texts(), QStringList{about::unopenedMessage(links.homePageIndex.toString())});

    // "Web :" closes the box, as the background does.
    QPointer<AboutBox> guard(box);
    send(box->webCaption(), QEvent::MouseButtonPress);
    EXPECT_FALSE(box->isVisible());
    box->show();
    send(box, QEvent::MouseButtonPress);
    EXPECT_FALSE(box->isVisible());
}

TEST(AboutBox, TheBackgroundIsAMotifRepeatedEdgeToEdge)
{
    const QImage motif = about::aboutMotif();
    const QImage background = about::aboutBackground();
    ASSERT_EQ(background.size(), QSize(460, 270));
    for (int y = 0; y < background.height(); ++y)
        for (int x = 0; x < background.width(); ++x)
            ASSERT_EQ(background.pixel(x, y), motif.pixel(x % motif.width(), y % motif.height())) << x << "," << y;
    // Not a flat colour.
    EXPECT_NE(motif.pixel(15, 15), motif.pixel(5, 25));
}
