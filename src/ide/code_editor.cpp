// The code editor page: the Object and Event bar, the line-number gutter,
// the text widget with its scroll bars, and the loading and writing back of
// a form's, module's or class's code.
#include "ide/code_editor.h"

#include "tk/events.h"
#include "tk/widget.h"

namespace corvane::ide {

namespace {

const tk::Obj& mono_font() {
    static const tk::Obj font = tk::Obj::list({"DejaVu Sans Mono", 11});
    return font;
}

}  // namespace

CodeEditor::CodeEditor(Workbench& bench)
    : bench_(bench), object_var_(bench.interp()), event_var_(bench.interp(), "Click") {}

CodeEditor::~CodeEditor() { shutdown(); }

void CodeEditor::build() {
    tk::Interp& in = bench_.interp();
    const std::string& panel = bench_.widgets().code_panel;
    build_top_bar(panel);
    build_text(panel);
    configure_tags();
    install_edit_tracking();
    bind_keys();
    // Tcl 8.6 counts a character outside the BMP as two.
    astral_width_ = static_cast<int>(in.call_obj({"string", "length", "\xF0\x9F\x98\x80"}).to_int());
}

void CodeEditor::build_top_bar(const std::string& panel) {
    tk::Interp& in = bench_.interp();
    const std::string bar = panel + ".bar";
    in.call({"ttk::frame", bar, "-padding", 5});
    in.call({"pack", bar, "-side", "top", "-fill", "x"});
    in.call({"ttk::label", bar + ".objlabel", "-text", "Object:"});
    object_combo_ = bar + ".object";
    in.call({"ttk::combobox", object_combo_, "-state", "readonly", "-width", 18, "-textvariable", object_var_.name()});
    // Controls added since the last load are listed when the list drops down.
    in.call({object_combo_, "configure", "-postcommand",
             tk::widget_command(in, object_combo_, [this] { refresh_object_entries(); })});
    in.call({"ttk::label", bar + ".evtlabel", "-text", "Event:"});
    event_combo_ = bar + ".event";
    in.call({"ttk::combobox", event_combo_, "-state", "readonly", "-width", 15, "-textvariable", event_var_.name()});
    const std::string button = bar + ".open";
    in.call({"ttk::button", button, "-text", "Open / Create Handler"});
    in.call({button, "configure", "-command", tk::widget_command(in, button, [this] { ensure_event(); })});
    in.call({"pack", bar + ".objlabel", "-side", "left"});
    in.call({"pack", object_combo_, "-side", "left", "-padx", 4});
    in.call({"pack", bar + ".evtlabel", "-side", "left", "-padx", tk::Obj::list({10, 0})});
    in.call({"pack", event_combo_, "-side", "left", "-padx", 4});
    in.call({"pack", button, "-side", "left", "-padx", 6});
    tk::bind(in, object_combo_, "<<ComboboxSelected>>", {}, [this] { event_options(); });
}

void CodeEditor::build_text(const std::string& panel) {
    tk::Interp& in = bench_.interp();
    const std::string body = panel + ".body";
    in.call({"ttk::frame", body});
    gutter_ = body + ".gutter";
    text_ = body + ".text";
    yscroll_ = body + ".y";
    xscroll_ = panel + ".x";
    in.call({"canvas", gutter_, "-width", 45, "-background", "#e5e9f0", "-highlightthickness", 0});
    in.call({"text", text_, "-font", mono_font(), "-undo", 1, "-wrap", "none", "-background", "#ffffff",
             "-foreground", "#142235", "-insertbackground", "#17345a", "-selectbackground", "#a6cbf1", "-tabs",
             "36p"});
    in.call({"ttk::scrollbar", yscroll_, "-orient", "vertical"});
    in.call({"ttk::scrollbar", xscroll_, "-orient", "horizontal", "-command", tk::Obj::list({text_, "xview"})});
    in.call({yscroll_, "configure", "-command",
             tk::widget_command(in, yscroll_, [this](const tk::Args& args) { editor_scroll(args); })});
    in.call({text_, "configure", "-xscrollcommand", tk::Obj::list({xscroll_, "set"}), "-yscrollcommand",
             tk::widget_command(in, text_, [this](const tk::Args& args) { text_yview_changed(args); })});
    in.call({"pack", gutter_, "-side", "left", "-fill", "y"});
    in.call({"pack", yscroll_, "-side", "right", "-fill", "y"});
    in.call({"pack", text_, "-side", "left", "-fill", "both", "-expand", 1});
    in.call({"pack", xscroll_, "-side", "bottom", "-fill", "x"});
    in.call({"pack", body, "-side", "top", "-fill", "both", "-expand", 1});
}

void CodeEditor::bind_keys() {
    tk::Interp& in = bench_.interp();
    // The text's own copy of the Text class bindings, without the keys the
    // main window binds for every window (open, new, save): those run only
    // after the class bindings, and Tk's text would also insert a line on
    // Control+O and move the cursor on Control+N.
    in.eval_constant(R"tcl(
        if {[bind CorvaneCodeText] eq ""} {
            foreach sequence [bind Text] { bind CorvaneCodeText $sequence [bind Text $sequence] }
            foreach sequence {<Control-o> <Control-n> <Control-s>} { bind CorvaneCodeText $sequence {# the main window's} }
        }
    )tcl");
    in.call({"bindtags", text_, tk::Obj::list({text_, "CorvaneCodeText", in.call({"winfo", "toplevel", text_}), "all"})});

    tk::bind(in, text_, "<<Modified>>", {}, [this] { editor_modified(); });
    tk::bind(in, text_, "<KeyRelease>", {"%K"}, [this](const tk::Args& a) { return key_release(a.str(0)); });
    tk::bind(in, text_, "<Control-space>", {}, [this] { return force(); });
    tk::bind(in, text_, "<Escape>", {}, [this] { return escape(); });
    tk::bind(in, text_, "<Down>", {}, [this] { return move_selection(1); });
    tk::bind(in, text_, "<Up>", {}, [this] { return move_selection(-1); });
    tk::bind(in, text_, "<Return>", {}, [this] { return accept(); });
    tk::bind(in, text_, "<Tab>", {}, [this] { return accept(); });
    tk::bind(in, text_, "<Button-1>", {}, [this] { hide_autocomplete(); });
    // The list does not float on when the code page is left.
    tk::bind(in, bench_.widgets().code_panel, "<Unmap>", {}, [this] { hide_autocomplete(); }, tk::BindMode::add);
    for (const char* wheel : {"<MouseWheel>", "<Button-4>", "<Button-5>"})
        tk::bind(in, text_, wheel, {}, [this] { gutter_job_ = tk::when_idle(bench_.interp(), [this] { update_gutter(); }); });
}

std::string CodeEditor::text() const { return bench_.interp().call({text_, "get", "1.0", "end-1c"}); }

void CodeEditor::load_editor(EditorKind kind, void* record) {
    hide_autocomplete();
    sync_editor();
    EditingState& state = bench_.state();
    state.editor_owner = {kind, record};
    tk::Interp& in = bench_.interp();
    in.call({real_text_, "delete", "1.0", "end"});
    if (const std::string* code = state.editor_owner.code()) in.call({real_text_, "insert", "1.0", *code});
    all_dirty_ = true;
    // Undo never reaches back into another record's text.
    in.call({text_, "edit", "reset"});
    in.call({text_, "edit", "modified", 0});
    in.call({text_, "mark", "set", "insert", "1.0"});
    in.call({text_, "see", "1.0"});
    schedule_highlight();
    refresh_objects();
}

void CodeEditor::sync_editor() {
    std::string* code = bench_.state().editor_owner.code();
    if (!code || text_.empty()) return;
    std::string current = text();
    if (current.empty() || current.back() != '\n') current += '\n';
    *code = std::move(current);
}

void CodeEditor::clear_editor() {
    hide_autocomplete();
    bench_.state().editor_owner = {};
    if (text_.empty()) return;
    tk::Interp& in = bench_.interp();
    in.call({real_text_, "delete", "1.0", "end"});
    all_dirty_ = true;
    in.call({text_, "edit", "reset"});
    in.call({text_, "edit", "modified", 0});
    objects_.clear();
    events_.clear();
    in.call({object_combo_, "configure", "-values", tk::Obj::list(std::vector<std::string>{})});
    in.call({event_combo_, "configure", "-values", tk::Obj::list(std::vector<std::string>{})});
    object_var_.set("");
    event_var_.set("");
    update_gutter();
}

void CodeEditor::editor_modified() {
    tk::Interp& in = bench_.interp();
    if (text_.empty() || !tk::winfo_exists(in, text_)) return;
    if (in.call_obj({text_, "edit", "modified"}).to_int() == 0) return;
    if (!bench_.state().editor_owner.empty()) bench_.changed();
    in.call({text_, "edit", "modified", 0});
    in.call({text_, "tag", "remove", "marked", "1.0", "end"});
    schedule_highlight();
}

void CodeEditor::update_gutter() {
    tk::Interp& in = bench_.interp();
    if (gutter_.empty() || !tk::winfo_exists(in, gutter_)) return;
    in.call({gutter_, "delete", "all"});
    static const tk::Obj number_font = tk::Obj::list({"DejaVu Sans Mono", 10});
    const std::string top = in.call({text_, "index", "@0,0"});
    const long last = std::stol(in.call({text_, "index", "end-1c"}));
    for (long line = std::stol(top); line <= last; ++line) {
        const std::vector<tk::Obj> box = in.call_obj({text_, "dlineinfo", std::to_string(line) + ".0"}).to_list();
        if (box.size() < 2) break;
        in.call({gutter_, "create", "text", 38, box[1].to_int() + 2, "-anchor", "ne", "-text", line, "-fill",
                 "#65758a", "-font", number_font});
    }
}

void CodeEditor::editor_scroll(const tk::Args& args) {
    std::vector<tk::Obj> words{text_, "yview"};
    words.insert(words.end(), args.all().begin(), args.all().end());
    bench_.interp().call(words);
    update_gutter();
}

void CodeEditor::text_yview_changed(const tk::Args& args) {
    std::vector<tk::Obj> words{yscroll_, "set"};
    words.insert(words.end(), args.all().begin(), args.all().end());
    bench_.interp().call(words);
    update_gutter();
}

void CodeEditor::shutdown() {
    highlight_job_.cancel();
    gutter_job_.cancel();
    completion_job_.cancel();
}

std::unique_ptr<CodePanel> make_code_editor(Workbench& bench) { return std::make_unique<CodeEditor>(bench); }

}  // namespace corvane::ide
