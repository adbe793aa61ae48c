#pragma once
// The four layouts of the list of pictures, as the settings store them ("ViewMode").

namespace pavix::listview {

enum class ListLayout : int { LargeIcons = 0, SmallIcons = 1, List = 2, Details = 3 };

} // namespace pavix::listview
