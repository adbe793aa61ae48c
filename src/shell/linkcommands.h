#pragma once
// The Help menu's commands: the help page, the web and music pages and the About box, all
// handed to the desktop through a link opener. What cannot be opened is told to the user in
// a message box.

#include "about/links.h"
#include "shell/commandtable.h"

#include <QObject>
#include <QPointer>
#include <QUrl>

#include <memory>

class QWidget;

namespace pavix::about {
class AboutBox;
}
namespace pavix::platform {
class LinkOpener;
}

namespace pavix::shell {

// The help page, among the program's data files.
inline const QString HelpPage = QStringLiteral("help/index.html");

class LinkCommands : public QObject {
    Q_OBJECT
public:
    LinkCommands(QWidget *window, double twipsPerPixel);
    ~LinkCommands() override;

    const about::Links &links() const { return m_links; }
    void setLinks(const about::Links &links) { m_links = links; }
    void setLinkOpener(std::unique_ptr<platform::LinkOpener> opener);

    // Runs a command of the Help menu (the help page, the two web pages, About); false for
    // any other command.
    bool run(Command command);

    void showHelp();
    void openLink(const QUrl &address);
    // Shows the About box, modal; aboutBox() is it while it is up.
    void showAbout();
    about::AboutBox *aboutBox() const;

private:
    QWidget *m_window;
    double m_tpp;
    about::Links m_links;
    std::unique_ptr<platform::LinkOpener> m_linkOpener;
    void reportUnopened(const QString &message);
    QPointer<about::AboutBox> m_aboutBox;
};

} // namespace pavix::shell
