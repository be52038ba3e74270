#include "x_sync.h"

#include <tk.h>

namespace corvane::testing {

void settle(tk::Interp& interp) {
  interp.update();
  XSync(Tk_Display(Tk_MainWindow(interp.raw())), False);
  interp.update();
}

}  // namespace corvane::testing
