// Syntax colouring of the code editor, 150 ms after the last key of a
// burst. Each line is coloured on its own, so a pass recolours only the
// lines edited since the previous pass (the whole text after a load); the
// result is the same as colouring the whole text again.
#include "ide/code_editor.h"

#include <algorithm>

#include "intellisense/source_text.h"
#include "intellisense/syntax_spans.h"
#include "tk/events.h"

namespace corvane::ide {

namespace {

constexpr int COLOURING_DELAY_MS = 150;

struct TagStyle {
    intellisense::SpanKind kind;
    const char* tag;
    const char* colour;
    bool bold;
};

constexpr TagStyle TAGS[] = {
    {intellisense::SpanKind::keyword, "keyword", "#174eae", true},
    {intellisense::SpanKind::string, "string", "#9b3116", false},
    {intellisense::SpanKind::comment, "comment", "#39803a", false},
};

long line_of(const std::string& index) { return std::stol(index); }

std::size_t count_lines(std::string_view text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace

void CodeEditor::configure_tags() {
    tk::Interp& in = bench_.interp();
    for (const TagStyle& style : TAGS) {
        in.call({text_, "tag", "configure", style.tag, "-foreground", style.colour});
        if (style.bold)
            in.call({text_, "tag", "configure", style.tag, "-font",
                     tk::Obj::list({"DejaVu Sans Mono", 11, "bold"})});
    }
    // A line shown for a message (an error at a line) until the next edit.
    in.call({text_, "tag", "configure", "marked", "-background", "#ffe1a8"});
}

void CodeEditor::install_edit_tracking() {
    tk::Interp& in = bench_.interp();
    real_text_ = in.unique_name("text");
    in.call({"rename", text_, real_text_});
    edit_tracker_ = tk::create_command(in, [this](const tk::Args& args) { return track_edits(args); });
    in.call({"interp", "alias", "", text_, "", edit_tracker_.name()});
    const std::string alias = text_;
    tk::on_destroy(in, text_, [&in, alias] { in.try_call({"rename", alias, ""}); });
}

tk::Reply CodeEditor::track_edits(const tk::Args& args) {
    tk::Interp& in = bench_.interp();
    std::vector<tk::Obj> words{real_text_};
    words.insert(words.end(), args.all().begin(), args.all().end());
    const std::string op = args.empty() ? "" : args.str(0);
    const bool insert = op == "insert", replace = op == "replace", remove = op == "delete";
    long first = 0;
    std::size_t added = 0;
    if ((insert || replace || remove) && args.size() >= 2) {
        const long last_line = line_of(in.call({real_text_, "index", "end-1c"}));
        first = std::min(line_of(in.call({real_text_, "index", args[1]})), last_line);
        const std::size_t chars_from = insert ? 2 : replace ? 3 : args.size();
        for (std::size_t i = chars_from; i < args.size(); i += 2) added += count_lines(args.str(i));
        if (remove && args.size() > 3) all_dirty_ = true;  // several ranges at once
    }
    tk::Obj result = in.call_obj(words);
    if (insert || replace || remove) {
        note_lines(first, first + static_cast<long>(added));
    } else if (op == "edit" && args.size() >= 2 && (args.str(1) == "undo" || args.str(1) == "redo")) {
        all_dirty_ = true;
    }
    return tk::Reply{result};
}

void CodeEditor::note_lines(long first, long last) {
    if (all_dirty_) return;
    tk::Interp& in = bench_.interp();
    const std::string from = "corvane_dirty" + std::to_string(++mark_serial_);
    const std::string to = "corvane_dirty" + std::to_string(++mark_serial_);
    in.call({real_text_, "mark", "set", from, std::to_string(first) + ".0"});
    in.call({real_text_, "mark", "gravity", from, "left"});
    in.call({real_text_, "mark", "set", to, std::to_string(last) + ".0 lineend"});
    dirty_marks_.emplace_back(from, to);
}

void CodeEditor::schedule_highlight() {
    highlight_job_ = tk::after(bench_.interp(), COLOURING_DELAY_MS, [this] { highlight(); });
}

void CodeEditor::colour_lines(long first, long last) {
    tk::Interp& in = bench_.interp();
    const std::string from = std::to_string(first) + ".0";
    const std::string to = std::to_string(last) + ".0 lineend";
    const std::string part = in.call({real_text_, "get", from, to});
    std::vector<tk::Obj> ranges[std::size(TAGS)];
    for (std::size_t t = 0; t < std::size(TAGS); ++t) ranges[t] = {real_text_, "tag", "add", TAGS[t].tag};
    long number = first;
    for (std::string_view line : intellisense::split_lines(part)) {
        const std::string prefix = std::to_string(number++) + ".";
        for (const intellisense::Span& span : intellisense::line_spans(line, astral_width_ > 1)) {
            std::vector<tk::Obj>& words = ranges[static_cast<std::size_t>(span.kind)];
            words.emplace_back(prefix + std::to_string(span.begin));
            words.emplace_back(prefix + std::to_string(span.end));
        }
    }
    for (std::size_t t = 0; t < std::size(TAGS); ++t) {
        in.call({real_text_, "tag", "remove", TAGS[t].tag, from, to});
        if (ranges[t].size() > 4) in.call(ranges[t]);
    }
}

void CodeEditor::highlight() {
    highlight_job_.cancel();
    ++passes_;
    tk::Interp& in = bench_.interp();
    const long last = line_of(in.call({real_text_, "index", "end-1c"}));
    std::vector<std::pair<long, long>> spans;
    for (const auto& [from, to] : dirty_marks_) {
        if (!all_dirty_)
            spans.emplace_back(line_of(in.call({real_text_, "index", from})), line_of(in.call({real_text_, "index", to})));
        in.call({real_text_, "mark", "unset", from, to});
    }
    dirty_marks_.clear();
    if (all_dirty_) {
        all_dirty_ = false;
        colour_lines(1, last);
    } else {
        std::sort(spans.begin(), spans.end());
        for (std::size_t i = 0; i < spans.size();) {
            long first = spans[i].first, end = spans[i].second;
            for (++i; i < spans.size() && spans[i].first <= end + 1; ++i) end = std::max(end, spans[i].second);
            colour_lines(std::max(first, 1L), std::min(end, last));
        }
    }
    update_gutter();
}

void CodeEditor::recolour_all() {
    all_dirty_ = true;
    highlight();
}

}  // namespace corvane::ide
