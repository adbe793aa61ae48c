#pragma once
// Photo-like picture files for tests of the thumbnail cache: grainy enough that a JPEG of
// them is as long as a photograph's, each seed in colours of its own, and dated back so
// that the cache counts them as settled.

#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace pavix::testsupport {

// A picture of four quarters in colours chosen by the seed, under fine grain.
inline QImage photoPicture(QSize size, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    const int w = size.width() / 2;
    const int h = size.height() / 2;
    for (const QRect &quarter : {QRect(0, 0, w, h), QRect(w, 0, size.width() - w, h), QRect(0, h, w, size.height() - h),
                                 QRect(w, h, size.width() - w, size.height() - h)})
        painter.fillRect(quarter, QColor::fromRgb(random.bounded(256), random.bounded(256), random.bounded(256)));
    painter.end();
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int grain = int(random.bounded(24)) - 12;
            const QRgb p = line[x];
            line[x] = qRgb(std::clamp(qRed(p) + grain, 0, 255), std::clamp(qGreen(p) + grain, 0, 255),
                           std::clamp(qBlue(p) + grain, 0, 255));
        }
    }
    return image;
}

// Sets the file's modification time `secondsAgo` seconds back.
inline void dateBack(const QString &path, int secondsAgo = 3600)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite)) << qPrintable(path);
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-secondsAgo), QFileDevice::FileModificationTime));
}

// Writes the picture of `seed` at `size` to path in the format ("jpeg", "bmp") and dates it
// back; returns the path.
inline QString writePhoto(const QString &path, QSize size, quint32 seed, const char *format = "jpeg",
                          int secondsAgo = 3600)
{
    QImageWriter writer(path, format);
    writer.setQuality(90);
    EXPECT_TRUE(writer.write(photoPicture(size, seed))) << qPrintable(path);
    dateBack(path, secondsAgo);
    return path;
}

} // namespace pavix::testsupport
