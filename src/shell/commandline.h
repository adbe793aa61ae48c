#pragma once
// The command line `pavix [FOLDER | PICTURE]`, `pavix --help` and `pavix --version`:
// what it asks for and where the program starts. Only the argument texts are read here;
// whether a path exists and what it is reaches startPlace() as PathFacts, which the caller
// reads from the file system.

#include <QString>
#include <QStringList>

namespace pavix::shell {

enum class CommandLineAction {
    Start, // start the program (on `path` when one was given)
    Print, // write `output` to standard output and end with exit code 0
    Fail,  // write `errors` to standard error and end with exit code 1
};

struct CommandLine {
    CommandLineAction action = CommandLineAction::Start;
    // The folder or picture named, as typed (a "file://" address already made a path); ""
    // when none was given.
    QString path;
    // The usage or version text for standard output (Print), ending in a newline.
    QString output;
    // Lines for standard error: why the line was refused (Fail), or which arguments were
    // left unused (Start).
    QStringList errors;
};

// Reads the program's arguments, its own name first. "--help"/"-h" print the usage,
// "--version"/"-v" print "Pavix <version>" and, below it, the copyright and the licence
// (GPL version 3 or later). Qt's own options ("-platform offscreen",
// "-style fusion", ...) are passed over with their values, for the application object to
// apply. Any other option fails with a pointer to --help. Only the first path is used; the
// others are named in `errors` and ignored. "--" ends the options, so a path may start
// with "-".
CommandLine parseCommandLine(const QStringList &arguments, const QString &version);

// A path given by a launcher as a local "file://" address ("file:///pics/a%20b.jpg"), as a
// path ("/pics/a b.jpg"); any other argument unchanged ("file:a.bmp" may be a file's name).
QString localPathOf(const QString &argument);

// `path` made absolute against `workingFolder` (itself absolute) and cleaned: no "." or
// ".." parts, no doubled "/", no trailing "/" except the root's. "" stays "".
QString absolutePathOf(const QString &path, const QString &workingFolder);

// What the file system says about the path given.
struct PathFacts {
    bool exists = false;
    bool isFolder = false;
    // A regular file (or a link to one).
    bool isFile = false;
};

// Where to start for the path given.
struct StartPlace {
    // The folder to start on, absolute, without a trailing "/" except the root "/"; ""
    // to start on the remembered folder as usual.
    QString folder;
    // The name of the picture in `folder` to select and preview; "" for none.
    QString picture;
    // Why the path was of no use, for standard error; "" when it was.
    QString error;
};

// The start place for `argument` as typed, whose clean absolute form is `absolutePath`:
// a folder starts there; a picture of the four types (by its name) starts on its folder
// with it selected; a missing path (or ""), or anything else, starts as usual with an
// error naming the path.
StartPlace startPlace(const QString &argument, const QString &absolutePath, const PathFacts &facts);

} // namespace pavix::shell
