#pragma once
// Texts of the program that several parts of the main window show.

#include <QString>

namespace pavix::browser {

inline const QString AppTitle = QStringLiteral("Pavix");
inline const QString ImagesLabel = QStringLiteral("Images : ");
inline const QString ImagesLabelBare = QStringLiteral("Images :");
inline const QString ClickHint =
    QStringLiteral("Click an item to preview it or Double click it to show the tiled image");
inline const QString NoImagesMessage = QStringLiteral("This directory does not contain supported images.");

} // namespace pavix::browser
