// The member list that pops up under the cursor of the code editor: shown
// after "object." and filtered while typing; Return, Tab or a click inserts
// the selected member in place of what was typed after the dot.
#include "ide/code_editor.h"

#include <algorithm>

#include "model/names.h"
#include "tk/events.h"
#include "tk/widget.h"

namespace corvane::ide {

namespace {

// Keys whose release does not reopen or refilter the list.
constexpr std::string_view QUIET_KEYS[] = {
    "Escape",    "Return",    "Tab",     "Up",      "Down",    "Left",    "Right",   "Prior",
    "Next",      "Control_L", "Control_R", "Shift_L", "Shift_R", "Alt_L",  "Alt_R",   "Meta_L",
    "Meta_R",    "Super_L",   "Super_R", "Caps_Lock", "ISO_Level3_Shift",
};

constexpr int MAX_ROWS = 10;

// Characters as the text widget counts them.
int text_length(std::string_view text, int astral_width) {
    int count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) count += c >= 0xF0 ? astral_width : 1;
    return count;
}

}  // namespace

std::string CodeEditor::before_cursor() const {
    return bench_.interp().call({text_, "get", "insert linestart", "insert"});
}

tk::Flow CodeEditor::key_release(const std::string& key) {
    schedule_highlight();
    if (std::find(std::begin(QUIET_KEYS), std::end(QUIET_KEYS), key) != std::end(QUIET_KEYS))
        return tk::Flow::proceed;
    completion_job_ = tk::when_idle(bench_.interp(), [this] { show_autocomplete(false); });
    return tk::Flow::proceed;
}

tk::Flow CodeEditor::force() {
    show_autocomplete(true);
    return tk::Flow::stop;
}

tk::Flow CodeEditor::escape() {
    if (popup_.empty()) return tk::Flow::proceed;
    hide_autocomplete();
    return tk::Flow::stop;
}

tk::Flow CodeEditor::move_selection(int step) {
    if (list_.empty()) return tk::Flow::proceed;
    tk::Interp& in = bench_.interp();
    const std::vector<tk::Obj> selected = in.call_obj({list_, "curselection"}).to_list();
    const int size = static_cast<int>(in.call_obj({list_, "size"}).to_int());
    int index = 0;
    if (!selected.empty()) index = std::clamp(static_cast<int>(selected.front().to_int()) + step, 0, size - 1);
    in.call({list_, "selection", "clear", 0, "end"});
    in.call({list_, "selection", "set", index});
    in.call({list_, "activate", index});
    in.call({list_, "see", index});
    return tk::Flow::stop;
}

tk::Flow CodeEditor::accept() {
    if (list_.empty()) return tk::Flow::proceed;
    tk::Interp& in = bench_.interp();
    const std::vector<tk::Obj> selected = in.call_obj({list_, "curselection"}).to_list();
    if (selected.empty()) return tk::Flow::proceed;
    const std::string member = in.call({list_, "get", selected.front()});
    if (const auto context = intellisense::member_context(before_cursor())) {
        const int typed = text_length(context->prefix, astral_width_);
        if (typed > 0) in.call({text_, "delete", "insert -" + std::to_string(typed) + "c", "insert"});
        in.call({text_, "insert", "insert", member});
        schedule_highlight();
    }
    hide_autocomplete();
    tk::focus(in, text_);
    return tk::Flow::stop;
}

void CodeEditor::show_autocomplete(bool forced) {
    const EditingState& state = bench_.state();
    if (state.editor_owner.empty() || !state.project_open()) return hide_autocomplete();
    tk::Interp& in = bench_.interp();
    if (!tk::winfo_exists(in, text_)) return;
    const auto context = intellisense::member_context(before_cursor());
    if (!context) return hide_autocomplete();
    // A list opened with Control+space stays open while typing goes on in
    // the same context (the release of the keys would otherwise close it).
    if (!forced && forced_ && *forced_ == *context) forced = true;
    const std::vector<std::string> entries =
        intellisense::completions(&state.project, text(), before_cursor(), state.form);
    if (entries.empty()) return hide_autocomplete();
    if (!forced && entries.size() == 1 && names_equal(entries.front(), context->prefix)) return hide_autocomplete();
    const std::vector<tk::Obj> box = in.call_obj({text_, "bbox", "insert"}).to_list();
    if (box.size() < 4) return;  // the cursor is scrolled out of view
    if (popup_.empty()) make_popup();
    forced_ = forced ? context : std::nullopt;

    std::size_t longest = 0;
    for (const std::string& entry : entries) longest = std::max(longest, entry.size());
    in.call({list_, "delete", 0, "end"});
    std::vector<tk::Obj> insert{list_, "insert", "end"};
    insert.insert(insert.end(), entries.begin(), entries.end());
    in.call(insert);
    in.call({list_, "configure", "-height", std::min<int>(MAX_ROWS, static_cast<int>(entries.size())), "-width",
             std::max<int>(18, std::min<int>(38, static_cast<int>(longest) + 3))});
    in.call({list_, "selection", "clear", 0, "end"});
    in.call({list_, "selection", "set", 0});
    in.call({list_, "activate", 0});
    in.call({list_, "see", 0});

    const long x = in.call_obj({"winfo", "rootx", text_}).to_int() + box[0].to_int();
    const long y = in.call_obj({"winfo", "rooty", text_}).to_int() + box[1].to_int() + box[3].to_int() + 3;
    in.call({"wm", "geometry", popup_, "+" + std::to_string(x) + "+" + std::to_string(y)});
    in.call({"wm", "deiconify", popup_});
    in.call({"raise", popup_});
    tk::focus(in, text_);
}

void CodeEditor::make_popup() {
    tk::Interp& in = bench_.interp();
    const std::string master = in.call({"winfo", "toplevel", text_});
    popup_ = tk::new_widget_path(in, master);
    list_ = popup_ + ".list";
    in.call({"toplevel", popup_, "-borderwidth", 0});
    in.call({"wm", "withdraw", popup_});
    in.call({"wm", "overrideredirect", popup_, 1});
    in.call({"wm", "transient", popup_, master});
    in.call({"listbox", list_, "-activestyle", "dotbox", "-exportselection", 0, "-font",
             tk::Obj::list({"DejaVu Sans Mono", 10}), "-background", "#fffefa", "-foreground", "#182e4d",
             "-selectbackground", "#3976bb", "-relief", "solid", "-borderwidth", 1});
    in.call({"pack", list_, "-fill", "both", "-expand", 1});
    tk::bind(in, list_, "<Double-Button-1>", {}, [this] { accept(); });
    tk::bind(in, list_, "<ButtonRelease-1>", {}, [this] { accept(); });
}

void CodeEditor::hide_autocomplete() {
    completion_job_.cancel();
    forced_.reset();
    const std::string popup = popup_;
    popup_.clear();
    list_.clear();
    if (!popup.empty()) tk::destroy(bench_.interp(), popup);  // a window already gone is ignored
}

std::vector<std::string> CodeEditor::completion_entries() const {
    if (list_.empty()) return {};
    std::vector<std::string> entries;
    for (const tk::Obj& item : bench_.interp().call_obj({list_, "get", 0, "end"}).to_list())
        entries.push_back(item.str());
    return entries;
}

}  // namespace corvane::ide
