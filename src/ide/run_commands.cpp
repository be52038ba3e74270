// Running the project inside the environment: Start (F5) and Stop
// (Shift+F5). The main window is the run host of the session.
#include <chrono>

#include "forms/preview.h"
#include "forms/session.h"
#include "ide/ide.h"
#include "model/names.h"
#include "tk/dialogs.h"

namespace corvane::ide {

namespace {

constexpr double LONG_RUN_SECONDS = 5;

}  // namespace

void IDE::start() {
    Project& p = state_.project;
    // A project without forms runs when it starts with Sub Main.
    const bool main_only = !state_.project_open() && state_.has_components() && names_equal(p.startup, "Sub Main");
    if (!state_.project_open() && !main_only) {
        set_status("Nothing to run \u2014 create or open a project first.");
        return;
    }
    sync_editor();
    stop();
    const VBForm* form = p.lookup_form(p.startup);
    if (!form && !p.forms.empty()) form = &p.forms.front();
    std::string name = form ? form->name : "Sub Main";
    try {
        session = ApplicationSession::create(*this);
        if (session->starts_with_main()) name = "Sub Main";
        auto shown = session->starts_with_main() ? session->start() : session->show(name);
        // A program that ends in its Form_Load has cleared the session already.
        if (session && shown && !shown->closed) preview = shown;
    } catch (const std::exception& e) {
        preview.reset();
        show_error("Run failed", e.what());
        return;
    }
    if (session) set_status("Running " + name + " | close the preview window or press Shift+F5 to stop");
}

VBRuntime::WatchFn IDE::watch() {
    struct Clock {
        double next = LONG_RUN_SECONDS;
        double last = 0;
    };
    auto clock = std::make_shared<Clock>();
    return [this, clock](double seconds) {
        if (seconds < clock->last) clock->next = LONG_RUN_SECONDS;  // another event began
        clock->last = seconds;
        if (seconds < clock->next) return false;
        const auto asked = std::chrono::steady_clock::now();
        const bool stop_it =
            tk::message_box(interp_, {.parent = ".", .title = "Program still running",
                                      .message = "The program has been running for 5 seconds without returning. "
                                                 "Stop it?",
                                      .icon = "warning", .type = "yesno"}) == "yes";
        // The time the question stood open is not the program's.
        const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count();
        clock->next = seconds + waited + LONG_RUN_SECONDS;
        return stop_it;
    };
}

void IDE::runtime_error(const VBError& error) {
    if (error.line <= 0 || error.file.size() < 5) return;
    const std::string name = error.file.substr(0, error.file.size() - 4);
    const std::string extension = error.file.substr(error.file.size() - 4);
    Project& p = state_.project;
    if (extension == ".frm") {
        VBForm* form = p.lookup_form(name);
        if (!form) return;
        if (form != state_.form) {
            sync_editor();
            state_.form = form;
            state_.selected.reset();
            populate_project();
            draw_form();
            show_properties();
        }
        state_.current_module = {};
        code_editor_->show_line(EditorKind::form, form, error.line);
    } else if (extension == ".bas") {
        Module* module = p.lookup_module(name);
        if (!module) return;
        state_.current_module = {EditorKind::module, module};
        code_editor_->show_line(EditorKind::module, module, error.line);
    } else {
        return;
    }
    select_tab(1);
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
