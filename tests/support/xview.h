#pragma once
// A look at an X server from a test: the root window's properties, pixmaps and pixels.

#include <QImage>
#include <QRect>
#include <QString>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <utility>

namespace pavix::testsupport {

// A connection of the test's own to the server, to look at what a setter left there.
class XView {
public:
    explicit XView(const QString &display) : m_connection(xcb_connect(display.toLocal8Bit().constData(), nullptr))
    {
        if (!xcb_connection_has_error(m_connection))
            m_screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    }
    ~XView() { xcb_disconnect(m_connection); }
    bool ok() const { return m_screen != nullptr; }
    xcb_window_t root() const { return m_screen->root; }

    std::optional<xcb_pixmap_t> rootPixmap(const char *property) const
    {
        auto *atom = xcb_intern_atom_reply(m_connection,
                                           xcb_intern_atom(m_connection, 1, quint16(std::strlen(property)), property),
                                           nullptr);
        std::optional<xcb_pixmap_t> pixmap;
        if (atom && atom->atom != XCB_ATOM_NONE) {
            auto *reply = xcb_get_property_reply(
                m_connection, xcb_get_property(m_connection, 0, root(), atom->atom, XCB_ATOM_PIXMAP, 0, 1), nullptr);
            if (reply && reply->type == XCB_ATOM_PIXMAP && xcb_get_property_value_length(reply) == 4)
                pixmap = *static_cast<const xcb_pixmap_t *>(xcb_get_property_value(reply));
            std::free(reply);
        }
        std::free(atom);
        return pixmap;
    }

    // The size and depth of a pixmap, or nothing when the server knows no such pixmap.
    std::optional<std::pair<QSize, int>> geometry(xcb_drawable_t drawable) const
    {
        auto *reply = xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, drawable), nullptr);
        if (!reply)
            return std::nullopt;
        const std::pair<QSize, int> result{QSize(reply->width, reply->height), reply->depth};
        std::free(reply);
        return result;
    }

    // Pixels of a drawable of depth 24 (four bytes a pixel, blue first) or 16 (5-6-5 bits,
    // low byte first) as they are, widened to 8 bits a channel by shifting only.
    QImage pixels(xcb_drawable_t drawable, QRect area) const
    {
        auto *reply = xcb_get_image_reply(m_connection,
                                          xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable,
                                                        qint16(area.x()), qint16(area.y()), quint16(area.width()),
                                                        quint16(area.height()), ~0u),
                                          nullptr);
        if (!reply)
            return QImage();
        const quint8 *data = xcb_get_image_data(reply);
        const int bytes = xcb_get_image_data_length(reply);
        QImage image(area.size(), QImage::Format_RGB32);
        const int stride = bytes / area.height();
        for (int y = 0; y < area.height(); ++y) {
            for (int x = 0; x < area.width(); ++x) {
                if (reply->depth == 16) {
                    const quint8 *p = data + y * stride + x * 2;
                    const int v = p[0] | p[1] << 8;
                    image.setPixel(x, y, qRgb((v >> 11) << 3, ((v >> 5) & 63) << 2, (v & 31) << 3));
                } else {
                    const quint8 *p = data + y * stride + x * 4;
                    image.setPixel(x, y, qRgb(p[2], p[1], p[0]));
                }
            }
        }
        std::free(reply);
        return image;
    }

private:
    xcb_connection_t *m_connection;
    xcb_screen_t *m_screen = nullptr;
};

} // namespace pavix::testsupport
