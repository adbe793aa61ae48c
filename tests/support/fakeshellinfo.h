#pragma once
// A shell-info provider for tests: plain coloured icons, the type name "<EXT> picture",
// and a record of every question asked.

#include "platform/shellinfo.h"

#include <QColor>
#include <QImage>
#include <QSet>
#include <QStringList>

namespace pavix::testsupport {

class FakeShellInfo : public platform::ShellInfo {
public:
    QImage icon(const QString &path, int sizeSelector) override
    {
        iconCalls.append(QStringLiteral("%1@%2").arg(path).arg(sizeSelector));
        if (withoutIcon.contains(platform::extensionOf(path)))
            return QImage();
        const int side = iconSidePx > 0 ? iconSidePx : (sizeSelector == 2 ? 32 : 16);
        QImage image(side, side / (wideIcons ? 2 : 1), QImage::Format_ARGB32);
        // Each path gets its own colour, so tests can tell whose icon an image is.
        image.fill(QColor::fromRgb(qHash(path) | 0xff000000u));
        return image;
    }

    QString typeName(const QString &path) override
    {
        typeNameCalls.append(path);
        return platform::extensionOf(path) + QStringLiteral(" picture");
    }

    QStringList iconCalls;
    QStringList typeNameCalls;
    QSet<QString> withoutIcon; // upper-cased extensions that get no icon
    int iconSidePx = 0;        // 0: the asked size
    bool wideIcons = false;    // half as high as wide
};

} // namespace pavix::testsupport
