#pragma once
// SendKeys for programs running under Tk (internal to the forms library).
#include <string>
#include <vector>

#include "basic/runtime.h"
#include "tk/interp.h"

namespace corvane {

// Queues each key as a KeyPress and a KeyRelease behind the events waiting,
// on the widget that has the focus (else the form window's last focus, else
// the form window). Tk hands a key event to the focus when it handles it,
// so keys after a Tab reach the next control. With `wait` they are handled
// before this returns.
void send_keys(tk::Interp& interp, const std::string& form_window, const std::vector<SentKey>& keys, bool wait);

}  // namespace corvane
