#pragma once
// The code editor's implementation, shared by its files: code_editor.cpp
// (page, loading, writing back, gutter, change tracking), code_colouring.cpp
// (debounced colouring), code_events.cpp (Object and Event lists, handlers)
// and completion_popup.cpp (the member list under the cursor).
#include <optional>
#include <string>
#include <vector>

#include "ide/panels.h"
#include "intellisense/completion.h"
#include "tk/command.h"
#include "tk/timer.h"
#include "tk/variable.h"

namespace corvane::ide {

class CodeEditor final : public CodePanel {
public:
    explicit CodeEditor(Workbench& bench);
    ~CodeEditor() override;

    // --- CodePanel ---
    void build() override;
    void load_editor(EditorKind kind, void* record) override;
    void sync_editor() override;
    void clear_editor() override;
    void open_event_code(const std::string& object, const std::string& event) override;
    void shutdown() override;
    void refresh_objects() override;
    void event_options(const std::string& preferred = {}) override;
    void ensure_event() override;
    void select_object(const std::string& name) override { object_var_.set(name); }
    std::string selected_object() const override { return object_var_.text(); }
    void select_event(const std::string& name) override { event_var_.set(name); }
    std::string selected_event() const override { return event_var_.text(); }
    std::vector<std::string> object_entries() const override { return objects_; }
    std::vector<std::string> event_entries() const override { return events_; }
    void show_line(EditorKind kind, void* record, int line) override;
    std::string text_widget() const override { return text_; }
    void highlight() override;
    void recolour_all() override;
    int colouring_passes() const override { return passes_; }
    bool completion_shown() const override { return !popup_.empty(); }
    std::vector<std::string> completion_entries() const override;
    std::string completion_window() const override { return popup_; }

private:
    // code_editor.cpp
    void build_top_bar(const std::string& panel);
    void build_text(const std::string& panel);
    void bind_keys();
    void editor_modified();
    void update_gutter();
    void editor_scroll(const tk::Args& args);
    void text_yview_changed(const tk::Args& args);
    std::string text() const;
    // code_colouring.cpp
    void schedule_highlight();
    void configure_tags();
    // The text widget's command goes through track_edits, which notes the
    // lines each insert, delete or replace touches, so that a colouring pass
    // recolours only those lines.
    void install_edit_tracking();
    tk::Reply track_edits(const tk::Args& args);
    void note_lines(long first, long last);
    void colour_lines(long first, long last);
    // code_events.cpp
    // The Object list's entries from the current form; the selection stays.
    void refresh_object_entries();
    std::string procedure_name() const;
    std::optional<int> find_procedure(const std::string& name) const;
    void create_procedure(const std::string& name);
    // completion_popup.cpp
    tk::Flow key_release(const std::string& key);
    tk::Flow force();
    tk::Flow escape();
    tk::Flow move_selection(int step);
    tk::Flow accept();
    void show_autocomplete(bool force);
    void hide_autocomplete();
    void make_popup();
    std::string before_cursor() const;

    Workbench& bench_;
    std::string text_, gutter_, yscroll_, xscroll_, object_combo_, event_combo_;
    tk::Variable object_var_, event_var_;
    std::vector<std::string> objects_, events_;
    tk::Timer highlight_job_;
    std::string real_text_;      // the text widget's own command, renamed
    tk::Command edit_tracker_;   // answers to the widget's path
    bool all_dirty_ = true;      // the next pass recolours the whole text
    std::vector<std::pair<std::string, std::string>> dirty_marks_;  // first and last line of each edit
    unsigned long mark_serial_ = 0;
    tk::Timer gutter_job_;
    tk::Timer completion_job_;
    int passes_ = 0;
    // How many columns the text widget gives a character outside the Basic
    // Multilingual Plane (Tcl 8.6 stores them as two UTF-16 units).
    int astral_width_ = 1;
    // The completion popup and its list, both empty while none is shown.
    std::string popup_, list_;
    // The context in which the list was forced open with Control+space: it
    // stays open while the user goes on in the same context.
    std::optional<intellisense::MemberContext> forced_;
};

}  // namespace corvane::ide
