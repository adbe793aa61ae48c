#include "platform/pictureservice.h"

#include "common/filename.h"
#include "common/jpegframe.h"
#include "common/pngchunks.h"
#include "common/tiffheader.h"
#include "common/units.h"
#include "platform/busyscope.h"
#include "platform/folderlisting.h"
#include "platform/timedcall.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QPen>
#include <QRandomGenerator>
#include <QScopeGuard>

#include <webp/decode.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace pavix::platform {

namespace {

using common::Error;
using common::Result;

Error badPicture(const QString &name, const QString &reason)
{
    return common::makeError(
        common::ErrBadPicture,
        QCoreApplication::translate("pavix::platform", "\"%1\" cannot be read as a picture: %2").arg(name, reason));
}

Error deviceError(const QString &name, const QString &reason)
{
    return common::makeError(
        common::ErrDeviceIo,
        QCoreApplication::translate("pavix::platform", "Device I/O Error while reading \"%1\": %2").arg(name, reason));
}

// The file at `path` could not be opened (the system's error number): one Pavix may not
// read is a file it cannot read, like a damaged one; any other failure is the device's.
Error openFailure(const QString &path, const QString &name, int error)
{
    const QString reason = QString::fromLocal8Bit(std::strerror(error));
    // Told apart by the permissions: a file that opens for no one, not even for root (a
    // write-only device attribute), is the device's.
    if (::access(common::encodeFileName(path).constData(), R_OK) != 0)
        return badPicture(name, reason);
    return deviceError(name, reason);
}

// The name of the file at `path`, as messages name it.
QString fileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString sizeText(QSize pixels)
{
    return QCoreApplication::translate("pavix::platform", "%1 x %2 pixels").arg(pixels.width()).arg(pixels.height());
}

// The reason a declared or decoded size is refused; empty when the size is acceptable.
// `whose` is an untranslated text of the context "pavix::platform".
std::optional<QString> sizeRefusal(QSize pixels, const char *whose)
{
    if (withinPictureLimits(pixels))
        return std::nullopt;
    if (pixels.width() <= 0 || pixels.height() <= 0)
        return QCoreApplication::translate("pavix::platform", "%1 %2, a picture without area")
            .arg(QCoreApplication::translate("pavix::platform", whose), sizeText(pixels));
    return QCoreApplication::translate("pavix::platform", "%1 %2, more than %3 megapixels")
        .arg(QCoreApplication::translate("pavix::platform", whose), sizeText(pixels))
        .arg(MaxPicturePixels / 1'000'000);
}

// A file that remembers a failed read. QFile forgets its read error at the next seek, and
// the reader seeks back after every format it tries, so its own error state comes too late.
class WatchedFile : public QFile {
public:
    using QFile::QFile;
    bool readFailed() const { return m_readFailed; }
    QString readFailure() const { return m_readFailure; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 got = QFile::readData(data, maxSize);
        if (got < 0 && !m_readFailed) {
            m_readFailed = true;
            m_readFailure = errorString();
        }
        return got;
    }

private:
    bool m_readFailed = false;
    QString m_readFailure;
};

QString claimsMoreThanItHolds()
{
    return QCoreApplication::translate("pavix::platform", "a part of it claims more data than the file holds");
}

// Bytes of a file's start read ahead of the picture reader: enough for the frame header of
// any JPEG whose metadata leaves it within them.
constexpr qint64 HeaderPeekBytes = qint64(256) << 10;

// True when bytes hold a WebP file of one still picture, as its header tells.
bool isStillWebp(QByteArrayView bytes)
{
    WebPBitstreamFeatures features;
    return WebPGetFeatures(reinterpret_cast<const uint8_t *>(bytes.data()), size_t(bytes.size()), &features)
               == VP8_STATUS_OK
           && !features.has_animation;
}

// Decodes the still WebP picture of bytes straight to `size` with libwebp's own scaler,
// which shrinks each row as it is decoded: no full-size picture is ever held. Into picture,
// reusing its memory when it has that size and format. False when the data cannot be
// decoded.
bool decodeShrunkWebp(QByteArrayView bytes, QSize size, QImage &picture)
{
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config))
        return false;
    const auto *data = reinterpret_cast<const uint8_t *>(bytes.data());
    if (WebPGetFeatures(data, size_t(bytes.size()), &config.input) != VP8_STATUS_OK || config.input.has_animation)
        return false;
    const bool alpha = config.input.has_alpha != 0;
    const QImage::Format format = alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (picture.size() != size || picture.format() != format)
        picture = QImage(size, format);
    if (picture.isNull())
        return false;
    config.options.use_scaling = 1;
    config.options.scaled_width = size.width();
    config.options.scaled_height = size.height();
    // Qt's 32-bit formats hold a pixel as one number 0xAARRGGBB, byte by byte B, G, R, A
    // on a little-endian machine; a picture without alpha gets 0xff there, as RGB32 wants.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    config.output.colorspace = alpha ? MODE_bgrA : MODE_BGRA;
#else
    config.output.colorspace = alpha ? MODE_Argb : MODE_ARGB;
#endif
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = picture.bits();
    config.output.u.RGBA.stride = int(picture.bytesPerLine());
    config.output.u.RGBA.size = size_t(picture.sizeInBytes());
    const bool decoded = WebPDecode(data, size_t(bytes.size()), &config) == VP8_STATUS_OK;
    WebPFreeDecBuffer(&config.output);
    return decoded;
}

// Reads the first picture of a file into picture, reusing its memory when the new picture
// has the same size and format. With fileBytes, a file of up to WholeFileBytes is read into
// it in one go and decoded from memory. With a shrinkFor that gives a size for the header's
// facts, a JPEG is decoded already scaled to that size (libjpeg's DCT scaling does most of
// the work), and so is a still WebP read whole into fileBytes (libwebp's scaler); other
// formats come at full size. facts, when given, receives what the header told.
common::Status readFirstPicture(const QString &path, const ShrinkRule &shrinkFor, QImage &picture,
                                QByteArray *fileBytes, const DecodeGate *gate, PictureFacts *facts)
{
    const QString name = fileNameOf(path);
    const PathStatus status = pathStatus(path);
    if (status.error != 0)
        return badPicture(name, QCoreApplication::translate("pavix::platform", "the file does not exist"));
    // A folder, a pipe or a device is no picture, and reading one could block for ever.
    if (!status.isFile)
        return badPicture(name, QCoreApplication::translate("pavix::platform", "it is not a file"));

    // Opened here, by the bytes of its name, rather than by QImageReader: given a name it
    // cannot open, the reader goes on to try the name with each known extension appended,
    // and could load another file.
    WatchedFile file;
    if (const int error = openForReading(path, file); error != 0)
        return openFailure(path, name, error);

    QIODevice *device = &file;
    QBuffer memory;
    const qint64 length = file.size();
    if (length == 0)
        return badPicture(name, QCoreApplication::translate("pavix::platform", "the file is empty"));
    if (fileBytes && length <= WholeFileBytes) {
        fileBytes->resize(length);
        const qint64 got = file.read(fileBytes->data(), length);
        if (got < 0 || file.readFailed())
            return deviceError(name, file.readFailed() ? file.readFailure() : file.errorString());
        fileBytes->resize(got); // the file may have shrunk since its length was taken
        memory.setBuffer(fileBytes);
        memory.open(QIODevice::ReadOnly);
        device = &memory;
    }
    // The file's start, read here before the reader takes Qt's lock on the image formats,
    // so that a file whose read stalls holds up only this thread.
    const QByteArray head = device == &memory ? QByteArray() : file.peek(HeaderPeekBytes);
    if (file.readFailed())
        return deviceError(name, file.readFailure());
    const QByteArrayView headView = device == &memory ? QByteArrayView(*fileBytes) : QByteArrayView(head);
    // Content counts, not the name: a PNG named like a bitmap is read as a PNG.
    if (!common::pngDataWithinFile(headView, length))
        return badPicture(name, claimsMoreThanItHolds());

    // No format given: the reader recognises the content (taking a file's extension as a
    // first guess), so a GIF named .bmp still loads as the GIF it is.
    QImageReader reader(device);
    const QSize declared = reader.size();
    if (file.readFailed())
        return deviceError(name, file.readFailure());
    // Some readers cannot tell the size before decoding (-1 x -1); Qt's allocation limit
    // then guards the decode, and the decoded size is checked below.
    if (declared.width() >= 0 && declared.height() >= 0) {
        if (const auto refusal = sizeRefusal(declared, QT_TRANSLATE_NOOP("pavix::platform", "its header declares")))
            return badPicture(name, *refusal);
    }

    PictureFacts found{reader.format(), declared, reader.transformation() != QImageIOHandler::TransformationNone};
    if (facts)
        *facts = found;
    // A progressive JPEG keeps every coefficient of the whole picture while it decodes, even
    // when it is decoded shrunk; the decoder does not count that memory against any limit.
    qint64 coefficientBytes = 0;
    if (found.format == "jpeg") {
        if (const std::optional<common::JpegFrame> frame = common::readJpegFrame(headView))
            coefficientBytes = common::progressiveCoefficientBytes(*frame);
    }
    if (found.format == "tiff") {
        if (const std::optional<common::TiffLayout> layout = common::readTiffLayout(headView)) {
            if (const qint64 blockBytes = common::largestTiffBlockBytes(*layout); blockBytes > MaxTiffBlockBytes)
                return badPicture(
                    name, QCoreApplication::translate("pavix::platform",
                                                      "a strip or tile of it needs %1 MB to decode, more than %2 MB")
                              .arg(blockBytes >> 20)
                              .arg(MaxTiffBlockBytes >> 20));
        }
    }
    if (coefficientBytes > MaxCoefficientBytes)
        return badPicture(name,
                          QCoreApplication::translate("pavix::platform",
                                                      "its progressive coding needs %1 MB to decode, more than %2 MB")
                              .arg(coefficientBytes >> 20)
                              .arg(MaxCoefficientBytes >> 20));
    const QSize shrinkTo = shrinkFor && declared.isValid() ? shrinkFor(found) : QSize();
    const bool shrinkWanted = shrinkTo.isValid() && !shrinkTo.isEmpty();
    const bool shrunkWebp = shrinkWanted && found.format == "webp" && device == &memory && isStillWebp(*fileBytes);
    const bool shrunk = shrinkWanted && (found.format == "jpeg" || shrunkWebp);
    if (shrunk && !shrunkWebp)
        reader.setScaledSize(shrinkTo);

    // A decode waits at the gate for its memory to be spared: 32 bits a pixel at full size,
    // and the coefficients of a progressive JPEG.
    const qint64 pictureBytes = !shrunk && declared.isValid() ? 4 * qint64(declared.width()) * declared.height() : 0;
    const qint64 gateBytes = gate ? pictureBytes + coefficientBytes : 0;
    if (gateBytes > 0 && gate->enter)
        gate->enter(gateBytes);
    const auto leaveGate = qScopeGuard([&] {
        if (gateBytes > 0 && gate->leave)
            gate->leave(gateBytes);
    });

    // The bitmap reader writes its pixels into the image it is given when that has the
    // right size and format, and leaves unwritten what a damaged file (an RLE stream that
    // ends early, a file cut short) does not give: that part would show the last picture
    // decoded here, or whatever the memory held. It gets a cleared image, made here when
    // the file's data could fill it (a run of RLE data gives at most 255 pixels for 2
    // bytes); for a larger claim, nothing is set aside before the reader has checked more.
    if (found.format == "bmp" && declared.isValid() && !declared.isEmpty()) {
        const QImage::Format format = reader.imageFormat();
        if (format != QImage::Format_Invalid) {
            const bool reused = picture.size() == declared && picture.format() == format;
            const qint64 pixelBytes = qint64(declared.width()) * declared.height()
                                      * QImage::toPixelFormat(format).bitsPerPixel() / 8;
            if (!reused && pixelBytes <= std::max(qint64(1) << 20, 128 * length))
                picture = QImage(declared, format);
            if (picture.size() == declared && picture.format() == format)
                picture.fill(0);
        }
    }

    if (shrunkWebp) {
        if (!decodeShrunkWebp(*fileBytes, shrinkTo, picture))
            return badPicture(name,
                              QCoreApplication::translate("pavix::platform",
                                                          "its picture data is damaged or of an unsupported kind"));
    } else if (!reader.read(&picture)) {
        if (file.readFailed())
            return deviceError(name, file.readFailure());
        if (reader.error() == QImageReader::DeviceError)
            return deviceError(name, reader.errorString());
        if (device == &memory && fileBytes->isEmpty())
            return badPicture(name,
                              QCoreApplication::translate("pavix::platform",
                                                          "the file is empty")); // emptied since its length was taken
        if (reader.error() == QImageReader::UnsupportedFormatError)
            return badPicture(name, QCoreApplication::translate("pavix::platform",
                                                                "its content is not a picture format Pavix reads"));
        return badPicture(name, QCoreApplication::translate("pavix::platform",
                                                            "its picture data is damaged or of an unsupported kind"));
    }
    if (picture.isNull())
        return badPicture(name, QCoreApplication::translate("pavix::platform", "it holds no picture"));
    // A frame may be larger than the screen its header declares.
    if (const auto refusal = sizeRefusal(picture.size(), QT_TRANSLATE_NOOP("pavix::platform", "it decodes to")))
        return badPicture(name, *refusal);
    // Some readers tell the size only by decoding.
    if (facts && !declared.isValid() && !shrunk)
        facts->fullPx = picture.size();
    return common::Ok{};
}

// Drops scratch buffers grown past ScratchKeepBytes.
void trimScratch(DecodeScratch &scratch)
{
    if (scratch.picture.sizeInBytes() > ScratchKeepBytes)
        scratch.picture = QImage();
    if (scratch.fileBytes.capacity() > ScratchKeepBytes)
        scratch.fileBytes = QByteArray();
}

} // namespace

QImage shrinkPicture(const QImage &picture, QSize size)
{
    if (picture.isNull() || size.isEmpty() || picture.size() == size)
        return picture;
    QImage source = picture;
    // Smooth scaling turns a palette or 1-bit picture into 32 bits at full size first. A
    // nearest-pixel step down to four times the target keeps that copy small and still
    // leaves 16 samples to average into each pixel.
    const QSize step(std::min(picture.width(), size.width() * 4), std::min(picture.height(), size.height() * 4));
    if (picture.depth() < 32 && qint64(picture.width()) * picture.height() > 4 * qint64(step.width()) * step.height())
        source = picture.scaled(step, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    // Area averaging (Qt's smooth scaling when shrinking) keeps fine detail from aliasing.
    return source.size() == size ? source : source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage composeCell(const QImage &picture, QSize cellPx)
{
    if (cellPx.isEmpty())
        return QImage();
    const QImage stretched = shrinkPicture(picture, cellPx);
    QImage cell(cellPx, QImage::Format_RGB32);
    cell.fill(CellCanvasColour);
    QPainter painter(&cell);
    painter.drawImage(QRect(QPoint(0, 0), cellPx), stretched);
    painter.end();
    return cell;
}

void configurePictureLimits()
{
    QImageReader::setAllocationLimit(PictureAllocationLimitMb);
}

bool withinPictureLimits(QSize pixels)
{
    if (pixels.width() <= 0 || pixels.height() <= 0)
        return false;
    return qint64(pixels.width()) * qint64(pixels.height()) <= MaxPicturePixels;
}

Result<QImage> loadPicture(const QString &path)
{
    QImage picture;
    const common::Status read = readFirstPicture(path, ShrinkRule(), picture, nullptr, nullptr, nullptr);
    if (!read)
        return read.error();
    return picture;
}

Result<QImage> loadPictureWithin(const QString &path, std::chrono::milliseconds limit, Waiting waiting)
{
    // The selection the user just made is drawn before the read, however short it is.
    if (waiting == Waiting::KeepingWindowsAlive && onInterfaceThread())
        BusyScope().keepAlive();
    std::optional<Result<QImage>> read = callWithin(
        limit, [path] { return loadPicture(path); }, waiting);
    if (read)
        return std::move(*read);
    return deviceError(fileNameOf(path),
                       QCoreApplication::translate("pavix::platform", "reading it took longer than %1 seconds")
                           .arg(limit.count() / 1000.0));
}

std::int32_t naturalLengthTwips(int pixels, double twipsPerPixel)
{
    if (pixels <= 0 || !(twipsPerPixel > 0.0))
        return 0;
    const double twips = common::roundHalfEven(double(pixels) * twipsPerPixel);
    constexpr double largest = double(std::numeric_limits<std::int32_t>::max());
    if (!(twips < largest))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(twips);
}

QSize naturalSizeTwips(QSize pixels, double twipsPerPixel)
{
    return QSize(naturalLengthTwips(pixels.width(), twipsPerPixel), naturalLengthTwips(pixels.height(), twipsPerPixel));
}

Result<QImage> loadThumbnail(const QString &path, QSize cellPx)
{
    DecodeScratch scratch;
    return loadThumbnail(path, cellPx, scratch);
}

Result<QImage> loadThumbnail(const QString &path, QSize cellPx, DecodeScratch &scratch, const DecodeGate *gate)
{
    if (cellPx.isEmpty())
        return common::makeError(
            common::ErrGeneral,
            QCoreApplication::translate("pavix::platform", "A thumbnail cell of %1 has no area").arg(sizeText(cellPx)));
    const ShrinkRule toCell = [cellPx](const PictureFacts &) { return cellPx; };
    const common::Status read = readFirstPicture(path, toCell, scratch.picture, &scratch.fileBytes, gate, nullptr);
    Result<QImage> cell = read ? Result<QImage>(composeCell(scratch.picture, cellPx)) : Result<QImage>(read.error());
    trimScratch(scratch);
    return cell;
}

Result<QImage> loadShrunkPicture(const QString &path, const ShrinkRule &shrinkFor, DecodeScratch &scratch,
                                 const DecodeGate *gate, PictureFacts *facts)
{
    PictureFacts found;
    const common::Status read = readFirstPicture(path, shrinkFor, scratch.picture, &scratch.fileBytes, gate, &found);
    if (facts)
        *facts = found;
    if (!read) {
        trimScratch(scratch);
        return read.error();
    }
    const QSize size = shrinkFor ? shrinkFor(found) : QSize();
    QImage shrunk = size.isValid() && !size.isEmpty() ? shrinkPicture(scratch.picture, size) : scratch.picture;
    // A result of its own, so that the next read can reuse the scratch picture's memory.
    if (shrunk.constBits() == scratch.picture.constBits())
        shrunk = scratch.picture.copy();
    trimScratch(scratch);
    return shrunk;
}

Result<PictureFacts> readPictureFacts(const QString &path)
{
    const QString name = fileNameOf(path);
    if (!pathStatus(path).isFile)
        return badPicture(name, QCoreApplication::translate("pavix::platform", "it is not a file"));
    QFile file;
    if (const int error = openForReading(path, file); error != 0)
        return openFailure(path, name, error);
    if (file.size() == 0)
        return badPicture(name, QCoreApplication::translate("pavix::platform", "the file is empty"));
    // As for a whole read: a stalled read holds up this thread only, not Qt's image formats.
    const QByteArray head = file.peek(HeaderPeekBytes);
    if (!common::pngDataWithinFile(head, file.size()))
        return badPicture(name, claimsMoreThanItHolds());
    QImageReader reader(&file);
    const QSize declared = reader.size();
    if (reader.format().isEmpty())
        return badPicture(name, QCoreApplication::translate("pavix::platform",
                                                            "its content is not a picture format Pavix reads"));
    return PictureFacts{reader.format(), declared, reader.transformation() != QImageIOHandler::TransformationNone};
}

QImage unreadableCell(QSize cellPx)
{
    if (cellPx.isEmpty())
        return QImage();
    QImage cell(cellPx, QImage::Format_RGB32);
    cell.fill(QColor(0xd8, 0xd8, 0xd8));
    QPainter painter(&cell);
    const int w = cellPx.width();
    const int h = cellPx.height();
    const int shorter = std::min(w, h);
    painter.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
    painter.drawRect(0, 0, w - 1, h - 1);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0xd0, 0x10, 0x10), std::max(2.0, shorter / 12.0), Qt::SolidLine, Qt::RoundCap));
    const double insetX = w * 0.22;
    const double insetY = h * 0.22;
    painter.drawLine(QPointF(insetX, insetY), QPointF(w - insetX, h - insetY));
    painter.drawLine(QPointF(w - insetX, insetY), QPointF(insetX, h - insetY));
    painter.end();
    return cell;
}

namespace {

// Writes straight to an open file and keeps the system's reason when a write fails. QFile
// reports a write that stops part of the way (on a disk that fills up) as "Unknown error".
class DescriptorWriter : public QIODevice {
public:
    explicit DescriptorWriter(int fd) : m_fd(fd) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    // The errno of the first write that failed; 0 when none did.
    int writeError() const { return m_writeError; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override
    {
        if (m_writeError != 0)
            return -1;
        qint64 written = 0;
        while (written < length) {
            const ssize_t n = ::write(m_fd, data + written, size_t(length - written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                m_writeError = n < 0 ? errno : EIO;
                return -1;
            }
            written += n;
        }
        return written;
    }

private:
    const int m_fd;
    int m_writeError = 0;
};

} // namespace

common::Status saveBitmap(const QImage &picture, const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    if (picture.isNull())
        return common::makeError(
            common::ErrGeneral,
            QCoreApplication::translate("pavix::platform", "There is no picture to write to \"%1\".").arg(name));
    auto writeError = [&name](const QString &reason) {
        return common::makeError(
            common::ErrDeviceIo,
            QCoreApplication::translate("pavix::platform", "\"%1\" cannot be written: %2").arg(name, reason));
    };
    auto systemError = [&writeError](int error) { return writeError(QString::fromLocal8Bit(std::strerror(error))); };

    // Written into a new file beside its final name and renamed over it: whatever has the
    // name (a link, a pipe, an old bitmap) is replaced whole, never written through, and no
    // program reads a half-written bitmap. A folder of that name is not replaced.
    const QByteArray target = QFile::encodeName(path);
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        // 0666 less the umask, as any new file of the user's.
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return systemError(errno);
    auto removeTemporary = qScopeGuard([&temporary] { ::unlink(temporary.constData()); });

    // Bitmaps hold no alpha for the desktop: transparent parts become white.
    QImage opaque(picture.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    {
        QPainter painter(&opaque);
        painter.drawImage(0, 0, picture);
    }
    {
        DescriptorWriter file(fd);
        QImageWriter writer(&file, "bmp");
        const bool written = writer.write(opaque);
        if (file.writeError() != 0 || !written) {
            ::close(fd);
            return file.writeError() != 0 ? systemError(file.writeError()) : writeError(writer.errorString());
        }
    }
    // On the disk before it takes the name, so a crash leaves the old file or the new one.
    if (::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        return systemError(error);
    }
    if (::close(fd) != 0)
        return systemError(errno);
    if (::rename(temporary.constData(), target.constData()) != 0)
        return systemError(errno);
    removeTemporary.dismiss();
    return common::Ok{};
}

} // namespace pavix::platform
