#pragma once
// The switchable picture types, the pattern strings that hold their switch states,
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
inline const QString PngEnabled = QStringLiteral("*.png;");
inline const QString WebpEnabled = QStringLiteral("*.webp;");
inline const QString TiffEnabled = QStringLiteral("*.tif;*.tiff;");
// The value the options dialog stores for a disabled type. A pattern variable may also be
// empty (never stored); both count as disabled.
inline const QString DisabledPattern = QStringLiteral("&;");
// Ends every combined pattern, so that it is never empty.
inline const QString PatternTail = QStringLiteral("*.###");
// The file list's pattern before start-up applies the stored types.
inline const QString InitialFilePattern = QStringLiteral("*.bmp");

// Display values of the enabled types; each ends in one space. JPEG names only "*.jpeg "
// and TIFF only "*.tif " although their patterns cover two extensions.
inline const QString BmpDisplay = QStringLiteral("*.bmp ");
inline const QString JpgDisplay = QStringLiteral("*.jpeg ");
inline const QString GifDisplay = QStringLiteral("*.gif ");
inline const QString IcoDisplay = QStringLiteral("*.ico ");
inline const QString PngDisplay = QStringLiteral("*.png ");
inline const QString WebpDisplay = QStringLiteral("*.webp ");
inline const QString TiffDisplay = QStringLiteral("*.tif ");

// Stored values of the types: the enabled value, DisabledPattern, or empty.
struct TypePatterns {
    QString bmpPattern;
    QString jpgPattern;
    QString gifPattern;
    QString icoPattern;
    QString pngPattern;
    QString webpPattern;
    QString tiffPattern;

    bool operator==(const TypePatterns &) const = default;
};

// Display texts: the display value of each enabled type, empty for a disabled one.
struct TypeTexts {
    QString bmpText;
    QString gifText;
    QString jpgText;
    QString icoText;
    QString pngText;
    QString webpText;
    QString tiffText;
};

// The types in the order of the combined pattern; the values number the options dialog's
// boxes.
enum class PictureType : int { Bmp = 0, Jpg = 1, Gif = 2, Ico = 3, Png = 4, Webp = 5, Tiff = 6 };
inline constexpr int PictureTypeCount = 7;
inline constexpr PictureType AllPictureTypes[PictureTypeCount] = {
    PictureType::Bmp, PictureType::Jpg,  PictureType::Gif,  PictureType::Ico,
    PictureType::Png, PictureType::Webp, PictureType::Tiff,
};

// Where the patterns are stored: section "Type", one key per type. A pattern is the type's
// enabled value or "&;", or empty while never stored.
inline constexpr QLatin1StringView SectionType{"Type"};
inline constexpr QLatin1StringView KeyBitmap{"Bitmap"};
inline constexpr QLatin1StringView KeyJpg{"Jpg"};
inline constexpr QLatin1StringView KeyGif{"Gif"};
inline constexpr QLatin1StringView KeyIco{"Ico"};
inline constexpr QLatin1StringView KeyPng{"Png"};
inline constexpr QLatin1StringView KeyWebp{"Webp"};
inline constexpr QLatin1StringView KeyTiff{"Tiff"};
inline constexpr QLatin1StringView DefaultPattern{""};

// The pattern value that switches `type` on ("*.jpeg;*.jpg;" for Jpg).
QString enabledPattern(PictureType type);

// The key `type` is stored under in section "Type"; it is also its box's caption.
QLatin1StringView typeKey(PictureType type);

// The stored value of `type`.
QString &patternOf(TypePatterns &patterns, PictureType type);
const QString &patternOf(const TypePatterns &patterns, PictureType type);

// The types in force for the values read from the settings: a value read stays as it is, and
// a type never stored is switched on when the user cannot have switched it off. That is every
// type on a first start (none of the first four types, bitmaps, JPEG, GIF and icons, stored),
// so that it lists all the user's pictures, and a later type in a settings file written
// before it was known.
TypePatterns patternsInForce(TypePatterns stored);

// True when the type's pattern variable equals its enabled value exactly; "&;", "" and any
// other text count as disabled.
bool typeEnabled(const TypePatterns &patterns, PictureType type);

// Stores the enabled value or DisabledPattern for `type`, leaving the others alone.
void setTypeEnabled(TypePatterns &patterns, PictureType type, bool enabled);

// The display texts for the current patterns.
TypeTexts typeTextsFor(const TypePatterns &patterns);

// "Searching for " + Bmp + Gif + Jpg + Ico + Png + Webp + Tiff texts + " files." (GIF before
// JPEG).
QString searchingText(const TypeTexts &texts);

// The patterns in the order of AllPictureTypes + PatternTail, as given to the file list.
QString combinedPattern(const TypePatterns &patterns);

// The type whose enabled pattern matches the file name, ignoring case ("Photo.JPEG" is a
// JPEG); none for any other name, a name without extension or "".
std::optional<PictureType> pictureTypeOf(const QString &fileName);


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
