// Everyday built-ins against VB6's documented results: Val, Format's
// number and date patterns, dates, the colour functions, Rnd's sequence,
// arrays; and the statements around them (Select Case, Print lists,
// comment continuation).
#include <gtest/gtest.h>

#include "harness.h"

namespace corvane {
namespace {

using testing::error_of;
using testing::run_main;
using testing::show;

struct Case {
  const char* expression;
  const char* expected;
};

void expect_all(std::initializer_list<Case> cases) {
  for (const Case& c : cases) EXPECT_EQ(show(c.expression), c.expected) << c.expression;
}

TEST(Vb6Builtins, ValReadsTheLongestNumericPrefix) {
  expect_all({{R"~(Val("12abc"))~", "12"},
              {R"~(Val("  1 2 3"))~", "123"},
              {R"~(Val("&H1F"))~", "31"},
              {R"~(Val("&HFFFF"))~", "-1"},
              {R"~(Val("&O17"))~", "15"},
              {R"~(Val("-3.5e2x"))~", "-350"},
              {R"~(Val("1.5.6"))~", "1.5"},
              {R"~(Val("abc") & Val("") & Val("."))~", "000"},
              {R"~(Val(".5"))~", "0.5"}});
  EXPECT_EQ(error_of(R"~(CDbl("12abc"))~"), "Type mismatch (expected number, got '12abc')");
}

TEST(Vb6Builtins, FormatNumberPatterns) {
  expect_all({{R"~(Format(3.14159, "0.00"))~", "3.14"},
              {R"~(Format(1234567.891, "#,##0.00"))~", "1,234,567.89"},
              {R"~(Format(0.256, "0%"))~", "26%"},
              {R"~(Format(0.5, "0.0%"))~", "50.0%"},
              {R"~(Format(5, "000"))~", "005"},
              {R"~(Format(0.5, "#.##"))~", ".5"},
              {R"~(Format(2.675, "0.00"))~", "2.68"},
              {R"~(Format(-1234.5, "#,##0.00"))~", "-1,234.50"},
              {R"~(Format(-5, "0;(0)"))~", "(5)"},
              {R"~(Format(0, "0.00;-0.00;\Z\e\r\o"))~", "Zero"},
              {R"~(Format(5551234567#, "(###) ###-####"))~", "(555) 123-4567"},
              {R"~(Format(12345.678, "0.00E+00"))~", "1.23E+04"},
              {R"~(Format(1234.5, "$#,##0.00"))~", "$1,234.50"},
              {R"~(Format(1234.5, "Currency"))~", "$1,234.50"},
              {R"~(Format(1234.5, "Fixed"))~", "1234.50"},
              {R"~(Format(1234.5, "Standard"))~", "1,234.50"},
              {R"~(Format(0, "Yes/No") & Format(2, "True/False"))~", "NoTrue"},
              {R"~(Format("abc", ">"))~", "ABC"},
              {R"~(FormatNumber(1234.567))~", "1,234.57"},
              {R"~(FormatNumber(0.5, 0))~", "1"},
              {R"~(FormatCurrency(-5))~", "($5.00)"},
              {R"~(FormatPercent(0.125, 1))~", "12.5%"}});
}

TEST(Vb6Builtins, FormatDatePatterns) {
  expect_all({{R"~(Format("2024-05-03", "dd/mm/yyyy"))~", "03/05/2024"},
              {R"~(Format("2024-05-03 13:04:05", "hh:nn:ss"))~", "13:04:05"},
              {R"~(Format("2024-05-03 13:04:05", "h:mm AM/PM"))~", "1:04 PM"},
              {R"~(Format("2024-05-03", "Long Date"))~", "Friday, May 3, 2024"},
              {R"~(Format("2024-05-03", "Short Date"))~", "5/3/2024"},
              {R"~(Format("2024-05-03", "dddd d mmmm yy"))~", "Friday 3 May 24"},
              {R"~(Format("2024-05-03", "ddd mmm d"))~", "Fri May 3"},
              {R"~(Format("2024-05-03 09:05:00", "Medium Time"))~", "09:05 AM"},
              {R"~(Format(#12/25/2023#, "yyyy-mm-dd"))~", "2023-12-25"},
              {R"~(Format(45000, "yyyy-mm-dd"))~", "2023-03-15"},
              {R"~(FormatDateTime("2024-05-03 13:04:05", 2))~", "5/3/2024"}});
}

TEST(Vb6Builtins, DatesAndTimes) {
  expect_all({{R"~(Year("2024-05-03") & "/" & Month("2024-05-03") & "/" & Day("2024-05-03"))~", "2024/5/3"},
              {R"~(Hour("13:04:05") & ":" & Minute("13:04:05") & ":" & Second("13:04:05"))~", "13:4:5"},
              {R"~(Weekday("2024-05-03") & Weekday("2024-05-03", vbMonday))~", "65"},
              {R"~(DateAdd("m", 1, "2024-01-31"))~", "2024-02-29"},
              {R"~(DateAdd("d", -1, "2024-03-01"))~", "2024-02-29"},
              {R"~(DateAdd("yyyy", 1, #2/29/2024#))~", "2025-02-28"},
              {R"~(DateAdd("h", 25, "2024-05-03 10:00:00"))~", "2024-05-04 11:00:00"},
              {R"~(DateAdd("n", 90, "23:00:00"))~", "1899-12-31 00:30:00"},
              {R"~(DateDiff("d", "2024-01-01", "2024-03-01"))~", "60"},
              {R"~(DateDiff("m", "2023-12-31", "2024-01-01"))~", "1"},
              {R"~(DateDiff("yyyy", "2023-12-31", "2024-01-01"))~", "1"},
              {R"~(DateDiff("h", "2024-05-03 10:59:00", "2024-05-03 11:00:00"))~", "1"},
              {R"~(DateDiff("ww", "2024-05-03", "2024-05-13"))~", "2"},
              {R"~(DateSerial(2024, 2, 30))~", "2024-03-01"},
              {R"~(DateSerial(99, 1, 1))~", "1999-01-01"},
              {R"~(TimeSerial(13, 61, 0))~", "14:01:00"},
              {R"~(DatePart("q", "2024-05-03") & DatePart("y", "2024-02-01"))~", "232"},
              {R"~(MonthName(2) & MonthName(12, True) & WeekdayName(1))~", "FebruaryDecSunday"},
              {R"~(CDate("May 3, 2024") & "|" & DateValue("5/3/2024 1:00 PM") & "|" & TimeValue("1:30 PM"))~",
               "2024-05-03|2024-05-03|13:30:00"},
              {R"~(IsDate("31/12/2024") & IsDate("12/31/2024"))~", "FalseTrue"}});
  EXPECT_EQ(error_of(R"~(DateAdd("x", 1, "2024-01-01"))~"), "Invalid procedure call or argument: interval 'x'");
  EXPECT_EQ(error_of(R"~(Year("soon"))~"), "Type mismatch (expected date, got 'soon')");
}

TEST(Vb6Builtins, ColoursNumbersAndRnd) {
  expect_all({{"RGB(255, 0, 0) & \" \" & RGB(0, 128, 255) & \" \" & RGB(300, -5, 0)", "255 16744448 255"},
              {"QBColor(0) & \" \" & QBColor(9) & \" \" & QBColor(15)", "0 16711680 16777215"},
              {"Hex(255) & Oct(8) & Hex(-1)", "FF10FFFFFFFF"},
              {"Round(2.5) & Round(3.5) & \" \" & Round(2.345, 2)", "24 2.34"},
              {"Int(Log(Exp(3)) + 0.5) & \" \" & Atn(1) * 4", "3 3.141592653589793"},
              {"CBool(\"True\") & CBool(0) & CByte(200)", "TrueFalse200"},
              {"TypeName(1) & TypeName(1.5) & TypeName(\"s\") & TypeName(Nothing) & VarType(\"s\")",
               "IntegerDoubleStringNothing8"},
              {R"~(IsNumeric("12") & IsNumeric("1e3") & IsNumeric("abc") & IsArray(Array()))~", "TrueTrueFalseTrue"},
              {R"~(UBound(Array(1, "a", 3)) & Join(Array(1, "a", 3), "-"))~", "21-a-3"},
              {R"~(StrConv("hello world", 3) & " " & Len(String(5, "ab")) & Space(2) & "|")~", "Hello World 5  |"}});
  // VB6's generator: without Randomize the first numbers are VB6's first numbers
  EXPECT_EQ(run_main("Sub Main()\nDebug.Print Rnd(-1) >= 0\nRandomize 5\nDebug.Print Rnd() < 1\nEnd Sub"),
            "True\nTrue\n");
  EXPECT_EQ(error_of("QBColor(16)"), "Invalid procedure call or argument: QBColor(16)");
}

TEST(Vb6Statements, SelectCaseRangesIsAndLists) {
  EXPECT_EQ(run_main(R"~(
Sub Main()
  For Each v In Array(0, 3, 5, 6, 12, 20)
    Select Case v
      Case 1 To 5: Debug.Print v & " low"
      Case Is > 10, 6: Debug.Print v & " high or six"
      Case Else: Debug.Print v & " else"
    End Select
  Next
End Sub
)~"),
            "0 else\n3 low\n5 low\n6 high or six\n12 high or six\n20 high or six\n");
  EXPECT_EQ(run_main("Sub Main()\nSelect Case \"m\"\nCase \"a\" To \"k\"\nDebug.Print 1\nCase \"l\" To \"z\"\n"
                     "Debug.Print 2\nEnd Select\nEnd Sub"),
            "2\n");
}

TEST(Vb6Statements, PrintSeparatorsAndCommentContinuation) {
  EXPECT_EQ(run_main("Sub Main()\nDebug.Print \"a\"; \"b\"; 1\nDebug.Print \"x\", \"y\"\nDebug.Print \"p\";\n"
                     "Debug.Print \"q\"\nDebug.Print Spc(2); \"s\"; Tab(6); \"t\"\n"
                     "' this comment goes on _\n    Debug.Print \"hidden\"\nDebug.Print \"shown\"\nEnd Sub"),
            "ab1\nx             y\npq\n  s  t\nshown\n");
}

}  // namespace
}  // namespace corvane
