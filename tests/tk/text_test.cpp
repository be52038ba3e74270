// Text conversion to and from Tcl, and Tcl objects.
#include <gtest/gtest.h>

#include <string>

#include "tcl_fixture.h"
#include "tk/obj.h"
#include "tk/utf.h"

namespace corvane::tk {
namespace {

using testing::hostile_texts;
using testing::InterpTest;

TEST(TclText, ConversionRoundTripsAndUsesTclForms) {
    for (const std::string& text : hostile_texts()) {
        EXPECT_EQ(from_tcl(to_tcl(text).data(), to_tcl(text).size()), text);
    }
    // NUL travels as C0 80; a character beyond the BMP as a surrogate pair of
    // three-byte sequences; nothing four bytes long reaches Tcl.
    EXPECT_EQ(to_tcl(std::string("a\0b", 3)), "a\xC0\x80" "b");
    EXPECT_EQ(to_tcl("\xF0\x9F\x98\x80"), "\xED\xA0\xBD\xED\xB8\x80");
    EXPECT_EQ(to_tcl("\xC3\xA9\xE2\x82\xAC"), "\xC3\xA9\xE2\x82\xAC");
}

TEST(TclText, InvalidInputBecomesReplacementCharacters) {
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(to_tcl("a\xFF" "b"), "a" + fffd + "b");
    EXPECT_EQ(to_tcl("\xC0\xAF"), fffd + fffd);             // overlong "/"
    EXPECT_EQ(to_tcl("\xED\xA0\xBD"), fffd + fffd + fffd);  // a surrogate in UTF-8
    EXPECT_EQ(to_tcl("abc\xE2\x82"), "abc" + fffd + fffd);  // cut short
    // Tcl's side: lone surrogate halves cannot be written in UTF-8.
    std::string lone_high = "x\xED\xA0\xBDy";
    EXPECT_EQ(from_tcl(lone_high.data(), lone_high.size()), "x" + fffd + "y");
    std::string lone_low = "\xED\xB8\x80";
    EXPECT_EQ(from_tcl(lone_low.data(), lone_low.size()), fffd);
}

class ObjTest : public InterpTest {};

TEST_F(ObjTest, NumbersListsAndConversionErrors) {
    EXPECT_EQ(Obj(42).to_int(), 42);
    EXPECT_EQ(Obj(-9000000000LL).str(), "-9000000000");
    EXPECT_DOUBLE_EQ(Obj(2.5).to_double(), 2.5);
    EXPECT_EQ(Obj("0x10").to_int(), 16);
    EXPECT_TRUE(Obj("yes").to_bool());
    EXPECT_FALSE(Obj::boolean(false).to_bool());
    try {
        (void)Obj("12abc").to_int();
        FAIL() << "no error";
    } catch (const TclError& error) {
        EXPECT_STREQ(error.what(), "expected integer but got \"12abc\"");
    }
    EXPECT_THROW((void)Obj("1.5x").to_double(), TclError);
    EXPECT_THROW((void)Obj("{a").to_list(), TclError);

    auto items = Obj::list({"a b", "{", 3, Obj::list({"x", "y"})}).to_list();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].str(), "a b");
    EXPECT_EQ(items[1].str(), "{");
    EXPECT_EQ(items[2].to_int(), 3);
    EXPECT_EQ(items[3].to_list().size(), 2u);

    auto from_strings = Obj::list(hostile_texts()).to_list();
    ASSERT_EQ(from_strings.size(), hostile_texts().size());
    for (std::size_t i = 0; i < from_strings.size(); ++i) {
        EXPECT_EQ(from_strings[i].str(), hostile_texts()[i]);
    }
}

TEST_F(ObjTest, TclStringCommandsKeepCharactersBeyondTheBasicPlane) {
    // Tcl counts such a character as two (a surrogate pair); upper-casing a
    // text that holds one must neither crash nor damage it.
    const std::string text = "a\xF0\x9F\x98\x80z";
    EXPECT_EQ(interp->call({"string", "toupper", text}), "A\xF0\x9F\x98\x80Z");
    EXPECT_EQ(interp->call({"string", "reverse", "\xF0\x9F\x98\x80" "b"}), "b\xF0\x9F\x98\x80");
    EXPECT_EQ(interp->call({"string", "length", text}), "4");
    EXPECT_EQ(interp->call({"string", "length", std::string("a\0b", 3)}), "3");
    // Half a pair comes back as U+FFFD, never as invalid UTF-8.
    EXPECT_EQ(interp->call({"string", "index", text, 1}), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace corvane::tk
