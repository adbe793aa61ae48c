#pragma once
// An ordered list of pictures with a key and a tag each, positions counting from 1, with a
// hash index beside it so that a look-up does not grow with the number of keys.

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

private:
    std::vector<Image> m_images;
    QHash<QString, int> m_lastByKey;
};

} // namespace pavix::platform
