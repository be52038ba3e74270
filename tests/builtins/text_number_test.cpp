// Conversions, text functions (counting code points), numbers, Hex/Oct,
// Split/Join, dates and the argument failures of the built-ins.
#include <gtest/gtest.h>

#include <ctime>

#include "harness.h"

namespace corvane {
namespace {

using testing::error_of;
using testing::eval;
using testing::show;

TEST(TextFunctions, CountCodePointsNotBytes) {
  EXPECT_EQ(show(R"(Len("é"))"), "1");
  EXPECT_EQ(show(R"(Len("日本"))"), "2");
  EXPECT_EQ(show(R"(Len("a😀b"))"), "3");
  EXPECT_EQ(show(R"(Left("日本語", 2))"), "日本");
  EXPECT_EQ(show(R"(Right("日本語", 1))"), "語");
  EXPECT_EQ(show(R"(Mid("a😀bé", 2, 2))"), "😀b");
  EXPECT_EQ(show(R"(Mid("été", 3))"), "é");
  EXPECT_EQ(show(R"(InStr("日本語", "語"))"), "3");
  EXPECT_EQ(show(R"(InStr("😀x😀x", "x"))"), "2");
  EXPECT_EQ(show(R"(InStrRev("😀x😀x", "x"))"), "4");
  EXPECT_EQ(show(R"(StrReverse("a日😀é"))"), "é😀日a");
  EXPECT_EQ(show(R"(Asc("😀"))"), "128512");
  EXPECT_EQ(show(R"(Asc("€uro"))"), "8364");
  EXPECT_EQ(show(R"(Chr(8364) & Chr(128512) & Chr(65))"), "€😀A");
  EXPECT_EQ(show(R"(String(3, "日本"))"), "日日日");
  EXPECT_EQ(show(R"(String(3, 65))"), "AAA");  // a number is a character code
}

TEST(TextFunctions, FullUnicodeCaseMapping) {
  EXPECT_EQ(show(R"(UCase("straße"))"), "STRASSE");
  EXPECT_EQ(show(R"(UCase("été à Zürich"))"), "ÉTÉ À ZÜRICH");
  EXPECT_EQ(show(R"(LCase("ÉTÉ İ"))"), "été i̇");
  EXPECT_EQ(show(R"(LCase("ΟΔΟΣ"))"), "οδος");
  EXPECT_EQ(show(R"(UCase(12.5) & LCase(True))"), "12.5true");
  EXPECT_EQ(show(R"(StrComp("ÉTÉ", "été", 1))"), "0");
  EXPECT_EQ(show(R"(StrComp("a", "B"))"), "1");  // by code points: "a" after "B"
  EXPECT_EQ(show(R"(StrComp("a", "B", 1))"), "-1");
  EXPECT_EQ(show(R"(StrComp("é", "z"))"), "1");
}

TEST(TextFunctions, PiecesAtTheEdges) {
  EXPECT_EQ(show(R"(Left("abc", 0) & "|" & Right("abc", 0) & "|" & Left("abc", 5) & "|" & Right("abc", -1))"), "||abc|");
  EXPECT_EQ(show(R"(Right("abc", 5) & Left("abc", 1.9))"), "abca");
  EXPECT_EQ(show(R"(Left("abc", 1E+30) & "|" & Right("abc", 1E+30) & "|" & Mid("abc", 1E+30) & "|" & Mid("abc", -1E+30, 2))"),
            "abc|abc||ab");
  EXPECT_EQ(show(R"(Mid("abcdef", 2, 3))"), "bcd");
  EXPECT_EQ(show(R"(Mid("abcdef", 0) & "|" & Mid("abcdef", 1) & "|" & Mid("abc", 10) & "|" & Mid("abc", 2, 0))"),
            "abcdef|abcdef||");
  EXPECT_EQ(show(R"(InStr("abcabc", "c") & InStr(4, "abcabc", "c") & InStrRev("abcabc", "c"))"), "366");
  // the start position is honoured, so a loop finds every occurrence
  EXPECT_EQ(show(R"(InStr(2, "abcabc", "a") & InStr(7, "abcabc", "a") & InStr(7, "abcabc", "") & InStr(1, "ABC", "b", 1))"),
            "4072");
  EXPECT_EQ(show(R"(InStrRev("abcabc", "c", 5) & InStrRev("abcabc", "a", 1))"), "31");
  EXPECT_EQ(show(R"(InStr("abc", "") & InStr("abc", "x") & InStrRev("abc", "x") & InStr("abc", "C"))"), "1000");
  EXPECT_EQ(show(R"(Replace("a.b.c", ".", "--") & "|" & Replace("aaa", "aa", "b") & "|" & Replace("Abc", "a", "x"))"),
            "a--b--c|ba|Abc");
  // An empty search text finds nothing to replace.
  EXPECT_EQ(show(R"(Replace("abc", "", "x"))"), "abc");
  EXPECT_EQ(show(R"(Len(Space(20000)) & "|" & Len(String(20000, "x")))"), "20000|20000");
  EXPECT_EQ(error_of(R"(String(-3, "x"))"), "Invalid procedure call or argument: negative length -3");
  EXPECT_EQ(show("\"[\" & Trim(vbTab & \" \u00a0x y\u3000\" & vbCrLf) & \"]\""), "[x y]");
  EXPECT_EQ(show(R"("[" & LTrim("  x  ") & "][" & RTrim("  x  ") & "]")"), "[x  ][  x]");
  EXPECT_EQ(show(R"(Environ("CORVANE_SURELY_UNSET_VARIABLE") & "|" & Environ())"), "|");
}

TEST(Conversions, NumbersAndTheirTypes) {
  EXPECT_EQ(show("CInt(2.5) & \" \" & CInt(3.5) & \" \" & CInt(40000) & \" \" & CLng(-2.5) & \" \" & CInt(\"7.5\")"),
            "2 4 40000 -2 8");
  EXPECT_EQ(show("Int(-2.5) & \" \" & Fix(-2.5) & \" \" & Int(2.5) & \" \" & Fix(2.9)"), "-3 -2 2 2");
  EXPECT_EQ(show(R"(Val("") & " " & Val(" 12 ") & " " & Val("1e3") & " " & CDbl("2.0") & " " & CSng("0.25"))"),
            "0 12 1000 2 0.25");
  EXPECT_TRUE(eval(R"(Val("2.0"))").is_int());
  EXPECT_TRUE(eval("Sqr(16)").is_double());
  EXPECT_EQ(show("Sqr(16)") + " " + show("Sqr(16) + 0") + " " + show("Sqr(2)"), "4.0 4 1.4142135623730951");
  EXPECT_EQ(show(R"(Str(5) & "|" & CStr(True) & "|" & CStr(0.5) & "|" & CStr(Nothing) & "|")"), "5|True|0.5||");
  EXPECT_EQ(show("Abs(-3) & \" \" & Abs(-2.5) & \" \" & Sgn(-0.1) & Sgn(0) & Sgn(7)"), "3 2.5 -101");
  EXPECT_EQ(show("IIf(1 > 2, \"a\", \"b\") & IIf(\"x\", 1, 2)"), "b1");
  EXPECT_EQ(show(R"(IsNumeric("") & IsNumeric(" 12 ") & IsNumeric("1e3") & IsNumeric(True) & IsNumeric("12abc"))"),
            "TrueTrueTrueTrueFalse");
  EXPECT_EQ(show(R"(IsNull(Nothing) & IsNull("") & IsEmpty("") & IsEmpty(Nothing) & IsEmpty(0))"),
            "TrueFalseTrueTrueFalse");
  for (int i = 0; i < 200; ++i) {
    const double r = eval("Rnd()").as_double();
    ASSERT_GE(r, 0.0);
    ASSERT_LT(r, 1.0);
  }
}

TEST(Conversions, HexAndOctOfThe32BitValue) {
  EXPECT_EQ(show("Hex(255) & \" \" & Hex(-1) & \" \" & Hex(0) & \" \" & Hex(4294967296 + 171)"), "FF FFFFFFFF 0 AB");
  EXPECT_EQ(show("Hex(2.9) & \" \" & Hex(-2.5) & \" \" & Hex(1E+20)"), "2 FFFFFFFE 63100000");
  EXPECT_EQ(show("Oct(8) & \" \" & Oct(-1) & \" \" & Oct(\"64\")"), "10 37777777777 100");
}

TEST(Format, NamedStyles) {
  EXPECT_EQ(show(R"(Format(1234.5, "Currency"))"), "$1,234.50");
  EXPECT_EQ(show(R"(Format(-1234.5, "currency"))"), "$-1,234.50");
  EXPECT_EQ(show(R"(Format(1234.5, "Percent"))"), "123450.00%");
  EXPECT_EQ(show(R"(Format(0.125, "Percent"))"), "12.50%");
  EXPECT_EQ(show(R"(Format(1234.5, "FIXED"))"), "1234.50");
  EXPECT_EQ(show(R"(Format(1234567.891, "Standard"))"), "1,234,567.89");
  EXPECT_EQ(show(R"(Format(-999.999, "Standard"))"), "-1,000.00");
  EXPECT_EQ(show(R"(Format(123456789012345678, "Standard"))"), "123,456,789,012,345,678.00");
  EXPECT_EQ(show(R"(Format(1E+20, "Standard"))"), "100,000,000,000,000,000,000.00");
  EXPECT_EQ(show(R"(Format("12", "Fixed") & " " & Format(True, "Fixed"))"), "12.00 -1.00");
  EXPECT_EQ(show(R"(Format(1234.5) & "|" & Format(3, "0.00") & "|" & Format("abc", "yyyy-mm-dd"))"), "1234.5|3.00|abc");
  EXPECT_EQ(error_of(R"(Format("abc", "Fixed"))"), "Type mismatch (expected number, got 'abc')");
}

TEST(Format, RoundsTheExactBinaryValueTiesToEven) {
  // 2.675 and 1.005 are stored just below the half; 0.125 and 0.375 are
  // exact ties.
  EXPECT_EQ(show(R"(Format(2.675, "Fixed"))"), "2.67");
  EXPECT_EQ(show(R"(Format(1.005, "Fixed"))"), "1.00");
  EXPECT_EQ(show(R"(Format(0.125, "Fixed"))"), "0.12");
  EXPECT_EQ(show(R"(Format(0.375, "Fixed"))"), "0.38");
  EXPECT_EQ(show(R"(Format(2.665, "Fixed"))"), "2.67");  // stored just above the half
  EXPECT_EQ(show(R"(Format(1234.125, "Currency"))"), "$1,234.12");
}

// Patterns with the whole range of Doubles: every digit of the largest
// values comes out (the layout's room grows with the value), and the
// smallest ones round to zero.
TEST(Format, PatternsOverTheWholeRangeOfDoubles) {
  const std::string huge = show(R"(Format(1.7976931348623157E+308, "0"))");
  EXPECT_EQ(huge.size(), 309u);
  EXPECT_EQ(huge.substr(0, 16), "1797693134862320");
  EXPECT_EQ(huge.find_first_not_of('0', 15), std::string::npos);
  const std::string grouped = show(R"(Format(-1E+300, "#,##0.00"))");
  EXPECT_EQ(grouped.size(), 1u + 1u + 300u + 100u + 3u);
  EXPECT_EQ(grouped.substr(0, 6), "-1,000");
  EXPECT_EQ(show(R"(Format(1E+300, "0.00E+00") & "|" & Format(1E-300, "0.00E+00") & "|" & Format(4.9E-324, "0.00"))"),
            "1.00E+300|1.00E-300|0.00");
  EXPECT_EQ(show(R"(Format(1.7976931348623157E+308, "0.0E+0") & "|" & Format(1E+300, "0%"))").substr(0, 10), "1.8E+308|1");
}

TEST(Arrays, SplitJoinAndBounds) {
  EXPECT_EQ(show(R"(UBound(Split("a,b,,c", ",")))"), "3");
  EXPECT_EQ(show(R"(UBound(Split("")) & "|" & Join(Split("a b"), "-") & "|" & Join(Split("x  y"), "+"))"), "0|a-b|x++y");
  EXPECT_EQ(show(R"(Join(Split("日本::語", "::"), "/"))"), "日本/語");
  EXPECT_EQ(show(R"(UBound(Split("abc", "")) & Join(Split("abc", ""), "+"))"), "0abc");
  EXPECT_EQ(show(R"(LBound(Split("a b")) & LBound(5))"), "00");

  testing::TempFolder folder;
  testing::Program s = testing::script("Sub Main()\nDim a(2)\na(0) = 1\na(1) = 2.5\na(2) = True\nDebug.Print Join(a, \";\")\n"
                    "Debug.Print UBound(a)\nEnd Sub\n",
                    folder.path.string());
  EXPECT_EQ(s.run(), "");
  EXPECT_EQ(s.text(), "1;2.5;True\n2\n");
}

std::string local_stamp(const char* layout) {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  char buf[32];
  return std::string(buf, std::strftime(buf, sizeof buf, layout, &parts));
}

TEST(Dates, IsoTextsInLocalTime) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::string before = local_stamp("%Y-%m-%d %H:%M:%S");
    const std::string now = show("Now()"), date = show("Date()"), time = show("Time()");
    const std::string after = local_stamp("%Y-%m-%d %H:%M:%S");
    if (before != after) continue;  // the clock ticked meanwhile
    EXPECT_EQ(now, before);
    EXPECT_EQ(date, before.substr(0, 10));
    EXPECT_EQ(time, before.substr(11));
    EXPECT_EQ(show("IsDate(Now()) And IsDate(Date())"), "True");
    return;
  }
  FAIL() << "the clock kept ticking";
}

TEST(Dates, IsDateAcceptsIsoAndVb6Forms) {
  for (const char* text : {"2024-05-01", "2024-05-01 13:45:00", "2024-05-01T13:45", "2024-05-01T13:45:00.123456",
                           "2024-05-01 13:45:00Z", "2024-05-01T13:45:00+02:00", "2024-05-01T13:45-0530",
                           "2024-02-29", "2000-02-29 00:00", "2024-5-1", "01/05/2024", " 2024-05-01",
                           "2024-05-01 ", "May 1, 2024", "12/31/1999 11:59:59 PM"}) {
    EXPECT_EQ(show(std::string("IsDate(\"") + text + "\")"), "True") << text;
  }
  for (const char* text : {"", "2023-02-29", "1900-02-29", "2024-13-01", "2024-04-31", "13/13/2024",
                           "2024-05-01 24:00", "2024-05-01 13:60", "2024-05-01T", "2024-05-01 13:45:00+25:00",
                           "Mayday 1, 2024", "0000-01-01"}) {
    EXPECT_EQ(show(std::string("IsDate(\"") + text + "\")"), "False") << text;
  }
  EXPECT_EQ(show("IsDate(20240501) & IsDate(Nothing)"), "FalseFalse");
}

TEST(Builtins, NamesAndVariablesWithoutParentheses) {
  EXPECT_EQ(show(R"(LEFT$("abc", 2) & left("abc", 1) & Ucase$("x"))"), "abaX");
  // a bare name that is no variable but a built-in without arguments is that built-in
  EXPECT_EQ(show("Len(Now) = 19 And Len(Date) = 10 And Len(Time$) = 8 And Timer >= 0 And Rnd < 1"), "True");
  testing::TempFolder folder;
  testing::Program s = testing::script(
      "Option Explicit\nSub Main()\nDebug.Print IsDate(Now)\nDim Date\nDate = 5\nDebug.Print Date\nEnd Sub\n",
      folder.path.string());
  EXPECT_EQ(s.run(), "");
  EXPECT_EQ(s.text(), "True\n5\n");  // a declared variable of that name still wins
  EXPECT_EQ(error_of("Randomize()"), "(no error)");
}

TEST(Builtins, BadArgumentsFailWithClearMessages) {
  EXPECT_EQ(error_of("Len()"), "Len requires 1 argument");
  EXPECT_EQ(error_of(R"(Left("a"))"), "Left requires 2 arguments");
  EXPECT_EQ(error_of(R"(Mid("a"))"), "Mid requires at least 2 arguments");
  EXPECT_EQ(error_of(R"(InStr("a"))"), "InStr requires at least 2 arguments");
  EXPECT_EQ(error_of("IIf(1, 2)"), "IIf requires 3 arguments");
  EXPECT_EQ(error_of(R"(Asc(""))"), "Asc requires a non-empty string");
  EXPECT_EQ(error_of("Sqr(-4)"), "Sqr requires a number that is not negative (got -4)");
  EXPECT_EQ(error_of("Chr(-1)"), "Chr requires a Unicode code point (got -1)");
  EXPECT_EQ(error_of("Chr(1114112)"), "Chr requires a Unicode code point (got 1114112)");
  EXPECT_EQ(error_of("Chr(55296)"), "Chr requires a Unicode code point (got 55296)");
  EXPECT_EQ(error_of(R"(Mid("abc", 1, -1))"), "Mid length must not be negative (got -1)");
  EXPECT_EQ(error_of("UBound(5)"), "UBound requires an array (got 5)");
  EXPECT_EQ(error_of(R"(Join("a,b"))"), "Join requires an array (got 'a,b')");
  EXPECT_EQ(error_of(R"(CInt(CDbl("inf")))"), "CInt requires a finite number (got inf)");
  EXPECT_EQ(error_of(R"(Int(CDbl("-inf")))"), "Int requires a finite number (got -inf)");
  EXPECT_EQ(error_of(R"(Hex(CDbl("nan")))"), "Hex requires a finite number (got nan)");
  EXPECT_EQ(error_of(R"(String(2, ""))"), "Invalid procedure call or argument: String needs a character");
  EXPECT_EQ(error_of(R"(CDbl("12abc"))"), "Type mismatch (expected number, got '12abc')");
  EXPECT_EQ(error_of(R"(Left("abc", "x"))"), "Type mismatch (expected number, got 'x')");
}

}  // namespace
}  // namespace corvane
