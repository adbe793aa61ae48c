#include "thumbcache/fileuri.h"

#include <QCryptographicHash>
#include <QList>

namespace pavix::thumbcache {

namespace {

// The bytes a path keeps as they are in a URI: the unreserved characters and the ones
// with a meaning in a path but none in a file name.
bool keptInUri(char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    switch (c) {
    case '-':
    case '_':
    case '.':
    case '!':
    case '~':
    case '*':
    case '\'':
    case '(':
    case ')':
    case '/':
    case ':':
    case '@':
    case '&':
    case '=':
    case '+':
    case '$':
    case ',':
        return true;
    default:
        return false;
    }
}

} // namespace

QByteArray cleanAbsolutePath(const QByteArray &path)
{
    if (!path.startsWith('/'))
        return QByteArray();
    QList<QByteArray> kept;
    for (const QByteArray &step : path.split('/')) {
        if (step.isEmpty() || step == ".")
            continue;
        if (step == "..") {
            if (!kept.isEmpty())
                kept.removeLast();
            continue;
        }
        kept.append(step);
    }
    return '/' + kept.join('/');
}

QByteArray fileUri(const QByteArray &absolutePath)
{
    const QByteArray path = cleanAbsolutePath(absolutePath);
    if (path.isEmpty())
        return QByteArray();
    static constexpr char Hex[] = "0123456789ABCDEF";
    QByteArray uri("file://");
    uri.reserve(uri.size() + path.size() * 3);
    for (const char c : path) {
        if (keptInUri(c)) {
            uri.append(c);
        } else {
            const auto byte = static_cast<unsigned char>(c);
            uri.append('%');
            uri.append(Hex[byte >> 4]);
            uri.append(Hex[byte & 0xf]);
        }
    }
    return uri;
}

QString thumbnailFileName(const QByteArray &uri)
{
    return QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex()) + QStringLiteral(".png");
}

} // namespace pavix::thumbcache
