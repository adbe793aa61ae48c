#pragma once
// Texts of the program that several parts of the main window show, in the user's language.

#include <QCoreApplication>
#include <QString>

namespace pavix::browser {

// The program's name, the title of its windows and message boxes; never translated.
inline const QString AppTitle = QStringLiteral("Pavix");
inline QString imagesLabel()
{
    return QCoreApplication::translate("pavix::browser", "Images : ");
}
inline QString imagesLabelBare()
{
    return QCoreApplication::translate("pavix::browser", "Images :");
}
inline QString clickHint()
{
    return QCoreApplication::translate("pavix::browser",
                                       "Click an item to preview it or Double click it to show the tiled image");
}
inline QString noImagesMessage()
{
    return QCoreApplication::translate("pavix::browser", "This directory does not contain supported images.");
}

} // namespace pavix::browser
