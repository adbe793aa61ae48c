// The icon cache under the real list: every listed file shows its own icon, also when the
// cache has filled positions that earlier listings used.
#include "browser/browser.h"
#include "browser/statusline.h"
#include "catalogue/typepatterns.h"
#include "listview/listinteraction.h"
#include "listview/qtlistview.h"
#include "support/fakeshellinfo.h"
#include "support/scratchfolder.h"

#include <QAbstractItemView>
#include <QIcon>

#include <gtest/gtest.h>

using namespace pavix;

namespace {

// A status line nobody reads.
class SilentStatus : public browser::StatusLine {
public:
    bool isShown() const override { return false; }
    void showMessage(const QString &) override {}
    void showParts(const std::vector<int> &) override {}
    void setPartText(int, const QString &) override {}
    QString shownText() const override { return {}; }
};

} // namespace

TEST(IconCacheOnTheList, EveryListedIconFileDrawsItsOwnPictureAcrossManyListings)
{
    constexpr qint64 pairBytes = (32 * 32 + 16 * 16) * 4; // the fake shell's icons
    testsupport::ScratchFolder scratch;
    testsupport::FakeShellInfo shell;
    browser::Browser browser(shell, 15.0, 5 * pairBytes);
    SilentStatus status;
    auto *list = new listview::QtListView;
    std::unique_ptr<listview::QtListView> owner(list);
    listview::ListInteraction interaction(browser, status, list);
    list->resize(500, 400);
    list->show();
    browser.setFilePattern(catalogue::combinedPattern(catalogue::patternsInForce({}))); // every type

    for (int f = 0; f < 6; ++f) {
        const QString folder = scratch.makeFolder(QStringLiteral("f%1").arg(f));
        for (int i = 0; i < 7; ++i)
            scratch.write(QStringLiteral("f%1/icon%2.ico").arg(f).arg(i));
        list->clear();
        ASSERT_TRUE(browser.setFolder(folder).ok());
        interaction.fill(browser.catalogueEntries());
        ASSERT_EQ(list->count(), 7);
        EXPECT_LE(browser.icons().large().count(), 7 + 5);

        QAbstractItemModel *model = list->currentView()->model();
        for (int i = 1; i <= list->count(); ++i) {
            const QString path = folder + u'/' + list->itemText(i);
            const QColor own = QColor::fromRgb(qHash(path) | 0xff000000u); // the fake shell's colour
            const QIcon icon = model->data(model->index(i - 1, 0), Qt::DecorationRole).value<QIcon>();
            ASSERT_FALSE(icon.isNull()) << qPrintable(path);
            EXPECT_EQ(icon.pixmap(32, 32).toImage().pixelColor(16, 16), own) << qPrintable(path);
            EXPECT_EQ(icon.pixmap(16, 16).toImage().pixelColor(8, 8), own) << qPrintable(path);
        }
    }
}
