#include "listview/viewmode.h"


#include "common/units.h"

#include <QCoreApplication>


namespace pavix::listview {

namespace {

// Menu captions carry their shortcut text padded with spaces exactly as shown.
// A translation pads them as it sees fit.
const char *const ListViewModeCaptions[ViewModeCount] = {
    QT_TRANSLATE_NOOP("pavix::listview", "Thumbnails          F4"),
    QT_TRANSLATE_NOOP("pavix::listview", "Large Icons         F6"),
    QT_TRANSLATE_NOOP("pavix::listview", "Small Icons          F7"),
    QT_TRANSLATE_NOOP("pavix::listview", "List                      F8"),
    QT_TRANSLATE_NOOP("pavix::listview", "Details                 F9"),
};
const char *const IconsMenuCaptions[ViewModeCount] = {
    QT_TRANSLATE_NOOP("pavix::listview", "Thumbnails"),  QT_TRANSLATE_NOOP("pavix::listview", "Large icons"),
    QT_TRANSLATE_NOOP("pavix::listview", "Small icons"), QT_TRANSLATE_NOOP("pavix::listview", "List"),
    QT_TRANSLATE_NOOP("pavix::listview", "Details"),
};
const char *const ToolBarKeys[ViewModeCount] = {
    "View Thumbnails", "View Large Icons", "View Small Icons", "View List", "View Details",
};

// Each column of the details layout is a third of the list less this many twips.
constexpr float DetailsColumnMargin = 110.0f;

bool validMode(int mode)
{
    return mode >= 0 && mode < ViewModeCount;
}

} // namespace

QString listViewModeCaption(int mode)
{
    return validMode(mode) ? QCoreApplication::translate("pavix::listview", ListViewModeCaptions[mode]) : QString();
}

QString iconsMenuCaption(int mode)
{
    return validMode(mode) ? QCoreApplication::translate("pavix::listview", IconsMenuCaptions[mode]) : QString();
}

QString toolBarKey(int mode)
{
    return validMode(mode) ? QString::fromLatin1(ToolBarKeys[mode]) : QString();
}

std::optional<int> modeForToolBarKey(const QString &key)
{
    for (int mode = 0; mode < ViewModeCount; ++mode) {
        if (key == QLatin1String(ToolBarKeys[mode]))
            return mode;
    }
    return std::nullopt;
}

std::optional<ListLayout> listLayoutForMode(int mode)
{
    if (mode < 1 || mode > 4)
        return std::nullopt;
    return static_cast<ListLayout>(mode - 1);
}

int modeForListLayout(ListLayout view)
{
    return static_cast<int>(view) + 1;
}

ViewModeState switchViewMode(int index, double lvWidthTwips, const ViewModeState &current)
{
    // A third of the width is read before anything changes, whatever the mode.
    const float w3 = common::toSingle(lvWidthTwips) / 3.0f;

    ViewModeState next;
    if (!validMode(index)) {
        next.checked = current.checked;
        next.pressedButton = current.pressedButton;
        next.arrangeEnabled = current.arrangeEnabled;
        next.listVisible = current.listVisible;
        return next;
    }

    next.checked[static_cast<size_t>(index)] = true;
    next.pressedButton = index;
    next.arrangeEnabled = index != static_cast<int>(ViewMode::Thumbnails);
    next.listVisible = next.arrangeEnabled;
    next.listLayout = listLayoutForMode(index);
    if (index == static_cast<int>(ViewMode::Details))
        next.detailsColumnWidth = static_cast<double>(w3 - DetailsColumnMargin);
    return next;
}

} // namespace pavix::listview
