#pragma once
// Where the preview image sits inside the preview pane: shrunk to the pane's width when the
// picture is too wide for it, at natural size otherwise.

#include <cstdint>

namespace pavix::preview {

// The preview image's rectangle in twips and whether it is shown.
struct PreviewGeometry {
    double left;
    double top;
    double width;
    double height;
    bool visible;
};

// Fits a picture of widthTwips x heightTwips twips into the pane (twips). When the pane
// is narrower than widthTwips + 200 (32-bit sum) the image is paneWidth - 200 wide, as high as
// the ratio asks plus 60, 100 twips inside the pane's left edge and centred vertically;
// otherwise it is widthTwips + 60 by heightTwips + 60, centred on the picture's own size (so 30
// twips right of and below the pane's centre). Only the width picks the branch. A step
// that cannot be done leaves that value as it is in current: no ratio when heightTwips or
// widthTwips is 0 (the height stays, and the image is centred with it), no negative or
// non-finite size, no sum past 32 bits. The image is visible exactly when the pane is.
PreviewGeometry fittedPreview(std::int32_t widthTwips, std::int32_t heightTwips, double paneLeft, double paneTop,
                              double paneWidth, double paneHeight, bool paneVisible, const PreviewGeometry &current);

} // namespace pavix::preview
