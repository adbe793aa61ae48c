#include "platform/plasmashell.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>

namespace pavix::platform {

namespace {

const QString PlasmaService = QStringLiteral("org.kde.plasmashell");

// A connection of its own for each call, closed afterwards, so a bus named by the caller
// is never mixed up with the session bus Qt keeps.
class BusConnection {
public:
    explicit BusConnection(const QString &address)
        : m_name(QStringLiteral("pavix-plasma-%1").arg(s_count.fetchAndAddRelaxed(1))),
          m_connection(address.isEmpty() ? QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_name)
                                         : QDBusConnection::connectToBus(address, m_name))
    {
    }
    ~BusConnection() { QDBusConnection::disconnectFromBus(m_name); }
    QDBusConnection &operator*() { return m_connection; }
    QDBusConnection *operator->() { return &m_connection; }

private:
    static inline QAtomicInt s_count;
    QString m_name;
    QDBusConnection m_connection;
};

} // namespace

PlasmaAnswer evaluatePlasmaScript(const QString &script, const QString &busAddress, int timeoutMs)
{
    BusConnection bus(busAddress);
    if (!bus->isConnected()) {
        const QString reason = bus->lastError().isValid()
                                   ? bus->lastError().message()
                                   : QCoreApplication::translate("pavix::platform", "there is no session bus");
        return {PlasmaAnswer::State::NotRunning, reason};
    }
    QDBusConnectionInterface *names = bus->interface();
    if (!names || !names->isServiceRegistered(PlasmaService).value())
        return {PlasmaAnswer::State::NotRunning,
                QCoreApplication::translate("pavix::platform", "no Plasma shell is running on the session bus")};

    QDBusMessage call = QDBusMessage::createMethodCall(PlasmaService, QStringLiteral("/PlasmaShell"),
                                                       QStringLiteral("org.kde.PlasmaShell"),
                                                       QStringLiteral("evaluateScript"));
    call << script;
    const QDBusMessage reply = bus->call(call, QDBus::Block, timeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        const QString message = reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
        return {PlasmaAnswer::State::Failed, message};
    }
    return {PlasmaAnswer::State::Done, QString()};
}

} // namespace pavix::platform
