// The toolbox: a two-column grid of tool buttons. Choosing a kind arms the
// designer; double-clicking a tool inserts a control at once.
#include "ide/ide.h"
#include "ide/toolbox_tools.h"
#include "model/control_kinds.h"
#include "tk/events.h"
#include "tk/widget.h"

namespace corvane::ide {

namespace {

template <std::size_t N>
std::string_view lookup(const std::pair<std::string_view, std::string_view> (&table)[N], std::string_view kind,
                        std::string_view fallback) {
    for (const auto& [key, value] : table)
        if (key == kind) return value;
    return fallback;
}

struct ToolLook {
    const char* background;
    const char* relief;
    const char* foreground;
};
constexpr ToolLook CHOSEN_LOOK{"#b7d3f4", "sunken", "#113663"};
constexpr ToolLook PLAIN_LOOK{"#ebebeb", "raised", "#18283d"};

}  // namespace

std::vector<std::string> toolbox_kinds() {
    std::vector<std::string> kinds{"Pointer"};
    for (const ControlSpec& row : CONTROL_SPECS) kinds.emplace_back(row.kind);
    return kinds;
}

std::string tool_text(std::string_view kind) {
    return std::string(lookup(TOOL_GLYPHS, kind, "\u25a1")) + " " + std::string(lookup(TOOL_NAMES, kind, kind));
}

void IDE::populate_tools() {
    tk::Interp& in = interp_;
    for (const tk::Obj& child : in.call_obj({"winfo", "children", widgets_.toolbox_frame}).to_list())
        tk::destroy(in, child.str());
    toolbox_buttons_.clear();
    const std::vector<std::string> kinds = toolbox_kinds();
    for (std::size_t n = 0; n < kinds.size(); ++n) {
        const std::string& kind = kinds[n];
        const std::string button = widgets_.toolbox_frame + ".t" + std::to_string(n);
        in.call({"button", button, "-text", tool_text(kind), "-anchor", "w", "-width", 10, "-relief", "raised",
                 "-borderwidth", 1, "-padx", 3, "-pady", 4, "-font", interface_font(), "-background",
                 PLAIN_LOOK.background, "-foreground", PLAIN_LOOK.foreground, "-takefocus", 0});
        in.call({button, "configure", "-command", command([this, kind] {
                     // The release that ends a double-click must not arm the kind again.
                     if (suppress_tool_command_) {
                         suppress_tool_command_ = false;
                         return;
                     }
                     choose_tool(kind);
                 })});
        in.call({"grid", button, "-row", static_cast<int>(n / 2), "-column", static_cast<int>(n % 2), "-padx", 2,
                 "-pady", 1, "-sticky", "ew"});
        // A single press clears the flag; the press that makes a double-click
        // matches only the more specific double-click binding.
        tk::bind(in, button, "<Button-1>", {}, [this] { suppress_tool_command_ = false; }, tk::BindMode::add);
        tk::bind(in, button, "<Double-Button-1>", {}, [this, kind] {
            suppress_tool_command_ = true;
            guarded([this, kind] { insert_tool(kind); });
        }, tk::BindMode::add);
        tk::bind(in, button, "<Enter>", {}, [this, kind] {
            set_status(kind + " \u2014 select, then click the form (double-click to insert)");
        }, tk::BindMode::add);
        toolbox_buttons_[kind] = button;
    }
    in.call({"grid", "columnconfigure", widgets_.toolbox_frame, 0, "-weight", 1});
    in.call({"grid", "columnconfigure", widgets_.toolbox_frame, 1, "-weight", 1});
    choose_tool("Pointer");
    for (const std::string& kind : kinds) add_tooltip(toolbox_buttons_[kind], kind + " control \u2022 click form to place");
}

void IDE::choose_tool(const std::string& kind) {
    if (kind == "Pointer") state_.pending_kind.reset();
    else state_.pending_kind = kind;
    for (const auto& [button_kind, button] : toolbox_buttons_) {
        const ToolLook& look = button_kind == kind ? CHOSEN_LOOK : PLAIN_LOOK;
        interp_.call({button, "configure", "-background", look.background, "-relief", look.relief, "-foreground",
                      look.foreground, "-activebackground", look.background});
    }
    if (!widgets_.canvas.empty())
        interp_.call({widgets_.canvas, "configure", "-cursor", state_.pending_kind ? "crosshair" : "arrow"});
    designer_->tool_changed();
    set_status(state_.pending_kind ? "Place " + kind + " by clicking inside the form" : "Pointer selected");
}

void IDE::use_pointer() { choose_tool("Pointer"); }

void IDE::insert_tool(const std::string& kind) {
    if (kind == "Pointer" || !state_.project_open()) return;
    VBForm& form = *state_.form;
    const int n = static_cast<int>(form.controls.size());
    Control& control = form.new_control(kind, 24 + 8 * n, 28 + 8 * n);
    state_.selected = control.name;
    changed();
    draw_form();
    show_properties();
    use_pointer();
}

}  // namespace corvane::ide
