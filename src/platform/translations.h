#pragma once
// The language Pavix speaks: its own translations (pavix_LANG.qm among its data files) and
// Qt's translations of its dialogs and buttons (qtbase_LANG.qm in Qt's folder).

#include <QLocale>
#include <QString>
#include <QStringList>

namespace pavix::platform {

// Where Pavix's compiled translations may be, most wanted first: "translations" beside the
// executable (a build tree), in the installed data folder and in the system's data folders.
QStringList translationFolders();

// Shows Pavix's texts and Qt's dialogs in the first language of `locale`'s list of user
// interface languages (QLocale::system() honours LANGUAGE, LC_ALL, LC_MESSAGES and LANG)
// that Pavix has a translation for in one of `folders`. English, Pavix's own language, ends
// the search: a user who puts it before German sees English. The translators installed by
// an earlier call are removed first. Gives the language now shown ("de"), "" for English.
QString installTranslations(const QLocale &locale, const QStringList &folders);

// The language the last installTranslations() chose, "" for English.
QString shownLanguage();

// The translated form of a data file for the shown language ("help/index.de.html" for
// "help/index.html" in German) when there is one, else the data file itself; "" when
// neither exists (findDataFile()).
QString findTranslatedDataFile(const QString &relative);

} // namespace pavix::platform
