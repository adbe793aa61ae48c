// Feeds any bytes to the shared thumbnail cache as the cached thumbnail of one known
// original: the same file in normal/, in large/ and as its remembered failure. The cache
// must use a thumbnail, or a failure, only when it describes the original as it is now and
// is of a size its folder allows; everything else is decoded from the original.
//
// The input is a PNG as another program would write it. In its text chunks "@URI@",
// "@MTIME@" and "@SIZE@" stand for the original's URI, modification time and length, which
// change from run to run; chunk lengths and CRCs are set right after that, so a mutated key
// reaches the key check instead of being dropped by the PNG reader's checksum test. Bytes
// after the IEND chunk (or the whole input, when it is no PNG) are also taken as a path for
// the cache's path and URI rules.

#include "fuzzinput.h"

#include "platform/pictureservice.h"
#include "platform/thumbnailcache.h"
#include "thumbcache/fileuri.h"
#include "thumbcache/thumbnailrules.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <array>
#include <cstdlib>
#include <limits>
#include <memory>
#include <optional>
#include <sys/stat.h>

using namespace pavix;
using thumbcache::Flavour;

namespace {

const QSize CellPx(48, 36);
const QByteArray PngSignature("\x89PNG\r\n\x1a\n", 8);

struct Setup {
    QString original;
    thumbcache::OriginalFile file;
    std::unique_ptr<const platform::ThumbnailCache> cache;
    QString normalPath;
    QString largePath;
    QString failurePath;
    QImage decodedCell; // the original's cell as an empty cache makes it
};

Setup *g_setup = nullptr;

void dropMessages(QtMsgType, const QMessageLogContext &, const QString &) {}

std::uint32_t crc32Of(const QByteArray &bytes)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes)
        crc = table[(crc ^ std::uint8_t(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void appendBigEndian(QByteArray &out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((value >> shift) & 0xFF));
}

std::uint32_t bigEndianAt(const QByteArray &bytes, qsizetype at)
{
    std::uint32_t value = 0;
    for (qsizetype i = at; i < at + 4; ++i)
        value = (value << 8) | std::uint8_t(bytes[i]);
    return value;
}

struct SplitInput {
    QByteArray png;       // what goes into the cache
    QByteArray path;      // what goes to the path rules
    bool overrun = false; // a chunk before IEND claims more bytes than follow it
};

// The input with its placeholders filled in and its chunk lengths and CRCs set. A chunk
// whose data runs past the end is left as it is, as is everything after it; one that
// lacks only its CRC keeps what there is of it.
SplitInput splitInput(const QByteArray &bytes, const thumbcache::OriginalFile &original)
{
    if (!bytes.startsWith(PngSignature))
        return {bytes, bytes, false};
    SplitInput split;
    split.png = PngSignature;
    qsizetype at = PngSignature.size();
    while (at + 8 <= bytes.size()) {
        const std::uint32_t length = bigEndianAt(bytes, at);
        if (length > std::uint32_t(bytes.size() - at - 8)) {
            split.overrun = true;
            break;
        }
        const QByteArray type = bytes.mid(at + 4, 4);
        QByteArray data = bytes.mid(at + 8, qsizetype(length));
        if (type == "tEXt" || type == "iTXt") {
            data.replace("@URI@", original.uri);
            data.replace("@MTIME@", QByteArray::number(original.mtime));
            data.replace("@SIZE@", QByteArray::number(original.size));
        }
        appendBigEndian(split.png, std::uint32_t(data.size()));
        split.png += type + data;
        at += 8 + qsizetype(length);
        if (at + 4 > bytes.size())
            break;
        appendBigEndian(split.png, crc32Of(type + data));
        at += 4;
        if (type == "IEND") {
            split.path = bytes.mid(at);
            return split;
        }
    }
    split.png += bytes.mid(at);
    return split;
}

// The thumbnail as a plain read finds it, when it could be one: null when its header
// names a size no folder of the cache allows. A PNG with a chunk running past its end is
// never read, as no reader can finish it.
QImage plainRead(const SplitInput &input)
{
    if (input.overrun)
        return QImage();
    QBuffer buffer;
    buffer.setData(input.png);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    const QSize header = reader.size();
    if (header.width() < 1 || header.height() < 1 || header.width() > 256 || header.height() > 256)
        return QImage();
    return reader.read();
}

// A key's text as a whole number: digits with an optional sign, blanks around allowed.
std::optional<qint64> wholeNumberOf(const QString &text)
{
    const QString trimmed = text.trimmed();
    qsizetype at = 0;
    bool negative = false;
    if (at < trimmed.size() && (trimmed[at] == u'+' || trimmed[at] == u'-'))
        negative = trimmed[at++] == u'-';
    if (at == trimmed.size())
        return std::nullopt;
    qint64 value = 0;
    for (; at < trimmed.size(); ++at) {
        const char16_t c = trimmed[at].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c - u'0';
        if (value > (std::numeric_limits<qint64>::max() - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

// The keys describe the original: its very URI, its MTime, and its Size when there is one.
bool describesReference(const thumbcache::ThumbnailKeys &keys, const thumbcache::OriginalFile &original)
{
    if (!keys.contains(thumbcache::UriKey) || keys.value(thumbcache::UriKey) != QString::fromLatin1(original.uri))
        return false;
    if (!keys.contains(thumbcache::MTimeKey) || wholeNumberOf(keys.value(thumbcache::MTimeKey)) != original.mtime)
        return false;
    return !keys.contains(thumbcache::SizeKey) || wholeNumberOf(keys.value(thumbcache::SizeKey)) == original.size;
}

thumbcache::ThumbnailKeys keysOf(const QImage &image)
{
    thumbcache::ThumbnailKeys keys;
    for (const QString &key : image.textKeys())
        keys.insert(key, image.text(key));
    return keys;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1; // lower-case digits are not how the cache spells them
}

// The path rules: a clean absolute path, and a URI that spells exactly that path.
void checkPathRules(const QByteArray &path)
{
    const QByteArray clean = thumbcache::cleanAbsolutePath(path);
    const QByteArray uri = thumbcache::fileUri(path);
    if (!path.startsWith('/')) {
        fuzz::require(clean.isEmpty() && uri.isEmpty(), "a relative path has no clean form and no URI");
        return;
    }
    fuzz::require(clean.startsWith('/'), "a clean path is absolute");
    fuzz::require(!clean.contains("//"), "a clean path has no doubled /");
    fuzz::require(clean == "/" || !clean.endsWith('/'), "a clean path has no trailing / but the root's");
    for (const QByteArray &step : clean.mid(1).split('/'))
        fuzz::require(step != "." && step != "..", "a clean path has no . or .. step");
    fuzz::require(thumbcache::cleanAbsolutePath(clean) == clean, "cleaning a clean path changes nothing");
    fuzz::require(thumbcache::fileUri(clean) == uri, "a path and its clean form have one URI");

    fuzz::require(uri.startsWith("file://"), "a URI is a file:// URI");
    QByteArray spelt;
    for (qsizetype i = 7; i < uri.size(); ++i) {
        const char c = uri[i];
        if (c != '%') {
            fuzz::require(std::uint8_t(c) > 0x20 && std::uint8_t(c) < 0x7F && c != '#' && c != '?' && c != '%'
                              && c != ';' && c != '[' && c != ']' && c != ' ',
                          "a URI keeps only unreserved and path characters as they are");
            spelt.append(c);
            continue;
        }
        fuzz::require(i + 2 < uri.size() && hexValue(uri[i + 1]) >= 0 && hexValue(uri[i + 2]) >= 0,
                      "an escape is % and two capital hex digits");
        const char byte = char(hexValue(uri[i + 1]) * 16 + hexValue(uri[i + 2]));
        spelt.append(byte);
        i += 2;
    }
    fuzz::require(spelt == clean, "a URI spells its clean path byte for byte");

    const QString name = thumbcache::thumbnailFileName(uri);
    fuzz::require(name.size() == 36 && name.endsWith(QStringLiteral(".png")), "a thumbnail's name is an MD5 and .png");
    for (qsizetype i = 0; i < 32; ++i)
        fuzz::require((name[i] >= u'0' && name[i] <= u'9') || (name[i] >= u'a' && name[i] <= u'f'),
                      "a thumbnail's name is in lower-case hex");
}

bool fits(const QImage &image, Flavour flavour)
{
    const int side = thumbcache::flavourSide(flavour);
    return !image.isNull() && image.width() >= 1 && image.height() >= 1 && image.width() <= side
           && image.height() <= side;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // The image plugins are loaded through the application object; no display is needed.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    static QTemporaryDir folder;
    if (!folder.isValid())
        std::abort();
    qInstallMessageHandler(dropMessages);
    platform::configurePictureLimits();

    static Setup setup;
    // A photo as another program would show it too: a plain JPEG, read upright.
    setup.original = folder.filePath(QStringLiteral("pictures/original photo.jpg"));
    QDir().mkpath(QFileInfo(setup.original).path());
    QImage photo(96, 72, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb(x * 2, y * 3, 120));
    if (!photo.save(setup.original, "jpeg"))
        std::abort();
    struct stat st {};
    if (::stat(QFile::encodeName(setup.original).constData(), &st) != 0)
        std::abort();
    setup.file.uri = thumbcache::fileUri(QFile::encodeName(setup.original));
    setup.file.mtime = st.st_mtim.tv_sec;
    setup.file.size = st.st_size;

    // Every file is worth caching here, whatever its length.
    setup.cache = std::make_unique<const platform::ThumbnailCache>(folder.filePath(QStringLiteral("thumbnails")),
                                                                   QStringLiteral("9.9"),
                                                                   [](const QString &, qint64) { return true; });
    setup.normalPath = setup.cache->thumbnailPath(setup.file.uri, Flavour::Normal);
    setup.largePath = setup.cache->thumbnailPath(setup.file.uri, Flavour::Large);
    setup.failurePath = setup.cache->failurePath(setup.file.uri);
    for (const QString &path : {setup.normalPath, setup.largePath, setup.failurePath})
        QDir().mkpath(QFileInfo(path).path());

    // The cell of an empty cache: read from the original at the size of its thumbnail.
    platform::DecodeScratch scratch;
    const platform::CachedCell decoded = setup.cache->cell(setup.original, CellPx, scratch, nullptr, false);
    if (decoded.source != platform::CellSource::Decoded || decoded.cell.size() != CellPx)
        std::abort();
    setup.decodedCell = decoded.cell;
    g_setup = &setup;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const Setup &s = *g_setup;
    const SplitInput input = splitInput(fuzz::bytesOf(data, size), s.file);
    checkPathRules(input.path);

    for (const QString &path : {s.normalPath, s.largePath, s.failurePath})
        if (!fuzz::writeFile(path, input.png))
            return 0;

    // What the cache may make of the file, read here the plain way.
    const QImage thumbnail = plainRead(input);
    const thumbcache::ThumbnailKeys keys = keysOf(thumbnail);
    const bool describes = describesReference(keys, s.file);
    fuzz::require(thumbcache::describesOriginal(keys, s.file) == describes,
                  "a thumbnail describes the original exactly when its URI, MTime and Size agree");
    const bool servesCell = thumbnail.width() >= CellPx.width() && thumbnail.height() >= CellPx.height();
    const bool usable = describes && servesCell
                        && (fits(thumbnail, Flavour::Normal) || fits(thumbnail, Flavour::Large));
    const bool knownFailure = !usable && describes && fits(thumbnail, Flavour::Normal);

    static platform::DecodeScratch scratch;
    qint64 gateHeld = 0;
    platform::DecodeGate gate;
    gate.enter = [&](qint64 bytes) { gateHeld += bytes; };
    gate.leave = [&](qint64 bytes) { gateHeld -= bytes; };
    const platform::CachedCell cell = s.cache->cell(s.original, CellPx, scratch, &gate, false);
    fuzz::require(gateHeld == 0, "every decode that enters the gate leaves it");
    fuzz::require(!cell.storeFailed, "nothing is stored when storing is not allowed");

    if (usable) {
        fuzz::require(cell.source == platform::CellSource::Cache, "a valid thumbnail that serves the cell is used");
        fuzz::require(cell.cell.size() == CellPx, "a cell from the cache has the asked size");
        fuzz::require(cell.cell == platform::composeCell(thumbnail, CellPx),
                      "a cell from the cache shows the thumbnail");
    } else if (knownFailure) {
        fuzz::require(cell.source == platform::CellSource::KnownFailure, "a valid remembered failure is believed");
        fuzz::require(cell.cell.isNull(), "a known failure has no cell");
    } else {
        fuzz::require(cell.source == platform::CellSource::Decoded,
                      "no thumbnail that does not describe the original, or is of the wrong size, is used");
        fuzz::require(cell.cell == s.decodedCell, "a thumbnail not used changes nothing in the cell");
    }
    return 0;
}
