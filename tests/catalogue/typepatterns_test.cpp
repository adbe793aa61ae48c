#include "catalogue/typepatterns.h"

#include <gtest/gtest.h>

using namespace pavix::catalogue;

namespace {

// Whether a file name matches a ";"-separated pattern, as the file list decides it.
bool matchesFilePattern(const QString &pattern, const QString &fileName)
{
    return matchesAnyElement(patternElements(pattern), fileName);
}


// Values of a settings file written before PNG, WebP and TIFF were known.
TypePatterns firstFour(const QString &bmp, const QString &jpg, const QString &gif, const QString &ico)
{
    return TypePatterns{bmp, jpg, gif, ico, {}, {}, {}};
}

TypePatterns onlyGif()
{
    return firstFour(DisabledPattern, DisabledPattern, GifEnabled, DisabledPattern);
}

TypePatterns allFour()
{
    return TypePatterns{BmpEnabled,      JpgEnabled,      GifEnabled,     IcoEnabled,
                        DisabledPattern, DisabledPattern, DisabledPattern};
}

TypePatterns allSeven()
{
    return TypePatterns{BmpEnabled, JpgEnabled, GifEnabled, IcoEnabled, PngEnabled, WebpEnabled, TiffEnabled};
}

} // namespace

TEST(TypePatterns, ATypeIsEnabledOnlyByItsExactValue)
{
    TypePatterns patterns = firstFour(QStringLiteral("*.bmp;"), QString(), QStringLiteral("&;"),
                                      QStringLiteral("*.ICO;"));
    EXPECT_TRUE(typeEnabled(patterns, PictureType::Bmp));
    EXPECT_FALSE(typeEnabled(patterns, PictureType::Jpg)); // never stored
    EXPECT_FALSE(typeEnabled(patterns, PictureType::Gif)); // disabled
    EXPECT_FALSE(typeEnabled(patterns, PictureType::Ico)); // case differs
    patterns.jpgPattern = QStringLiteral("*.jpg;*.jpeg;"); // right extensions, wrong order
    EXPECT_FALSE(typeEnabled(patterns, PictureType::Jpg));

    setTypeEnabled(patterns, PictureType::Jpg, true);
    setTypeEnabled(patterns, PictureType::Bmp, false);
    EXPECT_EQ(patterns.jpgPattern, QStringLiteral("*.jpeg;*.jpg;"));
    EXPECT_EQ(patterns.bmpPattern, QStringLiteral("&;"));
    EXPECT_EQ(patterns.gifPattern, QStringLiteral("&;"));
}

TEST(TypePatterns, SearchingTextNamesTheEnabledTypesGifBeforeJpeg)
{
    EXPECT_EQ(searchingText(typeTextsFor(allFour())), QStringLiteral("Searching for *.bmp *.gif *.jpeg *.ico  files."));
    const TypePatterns bmpAndIco = firstFour(BmpEnabled, DisabledPattern, DisabledPattern, IcoEnabled);
    EXPECT_EQ(searchingText(typeTextsFor(bmpAndIco)), QStringLiteral("Searching for *.bmp *.ico  files."));
    EXPECT_EQ(searchingText(typeTextsFor(TypePatterns{})), QStringLiteral("Searching for  files."));
    EXPECT_EQ(searchingText(typeTextsFor(allSeven())),
              QStringLiteral("Searching for *.bmp *.gif *.jpeg *.ico *.png *.webp *.tif  files."));
    const TypePatterns laterOnly{DisabledPattern, DisabledPattern, DisabledPattern, DisabledPattern,
                                 PngEnabled,      DisabledPattern, TiffEnabled};
    EXPECT_EQ(searchingText(typeTextsFor(laterOnly)), QStringLiteral("Searching for *.png *.tif  files."));

    const TypeTexts texts = typeTextsFor(onlyGif());
    EXPECT_EQ(texts.gifText, QStringLiteral("*.gif "));
    EXPECT_TRUE(texts.bmpText.isEmpty());
    EXPECT_TRUE(texts.jpgText.isEmpty());
    EXPECT_TRUE(texts.icoText.isEmpty());
    EXPECT_EQ(typeTextsFor(allFour()).jpgText, QStringLiteral("*.jpeg "));
}

TEST(TypePatterns, CombinedPatternPutsJpegBeforeGifAndEndsInTheTail)
{
    EXPECT_EQ(combinedPattern(firstFour(BmpEnabled, QString(), QString(), QString())), QStringLiteral("*.bmp;*.###"));
    EXPECT_EQ(combinedPattern(allFour()), QStringLiteral("*.bmp;*.jpeg;*.jpg;*.gif;*.ico;&;&;&;*.###"));
    EXPECT_EQ(combinedPattern(allSeven()),
              QStringLiteral("*.bmp;*.jpeg;*.jpg;*.gif;*.ico;*.png;*.webp;*.tif;*.tiff;*.###"));
    EXPECT_EQ(combinedPattern(onlyGif()), QStringLiteral("&;&;*.gif;&;*.###"));
    EXPECT_EQ(combinedPattern(TypePatterns{}), QStringLiteral("*.###"));
}

TEST(TypePatterns, OnlyGifEnabledListsGifFilesAndNoPlaceholderNames)
{
    const QString pattern = combinedPattern(onlyGif());
    EXPECT_TRUE(matchesFilePattern(pattern, QStringLiteral("x.gif")));
    EXPECT_TRUE(matchesFilePattern(pattern, QStringLiteral("SHOUT.GIF")));
    EXPECT_FALSE(matchesFilePattern(pattern, QStringLiteral("x.bmp")));
    // The placeholders only keep the pattern non-empty; they bring in no file.
    EXPECT_FALSE(matchesFilePattern(pattern, QStringLiteral("&")));
    EXPECT_FALSE(matchesFilePattern(pattern, QStringLiteral("y.###")));
    EXPECT_FALSE(matchesFilePattern(pattern, QStringLiteral("Y.###")));
    EXPECT_TRUE(matchesFilePattern(pattern, QStringLiteral("salt&pepper.gif")));
}

TEST(TypePatterns, ElementsMatchWholeNamesIgnoringCase)
{
    const QString all = combinedPattern(allFour());
    EXPECT_TRUE(matchesFilePattern(all, QStringLiteral("UPPER.JPG")));
    EXPECT_TRUE(matchesFilePattern(all, QStringLiteral("Photo.JPEG")));
    EXPECT_TRUE(matchesFilePattern(all, QStringLiteral("Mixed.Bmp")));
    EXPECT_TRUE(matchesFilePattern(all, QStringLiteral("dots.in.the.name.jpeg")));
    EXPECT_TRUE(matchesFilePattern(all, QStringLiteral(".gif"))); // "*" may match nothing
    EXPECT_TRUE(matchesFilePattern(all, QStringLiteral("semi;colon.bmp")));
    EXPECT_TRUE(matchesFilePattern(all, QString::fromUtf8("ünïcödé-日本語-Ελληνικά.gif")));
    EXPECT_FALSE(matchesFilePattern(all, QStringLiteral("picture.jpg.bak")));
    EXPECT_FALSE(matchesFilePattern(all, QStringLiteral("jpeg-without-extension")));
    EXPECT_FALSE(matchesFilePattern(all, QStringLiteral("a.jpe")));
    EXPECT_FALSE(matchesFilePattern(all, QStringLiteral("bmp")));
    EXPECT_FALSE(matchesFilePattern(all, QString()));

    EXPECT_TRUE(matchesFilePattern(InitialFilePattern, QStringLiteral("a.BMP")));
    EXPECT_FALSE(matchesFilePattern(InitialFilePattern, QStringLiteral("a.gif")));
    EXPECT_FALSE(matchesFilePattern(QString(), QStringLiteral("a.bmp")));
    EXPECT_FALSE(matchesFilePattern(QStringLiteral(";;"), QStringLiteral("a.bmp")));
    // A name matches when it is itself a literal element.
    EXPECT_TRUE(matchesFilePattern(QStringLiteral("readme.txt;"), QStringLiteral("README.TXT")));
}

TEST(TypePatterns, StarMatchesAnyRunAndOtherCharactersOnlyThemselves)
{
    EXPECT_TRUE(matchesWildcard(u"a*b*c", u"aXbYc"));
    EXPECT_TRUE(matchesWildcard(u"a*b*c", u"abc"));
    EXPECT_TRUE(matchesWildcard(u"a*b*c", u"abcbc"));
    EXPECT_FALSE(matchesWildcard(u"a*b*c", u"acb"));
    EXPECT_TRUE(matchesWildcard(u"*", u""));
    EXPECT_TRUE(matchesWildcard(u"**.gif", u"x.gif"));
    EXPECT_FALSE(matchesWildcard(u"*.gif", u"x.gifs"));
    EXPECT_FALSE(matchesWildcard(u"?.gif", u"x.gif")); // "?" is no wildcard here
    EXPECT_TRUE(matchesWildcard(u"*.#", u"a.#"));
    // Backtracking over a long run of near misses still ends with the right answer.
    const QString name = QString(200, u'a') + QStringLiteral("b");
    EXPECT_TRUE(matchesWildcard(u"*a*a*a*b", name));
    EXPECT_FALSE(matchesWildcard(u"*a*a*a*c", name));
}

TEST(TypePatterns, PatternElementsDropPlaceholdersAndRepeats)
{
    EXPECT_EQ(patternElements(QStringLiteral("&;&;*.GIF;&;*.###;*.gif;")), QStringList{QStringLiteral("*.gif")});
    EXPECT_EQ(patternElements(combinedPattern(allFour())),
              (QStringList{QStringLiteral("*.bmp"), QStringLiteral("*.jpeg"), QStringLiteral("*.jpg"),
                           QStringLiteral("*.gif"), QStringLiteral("*.ico")}));
    EXPECT_TRUE(patternElements(QStringLiteral("*.###")).isEmpty());
}

TEST(TypePatterns, APictureTypeIsKnownByTheEnabledPatternsOfItsName)
{
    EXPECT_EQ(pictureTypeOf(QStringLiteral("a.bmp")), PictureType::Bmp);
    EXPECT_EQ(pictureTypeOf(QStringLiteral("Mixed.Bmp")), PictureType::Bmp);
    EXPECT_EQ(pictureTypeOf(QStringLiteral("photo.JPEG")), PictureType::Jpg);
    EXPECT_EQ(pictureTypeOf(QStringLiteral("photo.jpg")), PictureType::Jpg);
    EXPECT_EQ(pictureTypeOf(QStringLiteral("anim.gif")), PictureType::Gif);
    EXPECT_EQ(pictureTypeOf(QStringLiteral("favicon.ICO")), PictureType::Ico);
    EXPECT_EQ(pictureTypeOf(QStringLiteral("two.dots.gif")), PictureType::Gif);
    EXPECT_EQ(pictureTypeOf(QStringLiteral("tile.PNG")), PictureType::Png);
    EXPECT_EQ(pictureTypeOf(QStringLiteral("saved.webp")), PictureType::Webp);
    EXPECT_EQ(pictureTypeOf(QStringLiteral("scan.tif")), PictureType::Tiff);
    EXPECT_EQ(pictureTypeOf(QStringLiteral("scan.TIFF")), PictureType::Tiff);
    for (const QString &name : {QStringLiteral("photo.heic"), QStringLiteral("bmp"), QStringLiteral("a.bmp.txt"),
                                QStringLiteral("a.jpg "), QStringLiteral("a.###"), QStringLiteral("&"), QString()})
        EXPECT_FALSE(pictureTypeOf(name).has_value()) << qPrintable(name);
}

TEST(TypePatterns, TheTypesInForceFollowWhatWasStoredAndAFirstStartListsEveryType)
{
    const QString off = DisabledPattern;
    const QString all = QStringLiteral("*.bmp;*.jpeg;*.jpg;*.gif;*.ico;*.png;*.webp;*.tif;*.tiff;*.###");
    const struct {
        const char *what;
        TypePatterns stored;
        QString inForce;
    } cases[] = {
        {"no settings at all", TypePatterns{}, all},
        {"only the later types stored", TypePatterns{{}, {}, {}, {}, off, off, off},
         QStringLiteral("*.bmp;*.jpeg;*.jpg;*.gif;*.ico;&;&;&;*.###")},
        {"written before the later types were known", onlyGif(),
         QStringLiteral("&;&;*.gif;&;*.png;*.webp;*.tif;*.tiff;*.###")},
        {"every type switched off but bitmaps", TypePatterns{BmpEnabled, off, off, off, off, off, off},
         QStringLiteral("*.bmp;&;&;&;&;&;&;*.###")},
        {"one later type stored", TypePatterns{off, JpgEnabled, off, off, {}, off, {}},
         QStringLiteral("&;*.jpeg;*.jpg;&;&;*.png;&;*.tif;*.tiff;*.###")},
        {"an unknown value stays, and lists nothing", firstFour(QStringLiteral("*.BMP;"), off, off, off),
         QStringLiteral("*.BMP;&;&;&;*.png;*.webp;*.tif;*.tiff;*.###")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const TypePatterns inForce = patternsInForce(c.stored);
        EXPECT_EQ(combinedPattern(inForce), c.inForce);
        // Values read are never changed, only the missing ones filled in.
        for (const PictureType type : AllPictureTypes) {
            if (!patternOf(c.stored, type).isEmpty()) {
                EXPECT_EQ(patternOf(inForce, type), patternOf(c.stored, type));
            }
        }
    }
    EXPECT_FALSE(typeEnabled(patternsInForce(firstFour(QStringLiteral("*.BMP;"), off, off, off)), PictureType::Bmp));
}
