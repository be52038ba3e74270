// Running the project inside the environment: Start (F5) and Stop
// (Shift+F5). The main window is the run host of the session.
#include "forms/preview.h"
#include "forms/session.h"
#include "ide/ide.h"

namespace corvane::ide {

void IDE::start() {
    if (!state_.project_open()) {
        set_status("Nothing to run \u2014 create or open a project first.");
        return;
    }
    sync_editor();
    stop();
    Project& p = state_.project;
    const VBForm* form = p.lookup_form(p.startup);
    if (!form) form = &p.forms.front();
    const std::string name = form->name;
    try {
        session = ApplicationSession::create(*this);
        auto shown = session->show(name);
        // A program that ends in its Form_Load has cleared the session already.
        if (session && shown && !shown->closed) preview = shown;
    } catch (const std::exception& e) {
        preview.reset();
        show_error("Run failed", e.what());
        return;
    }
    if (session) set_status("Running " + name + " | close the preview window or press Shift+F5 to stop");
}

void IDE::stop() {
    if (session) {
        auto running = session;  // the session clears the host's fields while it stops
        running->stop();
        session.reset();
        preview.reset();
    } else if (preview) {
        auto window = preview;
        preview.reset();
        window->close();
    }
}

}  // namespace corvane::ide
