#include "shell/commandline.h"

#include "catalogue/typepatterns.h"
#include "common/filename.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDir>
#include <QUrl>

namespace pavix::shell {

namespace {

const QString ProgramName = QStringLiteral("pavix");

// Printed under the version, as GNU programs do.
const QString CopyrightAndLicence =
    QStringLiteral("Copyright (C) 2026 The Pavix developers\n"
                   "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
                   "This is free software: you are free to change and redistribute it.\n"
                   "There is NO WARRANTY, to the extent permitted by law.\n");

// The options every Qt program takes: the GUI's, the X11 platform's and the widgets'.
constexpr const char *QtOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry", "geometry", "qwindowtitle",
    "title",    "qwindowicon",        "icon",          "session", "display",         "name",     "visual",
    "style",    "stylesheet"};
constexpr const char *QtSwitches[] = {"reverse", "widgetcount", "testability", "nograb", "dograb"};

QString quoted(const QString &path)
{
    return u'"' + path + u'"';
}

// The parser names the program after the path it was started by, or a placeholder when
// there is no application object; the usage line always says "pavix".
QString usageNamingProgram(const QString &helpText)
{
    const qsizetype lineEnd = helpText.indexOf(u'\n');
    const qsizetype options = helpText.indexOf(QStringLiteral(" [options]"));
    if (options < 0 || (lineEnd >= 0 && options > lineEnd))
        return helpText;
    return QStringLiteral("Usage: ") + ProgramName + helpText.mid(options);
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments, const QString &version)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Pavix, a picture-tiling browser: browse folders of BMP, JPEG, GIF, ICO,\n"
                       "PNG, WebP and TIFF pictures and see each one repeated edge to edge as a background."));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help and quit."));
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           QStringLiteral("Show the version and quit."));
    parser.addOption(helpOption);
    parser.addOption(versionOption);
    // Qt's own options reach the application object, which applies them; here they are
    // only stepped over, with their values, and left out of the help.
    for (const char *name : QtOptionsWithValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : QtSwitches) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    // "-platform" is one option, as Qt reads it, not eight letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addPositionalArgument(QStringLiteral("PATH"),
                                 QStringLiteral("A folder to start on, or a picture to select and preview in its "
                                                "folder. Without one, Pavix starts on the folder it showed last."),
                                 QStringLiteral("[FOLDER | PICTURE]"));

    CommandLine line;
    // An empty list has no program name for the parser to skip.
    const QStringList withName = arguments.isEmpty() ? QStringList{ProgramName} : arguments;
    if (!parser.parse(withName)) {
        line.action = CommandLineAction::Fail;
        line.errors << ProgramName + QStringLiteral(": ") + parser.errorText()
                    << QStringLiteral("Try \"pavix --help\" for more information.");
        return line;
    }
    if (parser.isSet(helpOption)) {
        line.action = CommandLineAction::Print;
        line.output = usageNamingProgram(parser.helpText());
        return line;
    }
    if (parser.isSet(versionOption)) {
        line.action = CommandLineAction::Print;
        line.output = QStringLiteral("Pavix ") + version + u'\n' + CopyrightAndLicence;
        return line;
    }
    const QStringList paths = parser.positionalArguments();
    if (!paths.isEmpty()) {
        line.path = localPathOf(paths.first());
        for (qsizetype i = 1; i < paths.size(); ++i)
            line.errors << ProgramName + QStringLiteral(": only one folder or picture is opened; ") + quoted(paths[i])
                               + QStringLiteral(" is ignored.");
    }
    return line;
}

QString localPathOf(const QString &argument)
{
    if (!argument.startsWith(QStringLiteral("file://"), Qt::CaseInsensitive))
        return argument;
    QUrl address(argument, QUrl::StrictMode);
    if (!address.isValid() || !address.isLocalFile())
        return argument;
    // "localhost" is this machine; another machine's file is not a path here.
    if (address.host() == QStringLiteral("localhost"))
        address.setHost(QString());
    if (!address.host().isEmpty())
        return argument;
    // The path's bytes as the URI encodes them: a name that is not UTF-8 keeps its bytes.
    const QString path =
        common::decodeFileName(QByteArray::fromPercentEncoding(address.path(QUrl::FullyEncoded).toLatin1()));
    return path.isEmpty() ? argument : path;
}

QString absolutePathOf(const QString &path, const QString &workingFolder)
{
    if (path.isEmpty())
        return QString();
    QString clean = QDir::cleanPath(path.startsWith(u'/') ? path : workingFolder + u'/' + path);
    // Qt keeps the ".." steps that climb above the root ("/../pics"); the root's parent is
    // the root itself.
    while (clean.startsWith(QStringLiteral("/..")) && (clean.size() == 3 || clean.at(3) == u'/'))
        clean.remove(0, 3);
    return clean.isEmpty() ? QStringLiteral("/") : clean;
}

StartPlace startPlace(const QString &argument, const QString &absolutePath, const PathFacts &facts)
{
    const QString startsAsUsual = QStringLiteral("; Pavix starts on its last folder.");
    StartPlace place;
    if (!facts.exists || argument.isEmpty()) {
        place.error = ProgramName + QStringLiteral(": ") + quoted(argument) + QStringLiteral(" does not exist")
                      + startsAsUsual;
        return place;
    }
    if (facts.isFolder) {
        place.folder = absolutePath;
        return place;
    }
    const qsizetype slash = absolutePath.lastIndexOf(u'/');
    const QString name = absolutePath.mid(slash + 1);
    if (!facts.isFile || slash < 0 || !catalogue::pictureTypeOf(name)) {
        place.error = ProgramName + QStringLiteral(": ") + quoted(argument)
                      + QStringLiteral(" is neither a folder nor a BMP, JPEG, GIF, ICO, PNG, WebP or TIFF picture")
                      + startsAsUsual;
        return place;
    }
    // A picture in the root folder keeps the root's "/".
    place.folder = slash == 0 ? QStringLiteral("/") : absolutePath.left(slash);
    place.picture = name;
    return place;
}

} // namespace pavix::shell
