#include "platform/translations.h"

#include "platform/linkopener.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>

#include <memory>

namespace pavix::platform {

namespace {

// Installed for the whole run; replaced when another language is installed.
std::unique_ptr<QTranslator> s_pavixTranslator;
std::unique_ptr<QTranslator> s_qtTranslator;
QString s_shownLanguage;

void removeTranslator(std::unique_ptr<QTranslator> &translator)
{
    if (translator)
        QCoreApplication::removeTranslator(translator.get());
    translator.reset();
}

// Loads `base`_LANGUAGE.qm ("pavix_de_DE.qm", then "pavix_de.qm") from the first folder
// that has it.
std::unique_ptr<QTranslator> loadTranslator(const QString &base, const QString &language, const QStringList &folders)
{
    auto translator = std::make_unique<QTranslator>();
    for (const QString &folder : folders) {
        if (translator->load(base + u'_' + language, folder) && !translator->isEmpty())
            return translator;
    }
    return nullptr;
}

} // namespace

QStringList translationFolders()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    QStringList folders{programFolder + QStringLiteral("/translations"),
                        QDir::cleanPath(programFolder + QStringLiteral("/../share/pavix/translations"))};
    for (const QString &folder : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << folder + QStringLiteral("/pavix/translations");
    return folders;
}

QString installTranslations(const QLocale &locale, const QStringList &folders)
{
    removeTranslator(s_pavixTranslator);
    removeTranslator(s_qtTranslator);
    s_shownLanguage.clear();
    for (const QString &uiLanguage : locale.uiLanguages()) {
        // "de-DE" names the file "pavix_de_DE.qm"; a loader falls back to "pavix_de.qm".
        const QLocale wanted(uiLanguage);
        if (wanted.language() == QLocale::English || wanted.language() == QLocale::C)
            break;
        const QString language = QString(uiLanguage).replace(u'-', u'_');
        s_pavixTranslator = loadTranslator(QStringLiteral("pavix"), language, folders);
        if (!s_pavixTranslator)
            continue;
        QCoreApplication::installTranslator(s_pavixTranslator.get());
        // Qt's own dialogs speak the same language as Pavix's texts around them.
        s_qtTranslator = loadTranslator(QStringLiteral("qtbase"), language,
                                        {QLibraryInfo::path(QLibraryInfo::TranslationsPath)});
        if (s_qtTranslator)
            QCoreApplication::installTranslator(s_qtTranslator.get());
        s_shownLanguage = wanted.name().section(u'_', 0, 0);
        break;
    }
    return s_shownLanguage;
}

QString shownLanguage()
{
    return s_shownLanguage;
}

QString findTranslatedDataFile(const QString &relative)
{
    if (!s_shownLanguage.isEmpty()) {
        const QFileInfo info(relative);
        const QString prefix = info.path() == QLatin1String(".") ? QString() : info.path() + u'/';
        const QString translated = findDataFile(prefix + info.completeBaseName() + u'.' + s_shownLanguage + u'.'
                                                + info.suffix());
        if (!translated.isEmpty())
            return translated;
    }
    return findDataFile(relative);
}

} // namespace pavix::platform
