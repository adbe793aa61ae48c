#include "wallpaper/wallpapercommand.h"

#include "browser/browser.h"
#include "browser/texts.h"
#include "platform/clipboard.h"
#include "platform/datafolder.h"
#include "platform/pictureservice.h"
#include "platform/wallpapersetter.h"
#include "wallpaper/wallpapermessages.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>

namespace pavix::wallpaper {

namespace {

// Whether two paths name one folder, however they are spelt.
bool sameFolder(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    if (QDir::cleanPath(a) == QDir::cleanPath(b))
        return true;
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

// The wait cursor while the picture is written and handed over; gone before any message.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { restore(); }
    void restore()
    {
        if (m_shown)
            QGuiApplication::restoreOverrideCursor();
        m_shown = false;
    }

private:
    bool m_shown = true;
};

} // namespace

WallpaperCommand::WallpaperCommand(browser::Browser &browser, platform::WallpaperSetter &setter, QWidget *window)
    : QObject(window), m_browser(browser), m_setter(setter), m_window(window)
{
    setObjectName(QStringLiteral("wallpaperCommand"));
}

void WallpaperCommand::showNotice(const QString &text)
{
    QMessageBox::information(m_window, browser::AppTitle, text, QMessageBox::Ok);
}

void WallpaperCommand::showFailure(const QString &text)
{
    QMessageBox::warning(m_window, browser::AppTitle, text, QMessageBox::Ok);
}

WallpaperCommand::Result WallpaperCommand::run()
{
    // A folder chosen in the browse dialog keeps the file's name but not its picture:
    // there is nothing to install then either.
    if (m_browser.currentFile().isEmpty() || m_browser.picture().isNull()) {
        showNotice(nothingSelectedMessage());
        return Result::NothingSelected;
    }
    const QImage picture = m_browser.picture();
    WaitCursor waitCursor;

    // Pasting in another program gives the picture too.
    platform::putPictureOnClipboard(picture);

    const common::Result<QString> folder = platform::makeDataFolder();
    const QString path = (folder ? folder.value() : platform::dataFolderPath()) + u'/' + WallpaperFileName;
    const common::Status saved = folder ? platform::saveBitmap(picture, path) : common::Status(folder.error());
    if (!saved) {
        waitCursor.restore();
        showFailure(bitmapNotWrittenMessage(path, saved.error().message));
        return Result::NotWritten;
    }

    const platform::WallpaperOutcome outcome = m_setter.setWallpaper(path);
    // The listing of Pavix's data folder now lacks the new or changed file.
    if (sameFolder(folder.value(), m_browser.folder()))
        emit listedFolderChanged();
    waitCursor.restore();
    switch (outcome.state) {
    case platform::WallpaperOutcome::State::Set:
        return Result::Set;
    case platform::WallpaperOutcome::State::NoSetter:
        showFailure(noSetterMessage(outcome.desktop, outcome.detail, path));
        return Result::NotSet;
    case platform::WallpaperOutcome::State::Refused:
        showFailure(refusedMessage(outcome.desktop, outcome.detail));
        return Result::NotSet;
    }
    return Result::NotSet;
}

} // namespace pavix::wallpaper
