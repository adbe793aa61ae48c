#pragma once
// An X server of a test's own: Xvfb on a free display number, stopped when the test ends.

#include "support/serverprocess.h"

namespace pavix::testsupport {

class XvfbServer {
public:
    // Starts Xvfb with one screen of `screen` (width x height x depth, "320x240x24").
    explicit XvfbServer(const QString &screen)
    {
        // Xvfb picks a free display and writes its number to the given descriptor.
        const QString number = m_server.start(QStringLiteral("Xvfb"),
                                              {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                               QStringLiteral("-screen"), QStringLiteral("0"), screen,
                                               QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!number.isEmpty())
            m_display = u':' + number.trimmed();
    }

    // ":N", or "" when the server could not be started (failure() says why).
    QString display() const { return m_display; }
    QString failure() const { return m_server.failure(); }

private:
    ServerProcess m_server;
    QString m_display;
};

} // namespace pavix::testsupport
