// Feeds any bytes to the command-line reader as the program's arguments, split at NUL bytes
// (the program's own name first, as the system passes them), then every argument to the
// path rules: the "file://" address reader, the absolute clean path and the start place
// for a folder, a picture, a missing path and something else.

#include "fuzzinput.h"

#include "catalogue/typepatterns.h"
#include "shell/commandline.h"

#include <QStringList>
#include <QUrl>

#include <algorithm>

using namespace pavix;
using shell::CommandLineAction;

namespace {

const QString Version = QStringLiteral("3.0");
const QString HomeFolder = QStringLiteral("/home/ann");

bool isOption(const QString &argument)
{
    return argument.startsWith(u'-') && argument != QStringLiteral("-");
}

// An option's name: a word after one dash or two, as Qt's options are also spelt.
QString optionName(const QString &option)
{
    return option.mid(option.startsWith(QStringLiteral("--")) ? 2 : 1);
}

bool isClean(const QString &path)
{
    if (!path.startsWith(u'/'))
        return false;
    if (path == QStringLiteral("/"))
        return true;
    if (path.endsWith(u'/'))
        return false;
    const QStringList steps = path.mid(1).split(u'/');
    for (const QString &step : steps)
        if (step.isEmpty() || step == QStringLiteral(".") || step == QStringLiteral(".."))
            return false;
    return true;
}

void checkParse(const QStringList &arguments)
{
    const shell::CommandLine line = shell::parseCommandLine(arguments, Version);
    fuzz::require(line.action == CommandLineAction::Start || line.action == CommandLineAction::Print
                      || line.action == CommandLineAction::Fail,
                  "the action is one of three");
    const QStringList given = arguments.mid(1);
    const bool anyOption = std::any_of(given.begin(), given.end(), isOption);
    switch (line.action) {
    case CommandLineAction::Print: {
        fuzz::require(line.output.endsWith(u'\n'), "printed text ends in a newline");
        fuzz::require(line.errors.isEmpty() && line.path.isEmpty(), "printing names no path and no error");
        const bool help = line.output.startsWith(QStringLiteral("Usage: pavix [options] [FOLDER | PICTURE]\n"));
        fuzz::require(help || line.output.startsWith(QStringLiteral("Pavix 3.0\n")),
                      "the usage or the version is printed");
        const QStringList asked = help ? QStringList{QStringLiteral("h"), QStringLiteral("help")}
                                       : QStringList{QStringLiteral("v"), QStringLiteral("version")};
        fuzz::require(std::any_of(given.begin(), given.end(),
                                  [&](const QString &a) { return isOption(a) && asked.contains(optionName(a)); }),
                      "only what was asked for is printed");
        break;
    }
    case CommandLineAction::Fail:
        fuzz::require(anyOption, "only an option can make the line fail");
        fuzz::require(line.errors.size() == 2 && line.errors[0].startsWith(QStringLiteral("pavix: "))
                          && line.errors[1] == QStringLiteral("Try \"pavix --help\" for more information."),
                      "a failure says why and points to --help");
        fuzz::require(line.output.isEmpty() && line.path.isEmpty(), "a failure prints nothing and opens nothing");
        break;
    case CommandLineAction::Start:
        fuzz::require(line.output.isEmpty(), "a start prints nothing");
        for (const QString &error : line.errors)
            fuzz::require(error.startsWith(QStringLiteral("pavix: only one folder or picture is opened; \"")),
                          "a start names only the paths it ignores");
        break;
    }

    // Without options (or after "--") every argument is a path: the first is opened and
    // each of the others is named as ignored.
    const bool dashes = !given.isEmpty() && given.first() == QStringLiteral("--");
    const QStringList paths = dashes ? given.mid(1) : given;
    if (dashes || !anyOption) {
        fuzz::require(line.action == CommandLineAction::Start, "paths alone start the program");
        fuzz::require(line.path == (paths.isEmpty() ? QString() : shell::localPathOf(paths.first())),
                      "the first path is opened");
        fuzz::require(line.errors.size() == std::max<qsizetype>(0, paths.size() - 1), "every other path is named");
        for (qsizetype i = 1; i < paths.size(); ++i)
            fuzz::require(line.errors[i - 1].contains(u'"' + paths[i] + u'"'), "an ignored path is named as given");
    }
}

void checkLocalPath(const QString &argument)
{
    const QString path = shell::localPathOf(argument);
    if (!argument.startsWith(QStringLiteral("file://"), Qt::CaseInsensitive))
        fuzz::require(path == argument, "an argument that is no file:// address is a path as typed");
    if (path != argument) {
        fuzz::require(path.startsWith(u'/'), "a file:// address becomes an absolute path");
        fuzz::require(QUrl(argument).isLocalFile(), "only a local address becomes a path");
    }
    fuzz::require(shell::localPathOf(path) == path, "a path is read as a path once more");
}

void checkStartPlace(const QString &argument, const QString &absolute)
{
    const shell::PathFacts folder{true, true, false};
    const shell::PathFacts file{true, false, true};
    const shell::PathFacts missing{};
    const shell::PathFacts other{true, false, false};
    const QString quoted = u'"' + argument + u'"';

    const shell::StartPlace atMissing = shell::startPlace(argument, absolute, missing);
    fuzz::require(atMissing.folder.isEmpty() && atMissing.picture.isEmpty() && atMissing.error.contains(quoted),
                  "a missing path starts as usual and is named");
    const shell::StartPlace atOther = shell::startPlace(argument, absolute, other);
    fuzz::require(atOther.folder.isEmpty() && atOther.picture.isEmpty() && atOther.error.contains(quoted),
                  "a path that is neither folder nor file starts as usual and is named");

    const shell::StartPlace atFolder = shell::startPlace(argument, absolute, folder);
    if (argument.isEmpty()) {
        fuzz::require(atFolder.folder.isEmpty() && !atFolder.error.isEmpty(), "no path starts as usual");
    } else {
        fuzz::require(atFolder.folder == absolute && atFolder.picture.isEmpty() && atFolder.error.isEmpty(),
                      "a folder is started on");
        fuzz::require(isClean(atFolder.folder), "the start folder is absolute and clean");
    }

    const shell::StartPlace atFile = shell::startPlace(argument, absolute, file);
    fuzz::require(atFile.folder.isEmpty() != atFile.error.isEmpty(), "a start place has a folder or an error");
    if (atFile.error.isEmpty()) {
        fuzz::require(isClean(atFile.folder), "the picture's folder is absolute and clean");
        fuzz::require(!atFile.picture.isEmpty() && !atFile.picture.contains(u'/')
                          && catalogue::pictureTypeOf(atFile.picture).has_value(),
                      "a picture is a name of one of the four types");
        const QString joined = atFile.folder == QStringLiteral("/") ? u'/' + atFile.picture
                                                                    : atFile.folder + u'/' + atFile.picture;
        fuzz::require(joined == absolute, "the folder and the picture make the path");
    } else {
        fuzz::require(atFile.picture.isEmpty() && atFile.error.contains(quoted), "a useless file is named");
    }
}

void checkAbsolutePath(const QString &path, const QString &workingFolder)
{
    const QString absolute = shell::absolutePathOf(path, workingFolder);
    if (path.isEmpty()) {
        fuzz::require(absolute.isEmpty(), "no path stays no path");
        return;
    }
    fuzz::require(isClean(absolute), "a path is made absolute and clean");
    fuzz::require(shell::absolutePathOf(absolute, QStringLiteral("/elsewhere")) == absolute,
                  "a clean absolute path stays as it is");
    if (!path.startsWith(u'/'))
        fuzz::require(absolute == shell::absolutePathOf(workingFolder + u'/' + path, QStringLiteral("/elsewhere")),
                      "a relative path is taken from the working folder");
    checkStartPlace(path, absolute);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QStringList arguments;
    if (size > 0)
        for (const QByteArray &piece : fuzz::bytesOf(data, size).split('\0'))
            arguments << QString::fromUtf8(piece);
    checkParse(arguments);

    // The last absolute argument is the working folder the others are taken from.
    QString workingFolder = HomeFolder;
    for (const QString &argument : arguments)
        if (argument.startsWith(u'/'))
            workingFolder = shell::absolutePathOf(argument, HomeFolder);
    for (const QString &argument : arguments) {
        checkLocalPath(argument);
        checkAbsolutePath(shell::localPathOf(argument), workingFolder);
    }
    return 0;
}
