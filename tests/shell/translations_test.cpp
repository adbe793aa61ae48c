// Pavix in German: the menus and Qt's own buttons speak it, the settings file does not.

#include "support/mainfixture.h"
#include "support/mainparts.h"

#include "platform/translations.h"
#include "shell/settingskeys.h"


#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace pavix;

namespace {

// Shows German while it lives, English again after.
class GermanScope {
public:
    GermanScope()
    {
        language = platform::installTranslations(QLocale(QStringLiteral("de_DE")), {PAVIX_TRANSLATIONS_DIR});
    }
    ~GermanScope() { platform::installTranslations(QLocale(QLocale::English), {}); }
    QString language;
};

QStringList captions(const QList<QAction *> &actions)
{
    QStringList texts;
    for (const QAction *a : actions)
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
}

// Runs Pavix on `folder`, shows the details sorted by size through the menus and closes it;
// gives everything it stored.
platform::MemorySettingsStore::Map storedAfterASession(const QString &folder)
{
    testsupport::MainFixture f;
    f.start(folder);
    testsupport::item(*f.main, QStringLiteral("viewModeItem4"))->trigger();
    for (QAction *a : testsupport::menu(*f.main, QStringLiteral("viewMenu"))->actions())
        if (a->menu() && a->menu()->objectName() == QLatin1String("viewArrangeMenu"))
            a->menu()->actions().at(1)->trigger();
    f.main->close();
    return f.store.values();
}

} // namespace

TEST(Translations, AGermanLocaleShowsGermanMenusAndQtButtons)
{
    GermanScope german;
    ASSERT_EQ(german.language, QStringLiteral("de"));
    testsupport::MainFixture f;
    f.start();
    EXPECT_EQ(captions(f.main->menuBar()->actions()), (QStringList{"&Datei", "&Ansicht", "&Extras", "&Hilfe"}));
    EXPECT_EQ(captions(testsupport::menu(*f.main, QStringLiteral("fileMenu"))->actions()),
              (QStringList{"&Öffnen\tStrg+O", "&Hintergrundbild\tStrg+W", "-", "Beenden\tAlt+X"}));
    EXPECT_EQ(captions(testsupport::menu(*f.main, QStringLiteral("toolsMenu"))->actions()),
              (QStringList{"Werkzeugkasten\tF2", "-", "Optionen\tF3"}));
    EXPECT_EQ(testsupport::item(*f.main, QStringLiteral("viewModeItem0"))->text(), "Miniaturansichten\tF4");

    QMessageBox box(QMessageBox::Question, QStringLiteral("Pavix"), QString(),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(u'&'), "Ja");
    EXPECT_EQ(box.button(QMessageBox::No)->text().remove(u'&'), "Nein");
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove(u'&'), "Abbrechen");
}

TEST(Translations, EnglishBeforeGermanAndUnknownLanguagesKeepEnglish)
{
    for (const char *name : {"en_GB", "C", "sw_KE"}) {
        EXPECT_EQ(platform::installTranslations(QLocale(QString::fromLatin1(name)), {PAVIX_TRANSLATIONS_DIR}), "")
            << name;
        EXPECT_EQ(QCoreApplication::translate("pavix::shell", "&File"), "&File") << name;
    }
}

TEST(Translations, SettingsStoredInGermanAreTheEnglishKeysAndValues)
{
    testsupport::ScratchFolder scratch;
    const QString folder = scratch.makeFolder(QStringLiteral("pictures"));
    const platform::MemorySettingsStore::Map english = storedAfterASession(folder);
    platform::MemorySettingsStore::Map german;
    {
        GermanScope scope;
        ASSERT_EQ(scope.language, QStringLiteral("de"));
        german = storedAfterASession(folder);
    }
    // The details layout, chosen by its menu item.
    EXPECT_EQ(english.at({QString(shell::SectionSettings), QString(shell::KeyViewMode)}), "3");

    EXPECT_EQ(german, english);
}
