#pragma once
// A one-line label that keeps its whole text: where the text is wider than the label, it
// ends in "…" rather than being cut off mid-word, and the tool tip shows it whole.

#include <QLabel>

namespace pavix::shell {

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget *parent);

    void setFullText(const QString &text);
    QString fullText() const { return m_fullText; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void elide();

    QString m_fullText;
};

} // namespace pavix::shell
