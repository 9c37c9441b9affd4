// Text drawn in a fixed colour must stay readable when the user has chosen
// high contrast, whose background may be black: there the theme's window
// text colour takes the fixed colour's place.
#pragma once

#include <windows.h>

namespace tav::app::win {

// HIGHCONTRASTW's flags as the system reports them now; 0 when it cannot say.
DWORD highContrastFlags();

// Black, unless `highContrastFlags` says that high contrast is on: then
// `windowTextColour`.
COLORREF blackUnlessHighContrast(DWORD highContrastFlags, COLORREF windowTextColour);

}  // namespace tav::app::win
