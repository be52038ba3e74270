// Finding "object.prefix" before the cursor.
#include <gtest/gtest.h>

#include <string>

#include "intellisense/completion.h"

namespace corvane::intellisense {
namespace {

std::optional<MemberContext> ctx(std::string_view text) { return member_context(text); }

TEST(MemberContext, ObjectAndPrefixAtTheEndOfTheLastLine) {
    EXPECT_EQ(ctx("Text1."), (MemberContext{"Text1", ""}));
    EXPECT_EQ(ctx("  x = Text1.Se"), (MemberContext{"Text1", "Se"}));
    EXPECT_EQ(ctx("Private Sub X()\n    Me.Cap"), (MemberContext{"Me", "Cap"}));
    // With several dots the object is the name right before the last one.
    EXPECT_EQ(ctx("a.b.c"), (MemberContext{"b", "c"}));
    EXPECT_EQ(ctx("rs.Fields."), (MemberContext{"Fields", ""}));
    // Only the last line counts.
    EXPECT_FALSE(ctx("Text1.\n"));
    EXPECT_FALSE(ctx("Text1.\nx"));
}

TEST(MemberContext, NothingWithoutAnIdentifierBeforeTheDot) {
    EXPECT_FALSE(ctx(""));
    EXPECT_FALSE(ctx("x = 1"));
    EXPECT_FALSE(ctx("x = 1."));
    EXPECT_FALSE(ctx("x = .5"));
    EXPECT_FALSE(ctx("Text1. "));
    EXPECT_FALSE(ctx("Text1.Se "));
    EXPECT_FALSE(ctx("Text1.("));
    // A digit may follow the first letter but not start the name.
    EXPECT_EQ(ctx("x = 9ab.c"), (MemberContext{"ab", "c"}));
}

TEST(MemberContext, CommentsAndRemLinesHaveNoContext) {
    EXPECT_FALSE(ctx("' Text1."));
    EXPECT_FALSE(ctx("x = 1 ' Text1."));
    EXPECT_FALSE(ctx("Rem Text1."));
    EXPECT_FALSE(ctx("   rEM Text1.Te"));
    // "Remove" is not the word Rem.
    EXPECT_EQ(ctx("Remove.x"), (MemberContext{"Remove", "x"}));
    // An apostrophe inside a closed literal is no comment.
    EXPECT_EQ(ctx("s = \"it's\": Text1."), (MemberContext{"Text1", ""}));
}

TEST(MemberContext, StringLiterals) {
    // Inside an unterminated literal: none.
    EXPECT_FALSE(ctx("s = \"Text1."));
    EXPECT_FALSE(ctx("s = \"a\" & \"Text1."));
    // After a closed literal on the same line: found.
    EXPECT_EQ(ctx("s = \"a\" & Text1.Te"), (MemberContext{"Text1", "Te"}));
    // Doubled quotes stay inside the literal.
    EXPECT_EQ(ctx("s = \"say \"\"hi\"\"\" & Text1."), (MemberContext{"Text1", ""}));
    EXPECT_FALSE(ctx("s = \"say \"\"Text1."));
}

TEST(MemberContext, PathologicalLinesStayFastAndSound) {
    const std::string long_name(5000, 'a');
    // A name longer than any BASIC name is no object (bench/ide measures
    // that such lines stay fast).
    EXPECT_FALSE(ctx("x = " + long_name + "."));
    EXPECT_FALSE(ctx("x = " + long_name + "Text1."));
    std::string dots;
    for (int i = 0; i < 20000; ++i) dots += "a.";
    EXPECT_EQ(ctx(dots + "Text1.Te"), (MemberContext{"Text1", "Te"}));
    EXPECT_FALSE(ctx(dots + long_name + "\xE2\x86\x92"));
    EXPECT_FALSE(ctx("a." + long_name + "\xE2\x86\x92" + long_name));
    // Non-ASCII that is no word character ends the name as usual.
    EXPECT_EQ(ctx("x = \xE2\x86\x92Text1.C"), (MemberContext{"Text1", "C"}));
}

}  // namespace
}  // namespace corvane::intellisense
