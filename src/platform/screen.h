#pragma once
// The screen the program draws on, as the layout measures it.

namespace pavix::platform {

// Twips per pixel of the primary screen, from its logical dpi (15 at 96 dpi); 15 when
// there is no screen. The one place the factor is derived: every window takes it from here.
double screenTwipsPerPixel();

} // namespace pavix::platform
