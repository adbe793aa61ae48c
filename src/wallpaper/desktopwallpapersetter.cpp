#include "wallpaper/desktopwallpapersetter.h"

#include "platform/pictureservice.h"
#include "platform/plasmashell.h"
#include "platform/runningprograms.h"
#include "platform/timedcall.h"
#include "platform/x11rootbackground.h"
#include "wallpaper/desktopcommands.h"
#include "wallpaper/wallpapermessages.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QSet>

#include <algorithm>

namespace pavix::wallpaper {

namespace {

using platform::HelperResult;

// Time a helper's thread is given beyond its own limit, in which the helper is killed and
// its end read.
constexpr std::chrono::milliseconds HelperEndGrace{2000};
using platform::WallpaperOutcome;

const QString Gsettings = QStringLiteral("gsettings");
const QString XfconfQuery = QStringLiteral("xfconf-query");
const QString PlasmaApply = QStringLiteral("plasma-apply-wallpaperimage");
const QString Hyprctl = QStringLiteral("hyprctl");
const QString Swaybg = QStringLiteral("swaybg");

// A helper that ran past the time the command had left.
HelperResult timedOut()
{
    HelperResult result;
    result.end = HelperResult::End::TimedOut;
    return result;
}

WallpaperOutcome outcome(WallpaperOutcome::State state, const DetectedDesktop &desktop, const QString &detail = {})
{
    return {state, desktop.name, detail};
}

} // namespace

DesktopWallpaperSetter::DesktopWallpaperSetter() = default;

DesktopWallpaperSetter::DesktopWallpaperSetter(const QProcessEnvironment &environment,
                                               const QStringList &runningPrograms)
    : m_environment(environment), m_runningPrograms(runningPrograms)
{
}

QProcessEnvironment DesktopWallpaperSetter::environment() const
{
    return m_environment ? *m_environment : QProcessEnvironment::systemEnvironment();
}

DetectedDesktop DesktopWallpaperSetter::desktop() const
{
    const QProcessEnvironment env = environment();
    SessionFacts facts;
    facts.currentDesktop = env.value(QStringLiteral("XDG_CURRENT_DESKTOP"));
    facts.desktopSession = env.value(QStringLiteral("DESKTOP_SESSION"));
    facts.sessionType = env.value(QStringLiteral("XDG_SESSION_TYPE"));
    facts.waylandDisplay = env.value(QStringLiteral("WAYLAND_DISPLAY"));
    facts.x11Display = env.value(QStringLiteral("DISPLAY"));
    facts.swaySocket = env.value(QStringLiteral("SWAYSOCK"));
    facts.hyprlandInstance = env.value(QStringLiteral("HYPRLAND_INSTANCE_SIGNATURE"));
    // The platform decides only for the session this process runs in.
    if (!m_environment)
        facts.platformName = QGuiApplication::platformName();
    facts.runningPrograms = m_environment ? m_runningPrograms : platform::runningProgramNames();
    return detectDesktop(facts);
}

QString DesktopWallpaperSetter::sessionBusAddress() const
{
    const QProcessEnvironment env = environment();
    const QString address = env.value(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    if (!address.isEmpty())
        return address;
    // Where systemd sessions keep the bus without naming it in the environment.
    const QString runtime = env.value(QStringLiteral("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus")))
        return QStringLiteral("unix:path=") + runtime + QStringLiteral("/bus");
    return QString();
}

template <typename Work>
auto DesktopWallpaperSetter::withinCommand(Work work) const -> std::optional<decltype(work(1))>
{
    const int limitMs = int(std::max<qint64>(m_commandDeadline.remainingTime(), 1));
    return platform::callWithin(
        std::chrono::milliseconds(limitMs) + HelperEndGrace, [work, limitMs] { return work(limitMs); },
        platform::Waiting::KeepingWindowsAlive);
}

platform::WallpaperOutcome DesktopWallpaperSetter::setWallpaper(const QString &path)
{
    m_commandDeadline = QDeadlineTimer(m_timeoutMs);
    const DetectedDesktop found = desktop();
    switch (found.desktop) {
    case Desktop::Gnome:
    case Desktop::Cinnamon:
    case Desktop::Mate:
        return throughSettings(found, path);
    case Desktop::Plasma:
        return throughPlasma(found, path);
    case Desktop::Xfce:
        return throughXfconf(found, path);
    case Desktop::Lxqt:
        return runHelper(QStringLiteral("pcmanfm-qt"), pcmanfmArguments(path), found)
            .value_or(outcome(WallpaperOutcome::State::Set, found));
    case Desktop::Lxde:
        return runHelper(QStringLiteral("pcmanfm"), pcmanfmArguments(path), found)
            .value_or(outcome(WallpaperOutcome::State::Set, found));
    case Desktop::Sway:
        return runHelper(QStringLiteral("swaymsg"), swayArguments(path), found)
            .value_or(outcome(WallpaperOutcome::State::Set, found));
    case Desktop::Hyprland:
        return throughHyprpaper(found, path);
    case Desktop::Swaybg:
        return throughSwaybg(found, path);
    case Desktop::OtherX11:
        return throughRootWindow(found, path);
    case Desktop::Unsupported:
        break;
    }
    return outcome(WallpaperOutcome::State::NoSetter, found, found.wayland ? waylandNoSetterDetail() : QString());
}

std::optional<platform::WallpaperOutcome> DesktopWallpaperSetter::runHelper(const QString &program,
                                                                            const QStringList &arguments,
                                                                            const DetectedDesktop &desktop,
                                                                            HelperResult *result) const
{
    const std::optional<HelperResult> ran = withinCommand([program, arguments, env = environment()](int limitMs) {
        return platform::runHelper(program, arguments, env, limitMs);
    });
    const HelperResult run = ran.value_or(timedOut());
    if (result)
        *result = run;
    switch (run.end) {
    case HelperResult::End::Exited:
        if (run.exitStatus == 0)
            return std::nullopt;
        return outcome(WallpaperOutcome::State::Refused, desktop,
                       helperExitDetail(program, run.exitStatus, run.errorOutput));
    case HelperResult::End::NotFound:
        return outcome(WallpaperOutcome::State::NoSetter, desktop, helperMissingDetail(program));
    case HelperResult::End::NotStarted:
        return outcome(WallpaperOutcome::State::Refused, desktop, helperStartDetail(program, run.startError));
    case HelperResult::End::TimedOut:
        return outcome(WallpaperOutcome::State::Refused, desktop, helperTimeoutDetail(program, m_timeoutMs));
    case HelperResult::End::Flooded:
        return outcome(WallpaperOutcome::State::Refused, desktop, helperFloodDetail(program, run.errorOutput));
    case HelperResult::End::Crashed:
        return outcome(WallpaperOutcome::State::Refused, desktop, helperCrashDetail(program));
    }
    return outcome(WallpaperOutcome::State::Refused, desktop, helperCrashDetail(program));
}

platform::WallpaperOutcome DesktopWallpaperSetter::throughSettings(const DetectedDesktop &desktop,
                                                                   const QString &path) const
{
    const QList<SettingsValue> values = settingsValues(desktop.desktop, path);
    // Keys that only newer versions of a schema have are set where the schema lists them.
    QSet<QString> listedSchemas;
    QString listing;
    for (const SettingsValue &value : values) {
        if (!value.onlyWhenPresent || listedSchemas.contains(value.schema))
            continue;
        HelperResult listed;
        if (auto failure = runHelper(Gsettings, gsettingsListKeysArguments(value.schema), desktop, &listed))
            return *failure;
        listedSchemas.insert(value.schema);
        listing += QString::fromUtf8(listed.output) + u'\n';
    }
    for (const SettingsValue &value : values) {
        if (value.onlyWhenPresent && !listsKey(listing, value.key))
            continue;
        if (auto failure = runHelper(Gsettings, gsettingsSetArguments(value), desktop))
            return *failure;
    }
    return outcome(WallpaperOutcome::State::Set, desktop);
}

platform::WallpaperOutcome DesktopWallpaperSetter::throughXfconf(const DetectedDesktop &desktop,
                                                                 const QString &path) const
{
    HelperResult listed;
    if (auto failure = runHelper(XfconfQuery, xfconfListArguments(), desktop, &listed))
        return *failure;
    const QStringList properties = lastImageProperties(QString::fromUtf8(listed.output));
    if (properties.isEmpty()) {
        return outcome(
            WallpaperOutcome::State::Refused, desktop,
            QCoreApplication::translate("pavix::wallpaper",
                                        "\"xfconf-query\" lists no backdrop picture (no \".../last-image\" property "
                                        "of \"xfce4-desktop\") that Pavix could change."));
    }
    for (const QString &property : properties) {
        if (auto failure = runHelper(XfconfQuery, xfconfSetArguments(property, path), desktop))
            return *failure;
    }
    return outcome(WallpaperOutcome::State::Set, desktop);
}

platform::WallpaperOutcome DesktopWallpaperSetter::throughPlasma(const DetectedDesktop &desktop,
                                                                 const QString &path) const
{
    const QString bus = sessionBusAddress();
    platform::PlasmaAnswer answer{platform::PlasmaAnswer::State::NotRunning,
                                  QCoreApplication::translate("pavix::wallpaper", "there is no session bus")};
    if (!bus.isEmpty())
        answer = withinCommand([script = plasmaScript(path), bus](int limitMs) {
                     return platform::evaluatePlasmaScript(script, bus, limitMs);
                 })
                     .value_or(platform::PlasmaAnswer{
                         platform::PlasmaAnswer::State::Failed,
                         QCoreApplication::translate("pavix::wallpaper", "it did not answer in time")});
    switch (answer.state) {
    case platform::PlasmaAnswer::State::Done:
        return outcome(WallpaperOutcome::State::Set, desktop);
    case platform::PlasmaAnswer::State::Failed:
        return outcome(
            WallpaperOutcome::State::Refused, desktop,
            QCoreApplication::translate("pavix::wallpaper", "The Plasma shell answered: %1").arg(answer.reason));
    case platform::PlasmaAnswer::State::NotRunning:
        break;
    }
    // Without the shell on the bus, Plasma's own tool may still reach it.
    if (platform::findHelper(PlasmaApply, environment()).isEmpty()) {
        return outcome(WallpaperOutcome::State::NoSetter, desktop,
                       QCoreApplication::translate(
                           "pavix::wallpaper", "The Plasma shell cannot be reached (%1), and the program \"%2\" is not "
                                               "installed.")
                           .arg(answer.reason, PlasmaApply));
    }
    return runHelper(PlasmaApply, plasmaApplyArguments(path), desktop)
        .value_or(outcome(WallpaperOutcome::State::Set, desktop));
}

platform::WallpaperOutcome DesktopWallpaperSetter::throughHyprpaper(const DetectedDesktop &desktop,
                                                                    const QString &path) const
{
    const QList<QStringList> requests = hyprpaperRequests(path);
    for (qsizetype i = 0; i < requests.size(); ++i) {
        HelperResult answered;
        const std::optional<Outcome> failure = runHelper(Hyprctl, requests[i], desktop, &answered);
        // Forgetting a picture hyprpaper never read is no failure; a missing hyprctl is.
        const bool mayFail = i == 0 && answered.end == HelperResult::End::Exited;
        if (failure && !mayFail)
            return *failure;
        const QString answer = QString::fromUtf8(answered.output).trimmed();
        if (!mayFail && !hyprpaperAccepted(answer)) {
            const QString reason = firstErrorLine(answer.isEmpty() ? answered.errorOutput : answer);
            return outcome(WallpaperOutcome::State::Refused, desktop,
                           QCoreApplication::translate("pavix::wallpaper", "hyprpaper answered \"%1\" to \"%2\".")
                               .arg(reason.isEmpty() ? QStringLiteral("nothing") : reason, requests[i].join(u' ')));
        }
    }
    return outcome(WallpaperOutcome::State::Set, desktop);
}

platform::WallpaperOutcome DesktopWallpaperSetter::throughSwaybg(const DetectedDesktop &desktop,
                                                                 const QString &path) const
{
    const QProcessEnvironment env = environment();
    const QString program = platform::findHelper(Swaybg, env);
    if (program.isEmpty())
        return outcome(WallpaperOutcome::State::NoSetter, desktop, helperMissingDetail(Swaybg));
    // The swaybg instances drawing the wallpaper now; only in the session this process
    // runs in (a session told in full is not this one).
    const QList<qint64> older = m_environment ? QList<qint64>() : platform::runningProgramIds(Swaybg);
    // swaybg draws for as long as it runs: it outlives Pavix.
    QProcess swaybg;
    swaybg.setProgram(program);
    swaybg.setArguments(swaybgArguments(path));
    swaybg.setProcessEnvironment(env);
    swaybg.setStandardInputFile(QProcess::nullDevice());
    swaybg.setStandardOutputFile(QProcess::nullDevice());
    swaybg.setStandardErrorFile(QProcess::nullDevice());
    if (!swaybg.startDetached())
        return outcome(WallpaperOutcome::State::Refused, desktop, helperStartDetail(Swaybg, swaybg.errorString()));
    // The new one's surface lies above the older ones' until they end.
    for (const qint64 id : older)
        platform::endProgram(id);
    return outcome(WallpaperOutcome::State::Set, desktop);
}

platform::WallpaperOutcome DesktopWallpaperSetter::throughRootWindow(const DetectedDesktop &desktop,
                                                                     const QString &path) const
{
    const common::Result<QImage> picture = platform::loadPicture(path);
    if (!picture)
        return outcome(WallpaperOutcome::State::Refused, desktop, picture.error().message);
    const common::Status set = platform::setRootBackground(picture.value(),
                                                           environment().value(QStringLiteral("DISPLAY")));
    if (!set)
        return outcome(WallpaperOutcome::State::Refused, desktop, set.error().message);
    return outcome(WallpaperOutcome::State::Set, desktop);
}

} // namespace pavix::wallpaper
