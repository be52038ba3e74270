/* Corvane native runtime: error trapping and the Err object.
 *
 * Compiled as part of vb_native.c (which includes this file at its end), so
 * it shares that file's failure state: the trap stack, err_number and
 * err_description. A failure caught by a trap records its VB6 error number
 * here, found from the message as the interpreter finds it. */

/* The number each kind of failure message has, and VB6's standard
 * descriptions for Err.Raise without a description (the interpreter reads
 * the same table). */
static const struct {
    const char *prefix;
    long long number;
} ERROR_KINDS[] = {
#define VB_ERROR_KIND(prefix, number) {prefix, number},
#include "vb_error_table.h"
};

static const struct {
    long long number;
    const char *text;
} ERROR_TEXTS[] = {
#define VB_ERROR_TEXT(number, text) {number, text},
#include "vb_error_table.h"
};

/* Set by Err.Raise for the failure it starts: its own number and source. */
static int raising;
static long long raised_number;
static char *raised_source;
static char *err_source;

static long long error_number_for(const char *message) {
    for (size_t k = 0; k < COUNT_OF(ERROR_KINDS); k++)
        if (!strncmp(message, ERROR_KINDS[k].prefix, strlen(ERROR_KINDS[k].prefix))) return ERROR_KINDS[k].number;
    if (strstr(message, " has no supported property ") || strstr(message, " has no field ")) return 438;
    return 5;
}

static const char *error_text_for(long long number) {
    for (size_t k = 0; k < COUNT_OF(ERROR_TEXTS); k++)
        if (ERROR_TEXTS[k].number == number) return ERROR_TEXTS[k].text;
    return NULL;
}

/* A failure caught by a trap: Err describes it from now on. */
static void note_failure(const char *message) {
    err_description = copy_text(message);
    err_number = raising ? raised_number : error_number_for(message);
    err_source = raising ? raised_source : NULL;
    raising = 0;
}

void vb_trap_enter(jmp_buf *trap) {
    if (trap_depth >= (int)COUNT_OF(traps)) fatal("Error traps nested too deeply");
    traps[trap_depth++] = trap;
}

void vb_trap_leave(void) {
    if (trap_depth > 0) trap_depth--;
}

VBValue vb_err_get(const char *property) {
    if (property && !strcasecmp(property, "Number")) return int_value(err_number);
    if (property && !strcasecmp(property, "Description")) return str_value(err_description ? err_description : "");
    if (property && !strcasecmp(property, "Source"))
        return str_value(!err_number ? "" : err_source ? err_source : "Corvane Application");
    if (property && (!strcasecmp(property, "HelpFile"))) return str_value("");
    if (property && (!strcasecmp(property, "HelpContext") || !strcasecmp(property, "LastDllError")))
        return int_value(0);
    unsupported("Err has no supported property ", property, NULL);
}

/* Err.Number, Err.Description and Err.Source = value: the error state itself. */
void vb_err_set(const char *property, VBValue value) {
    if (property && !strcasecmp(property, "Number")) {
        err_number = whole_in_range(value, LLONG_MIN, LLONG_MAX, "long").integer;
        return;
    }
    if (property && !strcasecmp(property, "Description")) {
        err_description = copy_text(string_of(value));
        return;
    }
    if (property && !strcasecmp(property, "Source")) {
        err_source = copy_text(string_of(value));
        return;
    }
    unsupported("Err has no settable property ", property, NULL);
}

void vb_err_clear(void) {
    err_number = 0;
    err_description = NULL;
    err_source = NULL;
}

/* Err.Raise number, [source], [description]: without a description, VB6's
 * text for the number, else "Application-defined error". */
void vb_err_raise(int argc, VBValue *args) {
    long long number = 5;
    if (argc > 0) {
        Num n = number_of(args[0]);
        number = n.is_int ? n.i : (n.d > -9e18 && n.d < 9e18) ? (long long)trunc(n.d) : 5;
    }
    /* A left-out argument (Err.Raise n, , "text") comes as Nothing. */
    const int has_source = argc > 1 && !(args[1].kind == VB_OBJECT && !args[1].object);
    const int has_text = argc > 2 && !(args[2].kind == VB_OBJECT && !args[2].object);
    const char *description = has_text ? string_of(args[2]) : error_text_for(number);
    if (!description) description = "Application-defined error";
    err_number = number;
    err_description = copy_text(description);
    err_source = has_source ? copy_text(string_of(args[1])) : NULL;
    raising = 1;
    raised_number = number;
    raised_source = err_source;
    fatal(err_description);
}


/* The error being handled fails again (an error inside a handler goes to
 * the caller), keeping its number and source. */
_Noreturn void vb_err_rethrow(void) {
    raising = 1;
    raised_number = err_number;
    raised_source = err_source;
    fatal(err_description ? err_description : "");
}

int vb_trap_depth(void) { return trap_depth; }
