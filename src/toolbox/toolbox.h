#pragma once
// The font toolbox: a narrow tool window that sets the line of sample text the tiled
// window shows over its tiles (its text, font, size and colour), with a colour swatch that
// also tells how well the text reads on the background under it. While the toolbox is
// shown it gives the browser its sample; hidden, it gives none. It can be kept on top of
// every other window, and "Close" only hides it.

#include <QPointF>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QWindow;

namespace pavix::browser {
class Browser;
struct Sample;
}

namespace pavix::toolbox {


// The colour bars, in the order of the swatch's components.
enum class Channel { Red = 0, Green = 1, Blue = 2 };

class Toolbox : public QWidget {
    Q_OBJECT
public:
    // Loads the toolbox, hidden, over `parent`: the list holds `fontFamilies` with the first
    // one chosen, and the window's frame stands at `cornerTwips` (moved wholly onto a
    // screen when it is not). `twipsPerPixel` converts the layout.
    Toolbox(browser::Browser &browser, const QStringList &fontFamilies, QPointF cornerTwips, double twipsPerPixel,
            QWidget *parent);

    // The sample as the controls set it: the text, the chosen family ("" when the list is
    // empty, which leaves the default font), the size in points and the colour.
    browser::Sample sample() const;
    // Font size in points, 8 (size bar at its left end) to 120 (at its right end).
    int sampleSize() const;
    // A colour component, 0 to 255: 255 with its bar at the top, 0 at the bottom.
    int component(Channel channel) const;
    QColor sampleColour() const;
    // The frame's top-left corner, twips.
    QPointF cornerTwips() const;

    // Where windows cannot ask to stay above others (Wayland), "On Top" keeps the toolbox
    // above `window`, the window it was asked from (the tiled window after F2), as a tool
    // window of it; a window of another program, or none, changes nothing.
    void stayAbove(QWindow *window);

    // The controls, top to bottom.
    QLineEdit *sampleTextEdit() const { return m_sampleTextEdit; }
    QGroupBox *colourFrame() const { return m_colourFrame; }
    QLabel *swatch() const { return m_swatch; }
    QLabel *amountLabel(Channel channel) const { return m_amountLabels[index(channel)]; }
    QScrollBar *colourBar(Channel channel) const { return m_colourBars[index(channel)]; }
    QLabel *sizeLabel() const { return m_sizeLabel; }
    QScrollBar *sizeBar() const { return m_sizeBar; }
    QLabel *fontCountLabel() const { return m_fontCountLabel; }
    QComboBox *fontList() const { return m_fontList; }
    QCheckBox *onTopBox() const { return m_onTopBox; }
    QPushButton *closeButton() const { return m_closeButton; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    static size_t index(Channel channel) { return static_cast<size_t>(channel); }
    void createControls(const QStringList &fontFamilies);
    void onColourChanged(Channel channel);
    void onSizeChanged();
    void onOnTopToggled(bool onTop);
    // Gives the browser the sample while the toolbox is shown, then brings the swatch up
    // to date once.
    void publishSample();
    // Colours the swatch and writes the contrast with the background under the sample on
    // it, when the tiled window shows the sample over a picture.
    void updateSwatch();
    int px(double twips) const;

    browser::Browser &m_browser;
    double m_tpp;
    QLineEdit *m_sampleTextEdit = nullptr;
    QGroupBox *m_colourFrame = nullptr;
    QLabel *m_swatch = nullptr;
    std::array<QLabel *, 3> m_amountLabels{};
    std::array<QScrollBar *, 3> m_colourBars{};
    QLabel *m_sizeCaption = nullptr;
    QLabel *m_sizeLabel = nullptr;
    QScrollBar *m_sizeBar = nullptr;
    QLabel *m_fontCountLabel = nullptr;
    QComboBox *m_fontList = nullptr;
    QCheckBox *m_onTopBox = nullptr;
    QPushButton *m_closeButton = nullptr;
    // Set while the window is re-created for a new on-top state: that hide and show are
    // no closing and opening.
    bool m_changingFlags = false;
    // Set while the toolbox hands its sample over, so the answers it provokes do not
    // measure the swatch once each.
    bool m_publishing = false;
};

} // namespace pavix::toolbox
