#include "shell/commandline.h"

#include "support/printers.h"

#include <gtest/gtest.h>

using namespace pavix::shell;

namespace {

CommandLine parse(const QStringList &arguments)
{
    return parseCommandLine(QStringList{QStringLiteral("/opt/bin/pavix")} + arguments, QStringLiteral("3.0"));
}

PathFacts folder()
{
    return {true, true, false};
}
PathFacts file()
{
    return {true, false, true};
}
PathFacts missing()
{
    return {};
}

} // namespace

TEST(CommandLine, HelpAndVersionArePrintedAndWinOverAPath)
{
    for (const QString &option : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        const CommandLine line = parse({QStringLiteral("/pics"), option});
        EXPECT_EQ(line.action, CommandLineAction::Print) << qPrintable(option);
        // The usage line names the program, not the path it was started by.
        EXPECT_TRUE(line.output.startsWith(QStringLiteral("Usage: pavix [options] [FOLDER | PICTURE]\n")))
            << qPrintable(line.output);
        EXPECT_TRUE(line.output.contains(QStringLiteral("--version"))) << qPrintable(line.output);
        EXPECT_TRUE(line.output.endsWith(u'\n'));
        EXPECT_TRUE(line.errors.isEmpty());
    }
    // The version, then the copyright and the licence, as GNU programs print them.
    for (const QString &option : {QStringLiteral("--version"), QStringLiteral("-v")}) {
        const CommandLine line = parse({option});
        EXPECT_EQ(line.action, CommandLineAction::Print);
        const QStringList lines = line.output.split(u'\n');
        ASSERT_GE(lines.size(), 3) << qPrintable(line.output);
        EXPECT_EQ(lines.first(), QStringLiteral("Pavix 3.0"));
        EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Copyright (C) "))) << qPrintable(lines[1]);
        EXPECT_TRUE(line.output.contains(QStringLiteral("GNU GPL version 3 or later"))) << qPrintable(line.output);
        EXPECT_TRUE(line.output.endsWith(QStringLiteral(".\n")));
    }
    // Help before version when both are asked for.
    EXPECT_TRUE(parse({QStringLiteral("-v"), QStringLiteral("-h")}).output.startsWith(QStringLiteral("Usage: pavix")));
    // Qt's own options are no business of the help text.
    EXPECT_FALSE(parse({QStringLiteral("-h")}).output.contains(QStringLiteral("platform")));
}

TEST(CommandLine, QtsOwnOptionsArePassedOverWithTheirValues)
{
    CommandLine line = parse({QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("/pics"),
                              QStringLiteral("-style=fusion"), QStringLiteral("--reverse")});
    EXPECT_EQ(line.action, CommandLineAction::Start);
    EXPECT_EQ(line.path, QStringLiteral("/pics"));
    EXPECT_TRUE(line.errors.isEmpty());

    line = parse({QStringLiteral("-display"), QStringLiteral(":3"), QStringLiteral("--version")});
    EXPECT_EQ(line.action, CommandLineAction::Print);
    EXPECT_TRUE(line.output.startsWith(QStringLiteral("Pavix 3.0\n"))) << qPrintable(line.output);

    // Letters run together are one unknown word, not -v and -h.
    line = parse({QStringLiteral("-vh")});
    EXPECT_EQ(line.action, CommandLineAction::Fail);
    EXPECT_EQ(line.errors.value(0), QStringLiteral("pavix: Unknown option 'vh'."));
    // A Qt option without its value is refused, not given the path.
    line = parse({QStringLiteral("/pics"), QStringLiteral("-platform")});
    EXPECT_EQ(line.action, CommandLineAction::Fail);
}

TEST(CommandLine, AnUnknownOptionFailsAndPointsToHelp)
{
    const CommandLine line = parse({QStringLiteral("--tile"), QStringLiteral("/pics")});
    EXPECT_EQ(line.action, CommandLineAction::Fail);
    ASSERT_EQ(line.errors.size(), 2);
    EXPECT_EQ(line.errors[0], QStringLiteral("pavix: Unknown option 'tile'."));
    EXPECT_EQ(line.errors[1], QStringLiteral("Try \"pavix --help\" for more information."));
    EXPECT_TRUE(line.output.isEmpty());
    EXPECT_TRUE(line.path.isEmpty());
}

TEST(CommandLine, OnePathIsTakenAndTheRestAreNamedAndIgnored)
{
    EXPECT_EQ(parse({}).action, CommandLineAction::Start);
    EXPECT_TRUE(parse({}).path.isEmpty());
    EXPECT_TRUE(parse({}).errors.isEmpty());
    // Even an empty list (no program name) starts as usual.
    EXPECT_EQ(parseCommandLine({}, QStringLiteral("3.0")).action, CommandLineAction::Start);

    const CommandLine line = parse({QStringLiteral("a b.jpg"), QStringLiteral("second"), QStringLiteral("third")});
    EXPECT_EQ(line.action, CommandLineAction::Start);
    EXPECT_EQ(line.path, QStringLiteral("a b.jpg"));
    EXPECT_EQ(line.errors,
              (QStringList{QStringLiteral("pavix: only one folder or picture is opened; \"second\" is ignored."),
                           QStringLiteral("pavix: only one folder or picture is opened; \"third\" is ignored.")}));

    // "--" lets a path start with a dash.
    const CommandLine dashed = parse({QStringLiteral("--"), QStringLiteral("-leading-dash.bmp")});
    EXPECT_EQ(dashed.action, CommandLineAction::Start);
    EXPECT_EQ(dashed.path, QStringLiteral("-leading-dash.bmp"));
}

TEST(CommandLine, LocalFileAddressesBecomePaths)
{
    EXPECT_EQ(localPathOf(QStringLiteral("file:///pics/a%20b.jpg")), QStringLiteral("/pics/a b.jpg"));
    EXPECT_EQ(localPathOf(QStringLiteral("FILE:///pics/")), QStringLiteral("/pics/"));
    EXPECT_EQ(parse({QStringLiteral("file:///pics/semi%3Bcolon.bmp")}).path, QStringLiteral("/pics/semi;colon.bmp"));
    // The address's bytes are the name's: UTF-8 as its characters, a Latin-1 byte kept.
    EXPECT_EQ(localPathOf(QStringLiteral("file:///pics/caf%C3%A9.bmp")), QString::fromUtf16(u"/pics/caf\u00e9.bmp"));
    EXPECT_EQ(localPathOf(QStringLiteral("file:///pics/caf%E9.bmp")),
              QStringLiteral("/pics/caf") + QChar(0xdce9) + QStringLiteral(".bmp"));
    // Anything else is a path as typed, even when it looks like an address.
    EXPECT_EQ(localPathOf(QStringLiteral("file:name.bmp")), QStringLiteral("file:name.bmp"));
    EXPECT_EQ(localPathOf(QStringLiteral("file://localhost/pics/a.bmp")), QStringLiteral("/pics/a.bmp"));
    EXPECT_EQ(localPathOf(QStringLiteral("file://otherhost/a.bmp")), QStringLiteral("file://otherhost/a.bmp"));
    EXPECT_EQ(localPathOf(QStringLiteral("https://pavix.example.org/a.jpg")),
              QStringLiteral("https://pavix.example.org/a.jpg"));
    EXPECT_EQ(localPathOf(QStringLiteral("photo%20one.jpg")), QStringLiteral("photo%20one.jpg"));
    EXPECT_EQ(localPathOf(QString()), QString());
}

TEST(CommandLine, PathsAreMadeAbsoluteAndClean)
{
    const QString home = QStringLiteral("/home/ann");
    EXPECT_EQ(absolutePathOf(QStringLiteral("pics"), home), QStringLiteral("/home/ann/pics"));
    EXPECT_EQ(absolutePathOf(QStringLiteral("./pics/../tiles//a.bmp"), home), QStringLiteral("/home/ann/tiles/a.bmp"));
    EXPECT_EQ(absolutePathOf(QStringLiteral("."), home), home);
    EXPECT_EQ(absolutePathOf(QStringLiteral("pics/"), home), QStringLiteral("/home/ann/pics"));
    EXPECT_EQ(absolutePathOf(QStringLiteral("/srv/pics/"), home), QStringLiteral("/srv/pics"));
    EXPECT_EQ(absolutePathOf(QStringLiteral("../.."), home), QStringLiteral("/"));
    EXPECT_EQ(absolutePathOf(QStringLiteral("/"), home), QStringLiteral("/"));
    // No path is not the working folder.
    EXPECT_EQ(absolutePathOf(QString(), home), QString());
}

TEST(CommandLine, StepsAboveTheRootStayAtTheRoot)
{
    // The root's parent is the root itself: no ".." is left in front of the path.
    const QString home = QStringLiteral("/home/ann");
    EXPECT_EQ(absolutePathOf(QStringLiteral("../../.."), home), QStringLiteral("/"));
    EXPECT_EQ(absolutePathOf(QStringLiteral("/.."), home), QStringLiteral("/"));
    EXPECT_EQ(absolutePathOf(QStringLiteral("/../pics"), home), QStringLiteral("/pics"));
    EXPECT_EQ(absolutePathOf(QStringLiteral("../../../../srv/./tiles/"), home), QStringLiteral("/srv/tiles"));
    EXPECT_EQ(absolutePathOf(QStringLiteral("/../..a/b"), home), QStringLiteral("/..a/b")) << "a name, not a step";
    EXPECT_EQ(absolutePathOf(QStringLiteral("/.../.."), home), QStringLiteral("/"));
}

TEST(CommandLine, AFolderOrAPictureGivesThePlaceToStart)
{
    StartPlace place = startPlace(QStringLiteral("pics"), QStringLiteral("/home/ann/pics"), folder());
    EXPECT_EQ(place.folder, QStringLiteral("/home/ann/pics"));
    EXPECT_TRUE(place.picture.isEmpty());
    EXPECT_TRUE(place.error.isEmpty());

    // A folder is a folder whatever its name says.
    place = startPlace(QStringLiteral("x.jpg"), QStringLiteral("/home/ann/x.jpg"), folder());
    EXPECT_EQ(place.folder, QStringLiteral("/home/ann/x.jpg"));
    EXPECT_TRUE(place.picture.isEmpty());

    // Each of the types, by its extension in any case.
    for (const QString &name :
         {QStringLiteral("a.bmp"), QStringLiteral("B.JPG"), QStringLiteral("c.jpeg"), QStringLiteral("d.Gif"),
          QStringLiteral("e.ico"), QStringLiteral("semi;colon.bmp"), QStringLiteral("tile.png"),
          QStringLiteral("Saved.WEBP"), QStringLiteral("scan.tif"), QStringLiteral("scan.tiff")}) {
        place = startPlace(name, QStringLiteral("/home/ann/") + name, file());
        EXPECT_EQ(place.folder, QStringLiteral("/home/ann")) << qPrintable(name);
        EXPECT_EQ(place.picture, name);
        EXPECT_TRUE(place.error.isEmpty()) << qPrintable(place.error);
    }

    // A picture in the root folder starts on "/".
    place = startPlace(QStringLiteral("/a.gif"), QStringLiteral("/a.gif"), file());
    EXPECT_EQ(place.folder, QStringLiteral("/"));
    EXPECT_EQ(place.picture, QStringLiteral("a.gif"));
}

TEST(CommandLine, AUselessPathIsNamedAndStartsAsUsual)
{
    StartPlace place = startPlace(QStringLiteral("gone"), QStringLiteral("/home/ann/gone"), missing());
    EXPECT_TRUE(place.folder.isEmpty());
    EXPECT_TRUE(place.picture.isEmpty());
    EXPECT_EQ(place.error, QStringLiteral("pavix: \"gone\" does not exist; Pavix starts on its last folder."));

    place = startPlace(QString(), QString(), missing());
    EXPECT_TRUE(place.folder.isEmpty());
    EXPECT_EQ(place.error, QStringLiteral("pavix: \"\" does not exist; Pavix starts on its last folder."));

    // Files of other types, names that only end like a type, and files that are not
    // regular files (a pipe named like a picture).
    const QString notAPicture =
        QStringLiteral(" is neither a folder nor a BMP, JPEG, GIF, ICO, PNG, WebP or TIFF picture; "
                       "Pavix starts on its last folder.");
    for (const QString &name : {QStringLiteral("notes.txt"), QStringLiteral("photo.heic"), QStringLiteral("bmp"),
                                QStringLiteral("archive.bmp.gz"), QStringLiteral("a.jpg~"), QStringLiteral(".bmp.")}) {
        place = startPlace(name, QStringLiteral("/home/ann/") + name, file());
        EXPECT_TRUE(place.folder.isEmpty()) << qPrintable(name);
        EXPECT_TRUE(place.picture.isEmpty()) << qPrintable(name);
        EXPECT_EQ(place.error, QStringLiteral("pavix: \"") + name + u'"' + notAPicture);
    }
    place = startPlace(QStringLiteral("fifo.bmp"), QStringLiteral("/home/ann/fifo.bmp"), {true, false, false});
    EXPECT_TRUE(place.folder.isEmpty());
    EXPECT_EQ(place.error, QStringLiteral("pavix: \"fifo.bmp\"") + notAPicture);
}
