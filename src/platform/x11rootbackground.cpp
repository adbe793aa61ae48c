#include "platform/x11rootbackground.h"

#include <QCoreApplication>
#include <QPainter>
#include <QSysInfo>

#include <xcb/xcb.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace pavix::platform {

namespace {

using common::Status;

common::Error refusal(const QString &reason)
{
    return common::makeError(common::ErrGeneral, reason);
}

struct ConnectionCloser {
    void operator()(xcb_connection_t *connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, ConnectionCloser>;

// The error of a checked request, or nothing when the server took it. `what` is an
// untranslated text of the context "pavix::platform".
std::optional<QString> requestError(xcb_connection_t *connection, xcb_void_cookie_t cookie, const char *what)
{
    xcb_generic_error_t *error = xcb_request_check(connection, cookie);
    if (!error)
        return std::nullopt;
    const int code = error->error_code;
    std::free(error);
    return QCoreApplication::translate("pavix::platform", "the X server refused to %1 (error %2).")
        .arg(QCoreApplication::translate("pavix::platform", what))
        .arg(code);
}

// How the server wants a pixel of the root window laid out.
struct PixelLayout {
    quint8 depth = 0;
    int bitsPerPixel = 0;
    int scanlinePad = 32;
    bool mostSignificantFirst = false;
    quint32 redMask = 0;
    quint32 greenMask = 0;
    quint32 blueMask = 0;
};

std::optional<PixelLayout> rootPixelLayout(const xcb_setup_t *setup, const xcb_screen_t *screen)
{
    PixelLayout layout;
    layout.depth = screen->root_depth;
    layout.mostSignificantFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    bool visualFound = false;
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem && !visualFound;
         xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem; xcb_visualtype_next(&visuals)) {
            const xcb_visualtype_t *visual = visuals.data;
            if (visual->visual_id != screen->root_visual)
                continue;
            if (visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR && visual->_class != XCB_VISUAL_CLASS_DIRECT_COLOR)
                return std::nullopt;
            layout.redMask = visual->red_mask;
            layout.greenMask = visual->green_mask;
            layout.blueMask = visual->blue_mask;
            visualFound = true;
            break;
        }
    }
    if (!visualFound)
        return std::nullopt;
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem; xcb_format_next(&formats)) {
        if (formats.data->depth == layout.depth) {
            layout.bitsPerPixel = formats.data->bits_per_pixel;
            layout.scanlinePad = formats.data->scanline_pad;
        }
    }
    if (layout.bitsPerPixel != 16 && layout.bitsPerPixel != 24 && layout.bitsPerPixel != 32)
        return std::nullopt;
    return layout;
}

// An 8-bit channel value placed into `mask`, keeping its most significant bits.
quint32 packChannel(int value, quint32 mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const quint32 scaled = bits <= 8 ? quint32(value) >> (8 - bits) : quint32(value) << (bits - 8);
    return (scaled << shift) & mask;
}

// Rows [firstRow, firstRow + rows) of `picture` (32-bit RGB) in the server's layout.
std::vector<quint8> packRows(const QImage &picture, int firstRow, int rows, const PixelLayout &layout, int stride)
{
    std::vector<quint8> bytes(size_t(stride) * size_t(rows), 0);
    // The usual screen keeps pixels as Qt's 32-bit RGB does in memory: rows copy as they are.
    const bool sameAsQt = layout.bitsPerPixel == 32 && layout.redMask == 0xff0000 && layout.greenMask == 0xff00
                          && layout.blueMask == 0xff
                          && layout.mostSignificantFirst == (QSysInfo::ByteOrder == QSysInfo::BigEndian);
    if (sameAsQt) {
        for (int row = 0; row < rows; ++row)
            std::memcpy(bytes.data() + size_t(row) * size_t(stride), picture.constScanLine(firstRow + row),
                        size_t(picture.width()) * 4);
        return bytes;
    }
    const int bytesPerPixel = layout.bitsPerPixel / 8;
    for (int row = 0; row < rows; ++row) {
        const auto *source = reinterpret_cast<const QRgb *>(picture.constScanLine(firstRow + row));
        quint8 *target = bytes.data() + size_t(row) * size_t(stride);
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb rgb = source[x];
            const quint32 pixel = packChannel(qRed(rgb), layout.redMask) | packChannel(qGreen(rgb), layout.greenMask)
                                  | packChannel(qBlue(rgb), layout.blueMask);
            quint8 *out = target + qsizetype(x) * bytesPerPixel;
            for (int i = 0; i < bytesPerPixel; ++i) {
                const int shift = layout.mostSignificantFirst ? 8 * (bytesPerPixel - 1 - i) : 8 * i;
                out[i] = quint8(pixel >> shift);
            }
        }
    }
    return bytes;
}

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    const auto cookie = xcb_intern_atom(connection, 0, quint16(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// The pixmap a root property names, or nothing.
std::optional<xcb_pixmap_t> rootPixmapProperty(xcb_connection_t *connection, xcb_window_t root, xcb_atom_t atom)
{
    if (atom == XCB_ATOM_NONE)
        return std::nullopt;
    const auto cookie = xcb_get_property(connection, 0, root, atom, XCB_ATOM_PIXMAP, 0, 1);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(connection, cookie, nullptr);
    std::optional<xcb_pixmap_t> pixmap;
    if (reply && reply->type == XCB_ATOM_PIXMAP && reply->format == 32 && xcb_get_property_value_length(reply) == 4)
        pixmap = *static_cast<const xcb_pixmap_t *>(xcb_get_property_value(reply));
    std::free(reply);
    return pixmap;
}

QImage opaqueRgb(const QImage &picture)
{
    QImage opaque(picture.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, picture);
    painter.end();
    return opaque;
}

} // namespace

Status setRootBackground(const QImage &picture, const QString &display)
{
    if (picture.isNull())
        return refusal(QCoreApplication::translate("pavix::platform", "There is no picture for the root window."));
    if (picture.width() > LargestPixmapSide || picture.height() > LargestPixmapSide) {
        return refusal(QCoreApplication::translate("pavix::platform",
                                                   "The picture (%1 x %2 pixels) is larger than the X server's largest "
                                                   "background, %3 pixels a side.")
                           .arg(picture.width())
                           .arg(picture.height())
                           .arg(LargestPixmapSide));
    }
    const QByteArray displayName = display.toLocal8Bit();
    int screenNumber = 0;
    Connection connection(xcb_connect(displayName.isEmpty() ? nullptr : displayName.constData(), &screenNumber));
    xcb_connection_t *c = connection.get();
    if (xcb_connection_has_error(c))
        return refusal(
            QCoreApplication::translate("pavix::platform", "The X display \"%1\" cannot be reached.").arg(display));

    const xcb_setup_t *setup = xcb_get_setup(c);
    auto screens = xcb_setup_roots_iterator(setup);
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    if (!screens.rem)
        return refusal(QCoreApplication::translate("pavix::platform", "The X display \"%1\" has no screen %2.")
                           .arg(display)
                           .arg(screenNumber));
    const xcb_screen_t *screen = screens.data;
    const xcb_window_t root = screen->root;
    const std::optional<PixelLayout> layout = rootPixelLayout(setup, screen);
    if (!layout) {
        return refusal(QCoreApplication::translate("pavix::platform",
                                                   "The root window of \"%1\" has no true-colour pixels (depth %2).")
                           .arg(display)
                           .arg(screen->root_depth));
    }

    const QImage rgb = opaqueRgb(picture);
    const int width = rgb.width();
    const int height = rgb.height();
    const int stride = (width * layout->bitsPerPixel + layout->scanlinePad - 1) / layout->scanlinePad
                       * layout->scanlinePad / 8;

    const xcb_pixmap_t pixmap = xcb_generate_id(c);
    auto failed = [&](const QString &reason) {
        xcb_free_pixmap(c, pixmap);
        xcb_flush(c);
        return refusal(
            QCoreApplication::translate("pavix::platform", "The root window's background was not set: %1").arg(reason));
    };
    if (const auto error =
            requestError(c, xcb_create_pixmap_checked(c, layout->depth, pixmap, root, quint16(width), quint16(height)),
                         QT_TRANSLATE_NOOP("pavix::platform", "make a pixmap of the picture's size")))
        return refusal(
            QCoreApplication::translate("pavix::platform", "The root window's background was not set: %1").arg(*error));

    const xcb_gcontext_t gc = xcb_generate_id(c);
    if (const auto error = requestError(c, xcb_create_gc_checked(c, gc, pixmap, 0, nullptr),
                                        QT_TRANSLATE_NOOP("pavix::platform", "draw on the pixmap")))
        return failed(*error);
    // Requests are limited in length: the picture goes over in bands of whole rows.
    const qint64 requestBytes = qint64(xcb_get_maximum_request_length(c)) * 4 - 64;
    const int bandRows = int(std::clamp<qint64>(requestBytes / stride, 1, height));
    for (int y = 0; y < height; y += bandRows) {
        const int rows = std::min(bandRows, height - y);
        const std::vector<quint8> band = packRows(rgb, y, rows, *layout, stride);
        const auto cookie = xcb_put_image_checked(c, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, quint16(width),
                                                  quint16(rows), 0, qint16(y), 0, layout->depth, quint32(band.size()),
                                                  band.data());
        if (const auto error = requestError(c, cookie,
                                            QT_TRANSLATE_NOOP("pavix::platform", "take the picture's pixels"))) {
            xcb_free_gc(c, gc);
            return failed(*error);
        }
    }
    xcb_free_gc(c, gc);

    const xcb_atom_t rootPixmapAtom = internAtom(c, "_XROOTPMAP_ID");
    const xcb_atom_t setRootAtom = internAtom(c, "ESETROOT_PMAP_ID");
    if (rootPixmapAtom == XCB_ATOM_NONE || setRootAtom == XCB_ATOM_NONE)
        return failed(QCoreApplication::translate("pavix::platform",
                                                  "the X server gave no name for the background properties."));

    // A setter that left its pixmap behind named it in both properties; freeing it (with
    // whatever else that setter's closed connection kept) keeps each new wallpaper from
    // leaking the last one. A pixmap some running desktop owns is named in one at most.
    const auto oldRoot = rootPixmapProperty(c, root, rootPixmapAtom);
    const auto oldSet = rootPixmapProperty(c, root, setRootAtom);
    if (oldRoot && oldSet && *oldRoot == *oldSet && *oldRoot != pixmap)
        std::free(xcb_request_check(c, xcb_kill_client_checked(c, *oldRoot))); // gone already: nothing to free

    if (const auto error = requestError(c, xcb_change_window_attributes_checked(c, root, XCB_CW_BACK_PIXMAP, &pixmap),
                                        QT_TRANSLATE_NOOP("pavix::platform",
                                                          "make the pixmap the root window's background")))
        return failed(*error);
    xcb_clear_area(c, 0, root, 0, 0, 0, 0);
    for (const xcb_atom_t atom : {rootPixmapAtom, setRootAtom}) {
        if (const auto error = requestError(
                c, xcb_change_property_checked(c, XCB_PROP_MODE_REPLACE, root, atom, XCB_ATOM_PIXMAP, 32, 1, &pixmap),
                QT_TRANSLATE_NOOP("pavix::platform", "name the background pixmap on the root window")))
            return failed(*error);
    }
    // The pixmap stays when this connection closes.
    if (const auto error = requestError(c, xcb_set_close_down_mode_checked(c, XCB_CLOSE_DOWN_RETAIN_PERMANENT),
                                        QT_TRANSLATE_NOOP("pavix::platform", "keep the background after Pavix ends")))
        return failed(*error);
    return common::Ok{};
}

} // namespace pavix::platform
