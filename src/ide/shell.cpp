// The main window's construction, styles, global keys, title, status bar,
// Immediate window and exit.
#include <iostream>

#include "ide/constants.h"
#include "ide/ide.h"
#include "forms/preview.h"
#include "forms/session.h"
#include "tk/dialogs.h"
#include "tk/events.h"
#include "tk/widget.h"

namespace corvane::ide {

namespace {

constexpr const char* NO_PROJECT_STATUS =
    "No project open \u2014 choose File \u2192 New Project or Open Project.   F5 Run   F7 Code";

std::string screen_metric(tk::Interp& interp, const char* what) { return interp.call({"winfo", what, "."}); }

}  // namespace

IDE::IDE(tk::Interp& interp) : interp_(interp) {
    interp_.set_error_handler([this](const std::string& message) {
        std::cerr << message << std::endl;
        if (!destroyed_) log(message);
    });
    tk::wm_title(interp_, ".", "Corvane \u2014 No Project");
    const int screen_w = static_cast<int>(std::stol(screen_metric(interp_, "screenwidth")));
    const int screen_h = static_cast<int>(std::stol(screen_metric(interp_, "screenheight")));
    settings_file_ = settings_path();
    const std::string fallback = default_geometry(screen_w, screen_h);
    const Settings saved = read_settings(settings_file_);
    std::string geometry = fallback;
    if (auto it = saved.find("geometry"); it != saved.end() && it->is_string())
        geometry = validated_geometry(it->get<std::string>(), fallback, screen_w, screen_h);
    interp_.call({"wm", "geometry", ".", geometry});
    interp_.call({"wm", "minsize", ".", MIN_WIDTH, MIN_HEIGHT});

    status_ = tk::Variable(interp_, "");
    selected_property_ = tk::Variable(interp_, "Select a property to view its entire value.");
    toolbar_show_labels_ = tk::Variable(interp_, 0);

    designer_ = make_designer(*this);
    property_grid_ = make_property_grid(*this);
    code_editor_ = make_code_editor(*this);
    tool_windows_ = make_tool_windows(*this);

    configure_style();
    make_menus();
    make_layout();

    populate_project();
    populate_tools();
    draw_form();
    show_properties();
    clear_editor();
    set_status(NO_PROJECT_STATUS);

    tk::on_close_request(interp_, ".", [this] { on_exit(); });
    tk::bind(interp_, ".", "<Destroy>", {"%W"}, [this](const tk::Args& a) { root_destroyed(a.str(0)); },
             tk::BindMode::add);
    tk::bind(interp_, ".", "<Configure>", {"%W"}, [this](const tk::Args& a) { root_configured(a.str(0)); },
             tk::BindMode::add);
    make_key_bindings();
}

IDE::~IDE() {
    if (session) {
        try {
            session->stop();
        } catch (...) {
        }
    }
    session.reset();
    preview.reset();
    if (!destroyed_) dismantle();
    destroyed_ = true;
    interp_.set_error_handler(nullptr);
}

void IDE::dismantle() noexcept {
    // The root window outlives this object (tests and embedders build
    // another main window on it): take down what was built on it, so that
    // no binding or timer is left pointing here.
    root_destroyed(".");
    for (const char* sequence : {"<Control-s>", "<Control-n>", "<Control-o>", "<F5>", "<Shift-F5>", "<F7>",
                                 "<Shift-F7>", "<F4>"})
        interp_.try_call({"bind", "all", sequence, ""});
    global_bindings_.clear();
    interp_.try_call({"bind", ".", "<Configure>", ""});
    interp_.try_call({"bind", ".", "<Destroy>", ""});
    interp_.try_call({"wm", "protocol", ".", "WM_DELETE_WINDOW", ""});
    interp_.try_call({".", "configure", "-menu", ""});
    try {
        for (const tk::Obj& child : interp_.call_obj({"winfo", "children", "."}).to_list())
            tk::destroy(interp_, child.str());
    } catch (...) {
    }
}

void IDE::measure_fonts() {
    interp_.try_call({"font", "delete", interface_font()});
    interp_.try_call({"font", "delete", interface_font_bold()});
    interp_.call({"font", "create", interface_font(), "-family", "DejaVu Sans", "-size", 10});
    interp_.call({"font", "create", interface_font_bold(), "-family", "DejaVu Sans", "-size", 10, "-weight", "bold"});
    interface_linespace_ = static_cast<int>(
        interp_.call_obj({"font", "metrics", interface_font(), "-linespace"}).to_int());
    // Row heights follow the real font metrics: Tk's point sizes depend on
    // the display's resolution, and a fixed height clips descenders.
    tree_rowheight_ = std::max(30, interface_linespace_ + 11);
    property_rowheight_ = std::max(30, interface_linespace_ + 12);
}

void IDE::configure_style() {
    measure_fonts();
    interp_.call({".", "configure", "-background", "#dedede"});
    const std::string themes = interp_.call({"ttk::style", "theme", "names"});
    for (const tk::Obj& theme : tk::Obj(themes).to_list()) {
        if (theme.str() == "clam") interp_.call({"ttk::style", "theme", "use", "clam"});
    }
    const std::string font = interface_font(), bold = interface_font_bold();
    interp_.call({"ttk::style", "configure", "Heading.TLabel", "-background", "#d7dce3", "-font", bold});
    interp_.call({"ttk::style", "configure", "TNotebook.Tab", "-padding", tk::Obj::list({13, 7})});
    interp_.call({"ttk::style", "configure", "Toolbar.TButton", "-padding", tk::Obj::list({5, 5}), "-font", font});
    interp_.call({"ttk::style", "configure", "Project.Treeview", "-font", font, "-rowheight", tree_rowheight_});
    interp_.call({"ttk::style", "configure", "Properties.Treeview", "-font", font, "-rowheight", property_rowheight_,
                  "-background", "#ffffff", "-fieldbackground", "#ffffff", "-borderwidth", 1});
    interp_.call({"ttk::style", "configure", "Properties.Treeview.Heading", "-font", bold,
                  "-padding", tk::Obj::list({7, 6})});
}

void IDE::make_key_bindings() {
    struct Key {
        const char* sequence;
        void (IDE::*operation)();
    };
    static constexpr Key KEYS[] = {
        {"<Control-s>", &IDE::save},     {"<Control-n>", &IDE::new_project}, {"<Control-o>", &IDE::open_project},
        {"<F5>", &IDE::start},           {"<Shift-F5>", &IDE::stop},         {"<F7>", &IDE::show_code},
        {"<Shift-F7>", &IDE::show_design}, {"<F4>", &IDE::focus_properties},
    };
    for (const Key& key : KEYS) {
        auto operation = key.operation;
        global_bindings_.push_back(tk::bind_tag(interp_, "all", key.sequence, {}, [this, operation] {
            guarded([this, operation] { (this->*operation)(); });
        }));
    }
}

void IDE::guarded(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        // A failing command never takes the environment down: it is shown
        // and the window goes on.
        try {
            log(std::string("Error: ") + e.what());
            show_error("Error", e.what());
        } catch (...) {
        }
    }
}

std::string IDE::command(std::function<void()> fn) {
    return tk::widget_command(interp_, ".", [this, fn = std::move(fn)] { guarded(fn); });
}

std::string IDE::title() const {
    if (!state_.has_components()) return "Corvane \u2014 No Project";
    return std::string(state_.dirty ? "\u25cf " : "") + "Corvane \u2014 " + state_.project.name;
}

void IDE::update_title() { tk::wm_title(interp_, ".", title()); }

void IDE::set_status(const std::string& text) {
    status_text_ = text;
    if (!destroyed_) status_.set(text);
}

void IDE::changed() {
    state_.dirty = true;
    update_title();
}

void IDE::write_output(const std::function<void()>& change) {
    if (destroyed_ || widgets_.output.empty() || !tk::winfo_exists(interp_, widgets_.output)) return;
    interp_.call({widgets_.output, "configure", "-state", "normal"});
    change();
    interp_.call({widgets_.output, "configure", "-state", "disabled"});
}

void IDE::log(const std::string& text) {
    write_output([&] {
        interp_.call({widgets_.output, "insert", "end", text + "\n"});
        interp_.call({widgets_.output, "see", "end"});
    });
}

void IDE::clear_output() {
    write_output([&] { interp_.call({widgets_.output, "delete", "1.0", "end"}); });
}

void IDE::show_error(const std::string& title, const std::string& message) {
    tk::message_box(interp_, {.parent = ".", .title = title, .message = message, .icon = "error"});
}

bool IDE::prompt_discard() {
    if (!state_.dirty) return true;
    return tk::message_box(interp_, {.parent = ".", .title = "Unsaved changes",
                                     .message = "Discard unsaved project changes?", .icon = "question",
                                     .type = "yesno"}) == "yes";
}

void IDE::on_exit() {
    if (state_.dirty && tk::message_box(interp_, {.parent = ".", .title = "Unsaved changes",
                                                  .message = "Exit without saving your project?",
                                                  .icon = "question", .type = "yesno"}) != "yes")
        return;
    save_geometry();
    stop();
    tk::destroy(interp_, ".");
}

void IDE::root_destroyed(const std::string& widget) {
    if (widget != ".") return;
    destroyed_ = true;
    panel_reset_job_.cancel();
    panel_save_job_.cancel();
    geometry_job_.cancel();
    toolbar_job_.cancel();
    if (code_editor_) code_editor_->shutdown();
    for (auto& [name, tip] : tooltips_) tip->timer.cancel();
}

void IDE::focus_properties() {
    const std::string& tree = widgets_.props_tree;
    if (tree.empty() || !tk::winfo_exists(interp_, tree)) return;
    tk::focus(interp_, tree, true);
    const auto rows = interp_.call_obj({tree, "children", ""}).to_list();
    if (!rows.empty()) {
        interp_.call({tree, "selection", "set", rows.front()});
        interp_.call({tree, "focus", rows.front()});
    }
}

void IDE::show_about() {
    tk::message_box(interp_, {.parent = ".", .title = "About",
                              .message = "Corvane 0.6.2\n\nVB6-compatible project tools and Linux-native runtime.\n"
                                         "Not a binary-compatible Microsoft VB6 compiler.",
                              .icon = "info"});
}

// Panel operations forwarded to the panels.
void IDE::draw_form() { designer_->draw_form(); }
void IDE::show_properties() { property_grid_->show_properties(); }
void IDE::load_editor(EditorKind kind, void* record) { code_editor_->load_editor(kind, record); }
void IDE::sync_editor() { code_editor_->sync_editor(); }
void IDE::clear_editor() { code_editor_->clear_editor(); }
void IDE::open_event_code(const std::string& object, const std::string& event) {
    code_editor_->open_event_code(object, event);
}
void IDE::make_elf() { tool_windows_->build_linux("native"); }
void IDE::open_database() { tool_windows_->database_explorer("sqlite"); }

void IDE::select_tab(int index) {
    if (!widgets_.tabs.empty()) interp_.call({widgets_.tabs, "select", index});
}

}  // namespace corvane::ide
