#pragma once
// The four switchable picture types, the pattern strings that hold their switch states,
// the combined file pattern the file list enumerates with, and the display texts that
// make up the searching text.

#include <QString>
#include <QStringList>

#include <optional>

namespace pavix::catalogue {

// Pattern values while a type is enabled. A type counts as enabled exactly when its
// pattern variable equals this value, character for character.
inline const QString BmpEnabled = QStringLiteral("*.bmp;");
inline const QString JpgEnabled = QStringLiteral("*.jpeg;*.jpg;");
inline const QString GifEnabled = QStringLiteral("*.gif;");
inline const QString IcoEnabled = QStringLiteral("*.ico;");
// The value the options dialog stores for a disabled type. A pattern variable may also be
// empty (never stored); both count as disabled.
inline const QString DisabledPattern = QStringLiteral("&;");
// Ends every combined pattern, so that it is never empty.
inline const QString PatternTail = QStringLiteral("*.###");
// The file list's pattern before start-up applies the stored types.
inline const QString InitialFilePattern = QStringLiteral("*.bmp");

// Display values of the enabled types; each ends in one space. JPEG names only "*.jpeg "
// although its pattern covers two extensions.
inline const QString BmpDisplay = QStringLiteral("*.bmp ");
inline const QString JpgDisplay = QStringLiteral("*.jpeg ");
inline const QString GifDisplay = QStringLiteral("*.gif ");
inline const QString IcoDisplay = QStringLiteral("*.ico ");

// Stored values of the four types: the enabled value, DisabledPattern, or empty.
struct TypePatterns {
    QString bmpPattern;
    QString jpgPattern;
    QString gifPattern;
    QString icoPattern;

    bool operator==(const TypePatterns &) const = default;
};

// Display texts: the display value of each enabled type, empty for a disabled one.
struct TypeTexts {
    QString bmpText;
    QString gifText;
    QString jpgText;
    QString icoText;
};

enum class PictureType : int { Bmp = 0, Jpg = 1, Gif = 2, Ico = 3 };

// Where the patterns are stored: section "Type", one key per type. A pattern is the type's
// enabled value or "&;", or empty while never stored.
inline constexpr QLatin1StringView SectionType{"Type"};
inline constexpr QLatin1StringView KeyBitmap{"Bitmap"};
inline constexpr QLatin1StringView KeyJpg{"Jpg"};
inline constexpr QLatin1StringView KeyGif{"Gif"};
inline constexpr QLatin1StringView KeyIco{"Ico"};
inline constexpr QLatin1StringView DefaultPattern{""};

// The pattern value that switches `type` on ("*.jpeg;*.jpg;" for Jpg).
QString enabledPattern(PictureType type);

// True when the type's pattern variable equals its enabled value exactly; "&;", "" and any
// other text count as disabled.
bool typeEnabled(const TypePatterns &patterns, PictureType type);

// Stores the enabled value or DisabledPattern for `type`, leaving the others alone.
void setTypeEnabled(TypePatterns &patterns, PictureType type, bool enabled);

// The display texts for the current patterns.
TypeTexts typeTextsFor(const TypePatterns &patterns);

// "Searching for " + Bmp + Gif + Jpg + Ico texts + " files." (GIF before JPEG).
QString searchingText(const TypeTexts &texts);

// Bmp + Jpg + Gif + Ico patterns + PatternTail (JPEG before GIF), as given to the file list.
QString combinedPattern(const TypePatterns &patterns);

// True when at least one of the four pattern variables holds any text (a value was stored).
bool anyPatternStored(const TypePatterns &patterns);

// The type whose enabled pattern matches the file name, ignoring case ("Photo.JPEG" is a
// JPEG); none for any other name, a name without extension or "".
std::optional<PictureType> pictureTypeOf(const QString &fileName);

// True when a folder listed with these patterns lists files of `type`: the type is
// enabled, or no type was ever stored and `type` is the bitmaps a first start lists.
bool typeListed(const TypePatterns &patterns, PictureType type);

// The patterns with files of `type` listed as well: unchanged when typeListed() already
// holds; otherwise `type` is switched on, and on a first start the bitmaps stay listed
// beside it.
TypePatterns withTypeListed(TypePatterns patterns, PictureType type);

// The elements of a pattern that can match a file, case-folded, in pattern order: empty
// elements and the placeholders "&" and "*.###" are left out.
QStringList patternElements(const QString &pattern);

// True when the file name matches one of the elements made by patternElements(), ignoring
// case. Lets a folder be filtered without splitting the pattern again for every name.
bool matchesAnyElement(const QStringList &elements, const QString &fileName);

// Matches one element (no ";") against a name; "*" matches any run. Both are compared as
// given, so callers fold case first when case must not matter.
bool matchesWildcard(QStringView element, QStringView name);

} // namespace pavix::catalogue
