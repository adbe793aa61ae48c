#include "wallpaper/wallpapermessages.h"

#include <QCoreApplication>
#include <QStringList>

namespace pavix::wallpaper {

namespace {

constexpr int LongestErrorLine = 300;

QString quoted(const QString &text)
{
    return QCoreApplication::translate("pavix::wallpaper", "\"%1\"").arg(text);
}

} // namespace

QString bitmapNotWrittenMessage(const QString &path, const QString &reason)
{
    return QCoreApplication::translate(
               "pavix::wallpaper",
               "The wallpaper was not changed: the picture could not be saved as the bitmap %1.\n\n%2")
        .arg(quoted(path), reason);
}

QString noSetterMessage(const QString &desktop, const QString &detail, const QString &path)
{
    QString text =
        QCoreApplication::translate("pavix::wallpaper",
                                    "The wallpaper was not changed: Pavix has no way to set the wallpaper on this "
                                    "desktop (%1).")
            .arg(desktop);
    if (!detail.isEmpty())
        text += u' ' + detail;
    return text
           + QCoreApplication::translate("pavix::wallpaper",
                                         "\n\nThe picture was saved as %1; you can make it the wallpaper in your "
                                         "desktop's settings.")
                 .arg(quoted(path));
}

QString refusedMessage(const QString &desktop, const QString &detail)
{
    return QCoreApplication::translate("pavix::wallpaper",
                                       "The wallpaper was not changed: the desktop (%1) refused it.\n\n%2")
        .arg(desktop, detail);
}

QString firstErrorLine(const QString &errorOutput)
{
    const QStringList lines = errorOutput.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QString text = line.trimmed();
        if (!text.isEmpty())
            return text.size() > LongestErrorLine ? text.left(LongestErrorLine) + QStringLiteral("…") : text;
    }
    return QString();
}

QString helperExitDetail(const QString &program, int exitStatus, const QString &errorOutput)
{
    const QString line = firstErrorLine(errorOutput);
    if (line.isEmpty())
        return QCoreApplication::translate("pavix::wallpaper", "%1 ended with exit status %2 and gave no reason.")
            .arg(quoted(program), QString::number(exitStatus));
    return QCoreApplication::translate("pavix::wallpaper", "%1 ended with exit status %2: %3")
        .arg(quoted(program), QString::number(exitStatus), line);
}

QString helperTimeoutDetail(const QString &program, int timeoutMs)
{
    return QCoreApplication::translate("pavix::wallpaper", "%1 did not finish within %2 seconds and was stopped.")
        .arg(quoted(program), QString::number(timeoutMs / 1000.0));
}

QString helperFloodDetail(const QString &program, const QString &errorOutput)
{
    const QString line = firstErrorLine(errorOutput);
    if (line.isEmpty())
        return QCoreApplication::translate("pavix::wallpaper", "%1 wrote too much output and was stopped.")
            .arg(quoted(program));
    return QCoreApplication::translate("pavix::wallpaper", "%1 wrote too much output and was stopped: %2")
        .arg(quoted(program), line);
}

QString helperCrashDetail(const QString &program)
{
    return QCoreApplication::translate("pavix::wallpaper", "%1 stopped unexpectedly.").arg(quoted(program));
}

QString helperStartDetail(const QString &program, const QString &reason)
{
    return QCoreApplication::translate("pavix::wallpaper", "%1 could not be started: %2").arg(quoted(program), reason);
}

QString helperMissingDetail(const QString &program)
{
    return QCoreApplication::translate("pavix::wallpaper", "It needs the program %1, which is not installed.")
        .arg(quoted(program));
}

QString waylandNoSetterDetail()
{
    return QCoreApplication::translate(
        "pavix::wallpaper", "A Wayland program cannot set the wallpaper by itself: Pavix tells GNOME, KDE "
                            "Plasma, sway, Hyprland (through hyprpaper) and the compositors that run swaybg.");
}

} // namespace pavix::wallpaper
