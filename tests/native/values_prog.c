/* Values, conversions, operators and built-in functions, called the way
 * generated code calls them. Prints one "label|kind|text" line per case. */
#define _POSIX_C_SOURCE 200809L

#include <stdlib.h>
#include <string.h>

#include "show.h"

int main(void) {
    /* + adds numeric texts and joins any other text */
    show("str_plus_str", vb_op("+", vb_str("1"), vb_str("1")));
    show("num_plus_str", vb_op("+", vb_int(1), vb_str("1")));
    show("word_plus_num", vb_op("+", vb_str("a"), vb_int(1)));
    show("num_plus_num", vb_op("+", vb_int(1), vb_int(1)));
    show("amp_numbers", vb_op("&", vb_num(1.5), vb_int(-2)));
    show("amp_nothing", vb_op("&", vb_str("x"), vb_nothing()));
    show("minus_strings", vb_op("-", vb_str("10"), vb_str("4")));
    show("times", vb_op("*", vb_int(6), vb_str("7")));
    show("add_overflow", vb_op("+", vb_int(9223372036854775807LL), vb_int(1)));
    show("double_whole_operand", vb_op("+", vb_op("/", vb_int(6), vb_int(3)), vb_int(0)));

    /* comparisons: two texts by code points, anything else numerically */
    show("lt_num_text", vb_op("<", vb_int(10), vb_str("9")));
    show("gt_texts", vb_op(">", vb_str("10"), vb_str("9")));
    show("eq_case", vb_op("=", vb_str("abc"), vb_str("ABC")));
    show("ne_num", vb_op("<>", vb_int(2), vb_num(2.0)));
    show("le_num", vb_op("<=", vb_int(2), vb_int(2)));
    show("ge_num", vb_op(">=", vb_int(1), vb_int(2)));
    show("gt_accent", vb_op(">", vb_str("\xc3\xa9"), vb_str("z")));
    show("nothing_eq_zero", vb_op("=", vb_nothing(), vb_int(0)));
    show("is_nothing", vb_op("is", vb_nothing(), vb_nothing()));
    show("like", vb_op("Like", vb_str("abc"), vb_str("a*")));
    show("like_case", vb_op("like", vb_str("ABC"), vb_str("a*")));
    show("like_one", vb_op("like", vb_str("\xc3\xa9"), vb_str("?")));

    /* division family: floor division, remainder with the divisor's sign */
    show("idiv", vb_op("\\", vb_int(7), vb_int(2)));
    show("idiv_neg", vb_op("\\", vb_int(-7), vb_int(2)));
    show("idiv_frac", vb_op("\\", vb_num(7.9), vb_num(2.5)));
    show("mod_neg", vb_op("mod", vb_int(-7), vb_int(3)));
    show("mod_frac", vb_op("MOD", vb_num(5.5), vb_int(2)));
    show("div", vb_op("/", vb_int(1), vb_int(3)));
    show("div_whole", vb_op("/", vb_int(6), vb_int(3)));
    show("pow", vb_op("^", vb_int(2), vb_int(10)));
    show("pow_neg", vb_op("^", vb_int(2), vb_int(-1)));

    /* logic gives Booleans */
    show("and", vb_op("and", vb_bool(1), vb_str("x")));
    show("and_false", vb_op("And", vb_int(5), vb_str("")));
    show("or", vb_op("OR", vb_int(0), vb_str("0")));
    show("xor", vb_op("xor", vb_int(1), vb_int(-1)));
    show("not5", vb_not(vb_int(5)));
    show("not0", vb_not(vb_int(0)));
    show("not_empty", vb_not(vb_str("")));
    show("neg", vb_neg(vb_str("3.5")));
    show("neg_int", vb_neg(vb_int(4)));

    /* truth */
    show("truth_zero_text", vb_int(vb_truth(vb_str("0"))));
    show("truth_false_text", vb_int(vb_truth(vb_str("False"))));
    show("truth_nothing", vb_int(vb_truth(vb_nothing())));

    /* text forms: Integers exact, Doubles shortest round trip */
    show("fmt_int", vb_int(3));
    show("fmt_double_whole", vb_num(3));
    show("fmt_negzero", vb_num(-0.0));
    show("fmt_sum", vb_op("+", vb_num(0.1), vb_num(0.2)));
    show("fmt_third", vb_op("/", vb_int(1), vb_int(3)));
    show("fmt_1e15", vb_num(1e15));
    show("fmt_1e16", vb_num(1e16));
    show("fmt_small", vb_num(0.00001));
    show("fmt_big", vb_int(123456789012345LL));
    show("fmt_bool", vb_bool(1));
    show("fmt_inf", vb_op("*", vb_num(1e308), vb_num(10)));

    /* coercion for assignment: halves to even */
    show("co_int_half", vb_coerce(vb_num(2.5), "Integer"));
    show("co_int_neghalf", vb_coerce(vb_num(-2.5), "integer"));
    show("co_int_odd_half", vb_coerce(vb_num(3.5), "integer"));
    show("co_int_max", vb_coerce(vb_str("32767"), "integer"));
    show("co_long", vb_coerce(vb_num(-2147483648.0), "LONG"));
    show("co_byte", vb_coerce(vb_num(254.6), "byte"));
    show("co_bool_true", vb_coerce(vb_str("x"), "boolean"));
    show("co_bool_false", vb_coerce(vb_int(0), "Boolean"));
    show("co_string", vb_coerce(vb_int(42), "string"));
    show("co_double", vb_coerce(vb_str(" 2.5 "), "double"));
    show("co_double_whole", vb_coerce(vb_int(3), "double"));
    show("co_single", vb_coerce(vb_str("1e2"), "single"));
    show("co_currency", vb_coerce(vb_num(1.25), "currency"));
    show("co_variant", vb_coerce(vb_str("7"), "variant"));
    show("co_class", vb_coerce(vb_str("7"), "adodb.recordset"));
    show("co_object", vb_coerce(vb_int(7), "Object"));

    /* built-ins */
    show("cstr", CALL("cstr", vb_int(5)));
    show("str", CALL("Str", vb_num(-5.25)));
    show("val_prefix", CALL("val", vb_str(" 12abc")));
    show("val_letters", CALL("val", vb_str("abc")));
    show("val_hex", CALL("val", vb_str("&H1F")));
    show("cdbl", CALL("CDbl", vb_str("3.75")));
    show("cdbl_whole", CALL("CDbl", vb_str("3")));
    show("cint_half", CALL("cint", vb_num(2.5)));
    show("clng_neghalf", CALL("clng", vb_num(-2.5)));
    show("cint_no_range", CALL("cint", vb_int(100000)));
    show("len", CALL("len", vb_str("hello")));
    show("len_num", CALL("len", vb_int(1234)));
    show("len_utf8", CALL("len", vb_str("\xc3\xa9")));
    show("len_emoji", CALL("len", vb_str("a\xf0\x9f\x98\x80")));
    show("abs", CALL("abs", vb_int(-3)));
    show("int_neg", CALL("int", vb_num(-2.5)));
    show("fix_neg", CALL("fix", vb_num(-2.5)));
    show("sqr", CALL("sqr", vb_int(16)));
    show("trim", CALL("trim", vb_str(" \t a b \r\n")));
    show("trim_nbsp", CALL("trim", vb_str("\xc2\xa0x\xe3\x80\x80")));
    show("ltrim", CALL("ltrim", vb_str("  a  ")));
    show("rtrim", CALL("rtrim", vb_str("  a  ")));
    show("trim_blank", CALL("trim", vb_str("   ")));
    show("ucase", CALL("ucase", vb_str("abc\xc3\xa9z")));
    show("ucase_sharp_s", CALL("ucase", vb_str("stra\xc3\x9f" "e")));
    show("lcase", CALL("LCase", vb_str("ABC")));
    show("lcase_final_sigma", CALL("lcase", vb_str("\xce\x9f\xce\x94\xce\x9f\xce\xa3")));
    show("left", CALL("left", vb_str("hello"), vb_int(2)));
    show("left_utf8", CALL("left", vb_str("\xc3\xa9t\xc3\xa9"), vb_int(1)));
    show("left_neg", CALL("left", vb_str("ab"), vb_int(-1)));
    show("left_huge", CALL("left", vb_str("abc"), vb_num(1e300)));
    show("left_frac", CALL("left", vb_str("abc"), vb_num(1.9)));
    show("right", CALL("right", vb_str("hello"), vb_int(3)));
    show("right_utf8", CALL("right", vb_str("\xc3\xa9t\xc3\xa9"), vb_int(1)));
    show("right_huge", CALL("right", vb_str("hello"), vb_int(99)));
    show("mid_zero", CALL("mid", vb_str("hello"), vb_int(0)));
    show("mid_rest", CALL("mid", vb_str("hello"), vb_int(2), vb_int(100)));
    show("mid_two", CALL("mid", vb_str("hello"), vb_int(2), vb_int(2)));
    show("mid_utf8", CALL("mid", vb_str("\xc3\xa9t\xc3\xa9"), vb_int(3), vb_int(1)));
    show("mid_past", CALL("mid", vb_str("hello"), vb_int(10)));
    show("mid_huge_start", CALL("mid", vb_str("hello"), vb_num(1e300)));
    show("instr", CALL("instr", vb_str("hello"), vb_str("l")));
    show("instr_utf8", CALL("instr", vb_str("\xc3\xa9t\xc3\xa9"), vb_str("t")));
    show("instr_case", CALL("instr", vb_str("hello"), vb_str("L")));
    show("instr_empty", CALL("instr", vb_str("hello"), vb_str("")));
    show("instr_start", CALL("instr", vb_int(4), vb_str("abcabc"), vb_str("c")));
    show("chr", CALL("chr", vb_int(233)));
    show("asc", CALL("asc", vb_str("\xe6\x97\xa5")));
    show("strreverse", CALL("strreverse", vb_str("a\xc3\xa9")));
    show("replace", CALL("replace", vb_str("aXbXc"), vb_str("X"), vb_str("--")));
    show("hex", CALL("hex", vb_int(-1)));
    show("iif", CALL("iif", vb_int(0), vb_str("yes"), vb_str("no")));
    setenv("VBN_TEST_VARIABLE", "value 1", 1);
    show("environ", CALL("environ", vb_str("VBN_TEST_VARIABLE")));
    show("environ_missing", CALL("Environ", vb_str("VBN_TEST_NO_SUCH_VARIABLE")));
    show("dbrows_none", vb_builtin("dbrows", 0, ARGS(vb_int(0))));

    /* For loops on their own counter */
    VBValue counter = vb_int(1), total = vb_int(0);
    for (; vb_for_continues(counter, vb_int(10), vb_int(3)); counter = vb_for_next(counter, vb_int(3)))
        total = vb_op("+", total, counter);
    show("for_total", total);
    show("for_past", counter);

    /* ownership: copies are new texts; texts are never changed afterwards */
    VBValue a = vb_str("shared");
    VBValue b = a;
    VBValue c = vb_copy(a);
    VBValue joined = vb_op("&", a, vb_str("!"));
    show("copy_same_text", vb_int(c.text != a.text && strcmp(c.text, a.text) == 0));
    show("share_kept", vb_int(b.text == a.text && strcmp(a.text, "shared") == 0 && strcmp(joined.text, "shared!") == 0));
    show("str_null", vb_str(NULL));
    VBValue *cell = vb_temporary(vb_int(9));
    show("temporary", *cell);
    show("string_of_object", vb_str(vb_string(vb_nothing())));

    /* growing texts: appends reuse the buffer, earlier values keep theirs */
    VBValue grown = vb_str("");
    vb_append(&grown, vb_str("ab"));
    VBValue early = grown;
    vb_append(&grown, vb_int(12));
    VBValue branch = grown;
    vb_append(&branch, vb_str("X"));
    vb_append(&grown, vb_str("Y"));
    show("grow_early", early);
    show("grow_len_early", CALL("Len", early));
    show("grow_main", grown);
    show("grow_branch", branch);
    show("grow_self", (vb_append(&early, early), early));
    show("grow_compare", vb_op("<", early, grown));
    show("grow_number_target", (branch = vb_int(7), vb_append(&branch, vb_num(0.5)), branch));
    /* literal pieces take the same paths: a shared buffer is copied first */
    VBValue lit = vb_str("");
    vb_append_literal(&lit, "ab", 2);
    VBValue lit_early = lit;
    vb_append_literal(&lit, "cd", 2);
    VBValue lit_branch = lit;
    vb_append_literal(&lit_branch, "X", 1);
    vb_append_literal(&lit, "\xc3\xa9", 2);
    show("literal_early", lit_early);
    show("literal_main", lit);
    show("literal_branch", lit_branch);
    show("literal_len", vb_int(vb_len(lit)));
    show("literal_number_target", (lit_branch = vb_int(7), vb_append_literal(&lit_branch, "x", 1), lit_branch));
    show("len_of_number", vb_int(vb_len(vb_num(12.5))));
    /* positions in a grown non-ASCII text, visited forwards and backwards */
    VBValue wide = vb_str("");
    for (int k = 0; k < 300; k++) vb_append(&wide, vb_str(k % 3 == 0 ? "\xc3\xa9" : k % 3 == 1 ? "x" : "\xe6\x97\xa5"));
    show("wide_len", CALL("Len", wide));
    show("wide_mid_far", CALL("Mid", wide, vb_int(298), vb_int(3)));
    show("wide_mid_near", CALL("Mid", wide, vb_int(2), vb_int(2)));
    show("wide_right", CALL("Right", wide, vb_int(2)));
    show("wide_instr_start", CALL("InStr", vb_int(5), wide, vb_str("\xe6\x97\xa5")));
    show("wide_instr_past", CALL("InStr", vb_int(302), wide, vb_str("x")));
    show("wide_instr_end", CALL("InStr", vb_int(301), wide, vb_str("")));
    /* a lone lead byte completed by a later append is one character */
    VBValue split = vb_str("");
    vb_append(&split, vb_str("a\xc3"));
    show("split_len_before", CALL("Len", split));
    vb_append(&split, vb_str("\xa9z"));
    show("split_len_after", CALL("Len", split));
    show("split_mid", CALL("Mid", split, vb_int(3), vb_int(1)));
    return 0;
}
