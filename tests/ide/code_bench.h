#pragma once
// A small Workbench for the code editor and menu editor tests: the code
// panel fills the root window, dialogs are answered from a queue.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "ide/panels.h"
#include "ide/tool_windows.h"
#include "tk/dialogs.h"
#include "tk/input_dialog.h"
#include "tk/events.h"
#include "tk/interp.h"
#include "tk/widget.h"

namespace corvane::ide::testing {

inline tk::Interp& shared_interp() {
    static tk::Interp* instance = new tk::Interp(tk::InterpOptions{.with_tk = true});
    return *instance;
}

class CodeBench : public Workbench {
public:
    explicit CodeBench(tk::Interp& in) : in_(in) {
        widgets_.code_panel = ".code";
        in_.call({"wm", "geometry", ".", "900x600+0+0"});
        in_.call({"ttk::frame", widgets_.code_panel});
        in_.call({"pack", widgets_.code_panel, "-fill", "both", "-expand", 1});
        panel = make_code_editor(*this);
        panel->build();
    }
    ~CodeBench() override {
        panel->shutdown();
        for (const tk::Obj& child : in_.call_obj({"winfo", "children", "."}).to_list()) tk::destroy(in_, child.str());
        in_.update();
    }

    // A project with Form1 (Text1, Timer1, Command1, menus mnuFile > mnuOpen) open.
    void open_sample() {
        state_.project = Project{};
        VBForm& form = state_.project.forms[0];
        form.controls.push_back(Control::create("TextBox", "Text1"));
        form.controls.push_back(Control::create("Timer", "Timer1"));
        form.controls.push_back(Control::create("CommandButton", "Command1"));
        MenuItem file{"mnuFile", "&File", {}};
        file.children.push_back(MenuItem{"mnuOpen", "&Open", {}});
        form.menus.push_back(file);
        state_.project.modules.push_back({"Module1", "Attribute VB_Name = \"Module1\"\nOption Explicit\n"});
        state_.form = &form;
        panel->load_editor(EditorKind::form, state_.form);
        state_.dirty = false;
    }

    tk::Interp& interp() override { return in_; }
    EditingState& state() override { return state_; }
    const Widgets& widgets() const override { return widgets_; }
    std::string interface_font() const override { return "TkDefaultFont"; }
    std::string interface_font_bold() const override { return "TkDefaultFont"; }
    void set_status(const std::string& text) override { statuses.push_back(text); }
    void log(const std::string&) override {}
    void changed() override {
        state_.dirty = true;
        ++changes;
    }
    void add_tooltip(const std::string&, const std::string&) override {}
    void show_error(const std::string& title, const std::string& message) override {
        errors.push_back(title + ": " + message);
    }
    void populate_project() override {}
    void draw_form() override {}
    void show_properties() override {}
    void load_editor(EditorKind kind, void* record) override { panel->load_editor(kind, record); }
    void sync_editor() override { panel->sync_editor(); }
    void clear_editor() override { panel->clear_editor(); }
    void use_pointer() override {}
    void show_code() override {
        if (!state_.form) return;
        if (state_.current_module.empty() && !state_.editor_owner.holds(EditorKind::form, state_.form))
            panel->load_editor(EditorKind::form, state_.form);
    }
    void show_design() override {}
    void select_tab(int) override {}
    void open_event_code(const std::string& object, const std::string& event) override {
        panel->open_event_code(object, event);
    }
    void refresh_objects() override { panel->refresh_objects(); }

    std::unique_ptr<CodePanel> panel;
    std::vector<std::string> statuses, errors;
    int changes = 0;

private:
    tk::Interp& in_;
    EditingState state_;
    Widgets widgets_;
};

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        bench_ = std::make_unique<CodeBench>(shared_interp());
        tk::set_dialog_responder([this](const std::vector<std::string>& words) -> std::optional<std::string> {
            dialogs_.push_back(words);
            if (answers_.empty()) return std::string(tk::CANCEL_ANSWER);
            std::string answer = answers_.front();
            answers_.pop_front();
            return answer;
        });
        in().update();
    }
    void TearDown() override {
        tk::set_dialog_responder(nullptr);
        bench_.reset();
    }

    tk::Interp& in() { return shared_interp(); }
    CodePanel& panel() { return *bench_->panel; }
    std::string text_widget() { return panel().text_widget(); }
    std::string text() { return in().call({text_widget(), "get", "1.0", "end-1c"}); }
    std::string index(const std::string& at) { return in().call({text_widget(), "index", at}); }
    std::string tag_ranges(const std::string& tag) { return in().call({text_widget(), "tag", "ranges", tag}); }

    void focus_text() {
        in().call({"focus", "-force", text_widget()});
        in().update();
    }
    // One key pressed and released in the text widget, as the keyboard does.
    void key(const std::string& keysym, const std::string& modifier = "") {
        const std::string press = modifier.empty() ? "<KeyPress>" : "<" + modifier + "-KeyPress>";
        const std::string release = modifier.empty() ? "<KeyRelease>" : "<" + modifier + "-KeyRelease>";
        tk::event_generate(in(), text_widget(), press, {"-keysym", keysym});
        tk::event_generate(in(), text_widget(), release, {"-keysym", keysym});
    }
    void type(const std::string& chars) {
        static const std::pair<char, const char*> NAMED[] = {
            {'.', "period"}, {' ', "space"},     {'"', "quotedbl"},    {'\'', "apostrophe"}, {'(', "parenleft"},
            {')', "parenright"}, {'=', "equal"}, {'_', "underscore"}, {',', "comma"}, {':', "colon"},     {'&', "ampersand"}};
        for (char c : chars) {
            std::string keysym(1, c);
            for (const auto& [ch, name] : NAMED)
                if (ch == c) keysym = name;
            key(keysym);
        }
    }
    // Lets idle callbacks and timers due within `ms` run.
    void pump(int ms) {
        in().run_until([] { return false; }, ms);
        in().update();
    }

    std::unique_ptr<CodeBench> bench_;
    std::deque<std::string> answers_;
    std::vector<std::vector<std::string>> dialogs_;
};

}  // namespace corvane::ide::testing
