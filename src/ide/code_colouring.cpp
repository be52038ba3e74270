// Syntax colouring of the code editor: one pass over the whole text, 150 ms
// after the last key of a burst.
#include "ide/code_editor.h"

#include "intellisense/source_text.h"
#include "intellisense/syntax_spans.h"

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

void CodeEditor::schedule_highlight() {
    highlight_job_ = tk::after(bench_.interp(), COLOURING_DELAY_MS, [this] { highlight(); });
}

void CodeEditor::highlight() {
    highlight_job_.cancel();
    ++passes_;
    tk::Interp& in = bench_.interp();
    const std::string all = text();
    // The indices of each tag's ranges, collected for one "tag add" per tag.
    std::vector<tk::Obj> ranges[std::size(TAGS)];
    for (std::size_t t = 0; t < std::size(TAGS); ++t) ranges[t] = {text_, "tag", "add", TAGS[t].tag};
    std::size_t number = 0;
    for (std::string_view line : intellisense::split_lines(all)) {
        ++number;
        const std::string prefix = std::to_string(number) + ".";
        for (const intellisense::Span& span : intellisense::line_spans(line, astral_width_ > 1)) {
            std::vector<tk::Obj>& words = ranges[static_cast<std::size_t>(span.kind)];
            words.emplace_back(prefix + std::to_string(span.begin));
            words.emplace_back(prefix + std::to_string(span.end));
        }
    }
    for (std::size_t t = 0; t < std::size(TAGS); ++t) {
        in.call({text_, "tag", "remove", TAGS[t].tag, "1.0", "end"});
        if (ranges[t].size() > 4) in.call(ranges[t]);
    }
    update_gutter();
}

}  // namespace corvane::ide
