#include "common/filename.h"

namespace pavix::common {

namespace {

constexpr char16_t Replacement = 0xfffd;

// The length of the valid UTF-8 sequence starting at bytes[i] and its code point; 0 when the
// bytes there are not one (a stray continuation byte, a sequence cut short, an overlong
// form, a surrogate or a code point past U+10FFFF).
int validSequence(QByteArrayView bytes, qsizetype i, char32_t &codePoint)
{
    const auto at = [&bytes](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(i);
    int length = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
        value = lead & 0x1f;
        smallest = 0x80;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        value = lead & 0x0f;
        smallest = 0x800;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        value = lead & 0x07;
        smallest = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        const unsigned char next = at(i + k);
        if ((next & 0xc0) != 0x80)
            return 0;
        value = (value << 6) | (next & 0x3f);
    }
    if (value < smallest || value > 0x10ffff || (value >= 0xd800 && value <= 0xdfff))
        return 0;
    codePoint = value;
    return length;
}

void appendUtf8(QByteArray &out, char32_t c)
{
    if (c < 0x80) {
        out.append(char(c));
    } else if (c < 0x800) {
        out.append(char(0xc0 | (c >> 6)));
        out.append(char(0x80 | (c & 0x3f)));
    } else if (c < 0x10000) {
        out.append(char(0xe0 | (c >> 12)));
        out.append(char(0x80 | ((c >> 6) & 0x3f)));
        out.append(char(0x80 | (c & 0x3f)));
    } else {
        out.append(char(0xf0 | (c >> 18)));
        out.append(char(0x80 | ((c >> 12) & 0x3f)));
        out.append(char(0x80 | ((c >> 6) & 0x3f)));
        out.append(char(0x80 | (c & 0x3f)));
    }
}

} // namespace

QString decodeFileName(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t codePoint = 0;
        const int length = validSequence(bytes, i, codePoint);
        if (length == 0) {
            text.append(QChar(char16_t(0xdc00 + static_cast<unsigned char>(bytes[i]))));
            ++i;
            continue;
        }
        if (QChar::requiresSurrogates(codePoint)) {
            text.append(QChar(QChar::highSurrogate(codePoint)));
            text.append(QChar(QChar::lowSurrogate(codePoint)));
        } else {
            text.append(QChar(char16_t(codePoint)));
        }
        i += length;
    }
    return text;
}

QByteArray encodeFileName(QStringView name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c.isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            appendUtf8(bytes, QChar::surrogateToUcs4(c, name[i + 1]));
            ++i;
        } else if (isUndecodedByte(c)) {
            bytes.append(char(c.unicode() - 0xdc00));
        } else if (c.isSurrogate()) {
            appendUtf8(bytes, Replacement);
        } else {
            appendUtf8(bytes, c.unicode());
        }
    }
    return bytes;
}

QString withUnpairedSurrogatesReplaced(QStringView text)
{
    QString shown = text.toString();
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QChar c = shown.at(i);
        if (c.isHighSurrogate() && i + 1 < shown.size() && shown.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            shown[i] = QChar(Replacement);
    }
    return shown;
}

} // namespace pavix::common
