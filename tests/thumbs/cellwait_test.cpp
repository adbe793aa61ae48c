// The loader's wait with a limit: the grid build waits for a cell in short slices and
// handles the windows' events between them.
#include "platform/thumbloader.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

using namespace pavix::platform;

TEST(ThumbLoaderWait, AShortWaitGivesNothingUntilTheCellIsMadeThenTheCell)
{
    // The worker makes its cell only once the test lets it.
    struct Gate {
        std::mutex mutex;
        std::condition_variable opened;
        bool open = false;
    };
    auto gate = std::make_shared<Gate>();
    ThumbLoader::Options options;
    options.threads = 1;
    options.makeCell = [gate](const QString &, QSize px, DecodeScratch &, const DecodeGate *, bool) {
        std::unique_lock lock(gate->mutex);
        gate->opened.wait(lock, [&] { return gate->open; });
        QImage cell(px, QImage::Format_RGB32);
        cell.fill(Qt::red);
        return CachedCell{cell};
    };
    ThumbLoader loader({QStringLiteral("/a.bmp"), QStringLiteral("/b.bmp")}, QSize(4, 4), options);

    EXPECT_FALSE(loader.waitFor(0, std::chrono::milliseconds(0)).has_value());
    EXPECT_FALSE(loader.waitFor(0, std::chrono::milliseconds(1)).has_value());
    {
        std::lock_guard lock(gate->mutex);
        gate->open = true;
    }
    gate->opened.notify_all();
    // However long it takes now, the cell comes within the cell time limit.
    const std::optional<QImage> cell = loader.waitFor(0, ThumbLoader::DefaultCellTimeLimit * 2);
    ASSERT_TRUE(cell.has_value());
    EXPECT_EQ(cell->pixel(0, 0), QColor(Qt::red).rgb());
    EXPECT_EQ(loader.waitFor(1), *cell);
    // Out of range: a null cell at once, as waitFor without a limit gives.
    const std::optional<QImage> outside = loader.waitFor(2, std::chrono::milliseconds(0));
    ASSERT_TRUE(outside.has_value());
    EXPECT_TRUE(outside->isNull());
}
