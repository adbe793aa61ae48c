#pragma once
// Folders of many small pictures of several kinds, for tests and benchmarks of large
// folders: each kind is encoded once and written under as many names as asked for.

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QString>

#include <vector>

namespace pavix::testsupport {

struct PictureKind {
    QString extension;
    QByteArray bytes;
};

// A 16 x 16 picture of `format` with a colour ramp, so that no two kinds look alike.
inline QImage rampPicture(QImage::Format format, int hue)
{
    QImage picture(16, 16, QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            picture.setPixelColor(x, y, QColor::fromHsv((hue + 8 * x) % 360, 255, 128 + 8 * y));
    return picture.convertToFormat(format);
}

inline QByteArray encoded(const QImage &picture, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return bytes;
}

// Six kinds of 16 x 16 picture: bitmaps of 1, 8, 24 and 32 bits, a JPEG and an icon, plus
// `gifBytes` as a seventh kind when given (Qt writes no GIF).
inline std::vector<PictureKind> smallPictureKinds(const QByteArray &gifBytes = {})
{
    std::vector<PictureKind> kinds = {
        {QStringLiteral("bmp"), encoded(rampPicture(QImage::Format_Mono, 0), "bmp")},
        {QStringLiteral("bmp"), encoded(rampPicture(QImage::Format_Indexed8, 60), "bmp")},
        {QStringLiteral("bmp"), encoded(rampPicture(QImage::Format_RGB888, 120), "bmp")},
        {QStringLiteral("bmp"), encoded(rampPicture(QImage::Format_ARGB32, 180), "bmp")},
        {QStringLiteral("jpg"), encoded(rampPicture(QImage::Format_RGB32, 240), "jpg")},
        {QStringLiteral("ico"), encoded(rampPicture(QImage::Format_ARGB32, 300), "ico")},
    };
    if (!gifBytes.isEmpty())
        kinds.push_back({QStringLiteral("gif"), gifBytes});
    return kinds;
}

// The name of picture i of a folder of small pictures: "pic00042.jpg".
inline QString smallPictureName(int i, const std::vector<PictureKind> &kinds)
{
    return QStringLiteral("pic%1.%2").arg(i, 5, 10, QLatin1Char('0')).arg(kinds[size_t(i) % kinds.size()].extension);
}

// Writes `count` pictures into `folder`, the kinds taking turns; false when one could not be
// written.
inline bool writeSmallPictures(const QString &folder, int count, const std::vector<PictureKind> &kinds)
{
    for (int i = 0; i < count; ++i) {
        QFile file(folder + u'/' + smallPictureName(i, kinds));
        if (!file.open(QIODevice::WriteOnly) || file.write(kinds[size_t(i) % kinds.size()].bytes) < 0)
            return false;
    }
    return true;
}

} // namespace pavix::testsupport
