/* Corvane native runtime: the interface of the language parts kept in their
 * own files (error handlers, arrays with bounds, records). Included by
 * vb_native.h; plain C11. */
#ifndef CORVANE_NATIVE_LANG_H
#define CORVANE_NATIVE_LANG_H

#ifdef __cplusplus
extern "C" {
#endif

/* Error handlers. A procedure with On Error keeps one trap entered while a
 * handler or Resume Next is in force; the trap's depth tells whether it is
 * still the innermost one. */
int vb_trap_depth(void);
/* the error being handled goes on to the caller (vb_fail is in vb_native.h) */
#ifdef __cplusplus
[[noreturn]] void vb_err_rethrow(void);
#else
_Noreturn void vb_err_rethrow(void);
#endif

/* GoSub: how deeply one procedure's GoSubs may nest. */
#define VB_GOSUB_DEPTH 4096

/* Arrays with bounds: `bounds` holds a (lower, upper) pair per dimension;
 * subscripts are checked against each dimension. `type` is the element
 * type (its initial value fills new elements; records get one each). */
VBValue vb_array_shape(int dims, VBValue *bounds, const char *type);
VBValue vb_array_new_instances(VBValue array, const char *class_name); /* Dim a(n) As New C */
VBValue vb_array_reshape(VBValue old, int dims, VBValue *bounds, int preserve, const char *type);
VBValue vb_index_at(VBValue array, int count, VBValue *indexes, const char *name);
void vb_index_set_at(VBValue array, int count, VBValue *indexes, VBValue value, const char *name);
VBValue *vb_element_ref(VBValue array, int count, VBValue *indexes, const char *name);

/* An array's record. Elements are stored with the first subscript varying
 * fastest; `dims` is 0 for a plain list counted from 0, else the number of
 * dimensions with their lower bounds and extents. `elem` tells how the
 * elements are stored: values in `items` (a String array's are always
 * texts), or, for the scalar types, their C forms in `data` (Byte: unsigned
 * char, Integer: short, Long: int, Single and Double: double holding the
 * unset mark until a store, as a Double variable does; Boolean: unsigned
 * char 0 or 1). `type` is the element type's name (null for Variant). */
#define VB_MAX_DIMS 8
enum {
    VB_ELEM_VALUE = 0, VB_ELEM_BYTE, VB_ELEM_INTEGER, VB_ELEM_LONG, VB_ELEM_DOUBLE, VB_ELEM_BOOLEAN, VB_ELEM_STRING
};
typedef struct VBArray {
    long long count;
    VBValue *items;
    int dims;
    long long lower[VB_MAX_DIMS], extent[VB_MAX_DIMS];
    int elem;
    void *data;
    const char *type;
    int fixed; /* made by a Dim with bounds (Erase starts its elements again) */
    /* 1 + elem when the array has one dimension, else 0 (also for a record
     * made without vb_array_settle): the one field the inline accessors
     * test. A long long, so that stores into Integer, Long and Double
     * elements cannot alias it and loops keep it in a register. */
    long long flat;
} VBArray;

/* An array with no elements that a subscript of anything not an array
 * reads from, so that the inline accessors load without testing first. */
extern const VBArray vb_no_array;
/* Sets `flat` once the array's dimensions and storage are final. */
void vb_array_settle(VBArray *a);

/* A dynamic array before its first ReDim: no elements, stored as `type`. */
VBValue vb_array_of_type(const char *type);
/* Erase: a fixed-size array with its elements started again, else an
 * empty array of the same element type. */
VBValue vb_array_erase(VBValue array);

/* Typed elements of one-dimensional arrays, read and written as C forms
 * (long long for Byte, Integer and Long, double, int for Boolean) with
 * subscripts checked ("Subscript out of range") and stores converted
 * ("Overflow for long"). The array comes as its value's kind and object
 * (a variable's value, so that no copy of it is made per access). The
 * inline forms handle arrays stored in that form; the _slow functions
 * everything else. vb_subscript gives a subscript value as a whole number
 * (truncated). */
long long vb_subscript(VBValue index);

/* Whether subscript i of the array (kind, object) stored as `elem` is in
 * range; *k gets its storage position. */
static inline int vb_typed_slot(int kind, const void *object, long long i, int elem, unsigned long long *k) {
    const VBArray *a = kind == VB_ARRAY && object ? (const VBArray *)object : &vb_no_array;
    *k = (unsigned long long)i - (unsigned long long)a->lower[0];
    return (a->flat == elem + 1) & (*k < (unsigned long long)a->count);
}

/* One element type's accessors: NAME, storage code, C storage type, C
 * value type, and the condition a value must meet to be stored as it is. */
#define VB_TYPED_ELEMENTS(NAME, ELEM, STORED, VALUE, FITS)                                                    \
    VALUE vb_##NAME##_get_slow(int kind, void *array, long long i, const char *name);                          \
    void vb_##NAME##_set_slow(int kind, void *array, long long i, VALUE value, const char *name);              \
    static inline VALUE vb_##NAME##_get_(int kind, void *object, long long i, const char *name) {             \
        unsigned long long k;                                                                                  \
        if (__builtin_expect(vb_typed_slot(kind, object, i, ELEM, &k), 1))                                     \
            return (VALUE)((STORED *)((VBArray *)object)->data)[k];                                            \
        return vb_##NAME##_get_slow(kind, object, i, name);                                                    \
    }                                                                                                          \
    static inline void vb_##NAME##_set_(int kind, void *object, long long i, VALUE value, const char *name) { \
        unsigned long long k;                                                                                  \
        if (__builtin_expect(vb_typed_slot(kind, object, i, ELEM, &k) && (FITS), 1))                           \
            ((STORED *)((VBArray *)object)->data)[k] = (STORED)value;                                          \
        else                                                                                                   \
            vb_##NAME##_set_slow(kind, object, i, value, name);                                                \
    }
VB_TYPED_ELEMENTS(byte, VB_ELEM_BYTE, unsigned char, long long, value >= 0 && value <= 255)
VB_TYPED_ELEMENTS(integer, VB_ELEM_INTEGER, short, long long, value >= -32768 && value <= 32767)
VB_TYPED_ELEMENTS(long, VB_ELEM_LONG, int, long long, value >= -2147483647LL - 1 && value <= 2147483647LL)
VB_TYPED_ELEMENTS(double, VB_ELEM_DOUBLE, double, double, 1)
VB_TYPED_ELEMENTS(bool, VB_ELEM_BOOLEAN, unsigned char, int, value == 0 || value == 1)
#undef VB_TYPED_ELEMENTS

/* vb_long_get(array, i, name), vb_long_set(array, i, value, name), ...;
 * `array` is a variable (read twice). */
#define vb_byte_get(array, i, name) vb_byte_get_((array).kind, (array).object, i, name)
#define vb_byte_set(array, i, value, name) vb_byte_set_((array).kind, (array).object, i, value, name)
#define vb_integer_get(array, i, name) vb_integer_get_((array).kind, (array).object, i, name)
#define vb_integer_set(array, i, value, name) vb_integer_set_((array).kind, (array).object, i, value, name)
#define vb_long_get(array, i, name) vb_long_get_((array).kind, (array).object, i, name)
#define vb_long_set(array, i, value, name) vb_long_set_((array).kind, (array).object, i, value, name)
#define vb_double_get(array, i, name) vb_double_get_((array).kind, (array).object, i, name)
#define vb_double_set(array, i, value, name) vb_double_set_((array).kind, (array).object, i, value, name)
#define vb_bool_get(array, i, name) vb_bool_get_((array).kind, (array).object, i, name)
#define vb_bool_set(array, i, value, name) vb_bool_set_((array).kind, (array).object, i, value, name)

/* Records (Type blocks): `types` holds each field's type, "type[count]"
 * for an array field. Fields are read and written with vb_member_get and
 * vb_member_set. */
void vb_register_record(const char *name, int nfields, const char **names, const char **types);
VBValue vb_new_record(const char *name);
/* ReDim of a record's array field (Items() As T); one declared with bounds
 * keeps them ("This array is fixed or temporarily locked: {written}"). */
void vb_redim_field(VBValue owner, const char *field, int n, VBValue *bounds, int preserve, const char *written);
/* A record as assignment stores it: a copy of its own (nested records and
 * array fields too); any other value unchanged. */
VBValue vb_record_copy(VBValue value);

/* The Mid statement: `text` with code points from `start` replaced by the
 * value's (at most `length` when has_length), keeping its length. */
VBValue vb_mid_replace(VBValue text, VBValue start, VBValue length, int has_length, VBValue value);

/* Print lists: the items of one Debug.Print ("a; b, Spc(2) c;"), then its
 * end (newline 0 after a trailing separator keeps the line open). */
void vb_print_item(VBValue value);
void vb_print_zone(void);
void vb_print_spc(VBValue count);
void vb_print_tab(VBValue column);
void vb_print_end(int newline);

/* Sequential file channels: mode 0 Input, 1 Output, 2 Append. Print #
 * is vb_file_print_begin followed by the print list functions above. */
void vb_file_open(VBValue path, int mode, VBValue number);
void vb_file_close(VBValue number);
void vb_file_close_all(void);
void vb_file_print_begin(VBValue number);
void vb_file_write(VBValue number, int argc, VBValue *values, int open_line);
VBValue vb_file_line(VBValue number);
VBValue vb_file_field(VBValue number, const char *type);

/* The arguments of the event being dispatched (MouseDown: Button, Shift,
 * X, Y); missing ones are 0. */
void vb_event_args(int n, VBValue *out);
void vb_event_args_return(int n, VBValue *in);
void vb_do_events(void);

/* Imp and Eqv; TypeOf value Is name; a "&H…"/"&O…" text as its number
 * (other values as they are); a text cut or padded to a String * width;
 * LSet and RSet of a new value into an old one. */
VBValue vb_imp(VBValue a, VBValue b);
VBValue vb_eqv(VBValue a, VBValue b);
VBValue vb_typeof_is(VBValue value, VBValue name);
VBValue vb_radix_text(VBValue value);
VBValue vb_fixed_text(VBValue value, long long width);
VBValue vb_lset(VBValue old, VBValue value);
VBValue vb_rset(VBValue old, VBValue value);
VBValue vb_instr_compare(int argc, VBValue *args);
VBValue vb_instrrev_compare(int argc, VBValue *args);
/* Replace(text, find, replacement, start, [count], [compare]) */
VBValue vb_replace_from(int argc, VBValue *args);

#ifdef __cplusplus
}
#endif

#endif /* CORVANE_NATIVE_LANG_H */
