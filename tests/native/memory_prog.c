/* A long loop that builds strings and objects the way generated code does
 * (nothing is ever released by the program). argv[1] is the number of
 * rounds. Prints the peak resident size in KB after a tenth of the rounds
 * and at the end of the loop, as "early|KB" and "final|KB"; then checks that
 * what module-level variables reach has survived the collections. */
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
static VBValue g_head;

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
    g_total = vb_int(0);
    long early = 0;
    for (long i = 1; i <= rounds; i++) {
        VBValue l_text = p_module_build(vb_temporary(vb_int(i)));
        VBValue l_item = vb_new("Item");
        vb_member_set(l_item, "label", vb_copy(l_text));
        vb_member_set(l_item, "owner", g_last); /* a short chain: the previous item */
        g_last = l_item;
        if (i % 2 == 0) vb_member_set(g_last, "owner", vb_nothing());
        g_total = vb_op("+", g_total, vb_builtin("len", 1, (VBValue[]){vb_member_get(l_item, "label")}));
        if (i == rounds / 10) early = peak_kb();
    }
    printf("final|%ld\n", peak_kb());
    printf("total|%s\n", vb_string(g_total));
    /* what only the module-level variable reaches has survived */
    printf("last|%s\n", vb_string(vb_member_get(g_last, "label")));
    VBValue owner = vb_member_get(g_last, "owner");
    printf("owner|%s\n", owner.kind == VB_OBJECT && owner.object ? vb_string(vb_member_get(owner, "label")) : "none");

    /* A long chain reachable only from a module-level variable, built while
     * garbage is made, must come back whole. */
    long chain = rounds / 10 < 200000 ? rounds / 10 : 200000;
    g_head = vb_nothing();
    for (long i = 1; i <= chain; i++) {
        VBValue item = vb_new("Item");
        vb_member_set(item, "label", vb_op("&", vb_str("Link "), vb_int(i)));
        vb_member_set(item, "owner", g_head);
        g_head = item;
        (void)p_module_build(vb_temporary(vb_int(i))); /* garbage */
    }
    long intact = 0;
    for (long i = chain; i >= 1; i--) {
        char expected[64];
        snprintf(expected, sizeof expected, "Link %ld", i);
        if (!strcmp(vb_string(vb_member_get(g_head, "label")), expected)) intact++;
        g_head = vb_member_get(g_head, "owner");
    }
    printf("chain|%ld of %ld\n", intact, chain);
    printf("early|%ld\n", early);
    return 0;
}
