/* A long loop that builds strings and objects the way generated code does
 * (nothing is ever released by the program). argv[1] is the number of
 * rounds. Prints the peak resident size in KB after a tenth of the rounds
 * and at the end, as "early|KB" and "final|KB". */
#define _POSIX_C_SOURCE 200809L

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/resource.h>

#include "vb_native.h"
#include "leak_check.h"

static VBValue g_last;
static VBValue g_total;

static VBValue dispatch_class(VBValue obj, const char *method, int argc, VBValue *args) {
    (void)argc;
    (void)args;
    if (vb_object_is(obj, "Item") && !strcasecmp(method, "Class_Initialize")) {
        vb_member_set(obj, "label", vb_str("new item"));
        return vb_num(0);
    }
    return vb_num(0);
}

static long peak_kb(void) {
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

static VBValue p_module_build(VBValue *a_i) {
    VBValue _ret = vb_str("");
    VBValue l_s = vb_str("");
    l_s = vb_coerce(vb_op("&", vb_op("&", vb_str("Item "), (*a_i)), vb_str(": ")), "string");
    l_s = vb_coerce(vb_op("&", l_s, vb_builtin("ucase", 1, (VBValue[]){vb_str("payload text")})), "string");
    _ret = vb_coerce(l_s, "string");
    return _ret;
}

int main(int argc, char **argv) {
    long rounds = argc > 1 ? atol(argv[1]) : 1000000;
    vb_register_class("Item", 2, (const char *[]){"label", "owner"}, (const char *[]){"string", "item"});
    vb_set_class_handler(dispatch_class);
    g_total = vb_num(0);
    long early = 0;
    for (long i = 1; i <= rounds; i++) {
        VBValue l_text = p_module_build(vb_temporary(vb_num((double)i)));
        VBValue l_item = vb_new("Item");
        vb_member_set(l_item, "label", vb_copy(l_text));
        vb_member_set(l_item, "owner", g_last); /* a short chain: the previous item */
        g_last = l_item;
        if (i % 2 == 0) vb_member_set(g_last, "owner", vb_nothing());
        g_total = vb_op("+", g_total, vb_builtin("len", 1, (VBValue[]){vb_member_get(l_item, "label")}));
        if (i == rounds / 10) early = peak_kb();
    }
    printf("total|%s\n", vb_string(g_total));
    printf("early|%ld\n", early);
    printf("final|%ld\n", peak_kb());
    return 0;
}
