/* The benchmark loops, each written twice: as the native compiler emits it
 * against vb_native.h, and as plain C over double and char buffers. */
#define _POSIX_C_SOURCE 200809L

#include <ctype.h>
#include <math.h>
#include <stdio.h>
#include <string.h>

#include "native_loops.h"
#include "vb_native.h"

/* Dim total As Double, i As Long
 * For i = 1 To n
 *     total = total + i * 0.5 - (i Mod 7)
 * Next */
double vb_numeric_loop(long n) {
    VBValue l_total = vb_int(0);
    VBValue l_i = vb_int(0);
    VBValue _for_1 = vb_to_number(vb_int(1));
    VBValue _for_1_end = vb_to_number(vb_int(n));
    VBValue _for_1_step = vb_int(1);
    vb_for_check(_for_1_step);
    for (; vb_for_continues(_for_1, _for_1_end, _for_1_step); _for_1 = vb_for_next(_for_1, _for_1_step)) {
        l_i = _for_1;
        l_total = vb_coerce(vb_op("-", vb_op("+", l_total, vb_op("*", l_i, vb_num(0.5))), vb_op("mod", l_i, vb_int(7))),
                            "double");
    }
    return vb_number(l_total);
}

double c_numeric_loop(long n) {
    double total = 0;
    for (long i = 1; i <= n; i++) total = total + (double)i * 0.5 - fmod((double)i, 7);
    return total;
}

/* Dim s As String, total As Long, i As Long
 * For i = 1 To n
 *     s = "Item " & i & ": " & UCase("name") & Left("abcdef", 3)
 *     total = total + Len(s)
 * Next */
double vb_string_loop(long n) {
    VBValue l_s = vb_str("");
    VBValue l_total = vb_int(0);
    VBValue l_i = vb_int(0);
    VBValue _for_1 = vb_to_number(vb_int(1));
    VBValue _for_1_end = vb_to_number(vb_int(n));
    VBValue _for_1_step = vb_int(1);
    vb_for_check(_for_1_step);
    for (; vb_for_continues(_for_1, _for_1_end, _for_1_step); _for_1 = vb_for_next(_for_1, _for_1_step)) {
        l_i = _for_1;
        l_s = vb_coerce(vb_op("&", vb_op("&", vb_op("&", vb_op("&", vb_str("Item "), l_i), vb_str(": ")),
                                            vb_builtin("ucase", 1, (VBValue[]){vb_str("name")})),
                              vb_builtin("left", 2, (VBValue[]){vb_str("abcdef"), vb_int(3)})),
                        "string");
        l_total = vb_coerce(vb_op("+", l_total, vb_builtin("len", 1, (VBValue[]){l_s})), "long");
    }
    return vb_number(l_total);
}

double c_string_loop(long n) {
    char s[128], upper[16];
    long total = 0;
    for (long i = 1; i <= n; i++) {
        const char *name = "name";
        size_t k = 0;
        for (; name[k]; k++) upper[k] = (char)toupper((unsigned char)name[k]);
        upper[k] = '\0';
        snprintf(s, sizeof s, "Item %ld: %s%.3s", i, upper, "abcdef");
        total += (long)strlen(s);
    }
    return (double)total;
}
