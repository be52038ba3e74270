#pragma once
#include "tk/interp.h"

namespace corvane::testing {
// Waits until the X server has handled every request of the interpreter's
// display, then lets Tk handle the events that came back (focus changes,
// exposures).
void settle(tk::Interp& interp);
}  // namespace corvane::testing
