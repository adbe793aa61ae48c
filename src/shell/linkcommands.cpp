#include "shell/linkcommands.h"

#include "about/aboutbox.h"
#include "browser/texts.h"
#include "platform/linkopener.h"
#include "platform/translations.h"

#include <QMessageBox>

namespace pavix::shell {

LinkCommands::LinkCommands(QWidget *window, double twipsPerPixel)
    : QObject(window),
      m_window(window),
      m_tpp(twipsPerPixel),
      m_linkOpener(std::make_unique<platform::DesktopLinkOpener>())
{
    setObjectName(QStringLiteral("linkCommands"));
}

LinkCommands::~LinkCommands() = default;

void LinkCommands::setLinkOpener(std::unique_ptr<platform::LinkOpener> opener)
{
    m_linkOpener = std::move(opener);
}

void LinkCommands::reportUnopened(const QString &message)
{
    QMessageBox::warning(m_window, browser::AppTitle, message, QMessageBox::Ok);
}

void LinkCommands::openLink(const QUrl &address)
{
    if (!m_linkOpener->open(address))
        reportUnopened(about::unopenedMessage(address.toString()));
}

bool LinkCommands::run(Command command)
{
    switch (command) {
    case Command::HelpContents:
        showHelp();
        return true;
    case Command::MusicPage:
        openLink(m_links.musicPage);
        return true;
    case Command::WebPage:
        openLink(m_links.homePage);
        return true;
    case Command::About:
        showAbout();
        return true;
    default:
        return false;
    }
}

void LinkCommands::showHelp()
{
    // The help page in the language of the menus when there is one.
    const QString page = platform::findTranslatedDataFile(HelpPage);
    if (page.isEmpty()) {
        reportUnopened(tr("The help page %1 cannot be found beside the program or in its data folder.").arg(HelpPage));

        return;
    }
    openLink(QUrl::fromLocalFile(page));
}

about::AboutBox *LinkCommands::aboutBox() const
{
    return m_aboutBox;
}

void LinkCommands::showAbout()
{
    about::AboutBox box(m_links, *m_linkOpener, m_tpp, m_window);
    m_aboutBox = &box;
    box.exec();
}

} // namespace pavix::shell
