// Times listing a large folder into the catalogue against a bare directory listing of the
// same folder. Prints one line per figure; the catalogue should cost at most twice as much.
#include "browser/browser.h"
#include "catalogue/typepatterns.h"
#include "platform/qtshellinfo.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace pavix;

namespace {

constexpr int FileCount = 20000;
constexpr int IconFileEvery = 1000; // a few icon files, each cached on its own
constexpr int Rounds = 5;

bool makeFolder(const QString &folder)
{
    static const char *const extensions[] = {"bmp", "jpg", "jpeg", "gif", "BMP", "JPG", "gif"};
    const QByteArray filler(64, 'x');
    for (int i = 0; i < FileCount; ++i) {
        const char *extension = (i % IconFileEvery == 0) ? "ico" : extensions[i % 7];
        QFile file(QStringLiteral("%1/picture %2.%3")
                       .arg(folder)
                       .arg(i, 5, 10, QLatin1Char('0'))
                       .arg(QLatin1String(extension)));
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write(filler.left(1 + i % 64));
    }
    return true;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QTemporaryDir scratch;
    if (!scratch.isValid() || !makeFolder(scratch.path())) {
        std::fprintf(stderr, "cannot create the test folder\n");
        return 1;
    }
    const QString pattern = catalogue::combinedPattern(catalogue::patternsInForce({})); // every type

    std::vector<double> catalogueMs;
    std::vector<double> entryListMs;
    int listed = 0;
    int entries = 0;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        const QStringList names = QDir(scratch.path()).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
        entryListMs.push_back(timer.nsecsElapsed() / 1e6);
        listed = static_cast<int>(names.size());

        // A fresh provider and cache every round: the shell is asked about each key once.
        platform::QtShellInfo shell;
        browser::Browser browser(shell, 15.0);
        browser.setFilePattern(pattern);
        timer.restart();
        const bool read = browser.setFolder(scratch.path()).ok();
        const auto made = browser.catalogueEntries();
        catalogueMs.push_back(timer.nsecsElapsed() / 1e6);
        if (!read) {
            std::fprintf(stderr, "listing failed\n");
            return 1;
        }
        entries = static_cast<int>(made.size());
    }

    const double ours = median(catalogueMs);
    const double bare = median(entryListMs);
    std::printf("catalogue of %d files: %.0f ms; QDir::entryList (%d names): %.0f ms; "
                "ratio %.1f (goal <= 2)\n",
                entries, ours, listed, bare, bare > 0 ? ours / bare : 0.0);
    return entries == FileCount ? 0 : 1;
}
