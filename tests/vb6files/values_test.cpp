// Twips, colours, quoted texts, integers and the Windows-1252 codec.
#include <gtest/gtest.h>

#include <climits>

#include "vb6files/codec.h"
#include "vb6files/errors.h"
#include "vb6files/values.h"

namespace corvane {
namespace {

TEST(Twips, ReadRoundsToNearestPixel) {
  EXPECT_EQ(from_twips("150"), 10);
  EXPECT_EQ(from_twips("337"), 22);
  EXPECT_EQ(from_twips("338"), 23);
  EXPECT_EQ(from_twips("1234.9"), 82);
  EXPECT_EQ(from_twips("-337"), -22);
  EXPECT_EQ(from_twips("-338"), -23);
  EXPECT_EQ(from_twips("7"), 0);
  EXPECT_EQ(from_twips("8"), 1);
  EXPECT_EQ(from_twips("&H96"), 10);
}

TEST(Twips, UnparseableGivesDefaultPixels) {
  EXPECT_EQ(from_twips("abc", 640), 640);
  EXPECT_EQ(from_twips("", 440), 440);
  EXPECT_EQ(from_twips("1e999", 7), 7);
  EXPECT_EQ(from_twips("x"), 0);
}

TEST(Twips, EnormousValuesClampToIntRange) {
  EXPECT_EQ(from_twips("99999999999999"), INT_MAX);
  EXPECT_EQ(from_twips("-99999999999999"), INT_MIN);
  EXPECT_EQ(from_twips("9223372036854775807"), INT_MAX);
  EXPECT_EQ(from_twips("1e300", 5), 5);  // beyond 64 bits: the default
  EXPECT_EQ(from_twips("&H7FFFFFFFFFFFFFFF"), INT_MAX);
  EXPECT_EQ(to_twips(INT_MAX), int64_t{INT_MAX} * 15);
  EXPECT_EQ(to_twips(INT_MIN), int64_t{INT_MIN} * 15);
}

TEST(Colours, ModelToVb) {
  EXPECT_EQ(color_to_vb("#0080FF"), "&H00FF8000&");
  EXPECT_EQ(color_to_vb("#0080ff"), "&H00FF8000&");
  EXPECT_EQ(color_to_vb("##123456"), "&H00563412&");
  EXPECT_EQ(color_to_vb("red"), "&H8000000F&");
  EXPECT_EQ(color_to_vb("#12345"), "&H8000000F&");
  EXPECT_EQ(color_to_vb("#12345g"), "&H8000000F&");
  EXPECT_EQ(color_to_vb(""), "&H8000000F&");
}

TEST(Colours, SystemColoursOfFormFilesShowTheSchemesColours) {
  EXPECT_EQ(vb_file_color("&H80000005&", "#123456"), "#ffffff");  // window background
  EXPECT_EQ(vb_file_color("&H8000000F&", "#123456"), "#f0f0f0");  // button face
  EXPECT_EQ(vb_file_color("&H80000012&", "#123456"), "#000000");  // button text
  EXPECT_EQ(vb_file_color("&H8000000D&", "#123456"), "#0078d7");  // highlight
  EXPECT_EQ(vb_file_color("&H800000FF&", "#123456"), "#123456");  // no such system colour
  EXPECT_EQ(vb_file_color("&H80010005&", "#123456"), "#123456");
  EXPECT_EQ(vb_file_color("&H000080FF&", "#123456"), "#ff8000");
  EXPECT_EQ(vb_file_color("blue", "#123456"), "#123456");
}

TEST(Colours, VbToModel) {
  EXPECT_EQ(vb_to_color("&H00FF8000&", "#f0f0f0"), "#0080ff");
  EXPECT_EQ(vb_to_color("&h00ff8000", "#f0f0f0"), "#0080ff");
  EXPECT_EQ(vb_to_color("&H8000000F&", "#123456"), "#123456");  // system colour keeps the current one
  EXPECT_EQ(vb_to_color("&HFF&", "#000000"), "#ff0000");
  EXPECT_EQ(vb_to_color("&H1000000FF&", "#000000"), "#ff0000");  // bits above 31 are ignored
  EXPECT_EQ(vb_to_color("255", "#abcdef"), "#abcdef");
  EXPECT_EQ(vb_to_color("&H", "#abcdef"), "#abcdef");
  EXPECT_EQ(vb_to_color("&HXYZ&", "#abcdef"), "#abcdef");
  EXPECT_EQ(vb_to_color("\"&H00000080&\"", "#abcdef"), "#800000");
  for (const char* colour : {"#000000", "#ffffff", "#0a1b2c", "#f0f0f0"})
    EXPECT_EQ(vb_to_color(color_to_vb(colour), "#999999"), colour);
}

TEST(Quoting, QuoteDoublesInnerQuotes) {
  EXPECT_EQ(quote(""), "\"\"");
  EXPECT_EQ(quote("Say \"hi\""), "\"Say \"\"hi\"\"\"");
  EXPECT_EQ(unquote(quote("Say \"hi\"")), "Say \"hi\"");
  EXPECT_EQ(unquote(quote("\"\"")), "\"\"");
  EXPECT_EQ(quote_on_line("a\r\nb\nc"), "\"a  b c\"");
}

TEST(Quoting, UnquoteTakesQuotedTextOrTextBeforeComment) {
  EXPECT_EQ(unquote("  \"Hello\"  "), "Hello");
  EXPECT_EQ(unquote("\"It's\"   ' a comment"), "It's");
  EXPECT_EQ(unquote("\"a\" & \"b\""), "a\" & \"b");  // first to last quote
  EXPECT_EQ(unquote("\"unterminated"), "");
  EXPECT_EQ(unquote("\""), "");
  EXPECT_EQ(unquote("0  'False"), "0");
  EXPECT_EQ(unquote("  plain text  "), "plain text");
  EXPECT_EQ(unquote("'only a comment"), "");
}

TEST(ParseInt, DecimalHexAndFallbacks) {
  EXPECT_EQ(parse_int("42"), 42);
  EXPECT_EQ(parse_int("-1  'True"), -1);
  EXPECT_EQ(parse_int("\"12\""), 12);
  EXPECT_EQ(parse_int("1 234"), 1234);
  EXPECT_EQ(parse_int("12&&"), 12);
  EXPECT_EQ(parse_int("+7"), 7);
  EXPECT_EQ(parse_int("9.99"), 9);
  EXPECT_EQ(parse_int("-9.99"), -9);
  EXPECT_EQ(parse_int("1.5e3"), 1500);
  EXPECT_EQ(parse_int("1e-999"), 0);
  EXPECT_EQ(parse_int("&HFFFFFFFF"), 4294967295);
  EXPECT_EQ(parse_int("&hff&"), 255);
  EXPECT_EQ(parse_int("False", -1), -1);
  EXPECT_EQ(parse_int("", 5), 5);
  EXPECT_EQ(parse_int("&H", 5), 5);
  EXPECT_EQ(parse_int("&H-1", 5), 5);
  EXPECT_EQ(parse_int("1e999", 5), 5);
  EXPECT_EQ(parse_int("nan", 5), 5);
  EXPECT_EQ(parse_int("inf", 5), 5);
  EXPECT_EQ(parse_int("++1", 5), 5);
  EXPECT_EQ(parse_int("0x10", 5), 5);
  EXPECT_EQ(parse_int("99999999999999999999", 5), 5);
  EXPECT_EQ(parse_int("&H10000000000000000", 5), 5);
}

TEST(Codec, Windows1252DecodesTheHighControlsRange) {
  EXPECT_EQ(decode_windows_1252("Caf\xE9 \x80 \x93x\x94 \x85"), "Café € “x” …");
  EXPECT_EQ(decode_windows_1252(std::string_view("a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(decode_windows_1252("\xFF\xA0"), "ÿ\u00a0");
}

TEST(Codec, UndefinedBytesReadAsC1ControlsAndWriteBack) {
  EXPECT_EQ(decode_windows_1252("a\x81\x8D\x8F\x90\x9D"), "a\u0081\u008d\u008f\u0090\u009d");
  EXPECT_EQ(encode_windows_1252("\u0081\u008d\u008f\u0090\u009d"), "\x81\x8D\x8F\x90\x9D");
  std::string every;
  for (int b = 0; b < 256; ++b) every += static_cast<char>(b);
  EXPECT_EQ(encode_windows_1252(decode_windows_1252(every)), every);  // every byte reads and writes back
}

TEST(Codec, ByteOrderMarkSwitchesToUtf8) {
  EXPECT_EQ(decode_file_bytes("\xEF\xBB\xBF" "Caf\xC3\xA9"), "Café");
  EXPECT_EQ(decode_file_bytes("Caf\xC3\xA9"), "CafÃ©");  // without the mark: Windows-1252
  EXPECT_THROW(decode_file_bytes("\xEF\xBB\xBF" "abc\xE9"), InvalidValueError);
  EXPECT_THROW(decode_file_bytes("\xEF\xBB\xBF\xC0\x80"), InvalidValueError);           // overlong
  EXPECT_THROW(decode_file_bytes("\xEF\xBB\xBF\xED\xA0\x80"), InvalidValueError);       // surrogate
  EXPECT_THROW(decode_file_bytes("\xEF\xBB\xBF\xF4\x90\x80\x80"), InvalidValueError);   // beyond U+10FFFF
  EXPECT_THROW(decode_file_bytes("\xEF\xBB\xBF\xE2\x82"), InvalidValueError);           // cut short
}

TEST(Codec, EncodingReplacesWhatTheCodePageCannotHold) {
  EXPECT_EQ(encode_windows_1252("Café € “x” … ÿ"), "Caf\xE9 \x80 \x93x\x94 \x85 \xFF");
  EXPECT_EQ(encode_windows_1252("Ω日本😀"), "????");
  EXPECT_EQ(encode_windows_1252("\u0080\u009f"), "??");  // C1 controls other than the five undefined bytes
  EXPECT_EQ(encode_windows_1252("a\xFF" "b"), "a?b");      // invalid UTF-8 in memory
}

}  // namespace
}  // namespace corvane
