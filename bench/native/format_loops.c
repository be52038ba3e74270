/* Format through the native runtime: a number pattern, a date pattern and
 * a text pattern per round, as a program printing a report would. */
#include <string.h>

#include "format_loops.h"
#include "vb_native.h"

long vb_format_loop(long n) {
    static const char *const PATTERNS[] = {"#,##0.00", "dd/mm/yyyy hh:nn", ">@@@@@@@@"};
    long total = 0;
    for (long i = 1; i <= n; i++) {
        VBValue args[2] = {vb_num(i * 1.25), vb_str(PATTERNS[0])};
        total += (long)strlen(vb_string(vb_builtin("format", 2, args)));
        args[0] = vb_str("2024-03-05 14:07:09");
        args[1] = vb_str(PATTERNS[1]);
        total += (long)strlen(vb_string(vb_builtin("format", 2, args)));
        args[0] = vb_str("abc");
        args[1] = vb_str(PATTERNS[2]);
        total += (long)strlen(vb_string(vb_builtin("format", 2, args)));
    }
    return total;
}
