// The icon cache under the real list: every listed file shows its own icon, also when the
// cache has filled positions that earlier listings used.
#include "catalogue/catalogue.h"
#include "catalogue/fakeshellinfo.h"
#include "catalogue/scratchfolder.h"
#include "catalogue/typepatterns.h"
#include "platform/qtlistview.h"

#include <QAbstractItemView>
#include <QIcon>

#include <gtest/gtest.h>

using namespace pavix;

TEST(IconCacheOnTheList, EveryListedIconFileDrawsItsOwnPictureAcrossManyListings)
{
    constexpr qint64 pairBytes = (32 * 32 + 16 * 16) * 4; // the fake shell's icons
    testsupport::ScratchFolder scratch;
    testsupport::FakeShellInfo shell;
    catalogue::IconCache cache(shell, 5 * pairBytes);
    platform::QtListView lv;
    lv.resize(500, 400);
    lv.show();
    catalogue::FileList files;
    files.setPattern(catalogue::combinedPattern(
        {catalogue::BmpEnabled, catalogue::JpgEnabled, catalogue::GifEnabled, catalogue::IcoEnabled}));

    for (int f = 0; f < 6; ++f) {
        const QString folder = scratch.makeFolder(QStringLiteral("f%1").arg(f));
        for (int i = 0; i < 7; ++i)
            scratch.write(QStringLiteral("f%1/icon%2.ico").arg(f).arg(i));
        lv.clear();
        ASSERT_TRUE(files.setPath(folder).ok());
        ASSERT_TRUE(catalogue::ListFolder(files.path(), files, cache, lv).ok());
        ASSERT_EQ(lv.count(), 7);
        EXPECT_LE(cache.large().count(), 7 + 5);

        QAbstractItemModel *model = lv.currentView()->model();
        for (int i = 1; i <= lv.count(); ++i) {
            const QString path = folder + u'/' + lv.itemText(i);
            const QColor own = QColor::fromRgb(qHash(path) | 0xff000000u); // the fake shell's colour
            const QIcon icon = model->data(model->index(i - 1, 0), Qt::DecorationRole).value<QIcon>();
            ASSERT_FALSE(icon.isNull()) << qPrintable(path);
            EXPECT_EQ(icon.pixmap(32, 32).toImage().pixelColor(16, 16), own) << qPrintable(path);
            EXPECT_EQ(icon.pixmap(16, 16).toImage().pixelColor(8, 8), own) << qPrintable(path);
        }
    }
}
