#include "platform/appicon.h"

#include "platform/linkopener.h"

namespace pavix::platform {

QIcon applicationIcon(const QString &name)
{
    const QIcon themed = QIcon::fromTheme(name);
    if (!themed.isNull())
        return themed;
    QIcon rendered;
    for (int size : {48, 128, 256}) {
        const QString file = findDataFile(QStringLiteral("icons/%1x%1/%2.png").arg(size).arg(name));
        if (!file.isEmpty())
            rendered.addFile(file, QSize(size, size));
    }
    return rendered;
}

} // namespace pavix::platform
