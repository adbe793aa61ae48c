// Feeds any bytes to the picture-loading guard as a file: the header sniffing, the declared
// size check and the shrink-on-load of thumbnails, both through the in-memory path of
// loadThumbnail and the file path of loadPicture; the JPEG frame reader that tells a
// progressive picture's coefficient memory before it is decoded, and the TIFF directory
// reader that tells the memory of a strip or tile.

#include "fuzzinput.h"

#include "common/jpegframe.h"
#include "common/tiffheader.h"
#include "platform/pictureservice.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

using namespace pavix;

namespace {

QString g_picturePath;

void dropMessages(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // The image plugins are loaded through the application object; no display is needed.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    static QTemporaryDir folder;
    if (!folder.isValid())
        std::abort();
    g_picturePath = folder.filePath(QStringLiteral("picture"));
    // Damaged pictures make the decoders talk on every input; that costs more than the decode.
    qInstallMessageHandler(dropMessages);
    platform::configurePictureLimits();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (!fuzz::writeFile(g_picturePath, fuzz::bytesOf(data, size)))
        return 0;

    // One scratch for the whole run, as the thumbnail loader keeps one per thread.
    static platform::DecodeScratch scratch;
    qint64 gateHeld = 0;
    platform::DecodeGate gate;
    gate.enter = [&](qint64 bytes) {
        fuzz::require(bytes > 0 && bytes <= 4 * platform::MaxPicturePixels + platform::MaxCoefficientBytes,
                      "the gate is asked for a sane size");
        gateHeld += bytes;
    };
    gate.leave = [&](qint64 bytes) { gateHeld -= bytes; };

    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<common::JpegFrame> frame = common::readJpegFrame(bytes);
    if (frame) {
        fuzz::require(frame->width >= 0 && frame->width <= 0xffff && frame->height >= 0 && frame->height <= 0xffff
                          && frame->components >= 0 && frame->components <= 0xff,
                      "a frame tells no more than its fields hold");
        fuzz::require(common::progressiveCoefficientBytes(*frame) >= 0, "coefficient memory is never negative");
    }

    const std::optional<common::TiffLayout> layout = common::readTiffLayout(bytes);
    if (layout)
        fuzz::require(common::largestTiffBlockBytes(*layout) >= 0, "a strip's memory is never negative");

    const QSize cellPx(48, 36);
    const auto thumbnail = platform::loadThumbnail(g_picturePath, cellPx, scratch, &gate);
    fuzz::require(gateHeld == 0, "every decode that enters the gate leaves it");
    if (thumbnail)
        fuzz::require(thumbnail->size() == cellPx, "a thumbnail fills exactly its cell");
    else
        fuzz::require(!thumbnail.error().message.isEmpty(), "a refusal says why");
    fuzz::require(scratch.picture.sizeInBytes() <= platform::ScratchKeepBytes
                      && scratch.fileBytes.capacity() <= platform::ScratchKeepBytes,
                  "the scratch is never kept large");

    const auto picture = platform::loadPicture(g_picturePath);
    if (picture) {
        fuzz::require(platform::withinPictureLimits(picture->size()), "a loaded picture is within the limits");
        fuzz::require(!frame || common::progressiveCoefficientBytes(*frame) <= platform::MaxCoefficientBytes,
                      "no progressive picture is decoded whose coefficients pass the limit");
        fuzz::require(!layout || common::largestTiffBlockBytes(*layout) <= platform::MaxTiffBlockBytes,
                      "no TIFF is decoded whose strips or tiles pass the limit");
    } else
        fuzz::require(!picture.error().message.isEmpty(), "a refusal says why");
    return 0;
}
