#pragma once
// Where the test pictures are: the corpus folder CMake names.

#include <QString>

namespace pavix::testsupport {

// The full path of a corpus file given relative to the corpus ("good/hopper.bmp").
inline QString corpusPath(const QString &relative)
{
    return QStringLiteral(PAVIX_CORPUS_DIR) + QLatin1Char('/') + relative;
}

} // namespace pavix::testsupport
