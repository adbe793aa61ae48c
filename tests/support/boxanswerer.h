#pragma once
// Answers every message box that comes up while it lives, as a user pressing OK would,
// and notes what each said and showed: for tests of code that shows a modal message box.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

namespace pavix::testsupport {

class BoxAnswerer {
public:
    // A box as it came up.
    struct Box {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title;
        QString text;
    };

    BoxAnswerer()
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            m_texts.append(box->text());
            m_boxes.append({box->icon(), box->windowTitle(), box->text()});
            if (QAbstractButton *ok = box->button(QMessageBox::Ok))
                ok->click();
            else
                box->reject();
        });
        m_poll.start(10);
    }

    // The texts of the boxes answered so far, oldest first.
    const QStringList &texts() const { return m_texts; }
    // The boxes answered so far, oldest first.
    const QList<Box> &boxes() const { return m_boxes; }
    void clear()
    {
        m_texts.clear();
        m_boxes.clear();
    }

private:
    QTimer m_poll;
    QStringList m_texts;
    QList<Box> m_boxes;
};

} // namespace pavix::testsupport
