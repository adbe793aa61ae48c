#include "platform/imagelist.h"

namespace pavix::platform {

int ImageList::add(const QString &key, const QImage &picture)
{
    m_images.push_back(Image{key, QString(), picture});
    const int position = count();
    m_lastByKey.insert(key, position);
    return position;
}

int ImageList::find(const QString &key) const
{
    return m_lastByKey.value(key, 0);
}

const ImageList::Image &ImageList::at(int position) const
{
    static const Image none;
    if (position < 1 || position > count())
        return none;
    return m_images[static_cast<size_t>(position - 1)];
}

void ImageList::setTag(int position, const QString &tag)
{
    if (position >= 1 && position <= count())
        m_images[static_cast<size_t>(position - 1)].tag = tag;
}

} // namespace pavix::platform
