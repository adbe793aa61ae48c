// Times filling the picture list with 20,000 items as the catalogue fills it (an item, then
// its size and type, names in the catalogue's order: by name ignoring case), unsorted and
// sorted by each key, sorted by name with the names in no order (each item lands anywhere),
// and ordering a full list at once. The list is shown (offscreen) in the details layout,
// and the time includes laying it out. Prints one line per figure, the median of a few
// rounds; a word given on the command line times only the figures whose line has it.
#include "listview/qtlistview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

using namespace pavix::listview;

namespace {

constexpr int ItemCount = 20000;
constexpr int Rounds = 5;

struct Entry {
    QString name;
    qint64 bytes;
    QString type;
};

// Names in no particular order, sizes with many repeats, and three types.
std::vector<Entry> makeEntries()
{
    static const char *const types[] = {"BMP image", "JPEG image", "GIF image"};
    static const char *const extensions[] = {"bmp", "jpg", "gif"};
    QRandomGenerator random(20000);
    std::vector<Entry> entries;
    entries.reserve(ItemCount);
    for (int i = 0; i < ItemCount; ++i) {
        const int kind = static_cast<int>(random.bounded(3));
        const QString prefix = random.bounded(2) ? QStringLiteral("Picture") : QStringLiteral("photo");
        const QString stem = QStringLiteral("%1 %2").arg(prefix).arg(random.bounded(1000000));
        entries.push_back({QStringLiteral("%1.%2").arg(stem, QLatin1String(extensions[kind])),
                           static_cast<qint64>(random.bounded(5000)) * 512, QString::fromLatin1(types[kind])});
    }
    return entries;
}

// The entries as the catalogue lists a folder: by name ignoring case.
std::vector<Entry> catalogueOrder(std::vector<Entry> entries)
{
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return std::pair(a.name.toCaseFolded(), a.name) < std::pair(b.name.toCaseFolded(), b.name);
    });
    return entries;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::unique_ptr<QtListView> shownList()
{
    auto lv = std::make_unique<QtListView>();
    lv->resize(800, 600);
    lv->addColumn(QStringLiteral("FILENAME"), QStringLiteral("Name"), 3000);
    lv->addColumn(QStringLiteral("FILESIZE"), QStringLiteral("Size"), 1500);
    lv->addColumn(QStringLiteral("FILETYPE"), QStringLiteral("Type"), 1500);
    lv->setView(ListLayout::Details);
    lv->show();
    if (!QTest::qWaitForWindowExposed(lv.get()))
        std::fprintf(stderr, "the list was not shown\n");
    return lv;
}

void fill(QtListView &lv, const std::vector<Entry> &entries)
{
    const QLocale english(QLocale::English);
    for (const Entry &entry : entries) {
        const int index = lv.addItem(entry.name, 0);
        lv.setSubItem(index, 1, english.toString(entry.bytes), entry.bytes);
        lv.setSubItem(index, 2, entry.type);
    }
}

// Fills a list ordered as given (-1 unsorted) and returns the milliseconds, layout included.
double timeFill(const std::vector<Entry> &entries, int key, bool *ok)
{
    auto lv = shownList();
    if (key >= 0) {
        lv->setSortKey(key);
        lv->setSorted(true);
    }
    QElapsedTimer timer;
    timer.start();
    fill(*lv, entries);
    QApplication::processEvents();
    const double ms = timer.nsecsElapsed() / 1e6;
    *ok = *ok && lv->count() == ItemCount;
    return ms;
}

// Fills an unsorted list, then times ordering it by `key`.
double timeSortAll(const std::vector<Entry> &entries, int key, bool *ok)
{
    auto lv = shownList();
    fill(*lv, entries);
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    lv->setSortKey(key);
    lv->setSorted(true);
    QApplication::processEvents();
    const double ms = timer.nsecsElapsed() / 1e6;
    *ok = *ok && lv->count() == ItemCount;
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const auto wanted = [&](const QString &line) { return line.contains(only); };
    const std::vector<Entry> shuffled = makeEntries();
    const std::vector<Entry> entries = catalogueOrder(shuffled);
    bool ok = true;

    const struct {
        const char *label;
        int key;
        const std::vector<Entry> *entries;
    } fills[] = {{"unsorted", -1, &entries},
                 {"sorted by name", 0, &entries},
                 {"sorted by name, names in no order", 0, &shuffled},
                 {"sorted by size", 1, &entries},
                 {"sorted by type", 2, &entries}};
    for (const auto &f : fills) {
        const QString line = QStringLiteral("list: add %1 items %2").arg(ItemCount).arg(QLatin1String(f.label));
        if (!wanted(line))
            continue;
        std::vector<double> ms;
        for (int round = 0; round < Rounds; ++round)
            ms.push_back(timeFill(*f.entries, f.key, &ok));
        std::printf("%s: %.0f ms\n", qPrintable(line), median(ms));
    }
    const struct {
        const char *label;
        int key;
    } sorts[] = {{"name", 0}, {"size", 1}};
    for (const auto &s : sorts) {
        const QString line =
            QStringLiteral("list: order %1 items by %2 at once").arg(ItemCount).arg(QLatin1String(s.label));
        if (!wanted(line))
            continue;
        std::vector<double> ms;
        for (int round = 0; round < Rounds; ++round)
            ms.push_back(timeSortAll(entries, s.key, &ok));
        std::printf("%s: %.0f ms\n", qPrintable(line), median(ms));
    }
    if (!ok)
        std::fprintf(stderr, "the list lost items\n");
    return ok ? 0 : 1;
}
