// Colouring spans of one line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "intellisense/syntax_spans.h"

namespace corvane::intellisense {
namespace {

// The spans as "k:begin-end" words, for readable expectations.
std::string show(std::string_view line, bool wide = false) {
    std::string out;
    for (const Span& s : line_spans(line, wide)) {
        const char kind = s.kind == SpanKind::keyword ? 'k' : s.kind == SpanKind::string ? 's' : 'c';
        out += std::string(out.empty() ? "" : " ") + kind + ":" + std::to_string(s.begin) + "-" + std::to_string(s.end);
    }
    return out;
}

TEST(LineSpans, StringWithApostropheThenComment) {
    // s = "it's" ' note
    EXPECT_EQ(show("s = \"it's\" ' note"), "s:4-10 c:11-17");
    EXPECT_EQ(show("' all comment Dim"), "c:0-17");
    // Doubled quotes stay in the literal; an open literal is not coloured.
    EXPECT_EQ(show("x = \"a\"\"b\""), "s:4-10");
    EXPECT_EQ(show("x = \"open 'no"), "c:10-13");
    EXPECT_EQ(show("x = \"ab\"\""), "s:4-8");
}

TEST(LineSpans, KeywordsAreWholeLetterWordsInAnyCase) {
    EXPECT_EQ(show("dim x As Integer"), "k:0-3 k:6-8 k:9-16");
    EXPECT_EQ(show("END"), "k:0-3");
    EXPECT_EQ(show("Dim2 EndX x_End End_"), "");
    EXPECT_EQ(show("If(a)Then"), "k:0-2 k:5-9");
    // Not inside strings or comments; Rem lines are not comments.
    EXPECT_EQ(show("s = \"Dim End\" ' Dim"), "s:4-13 c:14-19");
    EXPECT_EQ(show("Rem Dim"), "k:4-7");
    EXPECT_EQ(show("Dim\"x\"Sub"), "s:3-6 k:0-3 k:6-9");
}

TEST(LineSpans, ColumnsCountCharacters) {
    // "é" is two bytes but one column; astral characters may count twice.
    EXPECT_EQ(show("s = \"\xC3\xA9\" ' x"), "s:4-7 c:8-11");
    EXPECT_EQ(show("s = \"\xF0\x9F\x98\x80\" Dim", false), "s:4-7 k:8-11");
    EXPECT_EQ(show("s = \"\xF0\x9F\x98\x80\" Dim", true), "s:4-8 k:9-12");
    // A letter outside ASCII joins the word, which then is no keyword.
    EXPECT_EQ(show("\xC3\xA9" "Dim"), "");
}

}  // namespace
}  // namespace corvane::intellisense
