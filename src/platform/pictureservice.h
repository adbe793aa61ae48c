#pragma once
// Picture services: reading a picture file whole for the probe and the preview, reading it
// only as large as a thumbnail cell needs, and the cell Pavix draws for a file it cannot
// read. A picture is recognised by its content, whatever its extension says. Nothing here
// decodes a picture before its header has shown that the picture is of a sane size.

#include "common/result.h"
#include "platform/timedcall.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>

namespace pavix::platform {

// Largest picture Pavix decodes, in pixels (width times height as the header declares them).
inline constexpr qint64 MaxPicturePixels = 100'000'000;

// Most memory, in bytes, a progressive JPEG's coefficients may take while it is decoded
// (2 bytes for each pixel of each colour component, whatever size it is decoded at); a
// picture that needs more is refused before decoding.
inline constexpr qint64 MaxCoefficientBytes = qint64(256) << 20;

// Most memory, in bytes, one strip or tile of a TIFF file may take: the TIFF reader sets a
// whole one aside before decoding it, however few bytes the file holds. 512 MB holds a
// picture of MaxPicturePixels at 32 bits a pixel stored as one strip.
inline constexpr qint64 MaxTiffBlockBytes = qint64(512) << 20;

// Qt's per-picture allocation limit that Pavix sets, in MiB: a picture of MaxPicturePixels
// at 32 bits per pixel (400,000,000 bytes) fits with room to spare.
inline constexpr int PictureAllocationLimitMb = 400;

// The colour a thumbnail cell is cleared to before its picture is drawn; the transparent
// parts of a picture show it.
inline constexpr QRgb CellCanvasColour = 0xffffffff;

// Raises Qt's per-picture allocation limit to PictureAllocationLimitMb, so that any
// picture up to MaxPicturePixels can be read at full size. Call once at start-up, before
// the first picture is read by any program that reads pictures through this service.
void configurePictureLimits();

// True when both sides of a declared size are above 0 and their product is at most
// MaxPicturePixels; computed in 64 bits, so no size overflows.
bool withinPictureLimits(QSize pixels);

// The probe's load: the file's first picture at full size (the first directory entry of
// an icon, the first frame of an animation; later frames are never read). Refuses with
// ErrBadPicture and a message naming the file ("\"name\" cannot be read as a picture: ...")
// a missing file, one that is not a regular file, a file that is not a picture, an empty or
// damaged one, one whose header declares a zero side or more than MaxPicturePixels, and a
// progressive JPEG whose coefficients need more than MaxCoefficientBytes or a TIFF file one of
// whose strips or tiles needs more than MaxTiffBlockBytes (these refused before decoding). A file whose length is 0 is refused unread: the system's pseudo files report
// that length, and reading some of them blocks.
// Refuses with ErrDeviceIo when the file exists but opening or reading it fails, except
// that a file Pavix may not read (permission denied) is refused with ErrBadPicture.
common::Result<QImage> loadPicture(const QString &path);

// How long loadPictureWithin waits for a file by default.
inline constexpr std::chrono::milliseconds PictureReadLimit{10'000};

// loadPicture on a thread of its own, waited for no longer than limit: a file whose read
// stalls (a stalled network mount) is refused with ErrDeviceIo once the limit has passed,
// and the read is left to end on its own. For the interface thread; a read the user waits
// for (the selected file) keeps the windows alive meanwhile (platform/timedcall.h).
common::Result<QImage> loadPictureWithin(const QString &path, std::chrono::milliseconds limit = PictureReadLimit,
                                         Waiting waiting = Waiting::Blocked);

// The picture's whole natural size in twips: each side in pixels times twipsPerPixel,
// rounded half to even, as a 32-bit integer. Negative sides or factors give 0; a side that
// would pass the 32-bit range stops at its largest value.
QSize naturalSizeTwips(QSize pixels, double twipsPerPixel);

// One side of naturalSizeTwips: pixels times twipsPerPixel, rounded half to even, kept
// inside 0 .. the largest 32-bit integer.
std::int32_t naturalLengthTwips(int pixels, double twipsPerPixel);

// A thumbnail cell of cellPx: the file's first picture stretched over the whole cell
// (the aspect ratio is not kept) on a freshly cleared canvas of CellCanvasColour. A JPEG
// is decoded already shrunk (down to an eighth of its size) towards the cell; other
// formats are decoded at full size and scaled with area averaging (a large palette picture
// first shrinks by nearest pixels to four times the cell). Only the cell is kept.
// Same refusals as loadPicture; an empty cellPx is refused with ErrGeneral.
common::Result<QImage> loadThumbnail(const QString &path, QSize cellPx);

// Files up to this many bytes are read into memory in one go when a thumbnail is made:
// a thousand small reads of a bitmap cost more than its decoding.
inline constexpr qint64 WholeFileBytes = qint64(32) << 20;
// Largest buffer, in bytes, that loadThumbnail leaves in a DecodeScratch.
inline constexpr qsizetype ScratchKeepBytes = qsizetype(16) << 20;

// Memory a caller keeps from one thumbnail to the next: a file of the same length, or a
// picture of the same size and format, as the one before reuses it instead of taking fresh
// pages from the system, which costs more than decoding many a bitmap.
struct DecodeScratch {
    QByteArray fileBytes; // the last file read in one go
    QImage picture;       // the last picture decoded
};

// Lets a caller that decodes on several threads hold back a decode until its memory can be
// spared. enter(bytes) runs before a decode at full size, with the memory the header
// promises it takes (4 bytes a pixel, plus a progressive JPEG's coefficients), and may
// block; leave(bytes) runs after it. A shrunk JPEG decode passes the gate only when it is
// progressive, with its coefficients; other shrunk JPEG decodes, refused files and
// pictures of unknown size do not pass it.
struct DecodeGate {
    std::function<void(qint64 bytes)> enter;
    std::function<void(qint64 bytes)> leave;
};

// loadThumbnail reusing scratch; afterwards scratch holds the file's bytes and the decoded
// picture, each dropped when over ScratchKeepBytes. A gate, when given, is passed by
// full-size decodes.
common::Result<QImage> loadThumbnail(const QString &path, QSize cellPx, DecodeScratch &scratch,
                                     const DecodeGate *gate = nullptr);

// What reading a picture's header told besides its pixels.
struct PictureFacts {
    QByteArray format;        // the reader's name for the format of the content, "jpeg", "bmp" ...
    QSize fullPx;             // the first picture's whole size (invalid when unknown)
    bool transformed = false; // the file asks for its picture to be turned or mirrored (an
                              // Exif orientation), which Pavix does not do
};

// Chooses the size a picture is read at from what its header told; an invalid or empty
// size reads it whole.
using ShrinkRule = std::function<QSize(const PictureFacts &facts)>;

// The file's first picture at the size shrinkFor gives (a JPEG decoded already shrunk, any
// other format shrunk after decoding, with area averaging; the aspect is whatever the size
// gives), with the header's facts in facts when given; an empty shrinkFor or an invalid
// size leaves the picture whole. Same refusals as loadPicture; scratch as for loadThumbnail.
common::Result<QImage> loadShrunkPicture(const QString &path, const ShrinkRule &shrinkFor, DecodeScratch &scratch,
                                         const DecodeGate *gate = nullptr, PictureFacts *facts = nullptr);

// What the file's header tells, without decoding the picture. Refuses a file that is not a
// picture Pavix recognises (ErrBadPicture) and one it cannot open (ErrDeviceIo).
common::Result<PictureFacts> readPictureFacts(const QString &path);

// The picture shrunk (or stretched) to size, with area averaging; a palette picture first
// shrinks by nearest pixels to four times the size. The same picture when it already has
// that size; a null picture or an empty size gives the picture back unchanged.
QImage shrinkPicture(const QImage &picture, QSize size);

// A thumbnail cell of cellPx: the whole picture stretched over it (the aspect is not
// kept) on a canvas cleared to CellCanvasColour, so transparent parts show the canvas. An
// empty cellPx gives a null image.
QImage composeCell(const QImage &picture, QSize cellPx);

// The cell Pavix shows for a file it cannot read: light grey with a dark frame and a thick
// red cross over its middle, unlike any picture's cell. An empty cellPx gives a null image.
QImage unreadableCell(QSize cellPx);

// Writes the picture as a Windows bitmap file, replacing what is at `path` only once the
// new file is complete (an existing file is never left half written). What has the name is
// replaced, never written through: a link there is replaced by the bitmap and its target
// left alone; a folder there is not replaced. A null picture is refused with ErrGeneral, a
// file that cannot be written with ErrDeviceIo and the system's reason ("No space left on
// device").
common::Status saveBitmap(const QImage &picture, const QString &path);

} // namespace pavix::platform
