// Expressions, operators, conversions and text forms.
#include <gtest/gtest.h>

#include <cmath>

#include "program.h"

namespace corvane {
namespace {

using testing::eval;
using testing::eval_error;
using testing::show;

TEST(ValueTextTest, DoubleLayout) {
  EXPECT_EQ(double_text(2.0), "2.0");
  EXPECT_EQ(double_text(0.1), "0.1");
  EXPECT_EQ(double_text(0.0001), "0.0001");
  EXPECT_EQ(double_text(0.00001), "1e-05");
  EXPECT_EQ(double_text(1e15), "1000000000000000.0");
  EXPECT_EQ(double_text(1e16), "1e+16");
  EXPECT_EQ(double_text(1.5e16), "1.5e+16");
  EXPECT_EQ(double_text(12345678901234567890.0), "1.2345678901234567e+19");
  EXPECT_EQ(double_text(-0.0), "-0.0");
  EXPECT_EQ(double_text(INFINITY), "inf");
  EXPECT_EQ(double_text(-INFINITY), "-inf");
  EXPECT_EQ(double_text(NAN), "nan");
  EXPECT_EQ(double_text(123.456), "123.456");
  EXPECT_EQ(double_text(1e-300), "1e-300");
  EXPECT_EQ(double_text(0.30000000000000004), "0.30000000000000004");
}

TEST(ValueTextTest, TextFormsAndRepresentations) {
  EXPECT_EQ(vbstr(Value(true)), "True");
  EXPECT_EQ(vbstr(Value()), "");
  EXPECT_EQ(vbstr(Value(int64_t{-42})), "-42");
  EXPECT_EQ(repr(Value("abc")), "'abc'");
  EXPECT_EQ(repr(Value("it's")), "\"it's\"");
  EXPECT_EQ(repr(Value()), "None");
  EXPECT_EQ(repr(Value(2.5)), "2.5");
}

TEST(ConversionTest, TruthOfEveryKind) {
  EXPECT_FALSE(truth(Value()));
  EXPECT_TRUE(truth(Value("0")));
  EXPECT_TRUE(truth(Value("False")));
  EXPECT_FALSE(truth(Value("")));
  EXPECT_FALSE(truth(Value(0.0)));
  EXPECT_TRUE(truth(Value(int64_t{-1})));
  EXPECT_FALSE(truth(make_array()));
  EXPECT_TRUE(truth(make_array({Value(int64_t{0})})));
}

TEST(ConversionTest, NumberOfText) {
  EXPECT_EQ(number(Value(" 12 ")).as_int(), 12);
  EXPECT_EQ(number(Value("1e3")).as_int(), 1000);
  EXPECT_DOUBLE_EQ(number(Value("-2.5")).as_double(), -2.5);
  EXPECT_EQ(number(Value("1_000")).as_int(), 1000);
  EXPECT_EQ(number(Value("")).as_int(), 0);
  EXPECT_EQ(number(Value()).as_int(), 0);
  EXPECT_EQ(number(Value(true)).as_int(), -1);
  EXPECT_EQ(number(Value(4.0)).as_int(), 4);  // integral Doubles become Integers
  EXPECT_TRUE(std::isinf(number(Value("-Infinity")).as_double()));
  EXPECT_TRUE(std::isnan(number(Value("nan")).as_double()));
  for (const char* bad : {"12abc", "1__0", "_1", "1_", "e5", "abc", "--1", "0x10"}) {
    try {
      number(Value(bad));
      ADD_FAILURE() << bad << " converted";
    } catch (const VBError& e) {
      EXPECT_EQ(e.message(), std::string("Type mismatch (expected number, got '") + bad + "')");
    }
  }
  EXPECT_THROW(number(make_array()), VBError);
}

TEST(ConversionTest, CoerceOnStore) {
  EXPECT_EQ(coerce(Value(2.5), "Integer").as_int(), 2);
  EXPECT_EQ(coerce(Value(3.5), "Integer").as_int(), 4);
  EXPECT_EQ(coerce(Value(-2.5), "Integer").as_int(), -2);
  EXPECT_EQ(coerce(Value("12"), "Integer").as_int(), 12);
  EXPECT_EQ(coerce(Value(int64_t{255}), "Byte").as_int(), 255);
  auto overflow = [](Value v, const char* type) {
    try {
      coerce(v, type);
    } catch (const VBError& e) {
      return e.message();
    }
    return std::string();
  };
  EXPECT_EQ(overflow(Value(int64_t{40000}), "Integer"), "Overflow for integer");
  EXPECT_EQ(overflow(Value(int64_t{256}), "BYTE"), "Overflow for byte");
  EXPECT_EQ(overflow(Value(int64_t{-1}), "Byte"), "Overflow for byte");
  EXPECT_EQ(overflow(Value(3e9), "Long"), "Overflow for long");
  EXPECT_EQ(overflow(Value(INFINITY), "Integer"), "Overflow for integer");
  EXPECT_EQ(overflow(Value(NAN), "Long"), "Overflow for long");
  EXPECT_EQ(coerce(Value(int64_t{3}), "Double").is_double(), true);
  EXPECT_EQ(vbstr(coerce(Value(int64_t{3}), "Currency")), "3.0");
  EXPECT_EQ(coerce(Value(int64_t{7}), "String").as_string(), "7");
  EXPECT_EQ(coerce(Value("x"), "Boolean").as_bool(), true);
  EXPECT_EQ(coerce(Value("x"), "Variant").as_string(), "x");
  EXPECT_EQ(vbstr(default_value("Date")), "0");
  EXPECT_TRUE(default_value("Object").is_nothing());
  EXPECT_EQ(default_value("String").as_string(), "");
  EXPECT_EQ(default_value("Boolean").as_bool(), false);
}

TEST(ExpressionTest, Literals) {
  EXPECT_EQ(show(R"("a""b")"), "a\"b");
  EXPECT_EQ(eval("&H10").as_int(), 16);
  EXPECT_EQ(eval("&H10&").as_int(), 16);
  EXPECT_EQ(eval("&HFFFF").as_int(), 65535);
  EXPECT_EQ(eval("&O17").as_int(), 15);
  EXPECT_EQ(eval("&O777&").as_int(), 511);
  EXPECT_EQ(show("&O1777777777777777777777"), "1.8446744073709552e+19");  // beyond 64 bits: a Double
  EXPECT_EQ(eval_error("&O8"), "Unexpected token: O8");  // not an octal digit
  EXPECT_EQ(show("1."), "1.0");
  EXPECT_EQ(show("1e3"), "1000.0");
  EXPECT_EQ(eval_error(".5"), "Unexpected token: 5");
  EXPECT_EQ(eval_error("&h10"), "Unexpected token: h10");  // "&" alone is the operator
  EXPECT_EQ(show(""), "");
  EXPECT_EQ(show("99999999999999999999"), "1e+20");  // beyond 64 bits: a Double
}

TEST(ExpressionTest, PrecedenceAndAssociativity) {
  EXPECT_EQ(show("2 ^ 3 ^ 2"), "512");
  EXPECT_EQ(show("-2 ^ 2"), "-4");
  EXPECT_EQ(show("Not 1 = 2"), "True");
  EXPECT_EQ(show("1 Or 0 And 0"), "True");
  EXPECT_EQ(show("True Xor True Or True"), "True");
  EXPECT_EQ(show("1 + 2 * 3 Mod 4"), "3");
  EXPECT_EQ(show("10 - 4 - 3"), "3");
  EXPECT_EQ(show("2 * (3 + 4)"), "14");
  EXPECT_EQ(show("\"a\" & 1 + 2"), "a3");
  EXPECT_EQ(show("5 And 3"), "True");
  EXPECT_EQ(show("1 < 2 = True"), "True");
}

TEST(ExpressionTest, Comparisons) {
  EXPECT_EQ(show(R"("10" > "9")"), "False");
  EXPECT_EQ(show(R"("10" > 9)"), "True");
  EXPECT_EQ(eval_error(R"("abc" = 1)"), "Type mismatch (expected number, got 'abc')");
  EXPECT_EQ(show(R"("b" >= "a")"), "True");
  EXPECT_EQ(show(R"("é" > "z")"), "True");  // code point order
  EXPECT_EQ(show("1 = 1.0"), "True");
  EXPECT_EQ(show("True = -1"), "True");
  EXPECT_EQ(show("Nothing Is Nothing"), "True");
  EXPECT_EQ(show("1 Is 1"), "False");
}

TEST(ExpressionTest, ArithmeticKindsAndErrors) {
  EXPECT_EQ(show(R"("1" + "2")"), "3");
  EXPECT_EQ(show(R"("1" & "2")"), "12");
  EXPECT_EQ(show(R"("a" + 1)"), "a1");
  EXPECT_EQ(show("7 \\ 2"), "3");
  EXPECT_EQ(show("-7 \\ 2"), "-4");
  EXPECT_EQ(show("7.5 \\ 2"), "3.0");
  EXPECT_EQ(show("-7 Mod 3"), "2");
  EXPECT_EQ(show("7 Mod -3"), "-2");
  EXPECT_EQ(show("7.5 Mod 2"), "1.5");
  EXPECT_EQ(show("-7.5 Mod 2"), "0.5");
  EXPECT_EQ(show("6 / 3"), "2.0");
  EXPECT_EQ(show("6 / 3 + 0"), "2");
  EXPECT_EQ(show("2 ^ -1"), "0.5");
  EXPECT_EQ(show("2.0 ^ 2"), "4");  // operands pass through number
  EXPECT_EQ(show("2.5 * 2"), "5.0");
  EXPECT_EQ(eval_error("1 / 0"), "division by zero");
  EXPECT_EQ(eval_error("1.5 / 0"), "float division by zero");
  EXPECT_EQ(eval_error("1 \\ 0"), "integer division or modulo by zero");
  EXPECT_EQ(eval_error("1.5 \\ 0"), "float floor division by zero");
  EXPECT_EQ(eval_error("1 Mod 0"), "integer modulo by zero");
  EXPECT_EQ(eval_error("1.5 Mod 0"), "float modulo by zero");
  EXPECT_EQ(eval_error("0 ^ -1"), "0.0 cannot be raised to a negative power");
  EXPECT_NE(eval_error("10.5 ^ 400"), "");
  EXPECT_NE(eval_error("(-8) ^ 0.5"), "");
}

TEST(ExpressionTest, IntegersOverflowIntoDoubles) {
  EXPECT_EQ(show("9223372036854775807 + 1"), "9.223372036854776e+18");
  EXPECT_EQ(show("3037000500 * 3037000500"), show("3037000500.0 * 3037000500"));
  EXPECT_EQ(show("2 ^ 62"), "4611686018427387904");
  EXPECT_EQ(show("2 ^ 64"), "1.8446744073709552e+19");
  EXPECT_EQ(show("-(-9223372036854775807 - 1)"), "9.223372036854776e+18");
}

TEST(ExpressionTest, Like) {
  EXPECT_EQ(show(R"("abc" Like "a*")"), "True");
  EXPECT_EQ(show(R"("ABC" Like "a*")"), "False");
  EXPECT_EQ(show(R"("a.c" Like "a?c")"), "True");
  EXPECT_EQ(show(R"("a[b]" Like "a[b]")"), "True");
  EXPECT_EQ(show(R"("ab" Like "a?c")"), "False");
  EXPECT_EQ(show("\"a\" & vbLf & \"b\" Like \"a*b\""), "False");  // * never crosses a line feed
  EXPECT_EQ(show(R"("héllo" Like "h?llo")"), "True");
  EXPECT_EQ(show(R"("" Like "*")"), "True");
  EXPECT_EQ(show(R"("a*b" Like "a*")"), "True");
}

TEST(ExpressionTest, ParseErrors) {
  EXPECT_EQ(eval_error("1 +"), "Incomplete expression");
  EXPECT_EQ(eval_error("(1 + 2"), "Expected closing parenthesis");
  EXPECT_EQ(eval_error("f(1 2)"), "Expected comma or )");
  EXPECT_EQ(eval_error("1 2"), "Unexpected token: 2");
  EXPECT_EQ(eval_error("x."), "Expected a property name");
  EXPECT_EQ(eval_error("New"), "Expected class name after New");
  EXPECT_EQ(eval_error("New ADODB."), "Expected class name after dot");
  EXPECT_EQ(eval_error("New Foo"), "Class not found: Foo");
  EXPECT_EQ(eval_error("x.Foo(1)"), "Not an object");
  EXPECT_EQ(eval_error("x.Foo"), "Cannot read .Foo on 0");
  EXPECT_EQ(eval_error("\"s\".Len"), "Cannot read .Len on 's'");
  EXPECT_EQ(eval_error("Nothing.Len"), "Cannot read .Len on None");
  EXPECT_EQ(eval_error("Foo(1)"), "Unknown function or procedure: Foo");
}

TEST(ExpressionTest, ConstantsHideVariables) {
  EXPECT_EQ(show("Pi"), "3.141592653589793");
  EXPECT_EQ(show("vbCrLf"), "\r\n");
  EXPECT_EQ(show("vbYes + vbNo"), "13");
  EXPECT_EQ(show("vbInformation + vbQuestion"), "96");
  EXPECT_EQ(show("vbObjectError"), "-2147221504");
  EXPECT_EQ(eval("EMPTY").as_string(), "");
  EXPECT_TRUE(eval("nothing").is_nothing());
}

TEST(ExpressionTest, DeepNestingIsAnErrorNotACrash) {
  const std::string deep = std::string(100000, '(') + "1" + std::string(100000, ')');
  EXPECT_EQ(eval_error(deep), "Expression nested too deeply");
  std::string chain = "1";
  for (int i = 0; i < 5000; ++i) chain += " + 1";
  EXPECT_EQ(eval_error(chain), "Expression nested too deeply");
  std::string minus(50000, '-');
  EXPECT_EQ(eval_error(minus + "1"), "Expression nested too deeply");
  std::string ok = "1";
  for (int i = 0; i < 500; ++i) ok += " + 1";
  EXPECT_EQ(show(ok), "501");
}

}  // namespace
}  // namespace corvane
