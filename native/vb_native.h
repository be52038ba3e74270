/* Corvane native runtime: the C interface that generated programs call for
 * every value operation, object access, database statement and form action.
 * Plain C11; the implementation is vb_native.c. */
#ifndef CORVANE_NATIVE_H
#define CORVANE_NATIVE_H

#include <setjmp.h>
#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Value kinds. VB_NUMBER is a Double, VB_INTEGER an exact 64-bit whole
 * number, VB_BOOLEAN True (-1) or False (0). */
#define VB_NUMBER 0
#define VB_STRING 1
#define VB_OBJECT 2
#define VB_INTEGER 3
#define VB_BOOLEAN 4
#define VB_ARRAY 5   /* zero-based, shared by reference; `object` points to it */

/* One BASIC value. Texts are immutable once made, so values may be copied
 * freely and share their text. */
typedef struct VBValue {
    int kind;               /* one of the value kinds above */
    union {
        double number;      /* the number of a VB_NUMBER value */
        long long integer;  /* the value of a VB_INTEGER, -1 or 0 for a VB_BOOLEAN */
    };
    const char *text;       /* the text of a VB_STRING value (null otherwise) */
    void *object;           /* the object of a VB_OBJECT value; null for Nothing */
} VBValue;

/* One control of a form, as designed. Positions are pixels relative to the
 * client area below the menu bar. */
typedef struct VBControlDef {
    const char *kind;
    const char *name;
    const char *caption;
    const char *text;
    int x, y, w, h;
    int visible, enabled;
    int interval; /* a Timer's Interval in milliseconds */
} VBControlDef;

/* One entry of a form's flat menu table: each top-level menu (parent -1) is
 * followed by its children (parent = the index of their top-level menu). */
typedef struct VBMenuDef {
    const char *name;
    const char *caption;
    int parent;
    int enabled, visible, checked;
} VBMenuDef;

/* One form, as designed; width and height are the client size without the
 * menu bar. */
typedef struct VBFormDef {
    const char *name;
    const char *caption;
    int width, height;
    const VBControlDef *controls;
    size_t control_count;
    const VBMenuDef *menus;
    size_t menu_count;
} VBFormDef;

/* Objects, classes and ADO. */
VBValue vb_nothing(void);
VBValue vb_new(const char *name);
int vb_object_is(VBValue object, const char *name);
VBValue vb_member_get(VBValue object, const char *name);
void vb_member_set(VBValue object, const char *name, VBValue value);
VBValue vb_member_call(VBValue object, const char *name, int argc, VBValue *args);
void vb_register_class(const char *name, int nfields, const char **names, const char **types);
void vb_set_class_handler(VBValue (*handler)(VBValue, const char *, int, VBValue *));

/* Values, conversions, operators and built-in functions. */
VBValue vb_num(double value);   /* a Double */
VBValue vb_int(long long value); /* an Integer */
VBValue vb_bool(int value);      /* True when value is not 0 */
VBValue vb_str(const char *value);
VBValue vb_copy(VBValue value);
VBValue *vb_temporary(VBValue value);
VBValue vb_coerce(VBValue value, const char *type);
double vb_number(VBValue value);
VBValue vb_to_number(VBValue value); /* the numeric conversion: an Integer or a Double */
int vb_truth(VBValue value);
const char *vb_string(VBValue value);
VBValue vb_op(const char *operation, VBValue a, VBValue b);
VBValue vb_not(VBValue a);
VBValue vb_neg(VBValue a);
VBValue vb_builtin(const char *name, int argc, VBValue *args);
/* Arrays: Dim a(n) holds n + 1 elements of the type's initial value; ReDim
 * makes a fresh array (Preserve keeps the first elements, new ones are 0);
 * elements are read and replaced without conversion. `name` is the
 * variable's name for messages. */
VBValue vb_array_new(VBValue upper, const char *type);
VBValue vb_array_empty(void);
VBValue vb_array_redim(VBValue old, VBValue upper, int preserve);
int vb_is_array(VBValue value);
VBValue vb_index(VBValue array, VBValue index, const char *name);
void vb_index_set(VBValue array, VBValue index, VBValue value, const char *name);
/* For Each: a copy of the array taken at the start, and its elements. */
VBValue vb_each_copy(VBValue array);
long long vb_array_count(VBValue array);
VBValue vb_array_item(VBValue array, long long index);

/* Error trapping (On Error Resume Next): while a trap is entered, a
 * runtime failure records its message (Err.Description) and number (the
 * current one, else 5) and jumps back to the trap instead of stopping the
 * program; the trap is then left. */
void vb_trap_enter(jmp_buf *trap);
void vb_trap_leave(void);
VBValue vb_err_get(const char *property); /* Number, Description */
void vb_err_clear(void);
void vb_err_raise(int argc, VBValue *args); /* number, [source], [description] */

/* For loops: Step 0 stops the program; the loop goes on while the counter
 * has not passed the end in the step's direction. */
void vb_for_check(VBValue step);
int vb_for_continues(VBValue counter, VBValue end, VBValue step);
VBValue vb_for_next(VBValue counter, VBValue step);

/* Forms, controls and App. */
VBValue vb_get(const char *owner, const char *field);
void vb_set(const char *owner, const char *field, VBValue value);
void vb_show(const char *form);
void vb_hide(const char *form);
void vb_unload(const char *form);
void vb_end(void);
VBValue vb_msgbox(VBValue message, VBValue title);
void vb_print(VBValue message);

/* The program's own SQLite database (DBOpen, DBExecute, DBQuery, DBRows). */
void vb_db_open(VBValue provider, VBValue filename);
void vb_db_exec(int argc, VBValue *args, int query);
VBValue vb_db_rows(void);

/* Runs the program: opens the startup form (unless it is "Sub Main") and
 * dispatches X11 events until the last form closes or End runs. */
void vb_run(const VBFormDef *forms, size_t count, const char *startup,
            void (*handler)(int form, int control, const char *event),
            void (*initialize)(void));

#ifdef __cplusplus
}
#endif

#include "vb_lang.h"

#endif /* CORVANE_NATIVE_H */
