#pragma once
// Where the test pictures are: the corpus folder CMake names.

#include <QFile>
#include <QString>

namespace pavix::testsupport {

// The full path of a corpus file given relative to the corpus ("good/hopper.bmp").
inline QString corpusPath(const QString &relative)
{
    return QStringLiteral(PAVIX_CORPUS_DIR) + QLatin1Char('/') + relative;
}

// The whole content of a corpus file; empty when it cannot be read.
inline QByteArray corpusBytes(const QString &relative)
{
    QFile file(corpusPath(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace pavix::testsupport
