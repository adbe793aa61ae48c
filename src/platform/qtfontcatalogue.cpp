#include "platform/qtfontcatalogue.h"

#include <QFont>
#include <QFontDatabase>
#include <QRawFont>

#include <algorithm>

namespace pavix::platform {

namespace {

// True when the family's regular face is a TrueType or OpenType file: both kinds carry a
// "head" table, which Type 1 and bitmap files have not.
bool isTrueTypeOrOpenType(const QString &family)
{
    QFont font(family);
    font.setStyleStrategy(QFont::NoFontMerging);
    const QRawFont raw = QRawFont::fromFont(font);
    // A family several foundries make is listed as "Family [Foundry]".
    const QString name = family.section(QStringLiteral(" ["), 0, 0);
    return raw.isValid() && raw.familyName().compare(name, Qt::CaseInsensitive) == 0
           && !raw.fontTable("head").isEmpty();
}

} // namespace

QStringList QtFontCatalogue::scalableFamilies() const
{
    QStringList families;
    for (const QString &family : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(family) || !QFontDatabase::isSmoothlyScalable(family))
            continue;
        if (isTrueTypeOrOpenType(family))
            families.append(family);
    }
    families.removeDuplicates();
    std::sort(families.begin(), families.end(), [](const QString &a, const QString &b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return families;
}

} // namespace pavix::platform
