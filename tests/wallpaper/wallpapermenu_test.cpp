// The wallpaper command as the main window offers it, in the pop-up menu of the preview
// image and of a selected thumbnail.
#include "browser/browser.h"
#include "listview/qtlistview.h"
#include "shell/mainwindow.h"
#include "wallpaper/wallpapercommand.h"

#include "support/boxanswerer.h"
#include "support/fakehelpers.h"
#include "support/mainfixture.h"
#include "support/printers.h"
#include "support/scopedenvironment.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

using namespace pavix;
using testsupport::MainFixture;

namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
};

// Answers the next message box with OK, noting what it said.
void answerNextBox(SeenBox &seen)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, &seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = {box->windowTitle(), box->text(), box->standardButtons()};
        box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->reject();
        poll->deleteLater();
    });
    poll->start(20);
}

} // namespace

TEST(WallpaperMenu, SetWallpaperWithNothingSelectedAsksForAPicture)
{
    MainFixture f;
    f.start(f.folderWith(QStringLiteral("p"), {QStringLiteral("good/hopper.bmp")}));
    QAction *item = f.main->menuItem(QStringLiteral("wallpaperItem"));
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isEnabled());
    EXPECT_EQ(item->text(), QStringLiteral("Set Wallpaper"));
    EXPECT_TRUE(f.main->menu(QStringLiteral("wallpaperMenu"))->actions().contains(item));

    SeenBox seen;
    answerNextBox(seen);
    item->trigger();
    EXPECT_EQ(seen.title, QStringLiteral("Pavix"));
    EXPECT_EQ(seen.text, QStringLiteral("Please select a file first!"));
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST(WallpaperMenu, AWallpaperWrittenIntoTheListedFolderShowsUpInTheList)
{
    testsupport::FakeHelpers helpers;
    helpers.add(QStringLiteral("gsettings"), 0, "picture-uri\n");
    MainFixture f;
    const QString data = f.scratch.makeFolder(QStringLiteral("data"));
    const QString pavixData = f.folderWith(QStringLiteral("data/Pavix"), {QStringLiteral("good/hopper.jpg")});
    testsupport::ScopedEnvironment env;
    env.set("XDG_DATA_HOME", QFile::encodeName(data));
    env.set("XDG_CURRENT_DESKTOP", "GNOME");
    env.set("PATH", QFile::encodeName(helpers.folder()));
    f.start(pavixData);
    shell::MainWindow &m = *f.main;
    ASSERT_EQ(m.list()->count(), 1);
    testsupport::BoxAnswerer boxes;
    const QStringList &said = boxes.texts();

    const int index = m.list()->findItem(QStringLiteral("hopper.jpg"));
    ASSERT_GT(index, 0);
    m.list()->setSelectedItem(index);
    emit m.list()->itemClick(index);
    ASSERT_EQ(m.browser().currentFile(), QStringLiteral("hopper.jpg"));
    m.setWallpaper();
    EXPECT_TRUE(said.isEmpty()) << qPrintable(said.value(0));
    EXPECT_GT(m.list()->findItem(QStringLiteral("Wallpaper.bmp")), 0);
    EXPECT_EQ(m.list()->count(), 2);
    // Its keys listed, then picture-uri set (this schema has no dark picture).
    ASSERT_EQ(helpers.calls().size(), 2);
    EXPECT_EQ(helpers.calls()[1].value(4), QStringLiteral("'file://%1/Wallpaper.bmp'").arg(pavixData));
}
