// Feeds a type pattern and a file name to the pattern matcher and checks it against a plain
// table-filling matcher: the first line of the input is the pattern, the rest the name.

#include "fuzzinput.h"

#include "catalogue/typepatterns.h"

#include <vector>

using namespace pavix;

namespace {

// The reference: matches[i][j] is true when the first i characters of the element match
// the first j of the name. Quadratic, but obviously right.
bool referenceMatch(QStringView element, QStringView name)
{
    const qsizetype rows = element.size() + 1;
    const qsizetype cols = name.size() + 1;
    std::vector<char> matches(std::size_t(rows * cols), 0);
    auto at = [&](qsizetype i, qsizetype j) -> char & { return matches[std::size_t(i * cols + j)]; };
    at(0, 0) = 1;
    for (qsizetype i = 1; i < rows; ++i) {
        const bool star = element[i - 1] == u'*';
        for (qsizetype j = 0; j < cols; ++j) {
            if (star)
                at(i, j) = at(i - 1, j) || (j > 0 && at(i, j - 1));
            else
                at(i, j) = j > 0 && at(i - 1, j - 1) && element[i - 1] == name[j - 1];
        }
    }
    return at(rows - 1, cols - 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const qsizetype newline = bytes.indexOf('\n');
    const QString pattern = QString::fromUtf8(newline < 0 ? bytes : bytes.left(newline));
    const QString name = newline < 0 ? QString() : QString::fromUtf8(bytes.mid(newline + 1));

    const QStringList elements = catalogue::patternElements(pattern);
    bool anyMatches = false;
    for (qsizetype i = 0; i < elements.size(); ++i) {
        const QString &element = elements[i];
        fuzz::require(!element.isEmpty() && !element.contains(u';'), "an element is a non-empty piece");
        fuzz::require(element != QStringLiteral("&") && element != catalogue::PatternTail,
                      "no placeholder is an element");
        fuzz::require(element == element.toCaseFolded(), "elements are case-folded");
        fuzz::require(elements.indexOf(element) == i, "no element is listed twice");
        const QString foldedName = name.toCaseFolded();
        const bool matches = catalogue::matchesWildcard(element, foldedName);
        fuzz::require(matches == referenceMatch(element, foldedName), "the matcher agrees with the reference");
        anyMatches = anyMatches || matches;
    }
    fuzz::require(catalogue::matchesAnyElement(elements, name) == (anyMatches && !name.isEmpty()),
                  "a name matches the list when it matches one of its elements");
    // The element against itself: every element without a star matches its own text.
    if (!pattern.contains(u'*'))
        for (const QString &element : elements)
            fuzz::require(catalogue::matchesWildcard(element, element), "an element matches its own text");
    return 0;
}
