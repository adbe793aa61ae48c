#include "shell/menuaccessible.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStyle>
#include <QWindow>

namespace pavix::shell {

namespace {

// The caption without the ampersands that mark its mnemonic ("&&" is one "&").
QString withoutMnemonic(const QString &caption)
{
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&' && i + 1 < caption.size())
            ++i;
        text += caption.at(i);
    }
    return text;
}

// The letter after a single ampersand, "" for none.
QString mnemonicLetter(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != u'&')
            continue;
        if (caption.at(i + 1) != u'&')
            return caption.mid(i + 1, 1).toUpper();
        ++i;
    }
    return QString();
}

// A menu item whose caption shows a shortcut text: what Qt's own menu item interface
// tells, with the name and the shortcut taken apart.
class MenuItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    MenuItemAccessible(QAction *action, QWidget *owner) : m_action(action), m_owner(owner) {}

    bool isValid() const override { return m_action && m_owner; }
    QObject *object() const override { return m_action; }
    QWindow *window() const override { return m_owner ? m_owner->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_owner); }
    int childCount() const override { return m_action && m_action->menu() ? 1 : 0; }
    QAccessibleInterface *child(int index) const override
    {
        return index == 0 && childCount() ? QAccessible::queryAccessibleInterface(m_action->menu()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child && childCount() && child->object() == m_action->menu() ? 0 : -1;
    }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override
    {
        return m_action && m_action->isSeparator() ? QAccessible::Separator : QAccessible::MenuItem;
    }
    void setText(QAccessible::Text, const QString &) override {}

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return QString();
        const QString caption = m_action->text();
        const qsizetype tab = caption.indexOf(u'\t');
        switch (t) {
        case QAccessible::Name:
            return withoutMnemonic(caption.left(tab));
        case QAccessible::Accelerator:
            return tab < 0 ? QString() : shortcutDescription(caption.mid(tab + 1));
        default:
            return QString();
        }
    }

    QRect rect() const override
    {
        QRect r;
        if (const auto *menu = qobject_cast<const QMenu *>(m_owner.data()))
            r = menu->actionGeometry(m_action).translated(menu->mapToGlobal(QPoint(0, 0)));
        else if (const auto *bar = qobject_cast<const QMenuBar *>(m_owner.data()))
            r = bar->actionGeometry(m_action).translated(bar->mapToGlobal(QPoint(0, 0)));
        return r;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        if (!m_owner->isVisible() || !m_action->isVisible())
            s.invisible = true;
        if (const auto *menu = qobject_cast<const QMenu *>(m_owner.data()))
            s.focused = menu->activeAction() == m_action;
        else if (const auto *bar = qobject_cast<const QMenuBar *>(m_owner.data()))
            s.focused = bar->activeAction() == m_action;
        s.focusable = true;
        s.disabled = m_action->isSeparator() || !m_action->isEnabled();
        s.checkable = m_action->isCheckable();
        s.checked = m_action->isChecked();
        return s;
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }

    QStringList actionNames() const override
    {
        if (!isValid() || !m_action->isEnabled() || m_action->isSeparator())
            return {};
        return {m_action->menu() ? showMenuAction() : pressAction()};
    }

    void doAction(const QString &actionName) override
    {
        if (!isValid() || !m_action->isEnabled())
            return;
        if (actionName == pressAction()) {
            m_action->trigger();
        } else if (actionName == showMenuAction()) {
            if (auto *menu = qobject_cast<QMenu *>(m_owner.data()))
                menu->setActiveAction(m_action);
            else if (auto *bar = qobject_cast<QMenuBar *>(m_owner.data()))
                bar->setActiveAction(m_action);
        }
    }

    // Mnemonic, full path and shortcut, as the desktop's screen readers take them apart.
    QStringList keyBindingsForAction(const QString &) const override
    {
        if (!isValid())
            return {};
        return {mnemonicLetter(m_action->text()), QString(), text(QAccessible::Accelerator)};
    }

private:
    QPointer<QAction> m_action;
    QPointer<QWidget> m_owner;
};

} // namespace

QString menuAccessibleName(const QString &caption)
{
    return withoutMnemonic(caption);
}

QString shortcutDescription(const QString &shortcutText)
{
    QString portable = shortcutText;
    portable.remove(u' ');
    if (portable.startsWith(QLatin1String("Ctl+")))
        portable.replace(0, 3, QStringLiteral("Ctrl"));
    const QKeySequence key = QKeySequence::fromString(portable, QKeySequence::PortableText);
    return key.isEmpty() || key[0].key() == Qt::Key_unknown ? shortcutText : key.toString(QKeySequence::NativeText);
}

QAccessibleInterface *menuItemAccessible(const QString &className, QObject *object)
{
    auto *action = qobject_cast<QAction *>(object);
    if (className != QLatin1String("QAction") || !action || !action->text().contains(u'\t'))
        return nullptr;
    // The menu or menu bar that shows the item.
    for (QObject *shown : action->associatedObjects())
        if (qobject_cast<QMenu *>(shown) || qobject_cast<QMenuBar *>(shown))
            return new MenuItemAccessible(action, static_cast<QWidget *>(shown));
    return nullptr;
}

void installMenuAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(&menuItemAccessible);
        return true;
    }();
    (void)installed;
}

} // namespace pavix::shell
