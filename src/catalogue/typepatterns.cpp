#include "catalogue/typepatterns.h"

namespace pavix::catalogue {

namespace {

QString TypePatterns::*patternMember(PictureType type)
{
    switch (type) {
    case PictureType::Bmp: return &TypePatterns::bmpPattern;
    case PictureType::Jpg: return &TypePatterns::jpgPattern;
    case PictureType::Gif: return &TypePatterns::gifPattern;
    case PictureType::Ico: return &TypePatterns::icoPattern;
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
    case PictureType::Bmp: return BmpEnabled;
    case PictureType::Jpg: return JpgEnabled;
    case PictureType::Gif: return GifEnabled;
    case PictureType::Ico: return IcoEnabled;
    }
    return QString();
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
    return texts;
}

QString searchingText(const TypeTexts &texts)
{
    return QStringLiteral("Searching for ") + texts.bmpText + texts.gifText + texts.jpgText
        + texts.icoText + QStringLiteral(" files.");
}

QString combinedPattern(const TypePatterns &patterns)
{
    return patterns.bmpPattern + patterns.jpgPattern + patterns.gifPattern + patterns.icoPattern
        + PatternTail;
}

bool anyPatternStored(const TypePatterns &patterns)
{
    return !(patterns.bmpPattern + patterns.jpgPattern + patterns.gifPattern + patterns.icoPattern)
                .isEmpty();
}

std::optional<PictureType> pictureTypeOf(const QString &fileName)
{
    for (PictureType type : {PictureType::Bmp, PictureType::Jpg, PictureType::Gif, PictureType::Ico}) {
        if (matchesAnyElement(patternElements(enabledPattern(type)), fileName))
            return type;
    }
    return std::nullopt;
}

bool typeListed(const TypePatterns &patterns, PictureType type)
{
    if (!anyPatternStored(patterns))
        return type == PictureType::Bmp;
    return typeEnabled(patterns, type);
}

TypePatterns withTypeListed(TypePatterns patterns, PictureType type)
{
    if (typeListed(patterns, type))
        return patterns;
    if (!anyPatternStored(patterns))
        patterns.bmpPattern = BmpEnabled;
    setTypeEnabled(patterns, type, true);
    return patterns;
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
