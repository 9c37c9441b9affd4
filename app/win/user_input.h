// The user's input among the window messages: keys, and the mouse over a
// window or its frame. The run drops it as it comes (RunInputFilter), and
// throws away what is still waiting before it shows an error.
#pragma once

#include <windows.h>

namespace tav::app::win {

bool isUserInput(UINT message);

// Takes every key and mouse message off the calling thread's queue and
// throws it away: what was typed or clicked (or posted as such) and not yet
// taken. Everything else stays: paint, timers, the program's own posted
// messages.
//
// Before a message box is shown over a run, so that type-ahead cannot
// answer it: keys still queued would go to the box's OK button, which has the
// focus when they are taken, and an Enter typed during the run would close
// the box unseen.
void discardQueuedUserInput();

}  // namespace tav::app::win
