#include "platform/imagelist.h"

namespace pavix::platform {

int ImageList::add(const QString &key, const QImage &picture)
{
    m_images.push_back(Image{key, QString(), picture});
    m_released.push_back(false);
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

void ImageList::replace(int position, const QString &key, const QImage &picture)
{
    if (position < 1 || position > count())
        return;
    unindex(position);
    m_images[static_cast<size_t>(position - 1)] = Image{key, QString(), picture};
    m_released[static_cast<size_t>(position - 1)] = false;
    if (m_lastByKey.value(key, 0) < position)
        m_lastByKey.insert(key, position);
}

void ImageList::release(int position)
{
    if (position < 1 || position > count())
        return;
    unindex(position);
    m_images[static_cast<size_t>(position - 1)] = Image{};
    m_released[static_cast<size_t>(position - 1)] = true;
}

void ImageList::unindex(int position)
{
    const size_t slot = static_cast<size_t>(position - 1);
    if (m_released[slot])
        return;
    const QString &key = m_images[slot].key;
    if (m_lastByKey.value(key, 0) != position)
        return;
    for (size_t earlier = slot; earlier-- > 0;) {
        if (!m_released[earlier] && m_images[earlier].key == key) {
            m_lastByKey.insert(key, static_cast<int>(earlier) + 1);
            return;
        }
    }
    m_lastByKey.remove(key);
}

} // namespace pavix::platform
