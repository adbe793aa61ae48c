#include "catalogue/typepatterns.h"

#include <QCoreApplication>

#include <algorithm>

#include <iterator>

namespace pavix::catalogue {

namespace {

QString TypePatterns::*patternMember(PictureType type)
{
    switch (type) {
    case PictureType::Bmp:
        return &TypePatterns::bmpPattern;
    case PictureType::Jpg:
        return &TypePatterns::jpgPattern;
    case PictureType::Gif:
        return &TypePatterns::gifPattern;
    case PictureType::Ico:
        return &TypePatterns::icoPattern;
    case PictureType::Png:
        return &TypePatterns::pngPattern;
    case PictureType::Webp:
        return &TypePatterns::webpPattern;
    case PictureType::Tiff:
        return &TypePatterns::tiffPattern;
    }
    return &TypePatterns::bmpPattern;
}

// "&" stands in for a disabled type and "*.###" closes every pattern; neither names a
// picture type, so neither may bring a file into the list.
bool isPlaceholder(QStringView element)
{
    return element == QStringView(DisabledPattern).chopped(1) || element == QStringView(PatternTail);
}

} // namespace

QString enabledPattern(PictureType type)
{
    switch (type) {
    case PictureType::Bmp:
        return BmpEnabled;
    case PictureType::Jpg:
        return JpgEnabled;
    case PictureType::Gif:
        return GifEnabled;
    case PictureType::Ico:
        return IcoEnabled;
    case PictureType::Png:
        return PngEnabled;
    case PictureType::Webp:
        return WebpEnabled;
    case PictureType::Tiff:
        return TiffEnabled;
    }
    return QString();
}

QLatin1StringView typeKey(PictureType type)
{
    switch (type) {
    case PictureType::Bmp:
        return KeyBitmap;
    case PictureType::Jpg:
        return KeyJpg;
    case PictureType::Gif:
        return KeyGif;
    case PictureType::Ico:
        return KeyIco;
    case PictureType::Png:
        return KeyPng;
    case PictureType::Webp:
        return KeyWebp;
    case PictureType::Tiff:
        return KeyTiff;
    }
    return KeyBitmap;
}

QString &patternOf(TypePatterns &patterns, PictureType type)
{
    return patterns.*patternMember(type);
}

const QString &patternOf(const TypePatterns &patterns, PictureType type)
{
    return patterns.*patternMember(type);
}

TypePatterns patternsInForce(TypePatterns stored)
{
    constexpr PictureType firstTypes[] = {PictureType::Bmp, PictureType::Jpg, PictureType::Gif, PictureType::Ico};
    const bool firstStart = std::all_of(std::begin(firstTypes), std::end(firstTypes),
                                        [&](PictureType type) { return patternOf(stored, type).isEmpty(); });
    for (const PictureType type : AllPictureTypes) {
        const bool later = std::find(std::begin(firstTypes), std::end(firstTypes), type) == std::end(firstTypes);
        if (patternOf(stored, type).isEmpty() && (firstStart || later))
            setTypeEnabled(stored, type, true);
    }
    return stored;
}

bool typeEnabled(const TypePatterns &patterns, PictureType type)
{
    return patterns.*patternMember(type) == enabledPattern(type);
}

void setTypeEnabled(TypePatterns &patterns, PictureType type, bool enabled)
{
    patterns.*patternMember(type) = enabled ? enabledPattern(type) : DisabledPattern;
}

TypeTexts typeTextsFor(const TypePatterns &patterns)
{
    TypeTexts texts;
    texts.bmpText = typeEnabled(patterns, PictureType::Bmp) ? BmpDisplay : QString();
    texts.gifText = typeEnabled(patterns, PictureType::Gif) ? GifDisplay : QString();
    texts.jpgText = typeEnabled(patterns, PictureType::Jpg) ? JpgDisplay : QString();
    texts.icoText = typeEnabled(patterns, PictureType::Ico) ? IcoDisplay : QString();
    texts.pngText = typeEnabled(patterns, PictureType::Png) ? PngDisplay : QString();
    texts.webpText = typeEnabled(patterns, PictureType::Webp) ? WebpDisplay : QString();
    texts.tiffText = typeEnabled(patterns, PictureType::Tiff) ? TiffDisplay : QString();
    return texts;
}

QString searchingText(const TypeTexts &texts)
{
    // The patterns end in a blank each, so the English text has two before "files".
    return QCoreApplication::translate("pavix::catalogue", "Searching for %1 files.")
        .arg(texts.bmpText + texts.gifText + texts.jpgText + texts.icoText + texts.pngText + texts.webpText
             + texts.tiffText);
}

QString combinedPattern(const TypePatterns &patterns)
{
    QString combined;
    for (const PictureType type : AllPictureTypes)
        combined += patternOf(patterns, type);
    return combined + PatternTail;
}

std::optional<PictureType> pictureTypeOf(const QString &fileName)
{
    for (const PictureType type : AllPictureTypes) {
        if (matchesAnyElement(patternElements(enabledPattern(type)), fileName))
            return type;
    }
    return std::nullopt;
}

QStringList patternElements(const QString &pattern)
{
    QStringList elements;
    for (QStringView element : QStringView(pattern).split(u';')) {
        if (element.isEmpty() || isPlaceholder(element))
            continue;
        const QString folded = element.toString().toCaseFolded();
        if (!elements.contains(folded))
            elements.append(folded);
    }
    return elements;
}

bool matchesAnyElement(const QStringList &elements, const QString &fileName)
{
    if (elements.isEmpty() || fileName.isEmpty())
        return false;
    const QString folded = fileName.toCaseFolded();
    for (const QString &element : elements) {
        if (matchesWildcard(element, folded))
            return true;
    }
    return false;
}

bool matchesWildcard(QStringView element, QStringView name)
{
    // Greedy walk that remembers the last "*": on a mismatch the star takes one more
    // character and the rest is tried again. Linear in practice, never exponential.
    qsizetype e = 0;
    qsizetype n = 0;
    qsizetype starAt = -1;
    qsizetype resumeAt = 0;
    while (n < name.size()) {
        if (e < element.size() && element[e] == u'*') {
            starAt = e++;
            resumeAt = n;
        } else if (e < element.size() && element[e] == name[n]) {
            ++e;
            ++n;
        } else if (starAt >= 0) {
            e = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (e < element.size() && element[e] == u'*')
        ++e;
    return e == element.size();
}

} // namespace pavix::catalogue
