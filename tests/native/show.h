/* Shared by the native test programs: one line per checked value, as
 * "label|kind|text" with kind n (Double), i (Integer), b (Boolean),
 * s (string) or o (object). */
#ifndef NATIVE_TEST_SHOW_H
#define NATIVE_TEST_SHOW_H
#include <stdio.h>

#include "vb_native.h"
#include "leak_check.h"

static void show(const char *label, VBValue v) {
    const char *kind = v.kind == VB_NUMBER    ? "n"
                       : v.kind == VB_INTEGER ? "i"
                       : v.kind == VB_BOOLEAN ? "b"
                       : v.kind == VB_STRING  ? "s"
                                              : "o";
    printf("%s|%s|%s\n", label, kind, vb_string(v));
    fflush(stdout);
}

/* Shorthands in the style of generated code. */
#define ARGS(...) (VBValue[]){__VA_ARGS__}
#define NARGS(...) (int)(sizeof((VBValue[]){__VA_ARGS__}) / sizeof(VBValue))
#define CALL(name, ...) vb_builtin(name, NARGS(__VA_ARGS__), ARGS(__VA_ARGS__))
#endif
