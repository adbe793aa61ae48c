#pragma once
// An ordered list of pictures with a key and a tag each, positions counting from 1, with a
// hash index beside it so that a look-up does not grow with the number of keys. A position
// can be emptied and filled again; positions never move.

#include <QHash>
#include <QImage>
#include <QString>

#include <vector>

namespace pavix::platform {

class ImageList {
public:
    struct Image {
        QString key;
        QString tag;
        QImage picture;
    };

    // Appends a picture under a key; returns its position (from 1).
    int add(const QString &key, const QImage &picture);
    // Position (from 1) of the last image whose key equals `key` exactly; 0 when none does.
    int find(const QString &key) const;
    int count() const { return static_cast<int>(m_images.size()); }
    // The image at a position from 1; positions out of range give an empty image.
    const Image &at(int position) const;
    void setTag(int position, const QString &tag);

    // Puts a picture under a key at an existing position, in place of what was there (its
    // tag is cleared); find() then gives the position for the new key and no longer for the
    // old one. A position out of range is ignored.
    void replace(int position, const QString &key, const QImage &picture);
    // Empties a position: no key that find() gives it for, no tag, a null picture. The
    // position stays in the count until replace() fills it. Out of range: ignored.
    void release(int position);

private:
    // Drops `position` from the index of its key, which then names the key's previous
    // position, if any.
    void unindex(int position);

    std::vector<Image> m_images;
    std::vector<bool> m_released; // by position - 1
    QHash<QString, int> m_lastByKey;
};

} // namespace pavix::platform
