// Stands in for the Plasma shell in tests: owns org.kde.plasmashell on the session bus that
// DBUS_SESSION_BUS_ADDRESS names and answers evaluateScript on /PlasmaShell. Each script
// it is given is appended to the file named by its first argument, followed by a record
// separator (036); with a second argument it refuses every script with that message.
// It writes "ready" once it owns its name.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QFile>

#include <cstdio>

class FakePlasmaShell : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.PlasmaShell")
public:
    FakePlasmaShell(const QString &log, const QString &refusal) : m_log(log), m_refusal(refusal) {}

public slots:
    void evaluateScript(const QString &script)
    {
        QFile log(m_log);
        if (log.open(QIODevice::Append)) {
            log.write(script.toUtf8());
            log.write("\036");
        }
        if (!m_refusal.isEmpty())
            sendErrorReply(QDBusError::Failed, m_refusal);
    }

private:
    QString m_log;
    QString m_refusal;
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2)
        return 2;
    FakePlasmaShell shell(arguments[1], arguments.size() > 2 ? arguments[2] : QString());
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/PlasmaShell"), &shell, QDBusConnection::ExportAllSlots)
        || !bus.registerService(QStringLiteral("org.kde.plasmashell")))
        return 1;
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
}

#include "fakeplasmashell.moc"
