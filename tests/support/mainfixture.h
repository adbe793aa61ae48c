#pragma once
// A started main window over a throw-away folder of real pictures, for widget tests.

#include "catalogue/typepatterns.h"
#include "platform/settingsstore.h"
#include "shell/folderchooser.h"
#include "shell/mainwindow.h"
#include "shell/startup.h"
#include "support/corpus.h"
#include "support/fakeshellinfo.h"
#include "support/printers.h"
#include "support/scratchfolder.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace pavix::testsupport {

// Gives the browse command the folder set beforehand ("" for a cancel), noting what it
// was asked.
class ScriptedFolderChooser : public shell::FolderChooser {
public:
    QString chooseFolder(const QString &title, const QString &initialFolder) override
    {
        askedTitle = title;
        askedFolder = initialFolder;
        return answer;
    }

    QString answer;
    QString askedTitle;
    QString askedFolder;
};

class MainFixture {
public:
    // Starts the program with every picture type enabled on `home` (made empty when not
    // given); `shown` is told when the window shows, before the first scan.
    void start(const QString &folder = QString(), std::function<void(shell::MainWindow &)> shown = {})
    {
        home = folder.isEmpty() ? scratch.makeFolder(QStringLiteral("home")) : folder;
        for (const catalogue::PictureType type : catalogue::AllPictureTypes)
            store.write(catalogue::SectionType, catalogue::typeKey(type), catalogue::enabledPattern(type));
        main = shell::runStartup({store, shell, home, {}, {}, {}, &folderChooser, std::move(shown)});
    }

    // A folder holding copies of the named corpus files ("good/hopper.bmp", ...).
    QString folderWith(const QString &name, const QStringList &corpusFiles)
    {
        const QString folder = scratch.makeFolder(name);
        for (const QString &file : corpusFiles) {
            const QString source = corpusPath(file);
            EXPECT_TRUE(QFile::copy(source, folder + u'/' + file.section(u'/', -1))) << qPrintable(file);
        }
        return folder;
    }

    // `count` copies of one corpus picture named p000.bmp, p001.bmp, ...
    QString folderOfCopies(const QString &name, const QString &corpusFile, int count)
    {
        const QString folder = scratch.makeFolder(name);
        const QString source = corpusPath(corpusFile);
        const QString ext = corpusFile.section(u'.', -1);
        for (int i = 0; i < count; ++i)
            EXPECT_TRUE(QFile::copy(source, folder + QStringLiteral("/p%1.").arg(i, 3, 10, QLatin1Char('0')) + ext));
        return folder;
    }

    static void press(QWidget *w, QPoint pos, Qt::MouseButton button = Qt::LeftButton,
                      QEvent::Type type = QEvent::MouseButtonPress)
    {
        QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button), Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }

    platform::MemorySettingsStore store;
    FakeShellInfo shell;
    ScratchFolder scratch;
    QString home;
    ScriptedFolderChooser folderChooser;
    std::unique_ptr<shell::MainWindow> main;
};

} // namespace pavix::testsupport
