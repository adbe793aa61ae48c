#pragma once
// The program's four web and mail addresses, kept in one place. The settings file may
// override each in its [Links] group, read at start-up and never written by the program.

#include <QCoreApplication>
#include <QLatin1StringView>
#include <QString>
#include <QUrl>

namespace pavix::about {

struct Links {
    QUrl homePage{QStringLiteral("https://pavix.example.org/")};
    QUrl homePageIndex{QStringLiteral("https://pavix.example.org/index.html")};
    QUrl musicPage{QStringLiteral("https://pavix.example.org/music.html")};
    QString contactMail = QStringLiteral("pavix@example.org");

    // The mail link the About box opens: "mailto:" and the address.
    QUrl mailLink() const { return QUrl(QStringLiteral("mailto:") + contactMail); }
};

// What the user is told when the desktop could not open a page or address.
inline QString unopenedMessage(const QString &address)
{
    return QCoreApplication::translate("pavix::about", "The desktop could not open %1.").arg(address);
}

inline constexpr QLatin1StringView SectionLinks{"Links"};
inline constexpr QLatin1StringView KeyHomePage{"HomePage"};
inline constexpr QLatin1StringView KeyHomePageIndex{"HomePageIndex"};
inline constexpr QLatin1StringView KeyMusicPage{"MusicPage"};
inline constexpr QLatin1StringView KeyContactMail{"ContactMail"};

} // namespace pavix::about
