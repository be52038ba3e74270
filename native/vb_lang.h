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

/* Arrays with bounds: `bounds` holds a (lower, upper) pair per dimension;
 * subscripts are checked against each dimension. `type` is the element
 * type (its initial value fills new elements; records get one each). */
VBValue vb_array_shape(int dims, VBValue *bounds, const char *type);
VBValue vb_array_reshape(VBValue old, int dims, VBValue *bounds, int preserve, const char *type);
VBValue vb_index_at(VBValue array, int count, VBValue *indexes, const char *name);
void vb_index_set_at(VBValue array, int count, VBValue *indexes, VBValue value, const char *name);
VBValue *vb_element_ref(VBValue array, int count, VBValue *indexes, const char *name);

/* Records (Type blocks): `types` holds each field's type, "type[count]"
 * for an array field. Fields are read and written with vb_member_get and
 * vb_member_set. */
void vb_register_record(const char *name, int nfields, const char **names, const char **types);
VBValue vb_new_record(const char *name);
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

#ifdef __cplusplus
}
#endif

#endif /* CORVANE_NATIVE_LANG_H */
