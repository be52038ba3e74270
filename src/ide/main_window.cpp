// The environment's entry: the main window on a fresh Tk interpreter and
// the event loop until the window is gone.
#include <functional>
#include <iostream>

#include <tk.h>

#include "ide/ide.h"
#include "tk/timer.h"

namespace corvane::ide {

int main_window(const std::optional<std::filesystem::path>& project, IdleAction on_idle) {
    std::unique_ptr<tk::Interp> interp;
    try {
        interp = std::make_unique<tk::Interp>(tk::InterpOptions{.with_tk = true, .app_name = "corvane"});
    } catch (const std::exception& e) {
        std::cerr << "corvane: " << e.what() << std::endl;
        return 1;
    }
    // A running program's window destroyed by another client leaves Tk
    // requests on a window that no longer exists; Xlib's default handler
    // would end the whole environment on that BadWindow error.
    if (Tk_Window main = Tk_MainWindow(interp->raw()))
        Tk_CreateErrorHandler(Tk_Display(main), BadWindow, -1, -1, [](ClientData, XErrorEvent*) { return 0; }, nullptr);
    try {
        IDE ide(*interp);
        // The project opens once the window is up, so that an "Open failed"
        // box stands over the main window in its no-project state.
        tk::Timer open_job;
        bool opened = !project;
        std::function<void()> open_when_mapped = [&] {
            if (interp->call({"winfo", "ismapped", "."}) != "1") {
                open_job = tk::after(*interp, 5, open_when_mapped);
                return;
            }
            opened = true;
            ide.open_path(*project);
        };
        if (project) open_job = tk::when_idle(*interp, open_when_mapped);
        // Scripts and benchmarks learn when the window has settled: panels
        // placed, project open, nothing left to do.
        tk::Timer idle_job;
        std::function<void()> watch = [&] {
            if (!ide.panels_ready() || !opened) {
                idle_job = tk::after(*interp, 5, watch);
                return;
            }
            idle_job = tk::when_idle(*interp, [&] {
                if (on_idle == IdleAction::print) std::cout << "Corvane idle" << std::endl;
                if (on_idle == IdleAction::quit) interp->quit();
            });
        };
        if (on_idle != IdleAction::none) watch();
        interp->main_loop();
    } catch (const std::exception& e) {
        std::cerr << "corvane: " << e.what() << std::endl;
        return 1;
    }
    return 0;
}

}  // namespace corvane::ide
