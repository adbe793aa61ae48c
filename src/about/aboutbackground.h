#pragma once
// The About box's background: 460 x 270 pixels of a small motif repeated edge to edge,
// the program's own subject, pale enough for text to read over it.

#include <QImage>
#include <QSize>

namespace pavix::about {

inline constexpr int AboutBackgroundWidthPx = 460;
inline constexpr int AboutBackgroundHeightPx = 270;
// The motif's side in pixels; the background repeats it from the top-left corner.
inline constexpr int AboutMotifPx = 30;

// The motif: one tile of the pattern.
QImage aboutMotif();
// The whole background, the motif repeated from the top-left corner.
QImage aboutBackground();
// The background for an area of sizePx logical pixels, the motif repeated from the
// top-left corner and drawn at the device's pixels: the image is sizePx times
// devicePixelRatio (rounded) and carries that ratio. Null for an empty size; a ratio of 0
// or less counts as 1.
QImage aboutBackground(QSize sizePx, double devicePixelRatio);

} // namespace pavix::about
