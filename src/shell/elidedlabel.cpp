#include "shell/elidedlabel.h"

namespace pavix::shell {

ElidedLabel::ElidedLabel(QWidget *parent) : QLabel(parent) {}

void ElidedLabel::setFullText(const QString &text)
{
    m_fullText = text;
    setToolTip(text);
    elide();
}

void ElidedLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::elide()
{
    setText(fontMetrics().elidedText(m_fullText, Qt::ElideRight, width()));
}

} // namespace pavix::shell
