#include "thumbs/thumbgridaccessible.h"

#include "common/filename.h"
#include "platform/pictureservice.h"
#include "thumbs/thumbstrip.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QPointer>
#include <QWindow>

#include <vector>

namespace pavix::thumbs {

namespace {

// One thumbnail: an item of the strip's list. It holds no object of its own; its name,
// place and states are read from the strip whenever they are asked for, so the same item
// serves the thumbnail of that place after every build.
class ThumbAccessible : public QAccessibleInterface {
public:
    ThumbAccessible(ThumbStrip *strip, int index) : m_strip(strip), m_index(index) {}

    bool isValid() const override { return m_strip && m_index < shownCount(m_strip); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_strip ? m_strip->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_strip); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    void setText(QAccessible::Text, const QString &) override {}

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid())
            return QString();
        const QString name = common::withUnpairedSurrogatesReplaced(m_strip->elementName(m_index));
        if (!isUnreadable(m_strip->elementPicture(m_index)))
            return name;
        return QCoreApplication::translate("ThumbStrip", "%1, cannot be read").arg(name);
    }

    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect r = m_strip->elementRect(m_index);
        return QRect(m_strip->mapToGlobal(r.topLeft()), r.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.selectable = true;
        s.focusable = true;
        const bool marked = m_strip->markedElement() == m_index;
        s.selected = marked;
        s.focused = marked && m_strip->hasFocus();
        if (!m_strip->visibleRegion().intersects(m_strip->elementRect(m_index)))
            s.offscreen = true;
        return s;
    }

    int index() const { return m_index; }
    const ThumbStrip *strip() const { return m_strip; }

    // The thumbnails shown: the leading visible elements (a build places them in order).
    static int shownCount(const ThumbStrip *strip)
    {
        int n = 0;
        while (n < strip->elementCount() && strip->elementVisible(n))
            ++n;
        return n;
    }

private:
    // The cell a file that cannot be read gets: the loader's own picture of one.
    static bool isUnreadable(const QImage &cell)
    {
        static QImage unreadable;
        if (cell.isNull())
            return false;
        if (unreadable.size() != cell.size())
            unreadable = platform::unreadableCell(cell.size());
        return cell == unreadable;
    }

    QPointer<ThumbStrip> m_strip;
    int m_index;
};

class ThumbStripAccessible : public QAccessibleWidget {
public:
    explicit ThumbStripAccessible(ThumbStrip *strip) : QAccessibleWidget(strip, QAccessible::List) {}

    ~ThumbStripAccessible() override
    {
        for (QAccessible::Id id : m_items)
            if (id)
                QAccessible::deleteAccessibleInterface(id);
    }

    ThumbStrip *strip() const { return static_cast<ThumbStrip *>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = QCoreApplication::translate("ThumbStrip", "Thumbnails");
        return text;
    }

    int childCount() const override { return ThumbAccessible::shownCount(strip()); }

    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (size_t(index) >= m_items.size())
            m_items.resize(size_t(index) + 1, 0);
        QAccessible::Id &id = m_items[size_t(index)];
        if (!id)
            id = QAccessible::registerAccessibleInterface(new ThumbAccessible(strip(), index));
        return QAccessible::accessibleInterface(id);
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *item = dynamic_cast<const ThumbAccessible *>(child);
        return item && item->strip() == strip() && item->isValid() ? item->index() : -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const int i = strip()->elementAt(strip()->mapFromGlobal(QPoint(x, y)));
        return i >= 0 ? child(i) : nullptr;
    }

    QAccessibleInterface *focusChild() const override
    {
        const int marked = strip()->markedElement();
        return strip()->hasFocus() && marked >= 0 ? child(marked) : nullptr;
    }

private:
    mutable std::vector<QAccessible::Id> m_items;
};

} // namespace

QAccessibleInterface *thumbStripAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("pavix::thumbs::ThumbStrip") && object && object->isWidgetType())
        return new ThumbStripAccessible(static_cast<ThumbStrip *>(object));
    return nullptr;
}

void installThumbStripAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(&thumbStripAccessible);
        return true;
    }();
    (void)installed;
}

} // namespace pavix::thumbs
