// Setting a progress bar so that it shows the new position at once.
//
// With visual styles, Windows' progress bar glides toward a higher position
// and lags well behind a run that steps it quickly; a lower position is drawn
// at once. So the bar is set one past the position and then back to it. At
// the top of the range there is no "one past": the range grows by one for
// that step, and shrinking it back brings the position down to the top.
#pragma once

#include <windows.h>

namespace tav::app::win {

// Gives `bar` (a progress bar control) the range `minimum` to `maximum` and
// the position `position`, brought into the range as the bar would.
void setProgressAtOnce(HWND bar, int minimum, int maximum, int position);

}  // namespace tav::app::win
