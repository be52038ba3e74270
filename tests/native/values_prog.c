/* Values, conversions, operators and built-in functions, called the way
 * generated code calls them. Prints one "label|kind|text" line per case. */
#define _POSIX_C_SOURCE 200809L

#include <stdlib.h>
#include <string.h>

#include "show.h"

int main(void) {
    /* + joins texts as soon as one side is a string */
    show("str_plus_str", vb_op("+", vb_str("1"), vb_str("1")));
    show("num_plus_str", vb_op("+", vb_num(1), vb_str("1")));
    show("num_plus_num", vb_op("+", vb_num(1), vb_num(1)));
    show("amp_numbers", vb_op("&", vb_num(1.5), vb_num(-2)));
    show("amp_object", vb_op("&", vb_str("x"), vb_nothing()));
    show("minus_strings", vb_op("-", vb_str("10"), vb_str("4")));
    show("times", vb_op("*", vb_num(6), vb_str("7")));

    /* comparisons */
    show("lt_text", vb_op("<", vb_num(10), vb_str("9")));
    show("eq_case", vb_op("=", vb_str("abc"), vb_str("ABC")));
    show("ne_num", vb_op("<>", vb_num(2), vb_num(2)));
    show("le_num", vb_op("<=", vb_num(2), vb_num(2)));
    show("ge_num", vb_op(">=", vb_num(1), vb_num(2)));
    show("gt_text", vb_op(">", vb_str("b"), vb_str("A")));
    show("nothing_eq_zero", vb_op("=", vb_nothing(), vb_num(0)));

    /* division family */
    show("idiv", vb_op("\\", vb_num(7), vb_num(2)));
    show("idiv_neg", vb_op("\\", vb_num(-7), vb_num(2)));
    show("idiv_frac", vb_op("\\", vb_num(7.9), vb_num(2.5)));
    show("mod_neg", vb_op("mod", vb_num(-7), vb_num(3)));
    show("mod_frac", vb_op("MOD", vb_num(5.5), vb_num(2)));
    show("div", vb_op("/", vb_num(1), vb_num(3)));
    show("pow", vb_op("^", vb_num(2), vb_num(10)));

    /* logic */
    show("and", vb_op("and", vb_num(-1), vb_str("x")));
    show("and_false", vb_op("And", vb_num(5), vb_str("")));
    show("or", vb_op("OR", vb_num(0), vb_str("0")));
    show("xor", vb_op("xor", vb_num(1), vb_num(-1)));
    show("not5", vb_not(vb_num(5)));
    show("not0", vb_not(vb_num(0)));
    show("not_empty", vb_not(vb_str("")));
    show("neg", vb_neg(vb_str("3.5")));

    /* truth */
    show("truth_zero_text", vb_num(vb_truth(vb_str("0"))));
    show("truth_false_text", vb_num(vb_truth(vb_str("False"))));
    show("truth_nothing", vb_num(vb_truth(vb_nothing())));

    /* number text forms */
    show("fmt_int", vb_num(3));
    show("fmt_negzero", vb_num(-0.0));
    show("fmt_sum", vb_op("+", vb_num(0.1), vb_num(0.2)));
    show("fmt_third", vb_op("/", vb_num(1), vb_num(3)));
    show("fmt_1e15", vb_num(1e15));
    show("fmt_big", vb_num(123456789012345.0));
    show("fmt_below", vb_num(99999999999999.0));

    /* coercion for assignment */
    show("co_int_half", vb_coerce(vb_num(2.5), "Integer"));
    show("co_int_neghalf", vb_coerce(vb_num(-2.5), "integer"));
    show("co_int_max", vb_coerce(vb_str("32767"), "integer"));
    show("co_long", vb_coerce(vb_num(-2147483648.0), "LONG"));
    show("co_byte", vb_coerce(vb_num(254.6), "byte"));
    show("co_bool_true", vb_coerce(vb_str("x"), "boolean"));
    show("co_bool_false", vb_coerce(vb_num(0), "Boolean"));
    show("co_string", vb_coerce(vb_num(42), "string"));
    show("co_double", vb_coerce(vb_str(" 2.5kg"), "double"));
    show("co_single", vb_coerce(vb_str("1e2"), "single"));
    show("co_currency", vb_coerce(vb_num(1.25), "currency"));
    show("co_variant", vb_coerce(vb_str("7"), "variant"));
    show("co_class", vb_coerce(vb_str("7"), "adodb.recordset"));
    show("co_object", vb_coerce(vb_num(7), "Object"));

    /* built-ins */
    show("cstr", CALL("cstr", vb_num(5)));
    show("str", CALL("Str", vb_num(-5.25)));
    show("val_prefix", CALL("val", vb_str(" 12abc")));
    show("val_letters", CALL("val", vb_str("abc")));
    show("cdbl", CALL("CDbl", vb_str("3.75")));
    show("cint_half", CALL("cint", vb_num(2.5)));
    show("clng_neghalf", CALL("clng", vb_num(-2.5)));
    show("cint_no_range", CALL("cint", vb_num(100000)));
    show("len", CALL("len", vb_str("hello")));
    show("len_num", CALL("len", vb_num(1234)));
    show("len_utf8", CALL("len", vb_str("\xc3\xa9")));
    show("abs", CALL("abs", vb_num(-3)));
    show("int_neg", CALL("int", vb_num(-2.5)));
    show("fix_neg", CALL("fix", vb_num(-2.5)));
    show("sqr", CALL("sqr", vb_num(16)));
    show("trim", CALL("trim", vb_str(" \t a b \r\n")));
    show("ltrim", CALL("ltrim", vb_str("  a  ")));
    show("rtrim", CALL("rtrim", vb_str("  a  ")));
    show("trim_blank", CALL("trim", vb_str("   ")));
    show("ucase", CALL("ucase", vb_str("abc\xc3\xa9z")));
    show("lcase", CALL("LCase", vb_str("ABC")));
    show("left", CALL("left", vb_str("hello"), vb_num(2)));
    show("left_neg", CALL("left", vb_str("ab"), vb_num(-1)));
    show("left_huge", CALL("left", vb_str("abc"), vb_num(1e300)));
    show("left_frac", CALL("left", vb_str("abc"), vb_num(1.9)));
    show("right", CALL("right", vb_str("hello"), vb_num(3)));
    show("right_huge", CALL("right", vb_str("hello"), vb_num(99)));
    show("mid_zero", CALL("mid", vb_str("hello"), vb_num(0)));
    show("mid_rest", CALL("mid", vb_str("hello"), vb_num(2), vb_num(100)));
    show("mid_two", CALL("mid", vb_str("hello"), vb_num(2), vb_num(2)));
    show("mid_past", CALL("mid", vb_str("hello"), vb_num(10)));
    show("mid_negcount", CALL("mid", vb_str("hello"), vb_num(2), vb_num(-3)));
    show("mid_huge_start", CALL("mid", vb_str("hello"), vb_num(1e300)));
    show("instr", CALL("instr", vb_str("hello"), vb_str("l")));
    show("instr_case", CALL("instr", vb_str("hello"), vb_str("L")));
    show("instr_empty", CALL("instr", vb_str("hello"), vb_str("")));
    show("instr_start", CALL("instr", vb_num(4), vb_str("abcabc"), vb_str("c")));
    setenv("VBN_TEST_VARIABLE", "value 1", 1);
    show("environ", CALL("environ", vb_str("VBN_TEST_VARIABLE")));
    show("environ_missing", CALL("Environ", vb_str("VBN_TEST_NO_SUCH_VARIABLE")));
    show("dbrows_none", vb_builtin("dbrows", 0, ARGS(vb_num(0))));

    /* ownership: copies are new texts; texts are never changed afterwards */
    VBValue a = vb_str("shared");
    VBValue b = a;
    VBValue c = vb_copy(a);
    VBValue joined = vb_op("&", a, vb_str("!"));
    show("copy_same_text", vb_num(c.text != a.text && strcmp(c.text, a.text) == 0));
    show("share_kept", vb_num(b.text == a.text && strcmp(a.text, "shared") == 0 && strcmp(joined.text, "shared!") == 0));
    show("str_null", vb_str(NULL));
    VBValue *cell = vb_temporary(vb_num(9));
    show("temporary", *cell);
    show("string_of_object", vb_str(vb_string(vb_nothing())));
    return 0;
}
