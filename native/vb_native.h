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

/* One BASIC value. The bytes a value sees never change, so values may be
 * copied freely and share their text. A text buffer may grow at its end
 * (appending in place), so `text` is NUL-terminated at `length` unless the
 * buffer grew after the value was taken; vb_string gives a C string. */
typedef struct VBValue {
    int kind;               /* one of the value kinds above */
    union {
        double number;      /* the number of a VB_NUMBER value */
        long long integer;  /* the value of a VB_INTEGER, -1 or 0 for a VB_BOOLEAN */
        long long length;   /* the byte length of a VB_STRING's text */
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
    int array_member; /* 1 for a member of a control array (same name, own index) */
    int index;        /* its index within the array */
    int run_time;     /* 1 for a member added by Load */
    int group;        /* option buttons of one group (1 + their container's position; 0: on the form)
                       * exclude each other */
    int default_button, cancel_button; /* a CommandButton that Enter / Escape presses */
    int tab_index;                     /* its place in the order Tab moves the focus in */
} VBControlDef;

/* One entry of a form's flat menu table: each top-level menu (parent -1) is
 * followed by its children (parent = the index of their top-level menu). */
typedef struct VBMenuDef {
    const char *name;
    const char *caption;
    int parent;
    int enabled, visible, checked;
    int array_member, index; /* a member of a menu array and its index */
    int depth; /* 2 and more: an item of a submenu, shown indented in its drop-down */
    int after; /* a member added by Load: 1 + the entry it is shown after; 0 otherwise */
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
    int key_preview; /* the form sees keys before its controls */
} VBFormDef;

/* Objects, classes and ADO. */
VBValue vb_nothing(void);
VBValue vb_new(const char *name);
int vb_object_is(VBValue object, const char *name);
VBValue vb_member_get(VBValue object, const char *name);
void vb_member_set(VBValue object, const char *name, VBValue value);
VBValue vb_element_of(VBValue result, int n, VBValue *indexes);
VBValue vb_index_result(VBValue result, int argc, VBValue *args, const char *class_name, const char *member);
VBValue vb_member_call(VBValue object, const char *name, int argc, VBValue *args);
/* x.Name = value and x.Method args as statements, with the owner as written
 * for the message when x holds no object. */
void vb_member_let(VBValue object, const char *owner, const char *name, VBValue value);
VBValue vb_method_statement(VBValue object, const char *owner, const char *name, int argc, VBValue *args);
void vb_register_class(const char *name, int nfields, const char **names, const char **types);
void vb_set_class_handler(VBValue (*handler)(VBValue, const char *, int, VBValue *));

/* Values, conversions, operators and built-in functions. */
VBValue vb_num(double value);   /* a Double */
VBValue vb_int(long long value); /* an Integer */
VBValue vb_bool(int value);      /* True when value is not 0 */
VBValue vb_str(const char *value);
/* Len(v), as the built-in of that name gives it. */
long long vb_len(VBValue v);
/* Left, Right, Mid, InStr and Chr as vb_builtin gives them, called
 * without the lookup by name. */
VBValue vb_builtin_left(int argc, VBValue *args);
VBValue vb_builtin_right(int argc, VBValue *args);
VBValue vb_builtin_mid(int argc, VBValue *args);
VBValue vb_builtin_instr(int argc, VBValue *args);
VBValue vb_builtin_chr(int argc, VBValue *args);
/* The text of a string literal (one value per literal, made once). */
VBValue vb_literal(const char *text);
VBValue vb_copy(VBValue value);
VBValue *vb_temporary(VBValue value);
/* Stores value in cell (a compound literal of the caller's statement) and
 * gives the cell: an argument passed by value without allocating. */
static inline VBValue *vb_cell(VBValue *cell, VBValue value) {
    *cell = value;
    return cell;
}
VBValue vb_coerce(VBValue value, const char *type);
double vb_number(VBValue value);
VBValue vb_to_number(VBValue value); /* the numeric conversion: an Integer or a Double */
int vb_truth(VBValue value);
const char *vb_string(VBValue value);
VBValue vb_op(const char *operation, VBValue a, VBValue b);
VBValue vb_not(VBValue a);
VBValue vb_neg(VBValue a);
VBValue vb_builtin(const char *name, int argc, VBValue *args);
/* The text forms of a and b joined (the operator &). */
VBValue vb_concat(VBValue a, VBValue b);
/* *target = *target & piece, growing the target's text in place when it
 * ends its buffer (amortised O(1) for a text built piece by piece). */
void vb_append(VBValue *target, VBValue piece);
/* The same for a piece that is a literal of `length` bytes. */
void vb_append_literal(VBValue *target, const char *text, size_t length);
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
void vb_err_set(const char *property, VBValue value); /* Number, Description, Source */
void vb_err_clear(void);
void vb_err_raise(int argc, VBValue *args); /* number, [source], [description] */

/* Operators by code, for generated code that knows the operator when it
 * is compiled: vb_binary(VB_OP_ADD, a, b) is vb_op("+", a, b), and
 * vb_test gives the truth of such a result directly. */
enum {
    VB_OP_CONCAT = 1, VB_OP_ADD, VB_OP_SUB, VB_OP_MUL, VB_OP_DIV, VB_OP_IDIV, VB_OP_MOD, VB_OP_POW,
    VB_OP_AND, VB_OP_OR, VB_OP_XOR, VB_OP_EQ, VB_OP_NE, VB_OP_LT, VB_OP_GT, VB_OP_LE, VB_OP_GE, VB_OP_IS, VB_OP_LIKE
};
VBValue vb_binary(int operation, VBValue a, VBValue b);
int vb_test(int operation, VBValue a, VBValue b);
/* Two texts compared by code points: -1, 0 or 1. */
int vb_text_compare(VBValue a, VBValue b);

/* A runtime failure with this message (trapped by On Error like any other). */
#ifdef __cplusplus
[[noreturn]] void vb_fail(const char *message);
#else
_Noreturn void vb_fail(const char *message);
#endif

/* Typed variables. Integer, Long and Byte variables are C long longs,
 * Single and Double ones C doubles, Boolean ones C ints (0 or 1). A number
 * whose kind (Integer or Double) is known only at run time travels as a
 * long double, which holds every Integer and every Double exactly; the
 * vb_n_ helpers compute on such numbers exactly as the operators do
 * (two whole numbers add as Integers, anything else as Doubles). Stores
 * round halves to even and check the type's range ("Overflow for long"). */
long long vb_store_whole(long double value, long long low, long long high, const char *type);

static inline long long vb_store_value(VBValue value, long long low, long long high, const char *type) {
    if (value.kind == VB_INTEGER && value.integer >= low && value.integer <= high) return value.integer;
    return vb_coerce(value, type).integer;
}

/* "Overflow for {type}": a whole number stored out of its type's range. */
#if defined(__GNUC__)
__attribute__((cold))
#endif
#ifdef __cplusplus
[[noreturn]] void vb_store_overflow(const char *type);
#else
_Noreturn void vb_store_overflow(const char *type);
#endif

static inline long long vb_store_int(long long value, long long low, long long high, const char *type) {
    if (__builtin_expect(value < low || value > high, 0)) vb_store_overflow(type);
    return value;
}

static inline int vb_n_whole(long double a, long long *out) {
    if (a >= -9223372036854775808.0L && a < 9223372036854775808.0L) {
        long long i = (long long)a;
        if ((long double)i == a) {
            *out = i;
            return 1;
        }
    }
    return 0;
}

static inline long double vb_n_add(long double a, long double b) {
    long long x, y, r;
    if (vb_n_whole(a, &x) && vb_n_whole(b, &y) && !__builtin_add_overflow(x, y, &r)) return (long double)r;
    return (long double)((double)a + (double)b);
}

static inline long double vb_n_sub(long double a, long double b) {
    long long x, y, r;
    if (vb_n_whole(a, &x) && vb_n_whole(b, &y) && !__builtin_sub_overflow(x, y, &r)) return (long double)r;
    return (long double)((double)a - (double)b);
}

static inline long double vb_n_mul(long double a, long double b) {
    long long x, y, r;
    if (vb_n_whole(a, &x) && vb_n_whole(b, &y) && !__builtin_mul_overflow(x, y, &r)) return (long double)r;
    return (long double)((double)a * (double)b);
}

static inline double vb_n_div(long double a, long double b) {
    long long x, y;
    const int whole = vb_n_whole(a, &x) && vb_n_whole(b, &y);
    const double d = (double)b;
    if (d == 0.0) vb_fail(whole ? "division by zero" : "float division by zero");
    return (double)a / d;
}

/* A Double variable holds the Integer 0 until its first store; a
 * signalling NaN with its own payload (which no arithmetic produces)
 * marks that state. Reads go through vb_double_read (as a number) and
 * vb_double_value (as a value). */
#define VB_DOUBLE_UNSET_BITS 0x7FF4C0DE00000001ULL
static inline double vb_double_unset(void) {
    double d;
    unsigned long long u = VB_DOUBLE_UNSET_BITS;
    __builtin_memcpy(&d, &u, sizeof d);
    return d;
}
#define VB_DOUBLE_UNSET vb_double_unset()
static inline int vb_double_is_unset(double d) {
    unsigned long long u;
    __builtin_memcpy(&u, &d, sizeof u);
    return u == VB_DOUBLE_UNSET_BITS;
}
static inline double vb_double_read(double d) { return vb_double_is_unset(d) ? 0.0 : d; }
static inline VBValue vb_double_value(double d) { return vb_double_is_unset(d) ? vb_int(0) : vb_num(d); }

static inline long long vb_i_idiv(long long x, long long y);
static inline long long vb_i_mod(long long x, long long y);
/* Integer-only attempts. A function that only computes with Integers and
 * calls such functions (so running it twice changes nothing) first runs
 * an Integer-only version of itself, in which an operation whose result
 * would leave 64 bits jumps back (vb_attempt_overflow) and the function
 * runs again with exact values. vb_attempt_begin gives 0 while another
 * attempt is running (the function then runs with values at once). */
int vb_attempt_begin(jmp_buf *jump);
void vb_attempt_end(void);
#ifdef __cplusplus
[[noreturn]] void vb_attempt_overflow(void);
#else
_Noreturn void vb_attempt_overflow(void);
#endif
/* Integer-only versions are small and often call themselves: GCC inlines
 * such a function into itself a few levels deep only with the inlining
 * limits of -O3, which cuts most of the calls of a recursion. */
#if defined(__GNUC__) && !defined(__clang__)
#define VB_ATTEMPT_FUNCTION __attribute__((optimize("O3")))
#else
#define VB_ATTEMPT_FUNCTION
#endif
static inline long long vb_try_add(long long a, long long b) {
    long long r;
    if (__builtin_add_overflow(a, b, &r)) vb_attempt_overflow();
    return r;
}
static inline long long vb_try_sub(long long a, long long b) {
    long long r;
    if (__builtin_sub_overflow(a, b, &r)) vb_attempt_overflow();
    return r;
}
static inline long long vb_try_mul(long long a, long long b) {
    long long r;
    if (__builtin_mul_overflow(a, b, &r)) vb_attempt_overflow();
    return r;
}
static inline long long vb_try_neg(long long a) {
    if (a == -9223372036854775807LL - 1) vb_attempt_overflow();
    return -a;
}

static inline long long vb_try_idiv(long long x, long long y) { return y == -1 ? vb_try_neg(x) : vb_i_idiv(x, y); }
static inline long long vb_try_mod(long long x, long long y) { return y == -1 ? 0 : vb_i_mod(x, y); }

/* Floor division and its remainder (the divisor's sign) of two Integers
 * that are not the most negative one. */
static inline long long vb_i_idiv(long long x, long long y) {
    if (y == 0) vb_fail("integer division or modulo by zero");
    long long q = x / y, m = x % y;
    if (m != 0 && ((m < 0) != (y < 0))) q -= 1;
    return q;
}

static inline long long vb_i_mod(long long x, long long y) {
    if (y == 0) vb_fail("integer modulo by zero");
    long long m = x % y;
    if (m != 0 && ((m < 0) != (y < 0))) m += y;
    return m;
}

/* For loops: Step 0 stops the program; the loop goes on while the counter
 * has not passed the end in the step's direction. */
void vb_for_check(VBValue step);
/* On n GoTo/GoSub: n rounded to a whole number, 0 to 255. */
long long vb_on_choice(VBValue n);
int vb_for_continues(VBValue counter, VBValue end, VBValue step);
VBValue vb_for_next(VBValue counter, VBValue step);

/* Forms, controls and App. */
VBValue vb_get(const char *owner, const char *field);
void vb_set(const char *owner, const char *field, VBValue value);
void vb_show(const char *form);
/* Graphics methods of a form or picture box (owner "Me" for the running
 * form): PSet, Line with "", "B" or "BF", Circle, Cls. */
void vb_pset(const char *owner, int step, VBValue x, VBValue y, int has_color, VBValue color);
void vb_line(const char *owner, int has_from, int step1, VBValue x1, VBValue y1, int step2, VBValue x2, VBValue y2,
             int has_color, VBValue color, const char *box);
void vb_circle(const char *owner, int step, VBValue x, VBValue y, VBValue radius, int has_color, VBValue color);
void vb_scale(const char *owner, int has_corners, VBValue x1, VBValue y1, VBValue x2, VBValue y2);
void vb_cls(const char *owner);
/* Print on a form or picture box: the items and vb_print_end that follow go there. */
void vb_surface_print_begin(const char *owner);
/* Beep: the bell, and "Beep" on standard output. */
void vb_beep(void);
/* Forms as values: a form by name ("Me" for the running form), the loaded
 * forms (Forms), and Unload of a form held in a variable. */
VBValue vb_form_object(const char *name);
VBValue vb_forms(void);
void vb_unload_value(VBValue form);
/* Controls as values: a control by name (a control array's name gives the
 * array), a member of an array, a form's Controls. Members, For Each and
 * list(i) work on them as on the controls themselves. */
VBValue vb_control_object(const char *name);
VBValue vb_control_object_at(const char *name, VBValue index);
VBValue vb_control_array_object(const char *name);
VBValue vb_form_controls(const char *form);
VBValue vb_form_control(const char *form, const char *name);
VBValue vb_form_control_at(const char *form, const char *name, VBValue index);
int vb_is_control_list(VBValue value);
VBValue vb_control_list_items(VBValue list);
VBValue vb_control_list_item(VBValue list, VBValue index);
/* Show with its style argument: vbModal (1) waits, running events, until
 * the form is hidden or unloaded. */
void vb_show_modal(const char *form, VBValue style);
/* App.Title and App.EXEName of the program (the project's). */
void vb_set_app(const char *title, const char *exe_name);
/* App.Major, Minor, Revision and, in this order, CompanyName,
 * FileDescription, ProductName, LegalCopyright, Comments and HelpFile. */
void vb_set_app_version(int major, int minor, int revision, const char *const texts[6]);
/* Loads a form (its Load event runs once) and leaves it hidden. */
void vb_load_form(const char *form);
void vb_hide(const char *form);
void vb_unload(const char *form);
/* A member of a control array (cmdKey(3).Caption); SetFocus. */
VBValue vb_get_at(const char *name, VBValue index, const char *field);
void vb_set_at(const char *name, VBValue index, const char *field, VBValue value);
void vb_set_focus(const char *owner);
void vb_set_focus_at(const char *name, VBValue index);
/* Load and Unload of control array members at run time; the event
 * dispatcher asks whether a control is a member of an array and its index. */
void vb_load_member(const char *name, VBValue index);
void vb_unload_member(const char *name, VBValue index);
int vb_is_member(int form, int control, const char *name);
long long vb_member_index(int form, int control);
/* Menu handlers are found by name: whether a menu entry (control -2 - k) is
 * named so, and its index in its menu array. */
int vb_menu_is(int form, int control, const char *name);
long long vb_menu_index(int form, int control);
/* Binary and Random file channels: Open, Get (returns the value read; a
 * record or array is filled in place), Put and Seek. */
void vb_file_open_direct(VBValue path, int random, VBValue number, VBValue record_length, int has_length);
void vb_file_put(VBValue number, VBValue record, int has_record, VBValue value, const char *type);
VBValue vb_file_get(VBValue number, VBValue record, int has_record, VBValue current, const char *type);
void vb_file_seek(VBValue number, VBValue position);
/* An indexed member assigned (lstNames.ItemData(i) = n), of a control or
 * of a control array's member. */
void vb_control_let(const char *owner, const char *member, int argc, VBValue *args, VBValue value);
void vb_control_let_at(const char *name, VBValue index, const char *member, int argc, VBValue *args,
                       VBValue value);
/* A method of a control (lstNames.AddItem s) or of a control array's member. */
VBValue vb_control_call(const char *owner, const char *method, int argc, VBValue *args);
VBValue vb_control_call_at(const char *name, VBValue index, const char *method, int argc, VBValue *args);
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

/* Generated code (and anything else outside the library) takes inline
 * forms of the commonest value operations: Integers and Booleans are
 * handled on the spot, everything else goes to the library's functions.
 * The results are the functions' results. */
#ifndef VB_NATIVE_IMPLEMENTATION
/* A value is written as two 16-byte halves where the target allows: a copy
 * of the whole value (two 16-byte loads) that soon follows then reads what
 * the stores wrote, where field-sized stores would make it wait. `bits` is
 * the union's 8 bytes (a number's or an Integer's). */
#if defined(__GNUC__) && defined(__SSE2__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
#define VB_VALUE_HALVES 1
typedef long long vb_value_half __attribute__((vector_size(16)));
#endif
static inline void vb_put_whole(VBValue *v, int kind, long long bits) {
#ifdef VB_VALUE_HALVES
    const vb_value_half head = {(long long)(unsigned)kind, bits}, tail = {0, 0};
    __builtin_memcpy(v, &head, sizeof head);
    __builtin_memcpy((char *)v + sizeof head, &tail, sizeof tail);
#else
    v->kind = kind;
    v->integer = bits;
    v->text = 0;
    v->object = 0;
#endif
}
static inline VBValue vb_int_inline(long long value) {
    VBValue v;
    vb_put_whole(&v, VB_INTEGER, value);
    return v;
}
/* A variable that Option Explicit code has not declared reads as an error
 * until something is stored in it: it starts as Integer 0 carrying this
 * mark (a store replaces the whole value, mark and all). */
extern const char vb_undeclared_mark;
#if defined(__GNUC__)
__attribute__((cold))
#endif
#ifdef __cplusplus
[[noreturn]] void vb_fail_undeclared(const char *name);
#else
_Noreturn void vb_fail_undeclared(const char *name);
#endif
static inline VBValue vb_undeclared(void) {
    VBValue v = vb_int_inline(0);
    v.object = (void *)&vb_undeclared_mark;
    return v;
}
static inline VBValue vb_declared_read(VBValue v, const char *name) {
    if (__builtin_expect(v.kind == VB_INTEGER && v.object == &vb_undeclared_mark, 0)) vb_fail_undeclared(name);
    return v;
}
static inline VBValue vb_num_inline(double value) {
    VBValue v;
    long long bits;
    __builtin_memcpy(&bits, &value, sizeof bits);
    vb_put_whole(&v, VB_NUMBER, bits);
    return v;
}
static inline VBValue vb_bool_inline(int value) {
    VBValue v;
    vb_put_whole(&v, VB_BOOLEAN, value ? -1 : 0);
    return v;
}
static inline int vb_truth_inline(VBValue v) {
    if (v.kind == VB_INTEGER || v.kind == VB_BOOLEAN) return v.integer != 0;
    return (vb_truth)(v);
}
static inline VBValue vb_binary_inline(int operation, VBValue a, VBValue b) {
    if (a.kind == VB_INTEGER && b.kind == VB_INTEGER) {
        long long x = a.integer, y = b.integer, r;
        switch (operation) {
        case VB_OP_ADD:
            if (!__builtin_add_overflow(x, y, &r)) return vb_int_inline(r);
            break;
        case VB_OP_SUB:
            if (!__builtin_sub_overflow(x, y, &r)) return vb_int_inline(r);
            break;
        case VB_OP_MUL:
            if (!__builtin_mul_overflow(x, y, &r)) return vb_int_inline(r);
            break;
        case VB_OP_MOD:
            if (y != 0 && y != -1) return vb_int_inline(vb_i_mod(x, y));
            break;
        case VB_OP_IDIV:
            if (y != 0 && y != -1) return vb_int_inline(vb_i_idiv(x, y));
            break;
        default: break;
        }
    }
    return (vb_binary)(operation, a, b);
}
static inline int vb_test_inline(int operation, VBValue a, VBValue b) {
    if (a.kind == VB_INTEGER && b.kind == VB_INTEGER) {
        switch (operation) {
        case VB_OP_EQ: return a.integer == b.integer;
        case VB_OP_NE: return a.integer != b.integer;
        case VB_OP_LT: return a.integer < b.integer;
        case VB_OP_GT: return a.integer > b.integer;
        case VB_OP_LE: return a.integer <= b.integer;
        case VB_OP_GE: return a.integer >= b.integer;
        default: break;
        }
    }
    return (vb_test)(operation, a, b);
}
static inline int vb_for_continues_inline(VBValue counter, VBValue end, VBValue step) {
    if (counter.kind == VB_INTEGER && end.kind == VB_INTEGER && step.kind == VB_INTEGER)
        return step.integer > 0 ? counter.integer <= end.integer : counter.integer >= end.integer;
    return (vb_for_continues)(counter, end, step);
}
static inline VBValue vb_for_next_inline(VBValue counter, VBValue step) {
    long long r;
    if (counter.kind == VB_INTEGER && step.kind == VB_INTEGER && !__builtin_add_overflow(counter.integer, step.integer, &r))
        return vb_int_inline(r);
    return (vb_for_next)(counter, step);
}
static inline double vb_number_inline(VBValue value) {
    if (value.kind == VB_NUMBER) return value.number;
    if (value.kind == VB_INTEGER) return (double)value.integer;
    return (vb_number)(value);
}
static inline VBValue vb_to_number_inline(VBValue value) {
    if (value.kind == VB_INTEGER) return value;
    return (vb_to_number)(value);
}
#define vb_int(value) vb_int_inline(value)
#if defined(__GNUC__) && !defined(__cplusplus)
/* A literal text is made once (vb_literal), any other text copied. */
#define vb_str(text) (__builtin_constant_p(text) ? vb_literal(text) : (vb_str)(text))
#endif
#define vb_num(value) vb_num_inline(value)
#define vb_bool(value) vb_bool_inline(value)
#define vb_truth(value) vb_truth_inline(value)
#define vb_binary(operation, a, b) vb_binary_inline(operation, a, b)
#define vb_test(operation, a, b) vb_test_inline(operation, a, b)
#define vb_for_continues(counter, end, step) vb_for_continues_inline(counter, end, step)
#define vb_for_next(counter, step) vb_for_next_inline(counter, step)
#define vb_to_number(value) vb_to_number_inline(value)
#define vb_number(value) vb_number_inline(value)
#endif

#ifdef __cplusplus
}
#endif

#include "vb_lang.h"

#ifndef VB_NATIVE_IMPLEMENTATION
/* Whole-number fast paths for Variant code. Generated code first computes
 * an expression over Variants as if each held an Integer: vb_fast_int
 * reads one, the vb_fast_ operators compute exactly as the dynamic
 * operators do on two Integers. Anything else (another kind, an overflow,
 * a division by 0 or -1, an element that is not there) clears *ok, and
 * the code then evaluates the expression again on the dynamic path, which
 * gives the language's result or error. The fast forms read only: they
 * never fail and never change a variable. */
static inline long long vb_fast_int(const VBValue *v, int *ok) {
    if (v->kind == VB_INTEGER) return v->integer;
    *ok = 0;
    return 0;
}
static inline long long vb_fast_add(long long a, long long b, int *ok) {
    long long r;
    if (__builtin_add_overflow(a, b, &r)) *ok = 0;
    return r;
}
static inline long long vb_fast_sub(long long a, long long b, int *ok) {
    long long r;
    if (__builtin_sub_overflow(a, b, &r)) *ok = 0;
    return r;
}
static inline long long vb_fast_mul(long long a, long long b, int *ok) {
    long long r;
    if (__builtin_mul_overflow(a, b, &r)) *ok = 0;
    return r;
}
static inline long long vb_fast_neg(long long a, int *ok) {
    if (a == -9223372036854775807LL - 1) {
        *ok = 0;
        return 0;
    }
    return -a;
}
static inline long long vb_fast_mod(long long a, long long b, int *ok) {
    if (b == 0 || b == -1) {
        *ok = 0;
        return 0;
    }
    return vb_i_mod(a, b);
}
static inline long long vb_fast_idiv(long long a, long long b, int *ok) {
    if (b == 0 || b == -1) {
        *ok = 0;
        return 0;
    }
    return vb_i_idiv(a, b);
}

/* Element k of a Variant array when it is in range and holds an Integer. */
static inline long long vb_fast_item(const VBValue *array, long long i, int *ok) {
    const VBArray *a = (const VBArray *)array->object;
    if (array->kind == VB_ARRAY && a && a->flat == VB_ELEM_VALUE + 1) {
        const unsigned long long k = (unsigned long long)i - (unsigned long long)a->lower[0];
        if (k < (unsigned long long)a->count && a->items[k].kind == VB_INTEGER) return a->items[k].integer;
    }
    *ok = 0;
    return 0;
}

/* A For loop over a Variant counter. While start, end and step are
 * Integers the counter runs as a C whole number (`whole`); a step past
 * the 64-bit range hands it to the dynamic counter (vb_for_next), which
 * goes on as a Double, as the dynamic loop does. */
typedef struct VBForLoop {
    VBValue counter, end, step;
    long long at, last, by;
    int whole;
} VBForLoop;
static inline void vb_for_start(VBForLoop *f, VBValue start, VBValue end, VBValue step) {
    f->counter = start;
    f->end = end;
    f->step = step;
    f->whole = start.kind == VB_INTEGER && end.kind == VB_INTEGER && step.kind == VB_INTEGER;
    f->at = start.integer;
    f->last = end.integer;
    f->by = step.integer;
}
static inline int vb_for_more(const VBForLoop *f) {
    if (f->whole) return f->by > 0 ? f->at <= f->last : f->at >= f->last;
    return vb_for_continues(f->counter, f->end, f->step);
}
static inline void vb_for_advance(VBForLoop *f) {
    if (f->whole) {
        long long r;
        if (!__builtin_add_overflow(f->at, f->by, &r)) {
            f->at = r;
            return;
        }
        f->counter = vb_int(f->at);
        f->whole = 0;
    }
    f->counter = vb_for_next(f->counter, f->step);
}
static inline VBValue vb_for_value(const VBForLoop *f) { return f->whole ? vb_int(f->at) : f->counter; }
/* Puts the Integer x into a Variant variable field by field, as the fast
 * forms read it: a loop that keeps the variable in memory then reads back
 * each field from the store that wrote it. */
static inline void vb_put_int(VBValue *v, long long x) {
    v->kind = VB_INTEGER;
    v->integer = x;
    v->text = 0;
    v->object = 0;
}
/* An argument's cell holding the Integer x, written whole: the procedure
 * called mostly copies its parameters whole. */
static inline VBValue *vb_cell_int(VBValue *cell, long long x) {
    vb_put_whole(cell, VB_INTEGER, x);
    return cell;
}
/* The loop's variable receives the counter. */
static inline void vb_for_give(const VBForLoop *f, VBValue *variable) {
    if (f->whole) vb_put_int(variable, f->at);
    else *variable = f->counter;
}

/* Variant arrays' elements read and replaced on the spot when the array
 * is a plain list of values and the subscript an Integer in range (a
 * record is copied by the library's function). */
static inline VBValue vb_index_inline(VBValue array, VBValue index, const char *name) {
    const VBArray *a = (const VBArray *)array.object;
    if (array.kind == VB_ARRAY && index.kind == VB_INTEGER && a && a->flat == VB_ELEM_VALUE + 1) {
        const unsigned long long k = (unsigned long long)index.integer - (unsigned long long)a->lower[0];
        if (k < (unsigned long long)a->count) return a->items[k];
    }
    return (vb_index)(array, index, name);
}
static inline void vb_index_set_inline(VBValue array, VBValue index, VBValue value, const char *name) {
    VBArray *a = (VBArray *)array.object;
    if (array.kind == VB_ARRAY && index.kind == VB_INTEGER && value.kind != VB_OBJECT && a &&
        a->flat == VB_ELEM_VALUE + 1) {
        const unsigned long long k = (unsigned long long)index.integer - (unsigned long long)a->lower[0];
        if (k < (unsigned long long)a->count) {
            a->items[k] = value;
            return;
        }
    }
    (vb_index_set)(array, index, value, name);
}
/* Stores the Integer x as element i of a Variant array when `ok` and the
 * array is a plain list of values with i in range; 0 when it did not. */
static inline int vb_fast_store(VBValue *array, int ok, long long i, long long x) {
    VBArray *a = (VBArray *)array->object;
    if (!ok || array->kind != VB_ARRAY || !a || a->flat != VB_ELEM_VALUE + 1) return 0;
    const unsigned long long k = (unsigned long long)i - (unsigned long long)a->lower[0];
    if (k >= (unsigned long long)a->count) return 0;
    vb_put_int(&a->items[k], x);
    return 1;
}
#define vb_index(array, index, name) vb_index_inline(array, index, name)
#define vb_index_set(array, index, value, name) vb_index_set_inline(array, index, value, name)
#endif

#endif /* CORVANE_NATIVE_H */
