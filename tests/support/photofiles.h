#pragma once
// Photo-like picture files for tests of the thumbnail cache: grainy enough that a JPEG of
// them is as long as a photograph's, in colours of their seed's own, dated back so that the
// cache counts them as settled.

#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace pavix::testsupport {

// Sets the file's modification time `secondsAgo` seconds back.
inline void dateBack(const QString &path, int secondsAgo = 3600)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite)) << qPrintable(path);
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-secondsAgo), QFileDevice::FileModificationTime));
}

// Writes a picture of four quarters in the seed's colours under fine grain, at `size`, to
// path in the format ("jpeg" at quality 90, "bmp"), dated back; returns the path.
inline QString writePhoto(const QString &path, QSize size, quint32 seed, const char *format = "jpeg",
                          int secondsAgo = 3600)
{
    QRandomGenerator random(seed);
    QRgb quarters[4];
    for (QRgb &colour : quarters)
        colour = qRgb(random.bounded(256), random.bounded(256), random.bounded(256));
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const QRgb c = quarters[(y * 2 / size.height()) * 2 + x * 2 / size.width()];
            const int grain = int(random.bounded(24)) - 12;
            line[x] = qRgb(std::clamp(qRed(c) + grain, 0, 255), std::clamp(qGreen(c) + grain, 0, 255),
                           std::clamp(qBlue(c) + grain, 0, 255));
        }
    }
    QImageWriter writer(path, format);
    writer.setQuality(90);
    EXPECT_TRUE(writer.write(image)) << qPrintable(path);
    dateBack(path, secondsAgo);
    return path;
}

} // namespace pavix::testsupport
