// The code editor: a text widget holding the code of one form, module or
// class. Loading another record first writes the text back into its owner.
#include "ide/panels.h"

namespace corvane::ide {

namespace {

class PlainCodeEditor final : public CodePanel {
public:
    explicit PlainCodeEditor(Workbench& bench) : bench_(bench) {}

    void build() override {
        tk::Interp& in = bench_.interp();
        const std::string& panel = bench_.widgets().code_panel;
        text_ = panel + ".text";
        const std::string y = panel + ".y", x = panel + ".x";
        in.call({"text", text_, "-wrap", "none", "-undo", 1, "-font", tk::Obj::list({"DejaVu Sans Mono", 10}),
                 "-background", "#ffffff", "-foreground", "#000000", "-insertbackground", "#000000"});
        in.call({"ttk::scrollbar", y, "-orient", "vertical", "-command", tk::Obj::list({text_, "yview"})});
        in.call({"ttk::scrollbar", x, "-orient", "horizontal", "-command", tk::Obj::list({text_, "xview"})});
        in.call({text_, "configure", "-yscrollcommand", tk::Obj::list({y, "set"}), "-xscrollcommand",
                 tk::Obj::list({x, "set"})});
        in.call({"grid", text_, "-row", 0, "-column", 0, "-sticky", "nsew"});
        in.call({"grid", y, "-row", 0, "-column", 1, "-sticky", "ns"});
        in.call({"grid", x, "-row", 1, "-column", 0, "-sticky", "ew"});
        in.call({"grid", "rowconfigure", panel, 0, "-weight", 1});
        in.call({"grid", "columnconfigure", panel, 0, "-weight", 1});
    }

    void load_editor(EditorKind kind, void* record) override {
        sync_editor();
        EditingState& s = bench_.state();
        s.editor_owner = {kind, record};
        tk::Interp& in = bench_.interp();
        in.call({text_, "delete", "1.0", "end"});
        if (const std::string* code = s.editor_owner.code()) in.call({text_, "insert", "1.0", *code});
        in.call({text_, "edit", "reset"});  // undo never crosses into another record
        in.call({text_, "edit", "modified", 0});
        in.call({text_, "mark", "set", "insert", "1.0"});
    }

    void sync_editor() override {
        std::string* code = bench_.state().editor_owner.code();
        if (!code || text_.empty()) return;
        const std::string text = bench_.interp().call({text_, "get", "1.0", "end-1c"});
        if (text != *code) {
            *code = text;
            bench_.changed();
        }
    }

    void clear_editor() override {
        bench_.state().editor_owner = {};
        if (text_.empty()) return;
        bench_.interp().call({text_, "delete", "1.0", "end"});
        bench_.interp().call({text_, "edit", "reset"});
    }

    void open_event_code(const std::string&, const std::string&) override { bench_.show_code(); }
    void shutdown() override {}

private:
    Workbench& bench_;
    std::string text_;
};

}  // namespace

std::unique_ptr<CodePanel> make_code_editor(Workbench& bench) { return std::make_unique<PlainCodeEditor>(bench); }

}  // namespace corvane::ide
