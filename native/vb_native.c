/* Corvane native runtime library.
 *
 * This source is carried as data and compiled into every natively built
 * program together with the generated C file. It holds no interpreter: the
 * generated code calls it for values, operators, built-in functions,
 * objects, database access and forms, and it runs the Xlib event loop.
 *
 * Memory is reclaimed by the Boehm-Demers-Weiser conservative collector
 * (Debian package libgc-dev), linked statically so the built program needs
 * no library beyond X11, SQLite and libc. Values stay plain records that are
 * copied freely and share their texts (whose bytes never change; a buffer
 * only grows at its end, see TextHead); the collector finds what is
 * still reachable from the stack, the program's static variables and other
 * live objects. A program is built with:
 *
 *   cc -std=c11 -O2 -Wall -Wextra -I DIR PROGRAM.c -w DIR/vb_native.c \
 *      -o PROGRAM -lX11 -lsqlite3 -lm -l:libgc.a
 *
 * plus, when pkg-config finds the MariaDB client,
 *
 *   -DVB_WITH_MYSQL $(pkg-config --cflags --libs libmariadb)
 *
 * With glibc 2.34 or later the static collector needs neither -lpthread nor
 * -ldl. Defining VB_NO_GC (automatic when <gc.h> is missing) builds without
 * the collector: nothing is freed, and no -l:libgc.a is needed.
 *
 * Sections: memory and failures; values and conversions; operators;
 * built-in functions; classes and objects; ADO over SQLite and MySQL; the
 * program database; forms (state, drawing, input, properties, message box,
 * event loop).
 */
#define _POSIX_C_SOURCE 200809L
#define VB_NATIVE_IMPLEMENTATION /* the functions themselves, not the inline forms */

#include "vb_native.h"

#include <ctype.h>
#include <float.h>
#include <limits.h>
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <time.h>
#include <unistd.h>

#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <sqlite3.h>

#ifdef VB_WITH_MYSQL
#include <mysql.h>
#endif

/* Without the collector's header the library builds without it. */
#if !defined(VB_NO_GC) && defined(__has_include)
#if !__has_include(<gc.h>)
#define VB_NO_GC 1
#endif
#endif
#ifndef VB_NO_GC
#include <gc.h>
#endif

/* Blocks from this size on have their pages made present in one call
 * when they are allocated (a fresh array is written whole at once; a
 * page fault for each of its pages costs more than the writing). */
#define LARGE_BLOCK ((size_t)1 << 20)
#if defined(__linux__)
int madvise(void *address, size_t length, int advice); /* hidden by _POSIX_C_SOURCE */
#define VB_MADV_HUGEPAGE 14
#define VB_MADV_POPULATE_WRITE 23 /* Linux 5.14; older kernels refuse it harmlessly */
/* The whole 2 MB stretches of the block may use huge pages (one page
 * table entry, one clearing each); then every page is made present. */
static void make_present(void *p, size_t size) {
    const uintptr_t page = 4096, huge = (uintptr_t)1 << 21;
    const uintptr_t huge_start = ((uintptr_t)p + huge - 1) & ~(huge - 1), huge_end = ((uintptr_t)p + size) & ~(huge - 1);
    if (huge_end > huge_start) (void)madvise((void *)huge_start, huge_end - huge_start, VB_MADV_HUGEPAGE);
    const uintptr_t start = ((uintptr_t)p + page - 1) & ~(page - 1), end = ((uintptr_t)p + size) & ~(page - 1);
    if (end > start) (void)madvise((void *)start, end - start, VB_MADV_POPULATE_WRITE);
}
#else
static void make_present(void *p, size_t size) {
    (void)p;
    (void)size;
}
#endif

/* ===================================================================== */
/* Memory and failures                                                    */
/* ===================================================================== */

/* Traps entered by On Error Resume Next, innermost last, and the error
 * state that Err shows. */
static jmp_buf *traps[256];
static int trap_depth;
static long long err_number;
static char *err_description;

static char *copy_text(const char *text);
static void note_failure(const char *message);

/* The Integer-only attempt of a function that is running (see
 * vb_attempt_begin): where an overflow jumps back to. */
static jmp_buf *attempt_jump;

/* A failure detected by the library: trapped when a trap is entered, else
 * one line on standard error and status 1. */
static void print_close_open_line(void);

static _Noreturn void fatal(const char *message) {
    attempt_jump = NULL; /* a failure ends any Integer-only attempt */
    if (trap_depth > 0) {
        note_failure(message ? message : "");
        jmp_buf *trap = traps[--trap_depth];
        longjmp(*trap, 1);
    }
    print_close_open_line();
    fflush(stdout);
    fprintf(stderr, "VB native runtime: %s\n", message ? message : "");
    exit(1);
}

/* A request the library does not implement: its own line, status 2. */
static _Noreturn void unsupported(const char *what, const char *a, const char *b) {
    fflush(stdout);
    if (b)
        fprintf(stderr, "%s%s.%s\n", what, a ? a : "", b);
    else
        fprintf(stderr, "%s%s\n", what, a ? a : "");
    exit(2);
}

#ifndef VB_NO_GC
static int collector_ready;

static void collector_start(void) {
    if (!collector_ready) {
        collector_ready = 1;
        GC_set_all_interior_pointers(1); /* values point behind their texts' heads */
        GC_INIT();
    }
}

/* Memory that may hold pointers to other collected memory (zeroed). A
 * large block is first taken without clearing and its pages made present
 * in one call, then given back: the zeroed block that reuses it then
 * clears memory that is there, instead of faulting in page by page. */
static void *vb_alloc(size_t size) {
    collector_start();
    if (size >= LARGE_BLOCK) {
        void *fresh = GC_MALLOC_ATOMIC(size);
        if (fresh) {
            make_present(fresh, size);
            GC_FREE(fresh);
        }
    }
    void *p = GC_MALLOC(size ? size : 1);
    if (!p) fatal("Out of memory");
    return p;
}

/* Memory that never holds pointers: text buffers. Not zeroed. */
static void *alloc_atomic(size_t size) {
    collector_start();
    void *p = GC_MALLOC_ATOMIC(size ? size : 1);
    if (!p) fatal("Out of memory");
    if (size >= LARGE_BLOCK) make_present(p, size);
    return p;
}
#else
static void *vb_alloc(size_t size) {
    void *p = calloc(1, size ? size : 1);
    if (!p) fatal("Out of memory");
    return p;
}

static void *alloc_atomic(size_t size) {
    void *p = malloc(size ? size : 1);
    if (!p) fatal("Out of memory");
    return p;
}
#endif

/* Every text lives in a buffer that starts with this head. A value holds
 * the text pointer and its own byte length; the bytes of a buffer never
 * change once written, but a buffer may grow at its end: appending to a
 * value that reaches the end of its buffer writes the new bytes behind it
 * (in place, amortised O(1)), while values holding a shorter prefix still
 * read their own bytes. The head also remembers what makes character
 * positions cheap: how many leading bytes are ASCII (counted on demand)
 * and one known character position (the last one looked up). */
typedef struct TextHead {
    size_t used;      /* bytes written; a NUL follows them */
    size_t capacity;  /* bytes the buffer can hold before its NUL */
    size_t ascii;     /* the first `ascii` bytes are ASCII; UNKNOWN_SIZE before counting */
    size_t mark_char; /* character number mark_char starts at byte mark_byte */
    size_t mark_byte;
} TextHead;

#define UNKNOWN_SIZE ((size_t)-1)

static inline TextHead *head_of(const char *text) { return (TextHead *)(void *)(text - sizeof(TextHead)); }

/* A text buffer for up to `size` bytes including its NUL; its length is
 * set when a value takes it (text_value). */
static char *vb_alloc_text(size_t size) {
    if (size > SIZE_MAX / 2 - sizeof(TextHead)) fatal("Out of memory");
    if (!size) size = 1;
    TextHead *h = alloc_atomic(sizeof(TextHead) + size);
    h->used = UNKNOWN_SIZE;
    h->capacity = size - 1;
    h->ascii = UNKNOWN_SIZE;
    h->mark_char = h->mark_byte = 0;
    return (char *)(h + 1);
}

static char *copy_bytes(const char *text, size_t length) {
    char *p = vb_alloc_text(length + 1);
    if (length) memcpy(p, text, length);
    p[length] = '\0';
    return p;
}

static char *copy_text(const char *text) {
    if (!text) text = "";
    return copy_bytes(text, strlen(text));
}

/* A double as a C int: truncated toward zero, clamped, NaN as 0. */
static int to_int(double d) {
    if (!(d == d)) return 0;
    if (d >= (double)INT_MAX) return INT_MAX;
    if (d <= (double)INT_MIN) return INT_MIN;
    return (int)d;
}

/* Inline versions of the exported value functions (defined below). */
static inline VBValue dbl_value(double value);
static inline VBValue int_value(long long value);
static int is_record_value(VBValue v);            /* vb_binary_files.c */
static long long record_byte_length(VBValue record);
static inline VBValue bool_value(int value);
static inline VBValue str_value(const char *value);
static inline double number_value(VBValue value);
static inline int truth_of(VBValue value);
static inline const char *string_of(VBValue value);

#define COUNT_OF(a) (sizeof(a) / sizeof((a)[0]))

/* ===================================================================== */
/* Values and conversions                                                 */
/* ===================================================================== */

/* The values follow the interpreter's language: Integers are exact 64-bit
 * whole numbers (a result that overflows becomes a Double), Doubles print in
 * their shortest round-trip form, Booleans print True and False, texts are
 * UTF-8 and every string function counts code points. */

static inline VBValue dbl_value(double value) {
    VBValue v = {.kind = VB_NUMBER, .number = value};
    return v;
}

static inline VBValue int_value(long long value) {
    VBValue v = {.kind = VB_INTEGER, .integer = value};
    return v;
}

static inline VBValue bool_value(int value) {
    VBValue v = {.kind = VB_BOOLEAN, .integer = value ? -1 : 0};
    return v;
}

/* A value for the first `length` bytes of a buffer of vb_alloc_text. A
 * fresh buffer records its length here. */
static inline VBValue text_value_n(const char *owned, size_t length) {
    TextHead *h = head_of(owned);
    if (h->used == UNKNOWN_SIZE) h->used = length;
    VBValue v = {.kind = VB_STRING, .length = (long long)length, .text = owned};
    return v;
}

static VBValue text_value(const char *owned) { return text_value_n(owned, strlen(owned)); }

static inline VBValue str_value(const char *value) { return text_value(copy_text(value)); }

/* The bytes of a text value and their count. A value whose buffer grew
 * after it was taken is not followed by a NUL; text_of and string_of give
 * such values a terminated copy where a C string is needed. */
static inline size_t text_length(VBValue v) { return v.text ? (size_t)v.length : 0; }

static inline const char *c_text(VBValue v) {
    if (!v.text) return "";
    if (v.text[v.length] == '\0') return v.text;
    return copy_bytes(v.text, (size_t)v.length);
}

VBValue vb_copy(VBValue value) {
    if (value.kind == VB_STRING) return text_value_n(copy_bytes(value.text ? value.text : "", text_length(value)), text_length(value));
    return value;
}

VBValue *vb_temporary(VBValue value) {
    VBValue *cell = vb_alloc(sizeof *cell);
    *cell = value;
    return cell;
}

/* --- UTF-8 ------------------------------------------------------------ */

/* Length of the UTF-8 sequence starting at s[i] (of n bytes); a byte that
 * begins no valid sequence counts as one character on its own. */
static size_t utf8_length(const char *s, size_t n, size_t i, uint32_t *cp) {
    const unsigned char c = (unsigned char)s[i];
    size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    if (i + len > n) len = 1;
    for (size_t k = 1; k < len; k++)
        if (((unsigned char)s[i + k] & 0xC0) != 0x80) len = 1;
    if (cp) {
        uint32_t v = len == 1 ? c : len == 2 ? (c & 0x1Fu) : len == 3 ? (c & 0x0Fu) : (c & 0x07u);
        for (size_t k = 1; k < len; k++) v = (v << 6) | ((unsigned char)s[i + k] & 0x3Fu);
        *cp = v;
    }
    return len;
}

/* Length of the ASCII stretch at the start of s, eight bytes at a time. */
static size_t ascii_prefix(const char *s, size_t n) {
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t word;
        memcpy(&word, s + i, 8);
        if (word & 0x8080808080808080ull) break;
    }
    while (i < n && (unsigned char)s[i] < 0x80) i++;
    return i;
}

static int all_ascii(const char *s, size_t n) { return ascii_prefix(s, n) == n; }

/* Number of characters (code points) of s; ASCII texts are their bytes. */
static size_t char_count(const char *s, size_t n) {
    size_t i = ascii_prefix(s, n);
    size_t count = i;
    for (; i < n; count++) i += utf8_length(s, n, i, NULL);
    return count;
}

/* Byte offset of character number k (0-based; n when past the end). */
static size_t char_offset(const char *s, size_t n, size_t k) {
    size_t i = 0;
    while (k > 0 && i < n) {
        i += (unsigned char)s[i] < 0x80 ? 1 : utf8_length(s, n, i, NULL);
        k--;
    }
    return i;
}

/* --- character positions of text values ---------------------------- */

/* How many leading bytes of the value's buffer are ASCII (counted once,
 * then kept up to date by appends). */
static size_t known_ascii(VBValue v) {
    TextHead *h = head_of(v.text);
    if (h->ascii == UNKNOWN_SIZE) h->ascii = ascii_prefix(v.text, h->used == UNKNOWN_SIZE ? (size_t)v.length : h->used);
    return h->ascii;
}

/* Byte offset of character k of the value (0-based); its length when the
 * text has fewer characters, with *reached set to the characters passed.
 * ASCII stretches cost nothing; elsewhere the walk starts from the last
 * position looked up in this buffer when that lies before k, so a loop
 * over positions costs O(1) per step instead of a scan from the start. */
static size_t text_seek(VBValue v, size_t k, size_t *reached) {
    size_t n = text_length(v);
    if (n == 0) {
        *reached = 0;
        return 0;
    }
    size_t ascii = known_ascii(v);
    if (ascii > n) ascii = n;
    if (k <= ascii) {
        *reached = k;
        return k;
    }
    TextHead *h = head_of(v.text);
    size_t c = ascii, b = ascii;
    if (h->mark_byte > b && h->mark_byte <= n && h->mark_char <= k) {
        c = h->mark_char;
        b = h->mark_byte;
    }
    int whole = 1; /* the last step read a complete character */
    while (c < k && b < n) {
        const unsigned char lead = (unsigned char)v.text[b];
        size_t step = lead < 0x80 ? 1 : utf8_length(v.text, n, b, NULL);
        whole = lead < 0x80 || step > 1;
        b += step;
        c++;
    }
    /* A lone lead byte at the end may become part of a character when the
     * buffer grows, so no position is remembered behind it. */
    if (whole && b > ascii) {
        h->mark_char = c;
        h->mark_byte = b;
    }
    *reached = c;
    return b;
}

/* Number of characters of a text value. */
static size_t text_chars(VBValue v) {
    size_t n = text_length(v), count;
    if (n == 0 || known_ascii(v) >= n) return n;
    text_seek(v, SIZE_MAX, &count);
    return count;
}

static size_t put_utf8(char *out, uint32_t cp) {
    if (cp < 0x80) {
        out[0] = (char)cp;
        return 1;
    }
    if (cp < 0x800) {
        out[0] = (char)(0xC0 | (cp >> 6));
        out[1] = (char)(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = (char)(0xE0 | (cp >> 12));
        out[1] = (char)(0x80 | ((cp >> 6) & 0x3F));
        out[2] = (char)(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = (char)(0xF0 | (cp >> 18));
    out[1] = (char)(0x80 | ((cp >> 12) & 0x3F));
    out[2] = (char)(0x80 | ((cp >> 6) & 0x3F));
    out[3] = (char)(0x80 | (cp & 0x3F));
    return 4;
}

/* White space of any kind: what Trim removes and numbers may be wrapped in. */
static int is_space_cp(uint32_t c) {
    return c == ' ' || (c >= 0x09 && c <= 0x0D) || (c >= 0x1C && c <= 0x1F) || c == 0x85 || c == 0xA0 ||
           c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

/* --- numbers ---------------------------------------------------------- */

/* A number as the operators see it: an Integer or a Double. */
typedef struct Num {
    int is_int;
    long long i;
    double d;
} Num;

#define TWO_63 9223372036854775808.0

static inline Num num_int(long long i) {
    Num n = {1, i, (double)i};
    return n;
}

/* An integral Double that fits becomes an Integer. */
static inline Num num_double(double d) {
    if (d >= -TWO_63 && d < TWO_63) { /* false for NaN and the infinities */
        long long i = (long long)d;
        if ((double)i == d) return num_int(i);
    }
    Num n = {0, 0, d};
    return n;
}

static VBValue num_value(Num n) { return n.is_int ? int_value(n.i) : dbl_value(n.d); }

/* Text that is a number: optional sign, digits (single underscores may
 * separate them), optional point and fraction, optional exponent, or
 * inf / infinity / nan, wrapped in any white space. */
static int parse_number_text(const char *s, double *out) {
    size_t n = strlen(s), b = 0, e = n;
    while (b < e) {
        uint32_t cp;
        size_t len = utf8_length(s, n, b, &cp);
        if (!is_space_cp(cp)) break;
        b += len;
    }
    while (e > b) {
        size_t k = e - 1;
        while (k > b && ((unsigned char)s[k] & 0xC0) == 0x80) k--;
        uint32_t cp;
        size_t len = utf8_length(s, n, k, &cp);
        if (k + len != e || !is_space_cp(cp)) break;
        e = k;
    }
    if (b == e) return 0;
    size_t i = b;
    char clean[400];
    size_t c = 0;
    int negative = 0;
    if (s[i] == '+' || s[i] == '-') {
        negative = s[i] == '-';
        clean[c++] = s[i++];
    }
    size_t word = e - i;
    if ((word == 3 && !strncasecmp(s + i, "inf", 3)) || (word == 8 && !strncasecmp(s + i, "infinity", 8))) {
        *out = negative ? -INFINITY : INFINITY;
        return 1;
    }
    if (word == 3 && !strncasecmp(s + i, "nan", 3)) {
        *out = NAN;
        return 1;
    }
    int int_digits = 0, frac_digits = 0, exp_digits = 0;
#define DIGITS(flag)                                                                                      \
    while (i < e) {                                                                                       \
        if (s[i] >= '0' && s[i] <= '9') {                                                                 \
            if (c >= sizeof clean - 2) return 0;                                                          \
            clean[c++] = s[i++];                                                                          \
            flag = 1;                                                                                     \
        } else if (s[i] == '_' && flag && i + 1 < e && s[i + 1] >= '0' && s[i + 1] <= '9') {             \
            i++;                                                                                          \
        } else {                                                                                          \
            break;                                                                                        \
        }                                                                                                 \
    }
    DIGITS(int_digits)
    if (i < e && s[i] == '.') {
        clean[c++] = s[i++];
        DIGITS(frac_digits)
    }
    if (!int_digits && !frac_digits) return 0;
    if (i < e && (s[i] == 'e' || s[i] == 'E')) {
        clean[c++] = s[i++];
        if (i < e && (s[i] == '+' || s[i] == '-')) clean[c++] = s[i++];
        DIGITS(exp_digits)
        if (!exp_digits) return 0;
    }
#undef DIGITS
    if (i != e) return 0;
    clean[c] = '\0';
    *out = strtod(clean, NULL);
    return 1;
}

/* The numeric conversion; 0 when the value has none. */
static int try_number(VBValue v, Num *out) {
    switch (v.kind) {
    case VB_INTEGER:
    case VB_BOOLEAN: *out = num_int(v.integer); return 1;
    case VB_NUMBER: *out = num_double(v.number); return 1;
    case VB_STRING: {
        double d;
        if (text_length(v) == 0) {
            *out = num_int(0);
            return 1;
        }
        if (!parse_number_text(c_text(v), &d)) return 0;
        *out = num_double(d);
        return 1;
    }
    default:
        if (!v.object) {
            *out = num_int(0); /* Nothing */
            return 1;
        }
        return 0;
    }
}

static size_t format_value(VBValue value, char *buf);

static __attribute__((noinline)) char *array_text(VBValue array);

/* A value as messages show it: texts quoted, numbers as digits. */
static char *value_repr(VBValue v) {
    if (v.kind == VB_OBJECT) return copy_text(v.object ? "<Object>" : "None");
    if (v.kind == VB_ARRAY) return array_text(v);
    if (v.kind != VB_STRING) {
        char buf[64];
        size_t n = format_value(v, buf);
        return copy_bytes(buf, n);
    }
    const char *s = c_text(v);
    char quote = strchr(s, '\'') && !strchr(s, '"') ? '"' : '\'';
    size_t n = strlen(s);
    char *out = vb_alloc_text(2 * n + 3), *p = out;
    *p++ = quote;
    for (; *s; s++) {
        const char *esc = *s == '\\' ? "\\\\" : *s == '\n' ? "\\n" : *s == '\r' ? "\\r" : *s == '\t' ? "\\t" : NULL;
        if (esc) {
            *p++ = esc[0];
            *p++ = esc[1];
        } else {
            if (*s == quote) *p++ = '\\';
            *p++ = *s;
        }
    }
    *p++ = quote;
    *p = '\0';
    return out;
}

static _Noreturn void failf(const char *format, const char *a) {
    size_t n = strlen(format) + strlen(a) + 1;
    char *m = vb_alloc_text(n);
    snprintf(m, n, format, a);
    fatal(m);
}

static Num number_of_other(VBValue v) {
    Num n;
    if (!try_number(v, &n)) failf("Type mismatch (expected number, got %s)", value_repr(v));
    return n;
}

/* The numeric conversion; Integers and Doubles take the inlined path. */
static inline __attribute__((always_inline)) Num number_of(VBValue v) {
    if (v.kind == VB_INTEGER) return num_int(v.integer);
    if (v.kind == VB_NUMBER) return num_double(v.number);
    return number_of_other(v);
}

static inline double number_value(VBValue value) {
    if (value.kind == VB_NUMBER) return value.number;
    if (value.kind == VB_INTEGER) return (double)value.integer;
    return number_of(value).d;
}

VBValue vb_to_number(VBValue value) {
    if (value.kind == VB_INTEGER) return value;
    return num_value(number_of(value));
}

static inline int truth_of(VBValue value) {
    switch (value.kind) {
    case VB_INTEGER:
    case VB_BOOLEAN: return value.integer != 0;
    case VB_NUMBER: return value.number != 0;
    case VB_STRING: return text_length(value) != 0;
    case VB_OBJECT: return value.object != NULL;
    case VB_ARRAY: return vb_array_count(value) > 0;
    default: return 0;
    }
}

/* The shortest decimal text that reads back as d, laid out in fixed
 * notation for decimal exponents -4..15 ("2.0", "0.0001") and in exponent
 * notation otherwise ("1e-05", "1.5e+16"). */
static size_t double_text(double d, char *buf) {
    if (isnan(d)) return (size_t)sprintf(buf, "nan");
    if (isinf(d)) return (size_t)sprintf(buf, d > 0 ? "inf" : "-inf");
    /* Any decimal of up to 15 digits survives a round trip through a
     * double, so 15 digits with trailing zeros dropped is the shortest form
     * when it reads back; otherwise 16, else 17 digits. */
    char sci[40];
    /* Subnormal numbers hold fewer digits: search from one digit up. */
    for (int digits = fabs(d) < DBL_MIN ? 1 : 15; digits <= 17; digits++) {
        snprintf(sci, sizeof sci, "%.*e", digits - 1, d);
        if (strtod(sci, NULL) == d || digits == 17) break;
    }
    const char *p = sci;
    size_t length = 0;
    if (*p == '-') buf[length++] = *p++;
    char mantissa[24];
    size_t m = 0;
    for (; *p && *p != 'e'; p++)
        if (*p != '.') mantissa[m++] = *p;
    while (m > 1 && mantissa[m - 1] == '0') m--;
    int exponent = atoi(p + 1);
    if (exponent >= -4 && exponent < 16) {
        if (exponent >= 0) {
            for (int k = 0; k <= exponent; k++) buf[length++] = (size_t)k < m ? mantissa[k] : '0';
            buf[length++] = '.';
            if ((size_t)exponent + 1 < m)
                for (size_t k = (size_t)exponent + 1; k < m; k++) buf[length++] = mantissa[k];
            else
                buf[length++] = '0';
        } else {
            buf[length++] = '0';
            buf[length++] = '.';
            for (int k = 0; k < -exponent - 1; k++) buf[length++] = '0';
            for (size_t k = 0; k < m; k++) buf[length++] = mantissa[k];
        }
    } else {
        buf[length++] = mantissa[0];
        if (m > 1) {
            buf[length++] = '.';
            for (size_t k = 1; k < m; k++) buf[length++] = mantissa[k];
        }
        length += (size_t)sprintf(buf + length, "e%c%02d", exponent < 0 ? '-' : '+', exponent < 0 ? -exponent : exponent);
    }
    buf[length] = '\0';
    return length;
}

/* The text form of a number, Boolean or object into buf (64 bytes). */
static size_t format_value(VBValue value, char *buf) {
    switch (value.kind) {
    case VB_INTEGER: {
        /* digits written directly: numbers are turned into text often */
        unsigned long long u = value.integer < 0 ? 0ull - (unsigned long long)value.integer : (unsigned long long)value.integer;
        char digits[24];
        size_t count = 0, length = 0;
        do {
            digits[count++] = (char)('0' + u % 10);
            u /= 10;
        } while (u);
        if (value.integer < 0) buf[length++] = '-';
        while (count) buf[length++] = digits[--count];
        buf[length] = '\0';
        return length;
    }
    case VB_BOOLEAN: return (size_t)sprintf(buf, "%s", value.integer ? "True" : "False");
    case VB_OBJECT:
        buf[0] = '\0';
        if (!value.object) return 0; /* Nothing */
        return (size_t)sprintf(buf, "[Object]");
    default: return double_text(value.number, buf);
    }
}

/* The text form of any value without allocating: numbers go into buf. */
static inline __attribute__((always_inline)) const char *text_of(VBValue value, char *buf, size_t *length) {
    if (value.kind == VB_ARRAY) {
        const char *t = array_text(value);
        *length = strlen(t);
        return t;
    }
    if (value.kind == VB_STRING) {
        *length = text_length(value);
        return c_text(value);
    }
    *length = format_value(value, buf);
    return buf;
}

static inline const char *string_of(VBValue value) {
    if (value.kind == VB_STRING) return c_text(value);
    if (value.kind == VB_ARRAY) return array_text(value);
    if (value.kind == VB_OBJECT) return value.object ? "[Object]" : "";
    char buf[64];
    size_t n = format_value(value, buf);
    return copy_bytes(buf, n);
}

/* text is the lower-case word in any case (the word holds letters only,
 * and c | 0x20 is a lower-case letter only for that letter in either case). */
static inline int word_is(const char *text, const char *word) {
    while (*word)
        if ((*text++ | 0x20) != *word++) return 0;
    return *text == '\0';
}

/* Half to even, as an Integer (a Double when beyond the 64-bit range or
 * not finite). */
static Num round_even(Num n) {
    if (n.is_int || !isfinite(n.d)) return n;
    double r = nearbyint(n.d); /* the default rounding mode: ties to even */
    return num_double(r);
}

static VBValue whole_in_range(VBValue value, long long low, long long high, const char *type) {
    if (value.kind == VB_INTEGER && value.integer >= low && value.integer <= high) return value;
    Num r = round_even(number_of(value));
    if (!r.is_int || r.i < low || r.i > high) failf("Overflow for %s", type);
    return int_value(r.i);
}

enum { T_OTHER, T_STRING, T_SINGLE, T_DOUBLE, T_CURRENCY, T_BOOLEAN, T_BYTE, T_INTEGER, T_LONG };

static int type_code(const char *type) {
    if (!type || strchr(type, '.')) return T_OTHER;
    static const struct {
        const char *name;
        int code;
    } TYPES[] = {{"string", T_STRING},   {"single", T_SINGLE}, {"double", T_DOUBLE}, {"currency", T_CURRENCY},
                 {"boolean", T_BOOLEAN}, {"byte", T_BYTE},     {"integer", T_INTEGER}, {"long", T_LONG}};
    for (size_t k = 0; k < COUNT_OF(TYPES); k++)
        if (word_is(type, TYPES[k].name)) return TYPES[k].code;
    return T_OTHER; /* object, variant, class names */
}

/* Type names come as string literals of the generated code or as the
 * class definitions' own copies, which never change: the last ones are
 * remembered by address (and their first two characters). */
static int cached_type_code(const char *type) {
    static struct {
        const char *address;
        char first, second;
        int code;
    } recent[32];
    if (!type || !type[0]) return T_OTHER;
    size_t slot = (size_t)(((uint64_t)(uintptr_t)type * 0x9E3779B97F4A7C15ull) >> 59);
    if (recent[slot].address == type && recent[slot].first == type[0] && recent[slot].second == type[1])
        return recent[slot].code;
    int code = type_code(type);
    recent[slot].address = type;
    recent[slot].first = type[0];
    recent[slot].second = type[1];
    recent[slot].code = code;
    return code;
}

VBValue vb_coerce(VBValue value, const char *type) {
    switch (cached_type_code(type)) {
    case T_STRING: return value.kind == VB_STRING && value.text ? value : text_value(copy_text(string_of(value)));
    case T_SINGLE:
    case T_DOUBLE:
    case T_CURRENCY: return value.kind == VB_NUMBER ? value : dbl_value(number_value(value));
    case T_BOOLEAN: return bool_value(truth_of(value));
    case T_BYTE: return whole_in_range(value, 0, 255, "byte");
    case T_INTEGER: return whole_in_range(value, -32768, 32767, "integer");
    case T_LONG: return whole_in_range(value, -2147483648LL, 2147483647LL, "long");
    default: return value.kind == VB_OBJECT ? vb_record_copy(value) : value; /* a record is stored as a copy */
    }
}

VBValue vb_not(VBValue a) { return bool_value(!truth_of(a)); }

VBValue vb_neg(VBValue a) {
    Num n = number_of(a);
    if (n.is_int) return n.i == LLONG_MIN ? dbl_value(TWO_63) : int_value(-n.i);
    return dbl_value(-n.d);
}

/* ===================================================================== */
/* Arrays                                                                 */
/* ===================================================================== */

/* The array record is in vb_lang.h (generated code reads typed elements
 * inline); see vb_arrays.c for shapes and element storage. */
static long long flat_index(const VBArray *a, int n, const VBValue *indexes, const char *name);
static long long whole_of(VBValue v, long long fallback);

static VBValue array_value(long long count) {
    if (count < 0) fatal("Array dimensions out of range");
    if ((unsigned long long)count > SIZE_MAX / sizeof(VBValue) - 1) fatal("Out of memory");
    VBArray *a = vb_alloc(sizeof *a);
    a->count = count;
    a->items = vb_alloc(sizeof(VBValue) * ((size_t)count + 1));
    vb_array_settle(a);
    VBValue v = {.kind = VB_ARRAY, .object = a};
    return v;
}

/* An array of `count` elements stored as the element type's C form (a
 * Long array holds C whole numbers); a Variant or object array holds
 * values. Elements are not filled (fill_items). */
static VBValue typed_array_value(long long count, const char *type);
/* Element k in storage order as a value, and storing a value there (a
 * typed array converts it as storing into a variable of its type does). */
static VBValue item_get(const VBArray *a, long long k);
static void item_put(VBArray *a, long long k, VBValue value);

/* A variable's initial value: "" for String, False for Boolean, Nothing
 * for Object, the Integer 0 otherwise. */
static int record_initial(const char *type, VBValue *out);

static int is_class_type(const char *type); /* vb_lang_extras.c */

static VBValue initial_value(const char *type) {
    VBValue record;
    if (record_initial(type, &record)) return record;
    if (is_class_type(type)) return vb_nothing(); /* an element of a class type holds Nothing until Set */
    if (!strcasecmp(type, "string")) return str_value("");
    if (!strcasecmp(type, "boolean")) return bool_value(0);
    if (!strcasecmp(type, "object") || !strcasecmp(type, "collection") || !strcasecmp(type, "vba.collection"))
        return vb_nothing();
    return int_value(0);
}

/* An upper bound as an element count: truncated toward zero, plus one. */
static long long element_count(VBValue upper) {
    Num n = number_of(upper);
    if (!n.is_int && !(n.d > -9e18 && n.d < 9e18)) fatal("Array dimensions out of range");
    long long last = n.is_int ? n.i : (long long)trunc(n.d);
    if (last < -1 || last == LLONG_MAX) fatal("Array dimensions out of range");
    return last + 1;
}

static void fill_items(VBArray *a, long long from, const char *type);

VBValue vb_array_new(VBValue upper, const char *type) {
    VBValue v = typed_array_value(element_count(upper), type);
    fill_items(v.object, 0, type);
    ((VBArray *)v.object)->fixed = 1;
    return v;
}

VBValue vb_array_empty(void) { return array_value(0); }

int vb_is_array(VBValue value) { return value.kind == VB_ARRAY && value.object; }

VBValue vb_array_redim(VBValue old, VBValue upper, int preserve) {
    VBValue v = array_value(element_count(upper));
    VBArray *a = v.object;
    long long kept = 0;
    if (preserve && vb_is_array(old)) {
        VBArray *o = old.object;
        kept = o->count < a->count ? o->count : a->count;
        for (long long k = 0; k < kept; k++) a->items[k] = item_get(o, k);
    }
    for (long long k = kept; k < a->count; k++) a->items[k] = int_value(0);
    return v;
}

/* Collection (vb_collection.c): its default member and For Each. */
static int is_collection(VBValue v);
static VBValue collection_item(VBValue collection, int argc, VBValue *args);
static VBValue collection_each_copy(VBValue collection);

/* The storage position of a subscript of a one-dimensional array. */
static long long element_at(VBValue array, VBValue index, const char *name) {
    if (!vb_is_array(array)) failf("Not an array: %s", name ? name : "");
    VBArray *a = array.object;
    if (a->dims) return flat_index(a, 1, &index, name);
    Num n = number_of(index);
    long long i = n.is_int ? n.i : (n.d > -9e18 && n.d < 9e18) ? (long long)trunc(n.d) : -1;
    if (i < 0 || i >= a->count) failf("Subscript out of range: %s", name ? name : "");
    return i;
}

VBValue vb_index(VBValue array, VBValue index, const char *name) {
    if (is_collection(array)) return collection_item(array, 1, &index); /* c(1), c("key") */
    if (vb_is_control_list(array)) return vb_control_list_item(array, index);
    long long k = element_at(array, index, name);
    return item_get(array.object, k);
}

void vb_index_set(VBValue array, VBValue index, VBValue value, const char *name) {
    long long k = element_at(array, index, name);
    item_put(array.object, k, vb_record_copy(value));
}

VBValue vb_each_copy(VBValue array) {
    if (is_collection(array)) return collection_each_copy(array);
    if (vb_is_control_list(array)) return vb_control_list_items(array);
    if (!vb_is_array(array)) fatal("For Each requires an array");
    VBArray *o = array.object;
    VBValue v = array_value(o->count);
    VBArray *a = v.object;
    for (long long k = 0; k < o->count; k++) a->items[k] = item_get(o, k);
    return v;
}

long long vb_array_count(VBValue array) { return vb_is_array(array) ? ((VBArray *)array.object)->count : 0; }

VBValue vb_array_item(VBValue array, long long index) { return item_get(array.object, index); }

/* An array's text form: its elements' representations in brackets. */
static __attribute__((noinline)) char *array_text(VBValue array) {
    VBArray *a = array.object;
    size_t length = 2, capacity = 64;
    char *out = vb_alloc_text(capacity);
    out[0] = '[';
    length = 1;
    for (long long k = 0; k < a->count; k++) {
        VBValue item = item_get(a, k);
        const char *piece = item.kind == VB_ARRAY && item.object == array.object ? "[...]" : value_repr(item);
        size_t pl = strlen(piece);
        if (length + pl + 4 > capacity) {
            while (length + pl + 4 > capacity) capacity *= 2;
            char *bigger = vb_alloc_text(capacity);
            memcpy(bigger, out, length);
            out = bigger;
        }
        if (k) {
            out[length++] = ',';
            out[length++] = ' ';
        }
        memcpy(out + length, piece, pl);
        length += pl;
    }
    out[length++] = ']';
    out[length] = '\0';
    return out;
}

/* ===================================================================== */
/* Operators                                                              */
/* ===================================================================== */

/* The same codes as the header's VB_OP_ ones. */
enum {
    OP_UNKNOWN, OP_CONCAT, OP_ADD, OP_SUB, OP_MUL, OP_DIV, OP_IDIV, OP_MOD, OP_POW,
    OP_AND, OP_OR, OP_XOR, OP_EQ, OP_NE, OP_LT, OP_GT, OP_LE, OP_GE, OP_IS, OP_LIKE
};
_Static_assert((int)OP_LIKE == (int)VB_OP_LIKE && (int)OP_CONCAT == (int)VB_OP_CONCAT, "operator codes agree");

/* Symbols compare exactly, the word operators ignoring case. */
static int operator_code(const char *op) {
    if (!op || !op[0]) return OP_UNKNOWN;
    if (!op[1]) {
        switch (op[0]) {
        case '&': return OP_CONCAT;
        case '+': return OP_ADD;
        case '-': return OP_SUB;
        case '*': return OP_MUL;
        case '/': return OP_DIV;
        case '\\': return OP_IDIV;
        case '^': return OP_POW;
        case '=': return OP_EQ;
        case '<': return OP_LT;
        case '>': return OP_GT;
        default: return OP_UNKNOWN;
        }
    }
    if (!op[2]) {
        if (op[0] == '<' && op[1] == '>') return OP_NE;
        if (op[0] == '<' && op[1] == '=') return OP_LE;
        if (op[0] == '>' && op[1] == '=') return OP_GE;
        if (!strcasecmp(op, "or")) return OP_OR;
        if (!strcasecmp(op, "is")) return OP_IS;
        return OP_UNKNOWN;
    }
    if (!op[3]) {
        /* three letters in any case */
        char a = (char)(op[0] | 32), b = (char)(op[1] | 32), c = (char)(op[2] | 32);
        if (a == 'm' && b == 'o' && c == 'd') return OP_MOD;
        if (a == 'a' && b == 'n' && c == 'd') return OP_AND;
        if (a == 'x' && b == 'o' && c == 'r') return OP_XOR;
    }
    if (!strcasecmp(op, "like")) return OP_LIKE;
    return OP_UNKNOWN;
}

/* The bytes of any value's text form (a text's own bytes, not
 * necessarily NUL-terminated; numbers go into buf). */
static inline const char *text_bytes(VBValue value, char *buf, size_t *length) {
    if (value.kind == VB_STRING) {
        *length = text_length(value);
        return value.text ? value.text : "";
    }
    return text_of(value, buf, length);
}

/* a's text followed by b's. When a is a text that reaches the end of its
 * buffer and the buffer has room, b's bytes are written behind it: values
 * holding a keep seeing their own bytes, so nothing is copied. `room`
 * asks for spare capacity in a new buffer, for texts that keep growing. */
static inline int append_in_place(VBValue *a, const char *tb, size_t lb) {
    const size_t la = (size_t)a->length;
    TextHead *h = head_of(a->text);
    if (h->used != la || h->capacity - la < lb) return 0;
    char *end = (char *)a->text + la;
    memmove(end, tb, lb); /* tb may be a's own bytes (s & s) */
    end[lb] = '\0';
    if (h->ascii == la) h->ascii = la + (lb == 1 ? (unsigned char)tb[0] < 0x80 : ascii_prefix(end, lb));
    h->used = la + lb;
    a->length = (long long)(la + lb);
    return 1;
}

static VBValue join_texts(VBValue a, VBValue b, int room) {
    if (a.kind == VB_STRING && a.text && b.kind == VB_STRING && append_in_place(&a, b.text ? b.text : "", text_length(b)))
        return a;
    char ba[64], bb[64];
    size_t la, lb;
    const char *ta = text_bytes(a, ba, &la);
    const char *tb = text_bytes(b, bb, &lb);
    if (lb == 0 && a.kind == VB_STRING && a.text) return a;
    if (la > SIZE_MAX / 4 || lb > SIZE_MAX / 4) fatal("Out of memory");
    if (a.kind == VB_STRING && a.text && append_in_place(&a, tb, lb)) return a;
    size_t total = la + lb, capacity = room ? (total < 16 ? 32 : total * 2) : total;
    char *r = vb_alloc_text(capacity + 1);
    memcpy(r, ta, la);
    memcpy(r + la, tb, lb);
    r[total] = '\0';
    TextHead *h = head_of(r);
    if (a.kind == VB_STRING && a.text && la) {
        size_t known = known_ascii(a);
        h->ascii = known >= la ? la + ascii_prefix(tb, lb) : known;
    }
    return text_value_n(r, total);
}

static inline VBValue concatenate(VBValue a, VBValue b) { return join_texts(a, b, 0); }

VBValue vb_concat(VBValue a, VBValue b) { return join_texts(a, b, 0); }

void vb_append(VBValue *target, VBValue piece) { *target = join_texts(*target, piece, 1); }

void vb_append_literal(VBValue *target, const char *text, size_t length) {
    if (target->kind == VB_STRING && target->text && append_in_place(target, text, length)) return;
    *target = join_texts(*target, vb_literal(text), 1);
}

/* Two texts by code points (UTF-8 byte order), case-sensitively: -1, 0, 1. */
static inline int text_compare(VBValue a, VBValue b) {
    size_t la = text_length(a), lb = text_length(b);
    int c = memcmp(la ? a.text : "", lb ? b.text : "", la < lb ? la : lb);
    if (c == 0) return la < lb ? -1 : la > lb ? 1 : 0;
    return c < 0 ? -1 : 1;
}

/* -1, 0 or 1; 2 when the numbers are unordered (a NaN). Two texts compare
 * by code points (UTF-8 byte order), case-sensitively; anything else
 * numerically. */
static int compare(VBValue a, VBValue b) {
    if (a.kind == VB_STRING && b.kind == VB_STRING) {
        return text_compare(a, b);
    }
    Num x = number_of(a), y = number_of(b);
    if (x.is_int && y.is_int) return x.i < y.i ? -1 : x.i > y.i ? 1 : 0;
    long double lx = x.is_int ? (long double)x.i : x.d, ly = y.is_int ? (long double)y.i : y.d;
    if (isnan(lx) || isnan(ly)) return 2;
    return lx < ly ? -1 : lx > ly ? 1 : 0;
}

static VBValue power(Num a, Num b) {
    if (a.is_int && b.is_int && b.i >= 0) {
        long long base = a.i, exp = b.i, result = 1;
        int ok = 1;
        while (exp > 0 && ok) {
            if (exp & 1) ok = !__builtin_mul_overflow(result, base, &result);
            exp >>= 1;
            if (exp > 0 && ok) ok = !__builtin_mul_overflow(base, base, &base);
        }
        if (ok) return int_value(result);
        double d = pow(a.d, b.d);
        if (isinf(d)) fatal("Overflow");
        return dbl_value(d);
    }
    double x = a.d, y = b.d;
    if (x == 0.0 && y < 0) fatal("0.0 cannot be raised to a negative power");
    if (x < 0 && isfinite(y) && y != floor(y)) fatal("negative number cannot be raised to a fractional power");
    double d = pow(x, y);
    if (isinf(d) && isfinite(x) && isfinite(y)) fatal("Overflow");
    return dbl_value(d);
}

/* Floor division and its remainder, whose sign follows the divisor. */
static VBValue floor_divide(Num a, Num b, int want_mod) {
    if (a.is_int && b.is_int) {
        long long x = a.i, y = b.i;
        if (y == 0) fatal(want_mod ? "integer modulo by zero" : "integer division or modulo by zero");
        if (y == -1) {
            if (want_mod) return int_value(0);
            return x == LLONG_MIN ? dbl_value(TWO_63) : int_value(-x);
        }
        long long q = x / y, m = x % y;
        if (m != 0 && ((m < 0) != (y < 0))) {
            q -= 1;
            m += y;
        }
        return int_value(want_mod ? m : q);
    }
    double vx = a.d, wx = b.d;
    if (wx == 0.0) fatal(want_mod ? "float modulo by zero" : "float floor division by zero");
    double mod = fmod(vx, wx);
    double div = (vx - mod) / wx;
    if (mod != 0.0) {
        if ((wx < 0) != (mod < 0)) {
            mod += wx;
            div -= 1.0;
        }
    } else {
        mod = copysign(0.0, wx);
    }
    if (want_mod) return dbl_value(mod);
    double floordiv;
    if (div != 0.0) {
        floordiv = floor(div);
        if (div - floordiv > 0.5) floordiv += 1.0;
    } else {
        floordiv = copysign(0.0, vx / wx);
    }
    return dbl_value(floordiv);
}

static inline __attribute__((always_inline)) VBValue arithmetic(int code, Num a, Num b) {
    long long out;
    int ints = a.is_int && b.is_int;
    switch (code) {
    case OP_ADD:
        if (ints && !__builtin_add_overflow(a.i, b.i, &out)) return int_value(out);
        return dbl_value(a.d + b.d);
    case OP_SUB:
        if (ints && !__builtin_sub_overflow(a.i, b.i, &out)) return int_value(out);
        return dbl_value(a.d - b.d);
    case OP_MUL:
        if (ints && !__builtin_mul_overflow(a.i, b.i, &out)) return int_value(out);
        return dbl_value(a.d * b.d);
    case OP_DIV:
        if (b.d == 0.0) fatal(ints ? "division by zero" : "float division by zero");
        return dbl_value(a.d / b.d);
    case OP_IDIV: return floor_divide(a, b, 0);
    case OP_MOD: return floor_divide(a, b, 1);
    default: return power(a, b);
    }
}

static int like_match(const char *text, const char *pattern);

/* Kept out of vb_op so that the arithmetic path needs no text buffers. */
static __attribute__((noinline)) VBValue like_values(VBValue a, VBValue b) {
    char ba[64], bb[64];
    size_t la, lb;
    return bool_value(like_match(text_of(a, ba, &la), text_of(b, bb, &lb)));
}

int vb_text_compare(VBValue a, VBValue b) { return text_compare(a, b); }

int vb_attempt_begin(jmp_buf *jump) {
    if (attempt_jump) return 0;
    attempt_jump = jump;
    return 1;
}

void vb_attempt_end(void) { attempt_jump = NULL; }

_Noreturn void vb_attempt_overflow(void) {
    jmp_buf *jump = attempt_jump;
    attempt_jump = NULL;
    if (!jump) fatal("Overflow");
    longjmp(*jump, 1);
}

_Noreturn void vb_fail(const char *message) { fatal(copy_text(message)); }

_Noreturn void vb_store_overflow(const char *type) { failf("Overflow for %s", type); }

const char vb_undeclared_mark = 0;

_Noreturn void vb_fail_undeclared(const char *name) { failf("Variable not defined: %s", name); }

long long vb_store_whole(long double value, long long low, long long high, const char *type) {
    long long i;
    Num n;
    if (vb_n_whole(value, &i)) n = num_int(i);
    else n = round_even(num_double((double)value));
    if (!n.is_int || n.i < low || n.i > high) failf("Overflow for %s", type);
    return n.i;
}

int vb_test(int operation, VBValue a, VBValue b) {
    switch (operation) {
    case OP_EQ: return compare(a, b) == 0;
    case OP_NE: return compare(a, b) != 0;
    case OP_LT: return compare(a, b) == -1;
    case OP_GT: return compare(a, b) == 1;
    case OP_LE: {
        int c = compare(a, b);
        return c == -1 || c == 0;
    }
    case OP_GE: {
        int c = compare(a, b);
        return c == 1 || c == 0;
    }
    default: return truth_of(vb_binary(operation, a, b));
    }
}

VBValue vb_op(const char *operation, VBValue a, VBValue b) {
    int code = operator_code(operation);
    if (code == OP_UNKNOWN) unsupported("Native operator not implemented: ", operation, NULL);
    return vb_binary(code, a, b);
}

VBValue vb_binary(int code, VBValue a, VBValue b) {
    switch (code) {
    case OP_CONCAT: return concatenate(a, b);
    case OP_AND: return bool_value(truth_of(a) && truth_of(b));
    case OP_OR: return bool_value(truth_of(a) || truth_of(b));
    case OP_XOR: return bool_value(truth_of(a) != truth_of(b));
    case OP_IS:
        return bool_value(a.kind == b.kind && (a.kind == VB_OBJECT || a.kind == VB_ARRAY) && a.object == b.object);
    case OP_LIKE: return like_values(a, b);
    case OP_EQ: return bool_value(compare(a, b) == 0);
    case OP_NE: return bool_value(compare(a, b) != 0);
    case OP_LT: return bool_value(compare(a, b) == -1);
    case OP_GT: return bool_value(compare(a, b) == 1);
    case OP_LE: {
        int c = compare(a, b);
        return bool_value(c == -1 || c == 0);
    }
    case OP_GE: {
        int c = compare(a, b);
        return bool_value(c == 1 || c == 0);
    }
    case OP_ADD:
        if (a.kind == VB_STRING || b.kind == VB_STRING) {
            /* numeric texts add up; anything else joins */
            Num x, y;
            if (try_number(a, &x) && try_number(b, &y)) return arithmetic(OP_ADD, x, y);
            return concatenate(a, b);
        }
        if (a.kind == VB_INTEGER && b.kind == VB_INTEGER) {
            long long out;
            if (!__builtin_add_overflow(a.integer, b.integer, &out)) return int_value(out);
        }
        break;
    case OP_UNKNOWN: fatal("Unknown operator");
    default: break;
    }
    return arithmetic(code, number_of(a), number_of(b));
}

/* The exported value functions; the library itself calls the inline
 * versions, so its calls stay direct in position-independent builds. */
VBValue vb_num(double value) { return dbl_value(value); }
VBValue vb_int(long long value) { return int_value(value); }
VBValue vb_bool(int value) { return bool_value(value); }
VBValue vb_str(const char *value) { return str_value(value); }

/* Literal texts of the generated code are made once: the same address
 * always holds the same literal, and nothing ever grows a text whose
 * buffer it fills exactly. */
VBValue vb_literal(const char *text) {
    static struct {
        const char *address;
        VBValue value;
    } made[512];
    if (!text) return str_value("");
    size_t slot = (size_t)(((uint64_t)(uintptr_t)text * 0x9E3779B97F4A7C15ull) >> 55);
    if (made[slot].address != text) {
        made[slot].value = str_value(text);
        made[slot].address = text;
    }
    return made[slot].value;
}
double vb_number(VBValue value) { return number_value(value); }
int vb_truth(VBValue value) { return truth_of(value); }
const char *vb_string(VBValue value) { return string_of(value); }

/* For loops: the counter, end and step are numbers evaluated once; the
 * loop runs while the counter has not passed the end in the step's
 * direction. */
void vb_for_check(VBValue step) {
    if (number_value(step) == 0) fatal("For loop Step cannot be zero");
}

long long vb_on_choice(VBValue n) {
    double d = nearbyint(number_value(n)); /* halves to even, the default rounding mode */
    if (!(d >= 0 && d <= 255)) fatal("Invalid procedure call or argument");
    return (long long)d;
}

int vb_for_continues(VBValue counter, VBValue end, VBValue step) {
    if (counter.kind == VB_INTEGER && end.kind == VB_INTEGER && step.kind == VB_INTEGER)
        return step.integer > 0 ? counter.integer <= end.integer : counter.integer >= end.integer;
    int c = compare(counter, end);
    return number_value(step) > 0 ? (c == -1 || c == 0) : (c == 1 || c == 0);
}

VBValue vb_for_next(VBValue counter, VBValue step) {
    long long out;
    if (counter.kind == VB_INTEGER && step.kind == VB_INTEGER && !__builtin_add_overflow(counter.integer, step.integer, &out))
        return int_value(out);
    return vb_op("+", counter, step);
}

/* ===================================================================== */
/* Case mapping                                                           */
/* ===================================================================== */

/* Full Unicode case mapping equal to the interpreter's (ICU, root locale):
 * one-to-one mappings in runs, mappings to several characters as texts,
 * and the final-sigma rule of lower-casing. */
typedef struct CaseRun {
    uint32_t first, last;
    int32_t delta, stride;
} CaseRun;
typedef struct CaseSpecial {
    uint32_t cp;
    const char *text;
} CaseSpecial;
typedef struct CaseRange {
    uint32_t first, last;
} CaseRange;

/* case tables: begin */
/* Generated by case_table_gen from ICU 72.1; do not edit by hand. */
static const CaseRun upper_runs[] = {
    {0x61, 0x7A, -32, 1},
    {0xB5, 0xB5, 743, 1},
    {0xE0, 0xF6, -32, 1},
    {0xF8, 0xFE, -32, 1},
    {0xFF, 0xFF, 121, 1},
    {0x101, 0x12F, -1, 2},
    {0x131, 0x131, -232, 1},
    {0x133, 0x137, -1, 2},
    {0x13A, 0x148, -1, 2},
    {0x14B, 0x177, -1, 2},
    {0x17A, 0x17E, -1, 2},
    {0x17F, 0x17F, -300, 1},
    {0x180, 0x180, 195, 1},
    {0x183, 0x185, -1, 2},
    {0x188, 0x188, -1, 1},
    {0x18C, 0x18C, -1, 1},
    {0x192, 0x192, -1, 1},
    {0x195, 0x195, 97, 1},
    {0x199, 0x199, -1, 1},
    {0x19A, 0x19A, 163, 1},
    {0x19E, 0x19E, 130, 1},
    {0x1A1, 0x1A5, -1, 2},
    {0x1A8, 0x1A8, -1, 1},
    {0x1AD, 0x1AD, -1, 1},
    {0x1B0, 0x1B0, -1, 1},
    {0x1B4, 0x1B6, -1, 2},
    {0x1B9, 0x1B9, -1, 1},
    {0x1BD, 0x1BD, -1, 1},
    {0x1BF, 0x1BF, 56, 1},
    {0x1C5, 0x1C5, -1, 1},
    {0x1C6, 0x1C6, -2, 1},
    {0x1C8, 0x1C8, -1, 1},
    {0x1C9, 0x1C9, -2, 1},
    {0x1CB, 0x1CB, -1, 1},
    {0x1CC, 0x1CC, -2, 1},
    {0x1CE, 0x1DC, -1, 2},
    {0x1DD, 0x1DD, -79, 1},
    {0x1DF, 0x1EF, -1, 2},
    {0x1F2, 0x1F2, -1, 1},
    {0x1F3, 0x1F3, -2, 1},
    {0x1F5, 0x1F5, -1, 1},
    {0x1F9, 0x21F, -1, 2},
    {0x223, 0x233, -1, 2},
    {0x23C, 0x23C, -1, 1},
    {0x23F, 0x240, 10815, 1},
    {0x242, 0x242, -1, 1},
    {0x247, 0x24F, -1, 2},
    {0x250, 0x250, 10783, 1},
    {0x251, 0x251, 10780, 1},
    {0x252, 0x252, 10782, 1},
    {0x253, 0x253, -210, 1},
    {0x254, 0x254, -206, 1},
    {0x256, 0x257, -205, 1},
    {0x259, 0x259, -202, 1},
    {0x25B, 0x25B, -203, 1},
    {0x25C, 0x25C, 42319, 1},
    {0x260, 0x260, -205, 1},
    {0x261, 0x261, 42315, 1},
    {0x263, 0x263, -207, 1},
    {0x265, 0x265, 42280, 1},
    {0x266, 0x266, 42308, 1},
    {0x268, 0x268, -209, 1},
    {0x269, 0x269, -211, 1},
    {0x26A, 0x26A, 42308, 1},
    {0x26B, 0x26B, 10743, 1},
    {0x26C, 0x26C, 42305, 1},
    {0x26F, 0x26F, -211, 1},
    {0x271, 0x271, 10749, 1},
    {0x272, 0x272, -213, 1},
    {0x275, 0x275, -214, 1},
    {0x27D, 0x27D, 10727, 1},
    {0x280, 0x280, -218, 1},
    {0x282, 0x282, 42307, 1},
    {0x283, 0x283, -218, 1},
    {0x287, 0x287, 42282, 1},
    {0x288, 0x288, -218, 1},
    {0x289, 0x289, -69, 1},
    {0x28A, 0x28B, -217, 1},
    {0x28C, 0x28C, -71, 1},
    {0x292, 0x292, -219, 1},
    {0x29D, 0x29D, 42261, 1},
    {0x29E, 0x29E, 42258, 1},
    {0x345, 0x345, 84, 1},
    {0x371, 0x373, -1, 2},
    {0x377, 0x377, -1, 1},
    {0x37B, 0x37D, 130, 1},
    {0x3AC, 0x3AC, -38, 1},
    {0x3AD, 0x3AF, -37, 1},
    {0x3B1, 0x3C1, -32, 1},
    {0x3C2, 0x3C2, -31, 1},
    {0x3C3, 0x3CB, -32, 1},
    {0x3CC, 0x3CC, -64, 1},
    {0x3CD, 0x3CE, -63, 1},
    {0x3D0, 0x3D0, -62, 1},
    {0x3D1, 0x3D1, -57, 1},
    {0x3D5, 0x3D5, -47, 1},
    {0x3D6, 0x3D6, -54, 1},
    {0x3D7, 0x3D7, -8, 1},
    {0x3D9, 0x3EF, -1, 2},
    {0x3F0, 0x3F0, -86, 1},
    {0x3F1, 0x3F1, -80, 1},
    {0x3F2, 0x3F2, 7, 1},
    {0x3F3, 0x3F3, -116, 1},
    {0x3F5, 0x3F5, -96, 1},
    {0x3F8, 0x3F8, -1, 1},
    {0x3FB, 0x3FB, -1, 1},
    {0x430, 0x44F, -32, 1},
    {0x450, 0x45F, -80, 1},
    {0x461, 0x481, -1, 2},
    {0x48B, 0x4BF, -1, 2},
    {0x4C2, 0x4CE, -1, 2},
    {0x4CF, 0x4CF, -15, 1},
    {0x4D1, 0x52F, -1, 2},
    {0x561, 0x586, -48, 1},
    {0x10D0, 0x10FA, 3008, 1},
    {0x10FD, 0x10FF, 3008, 1},
    {0x13F8, 0x13FD, -8, 1},
    {0x1C80, 0x1C80, -6254, 1},
    {0x1C81, 0x1C81, -6253, 1},
    {0x1C82, 0x1C82, -6244, 1},
    {0x1C83, 0x1C84, -6242, 1},
    {0x1C85, 0x1C85, -6243, 1},
    {0x1C86, 0x1C86, -6236, 1},
    {0x1C87, 0x1C87, -6181, 1},
    {0x1C88, 0x1C88, 35266, 1},
    {0x1D79, 0x1D79, 35332, 1},
    {0x1D7D, 0x1D7D, 3814, 1},
    {0x1D8E, 0x1D8E, 35384, 1},
    {0x1E01, 0x1E95, -1, 2},
    {0x1E9B, 0x1E9B, -59, 1},
    {0x1EA1, 0x1EFF, -1, 2},
    {0x1F00, 0x1F07, 8, 1},
    {0x1F10, 0x1F15, 8, 1},
    {0x1F20, 0x1F27, 8, 1},
    {0x1F30, 0x1F37, 8, 1},
    {0x1F40, 0x1F45, 8, 1},
    {0x1F51, 0x1F57, 8, 2},
    {0x1F60, 0x1F67, 8, 1},
    {0x1F70, 0x1F71, 74, 1},
    {0x1F72, 0x1F75, 86, 1},
    {0x1F76, 0x1F77, 100, 1},
    {0x1F78, 0x1F79, 128, 1},
    {0x1F7A, 0x1F7B, 112, 1},
    {0x1F7C, 0x1F7D, 126, 1},
    {0x1FB0, 0x1FB1, 8, 1},
    {0x1FBE, 0x1FBE, -7205, 1},
    {0x1FD0, 0x1FD1, 8, 1},
    {0x1FE0, 0x1FE1, 8, 1},
    {0x1FE5, 0x1FE5, 7, 1},
    {0x214E, 0x214E, -28, 1},
    {0x2170, 0x217F, -16, 1},
    {0x2184, 0x2184, -1, 1},
    {0x24D0, 0x24E9, -26, 1},
    {0x2C30, 0x2C5F, -48, 1},
    {0x2C61, 0x2C61, -1, 1},
    {0x2C65, 0x2C65, -10795, 1},
    {0x2C66, 0x2C66, -10792, 1},
    {0x2C68, 0x2C6C, -1, 2},
    {0x2C73, 0x2C73, -1, 1},
    {0x2C76, 0x2C76, -1, 1},
    {0x2C81, 0x2CE3, -1, 2},
    {0x2CEC, 0x2CEE, -1, 2},
    {0x2CF3, 0x2CF3, -1, 1},
    {0x2D00, 0x2D25, -7264, 1},
    {0x2D27, 0x2D27, -7264, 1},
    {0x2D2D, 0x2D2D, -7264, 1},
    {0xA641, 0xA66D, -1, 2},
    {0xA681, 0xA69B, -1, 2},
    {0xA723, 0xA72F, -1, 2},
    {0xA733, 0xA76F, -1, 2},
    {0xA77A, 0xA77C, -1, 2},
    {0xA77F, 0xA787, -1, 2},
    {0xA78C, 0xA78C, -1, 1},
    {0xA791, 0xA793, -1, 2},
    {0xA794, 0xA794, 48, 1},
    {0xA797, 0xA7A9, -1, 2},
    {0xA7B5, 0xA7C3, -1, 2},
    {0xA7C8, 0xA7CA, -1, 2},
    {0xA7D1, 0xA7D1, -1, 1},
    {0xA7D7, 0xA7D9, -1, 2},
    {0xA7F6, 0xA7F6, -1, 1},
    {0xAB53, 0xAB53, -928, 1},
    {0xAB70, 0xABBF, -38864, 1},
    {0xFF41, 0xFF5A, -32, 1},
    {0x10428, 0x1044F, -40, 1},
    {0x104D8, 0x104FB, -40, 1},
    {0x10597, 0x105A1, -39, 1},
    {0x105A3, 0x105B1, -39, 1},
    {0x105B3, 0x105B9, -39, 1},
    {0x105BB, 0x105BC, -39, 1},
    {0x10CC0, 0x10CF2, -64, 1},
    {0x118C0, 0x118DF, -32, 1},
    {0x16E60, 0x16E7F, -32, 1},
    {0x1E922, 0x1E943, -34, 1},
};
static const CaseSpecial upper_specials[] = {
    {0xDF, "\123\123"},
    {0x149, "\312\274\116"},
    {0x1F0, "\112\314\214"},
    {0x390, "\316\231\314\210\314\201"},
    {0x3B0, "\316\245\314\210\314\201"},
    {0x587, "\324\265\325\222"},
    {0x1E96, "\110\314\261"},
    {0x1E97, "\124\314\210"},
    {0x1E98, "\127\314\212"},
    {0x1E99, "\131\314\212"},
    {0x1E9A, "\101\312\276"},
    {0x1F50, "\316\245\314\223"},
    {0x1F52, "\316\245\314\223\314\200"},
    {0x1F54, "\316\245\314\223\314\201"},
    {0x1F56, "\316\245\314\223\315\202"},
    {0x1F80, "\341\274\210\316\231"},
    {0x1F81, "\341\274\211\316\231"},
    {0x1F82, "\341\274\212\316\231"},
    {0x1F83, "\341\274\213\316\231"},
    {0x1F84, "\341\274\214\316\231"},
    {0x1F85, "\341\274\215\316\231"},
    {0x1F86, "\341\274\216\316\231"},
    {0x1F87, "\341\274\217\316\231"},
    {0x1F88, "\341\274\210\316\231"},
    {0x1F89, "\341\274\211\316\231"},
    {0x1F8A, "\341\274\212\316\231"},
    {0x1F8B, "\341\274\213\316\231"},
    {0x1F8C, "\341\274\214\316\231"},
    {0x1F8D, "\341\274\215\316\231"},
    {0x1F8E, "\341\274\216\316\231"},
    {0x1F8F, "\341\274\217\316\231"},
    {0x1F90, "\341\274\250\316\231"},
    {0x1F91, "\341\274\251\316\231"},
    {0x1F92, "\341\274\252\316\231"},
    {0x1F93, "\341\274\253\316\231"},
    {0x1F94, "\341\274\254\316\231"},
    {0x1F95, "\341\274\255\316\231"},
    {0x1F96, "\341\274\256\316\231"},
    {0x1F97, "\341\274\257\316\231"},
    {0x1F98, "\341\274\250\316\231"},
    {0x1F99, "\341\274\251\316\231"},
    {0x1F9A, "\341\274\252\316\231"},
    {0x1F9B, "\341\274\253\316\231"},
    {0x1F9C, "\341\274\254\316\231"},
    {0x1F9D, "\341\274\255\316\231"},
    {0x1F9E, "\341\274\256\316\231"},
    {0x1F9F, "\341\274\257\316\231"},
    {0x1FA0, "\341\275\250\316\231"},
    {0x1FA1, "\341\275\251\316\231"},
    {0x1FA2, "\341\275\252\316\231"},
    {0x1FA3, "\341\275\253\316\231"},
    {0x1FA4, "\341\275\254\316\231"},
    {0x1FA5, "\341\275\255\316\231"},
    {0x1FA6, "\341\275\256\316\231"},
    {0x1FA7, "\341\275\257\316\231"},
    {0x1FA8, "\341\275\250\316\231"},
    {0x1FA9, "\341\275\251\316\231"},
    {0x1FAA, "\341\275\252\316\231"},
    {0x1FAB, "\341\275\253\316\231"},
    {0x1FAC, "\341\275\254\316\231"},
    {0x1FAD, "\341\275\255\316\231"},
    {0x1FAE, "\341\275\256\316\231"},
    {0x1FAF, "\341\275\257\316\231"},
    {0x1FB2, "\341\276\272\316\231"},
    {0x1FB3, "\316\221\316\231"},
    {0x1FB4, "\316\206\316\231"},
    {0x1FB6, "\316\221\315\202"},
    {0x1FB7, "\316\221\315\202\316\231"},
    {0x1FBC, "\316\221\316\231"},
    {0x1FC2, "\341\277\212\316\231"},
    {0x1FC3, "\316\227\316\231"},
    {0x1FC4, "\316\211\316\231"},
    {0x1FC6, "\316\227\315\202"},
    {0x1FC7, "\316\227\315\202\316\231"},
    {0x1FCC, "\316\227\316\231"},
    {0x1FD2, "\316\231\314\210\314\200"},
    {0x1FD3, "\316\231\314\210\314\201"},
    {0x1FD6, "\316\231\315\202"},
    {0x1FD7, "\316\231\314\210\315\202"},
    {0x1FE2, "\316\245\314\210\314\200"},
    {0x1FE3, "\316\245\314\210\314\201"},
    {0x1FE4, "\316\241\314\223"},
    {0x1FE6, "\316\245\315\202"},
    {0x1FE7, "\316\245\314\210\315\202"},
    {0x1FF2, "\341\277\272\316\231"},
    {0x1FF3, "\316\251\316\231"},
    {0x1FF4, "\316\217\316\231"},
    {0x1FF6, "\316\251\315\202"},
    {0x1FF7, "\316\251\315\202\316\231"},
    {0x1FFC, "\316\251\316\231"},
    {0xFB00, "\106\106"},
    {0xFB01, "\106\111"},
    {0xFB02, "\106\114"},
    {0xFB03, "\106\106\111"},
    {0xFB04, "\106\106\114"},
    {0xFB05, "\123\124"},
    {0xFB06, "\123\124"},
    {0xFB13, "\325\204\325\206"},
    {0xFB14, "\325\204\324\265"},
    {0xFB15, "\325\204\324\273"},
    {0xFB16, "\325\216\325\206"},
    {0xFB17, "\325\204\324\275"},
};
static const CaseRun lower_runs[] = {
    {0x41, 0x5A, 32, 1},
    {0xC0, 0xD6, 32, 1},
    {0xD8, 0xDE, 32, 1},
    {0x100, 0x12E, 1, 2},
    {0x132, 0x136, 1, 2},
    {0x139, 0x147, 1, 2},
    {0x14A, 0x176, 1, 2},
    {0x178, 0x178, -121, 1},
    {0x179, 0x17D, 1, 2},
    {0x181, 0x181, 210, 1},
    {0x182, 0x184, 1, 2},
    {0x186, 0x186, 206, 1},
    {0x187, 0x187, 1, 1},
    {0x189, 0x18A, 205, 1},
    {0x18B, 0x18B, 1, 1},
    {0x18E, 0x18E, 79, 1},
    {0x18F, 0x18F, 202, 1},
    {0x190, 0x190, 203, 1},
    {0x191, 0x191, 1, 1},
    {0x193, 0x193, 205, 1},
    {0x194, 0x194, 207, 1},
    {0x196, 0x196, 211, 1},
    {0x197, 0x197, 209, 1},
    {0x198, 0x198, 1, 1},
    {0x19C, 0x19C, 211, 1},
    {0x19D, 0x19D, 213, 1},
    {0x19F, 0x19F, 214, 1},
    {0x1A0, 0x1A4, 1, 2},
    {0x1A6, 0x1A6, 218, 1},
    {0x1A7, 0x1A7, 1, 1},
    {0x1A9, 0x1A9, 218, 1},
    {0x1AC, 0x1AC, 1, 1},
    {0x1AE, 0x1AE, 218, 1},
    {0x1AF, 0x1AF, 1, 1},
    {0x1B1, 0x1B2, 217, 1},
    {0x1B3, 0x1B5, 1, 2},
    {0x1B7, 0x1B7, 219, 1},
    {0x1B8, 0x1B8, 1, 1},
    {0x1BC, 0x1BC, 1, 1},
    {0x1C4, 0x1C4, 2, 1},
    {0x1C5, 0x1C5, 1, 1},
    {0x1C7, 0x1C7, 2, 1},
    {0x1C8, 0x1C8, 1, 1},
    {0x1CA, 0x1CA, 2, 1},
    {0x1CB, 0x1DB, 1, 2},
    {0x1DE, 0x1EE, 1, 2},
    {0x1F1, 0x1F1, 2, 1},
    {0x1F2, 0x1F4, 1, 2},
    {0x1F6, 0x1F6, -97, 1},
    {0x1F7, 0x1F7, -56, 1},
    {0x1F8, 0x21E, 1, 2},
    {0x220, 0x220, -130, 1},
    {0x222, 0x232, 1, 2},
    {0x23A, 0x23A, 10795, 1},
    {0x23B, 0x23B, 1, 1},
    {0x23D, 0x23D, -163, 1},
    {0x23E, 0x23E, 10792, 1},
    {0x241, 0x241, 1, 1},
    {0x243, 0x243, -195, 1},
    {0x244, 0x244, 69, 1},
    {0x245, 0x245, 71, 1},
    {0x246, 0x24E, 1, 2},
    {0x370, 0x372, 1, 2},
    {0x376, 0x376, 1, 1},
    {0x37F, 0x37F, 116, 1},
    {0x386, 0x386, 38, 1},
    {0x388, 0x38A, 37, 1},
    {0x38C, 0x38C, 64, 1},
    {0x38E, 0x38F, 63, 1},
    {0x391, 0x3A1, 32, 1},
    {0x3A4, 0x3AB, 32, 1},
    {0x3CF, 0x3CF, 8, 1},
    {0x3D8, 0x3EE, 1, 2},
    {0x3F4, 0x3F4, -60, 1},
    {0x3F7, 0x3F7, 1, 1},
    {0x3F9, 0x3F9, -7, 1},
    {0x3FA, 0x3FA, 1, 1},
    {0x3FD, 0x3FF, -130, 1},
    {0x400, 0x40F, 80, 1},
    {0x410, 0x42F, 32, 1},
    {0x460, 0x480, 1, 2},
    {0x48A, 0x4BE, 1, 2},
    {0x4C0, 0x4C0, 15, 1},
    {0x4C1, 0x4CD, 1, 2},
    {0x4D0, 0x52E, 1, 2},
    {0x531, 0x556, 48, 1},
    {0x10A0, 0x10C5, 7264, 1},
    {0x10C7, 0x10C7, 7264, 1},
    {0x10CD, 0x10CD, 7264, 1},
    {0x13A0, 0x13EF, 38864, 1},
    {0x13F0, 0x13F5, 8, 1},
    {0x1C90, 0x1CBA, -3008, 1},
    {0x1CBD, 0x1CBF, -3008, 1},
    {0x1E00, 0x1E94, 1, 2},
    {0x1E9E, 0x1E9E, -7615, 1},
    {0x1EA0, 0x1EFE, 1, 2},
    {0x1F08, 0x1F0F, -8, 1},
    {0x1F18, 0x1F1D, -8, 1},
    {0x1F28, 0x1F2F, -8, 1},
    {0x1F38, 0x1F3F, -8, 1},
    {0x1F48, 0x1F4D, -8, 1},
    {0x1F59, 0x1F5F, -8, 2},
    {0x1F68, 0x1F6F, -8, 1},
    {0x1F88, 0x1F8F, -8, 1},
    {0x1F98, 0x1F9F, -8, 1},
    {0x1FA8, 0x1FAF, -8, 1},
    {0x1FB8, 0x1FB9, -8, 1},
    {0x1FBA, 0x1FBB, -74, 1},
    {0x1FBC, 0x1FBC, -9, 1},
    {0x1FC8, 0x1FCB, -86, 1},
    {0x1FCC, 0x1FCC, -9, 1},
    {0x1FD8, 0x1FD9, -8, 1},
    {0x1FDA, 0x1FDB, -100, 1},
    {0x1FE8, 0x1FE9, -8, 1},
    {0x1FEA, 0x1FEB, -112, 1},
    {0x1FEC, 0x1FEC, -7, 1},
    {0x1FF8, 0x1FF9, -128, 1},
    {0x1FFA, 0x1FFB, -126, 1},
    {0x1FFC, 0x1FFC, -9, 1},
    {0x2126, 0x2126, -7517, 1},
    {0x212A, 0x212A, -8383, 1},
    {0x212B, 0x212B, -8262, 1},
    {0x2132, 0x2132, 28, 1},
    {0x2160, 0x216F, 16, 1},
    {0x2183, 0x2183, 1, 1},
    {0x24B6, 0x24CF, 26, 1},
    {0x2C00, 0x2C2F, 48, 1},
    {0x2C60, 0x2C60, 1, 1},
    {0x2C62, 0x2C62, -10743, 1},
    {0x2C63, 0x2C63, -3814, 1},
    {0x2C64, 0x2C64, -10727, 1},
    {0x2C67, 0x2C6B, 1, 2},
    {0x2C6D, 0x2C6D, -10780, 1},
    {0x2C6E, 0x2C6E, -10749, 1},
    {0x2C6F, 0x2C6F, -10783, 1},
    {0x2C70, 0x2C70, -10782, 1},
    {0x2C72, 0x2C72, 1, 1},
    {0x2C75, 0x2C75, 1, 1},
    {0x2C7E, 0x2C7F, -10815, 1},
    {0x2C80, 0x2CE2, 1, 2},
    {0x2CEB, 0x2CED, 1, 2},
    {0x2CF2, 0x2CF2, 1, 1},
    {0xA640, 0xA66C, 1, 2},
    {0xA680, 0xA69A, 1, 2},
    {0xA722, 0xA72E, 1, 2},
    {0xA732, 0xA76E, 1, 2},
    {0xA779, 0xA77B, 1, 2},
    {0xA77D, 0xA77D, -35332, 1},
    {0xA77E, 0xA786, 1, 2},
    {0xA78B, 0xA78B, 1, 1},
    {0xA78D, 0xA78D, -42280, 1},
    {0xA790, 0xA792, 1, 2},
    {0xA796, 0xA7A8, 1, 2},
    {0xA7AA, 0xA7AA, -42308, 1},
    {0xA7AB, 0xA7AB, -42319, 1},
    {0xA7AC, 0xA7AC, -42315, 1},
    {0xA7AD, 0xA7AD, -42305, 1},
    {0xA7AE, 0xA7AE, -42308, 1},
    {0xA7B0, 0xA7B0, -42258, 1},
    {0xA7B1, 0xA7B1, -42282, 1},
    {0xA7B2, 0xA7B2, -42261, 1},
    {0xA7B3, 0xA7B3, 928, 1},
    {0xA7B4, 0xA7C2, 1, 2},
    {0xA7C4, 0xA7C4, -48, 1},
    {0xA7C5, 0xA7C5, -42307, 1},
    {0xA7C6, 0xA7C6, -35384, 1},
    {0xA7C7, 0xA7C9, 1, 2},
    {0xA7D0, 0xA7D0, 1, 1},
    {0xA7D6, 0xA7D8, 1, 2},
    {0xA7F5, 0xA7F5, 1, 1},
    {0xFF21, 0xFF3A, 32, 1},
    {0x10400, 0x10427, 40, 1},
    {0x104B0, 0x104D3, 40, 1},
    {0x10570, 0x1057A, 39, 1},
    {0x1057C, 0x1058A, 39, 1},
    {0x1058C, 0x10592, 39, 1},
    {0x10594, 0x10595, 39, 1},
    {0x10C80, 0x10CB2, 64, 1},
    {0x118A0, 0x118BF, 32, 1},
    {0x16E40, 0x16E5F, 32, 1},
    {0x1E900, 0x1E921, 34, 1},
};
static const CaseSpecial lower_specials[] = {
    {0x130, "\151\314\207"},
};
static const CaseRange cased_ranges[] = {
    {0x41, 0x5A}, {0x61, 0x7A}, {0xAA, 0xAA}, {0xB5, 0xB5}, {0xBA, 0xBA}, {0xC0, 0xD6},
    {0xD8, 0xF6}, {0xF8, 0x1BA}, {0x1BC, 0x1BF}, {0x1C4, 0x293}, {0x295, 0x2B8}, {0x2C0, 0x2C1},
    {0x2E0, 0x2E4}, {0x345, 0x345}, {0x370, 0x373}, {0x376, 0x377}, {0x37A, 0x37D}, {0x37F, 0x37F},
    {0x386, 0x386}, {0x388, 0x38A}, {0x38C, 0x38C}, {0x38E, 0x3A1}, {0x3A3, 0x3F5}, {0x3F7, 0x481},
    {0x48A, 0x52F}, {0x531, 0x556}, {0x560, 0x588}, {0x10A0, 0x10C5}, {0x10C7, 0x10C7}, {0x10CD, 0x10CD},
    {0x10D0, 0x10FA}, {0x10FC, 0x10FF}, {0x13A0, 0x13F5}, {0x13F8, 0x13FD}, {0x1C80, 0x1C88}, {0x1C90, 0x1CBA},
    {0x1CBD, 0x1CBF}, {0x1D00, 0x1DBF}, {0x1E00, 0x1F15}, {0x1F18, 0x1F1D}, {0x1F20, 0x1F45}, {0x1F48, 0x1F4D},
    {0x1F50, 0x1F57}, {0x1F59, 0x1F59}, {0x1F5B, 0x1F5B}, {0x1F5D, 0x1F5D}, {0x1F5F, 0x1F7D}, {0x1F80, 0x1FB4},
    {0x1FB6, 0x1FBC}, {0x1FBE, 0x1FBE}, {0x1FC2, 0x1FC4}, {0x1FC6, 0x1FCC}, {0x1FD0, 0x1FD3}, {0x1FD6, 0x1FDB},
    {0x1FE0, 0x1FEC}, {0x1FF2, 0x1FF4}, {0x1FF6, 0x1FFC}, {0x2071, 0x2071}, {0x207F, 0x207F}, {0x2090, 0x209C},
    {0x2102, 0x2102}, {0x2107, 0x2107}, {0x210A, 0x2113}, {0x2115, 0x2115}, {0x2119, 0x211D}, {0x2124, 0x2124},
    {0x2126, 0x2126}, {0x2128, 0x2128}, {0x212A, 0x212D}, {0x212F, 0x2134}, {0x2139, 0x2139}, {0x213C, 0x213F},
    {0x2145, 0x2149}, {0x214E, 0x214E}, {0x2160, 0x217F}, {0x2183, 0x2184}, {0x24B6, 0x24E9}, {0x2C00, 0x2CE4},
    {0x2CEB, 0x2CEE}, {0x2CF2, 0x2CF3}, {0x2D00, 0x2D25}, {0x2D27, 0x2D27}, {0x2D2D, 0x2D2D}, {0xA640, 0xA66D},
    {0xA680, 0xA69D}, {0xA722, 0xA787}, {0xA78B, 0xA78E}, {0xA790, 0xA7CA}, {0xA7D0, 0xA7D1}, {0xA7D3, 0xA7D3},
    {0xA7D5, 0xA7D9}, {0xA7F2, 0xA7F6}, {0xA7F8, 0xA7FA}, {0xAB30, 0xAB5A}, {0xAB5C, 0xAB69}, {0xAB70, 0xABBF},
    {0xFB00, 0xFB06}, {0xFB13, 0xFB17}, {0xFF21, 0xFF3A}, {0xFF41, 0xFF5A}, {0x10400, 0x1044F}, {0x104B0, 0x104D3},
    {0x104D8, 0x104FB}, {0x10570, 0x1057A}, {0x1057C, 0x1058A}, {0x1058C, 0x10592}, {0x10594, 0x10595}, {0x10597, 0x105A1},
    {0x105A3, 0x105B1}, {0x105B3, 0x105B9}, {0x105BB, 0x105BC}, {0x10780, 0x10780}, {0x10783, 0x10785}, {0x10787, 0x107B0},
    {0x107B2, 0x107BA}, {0x10C80, 0x10CB2}, {0x10CC0, 0x10CF2}, {0x118A0, 0x118DF}, {0x16E40, 0x16E7F}, {0x1D400, 0x1D454},
    {0x1D456, 0x1D49C}, {0x1D49E, 0x1D49F}, {0x1D4A2, 0x1D4A2}, {0x1D4A5, 0x1D4A6}, {0x1D4A9, 0x1D4AC}, {0x1D4AE, 0x1D4B9},
    {0x1D4BB, 0x1D4BB}, {0x1D4BD, 0x1D4C3}, {0x1D4C5, 0x1D505}, {0x1D507, 0x1D50A}, {0x1D50D, 0x1D514}, {0x1D516, 0x1D51C},
    {0x1D51E, 0x1D539}, {0x1D53B, 0x1D53E}, {0x1D540, 0x1D544}, {0x1D546, 0x1D546}, {0x1D54A, 0x1D550}, {0x1D552, 0x1D6A5},
    {0x1D6A8, 0x1D6C0}, {0x1D6C2, 0x1D6DA}, {0x1D6DC, 0x1D6FA}, {0x1D6FC, 0x1D714}, {0x1D716, 0x1D734}, {0x1D736, 0x1D74E},
    {0x1D750, 0x1D76E}, {0x1D770, 0x1D788}, {0x1D78A, 0x1D7A8}, {0x1D7AA, 0x1D7C2}, {0x1D7C4, 0x1D7CB}, {0x1DF00, 0x1DF09},
    {0x1DF0B, 0x1DF1E}, {0x1DF25, 0x1DF2A}, {0x1E030, 0x1E06D}, {0x1E900, 0x1E943}, {0x1F130, 0x1F149}, {0x1F150, 0x1F169},
    {0x1F170, 0x1F189},
};
static const CaseRange case_ignorable_ranges[] = {
    {0x27, 0x27}, {0x2E, 0x2E}, {0x3A, 0x3A}, {0x5E, 0x5E}, {0x60, 0x60}, {0xA8, 0xA8},
    {0xAD, 0xAD}, {0xAF, 0xAF}, {0xB4, 0xB4}, {0xB7, 0xB8}, {0x2B0, 0x36F}, {0x374, 0x375},
    {0x37A, 0x37A}, {0x384, 0x385}, {0x387, 0x387}, {0x483, 0x489}, {0x559, 0x559}, {0x55F, 0x55F},
    {0x591, 0x5BD}, {0x5BF, 0x5BF}, {0x5C1, 0x5C2}, {0x5C4, 0x5C5}, {0x5C7, 0x5C7}, {0x5F4, 0x5F4},
    {0x600, 0x605}, {0x610, 0x61A}, {0x61C, 0x61C}, {0x640, 0x640}, {0x64B, 0x65F}, {0x670, 0x670},
    {0x6D6, 0x6DD}, {0x6DF, 0x6E8}, {0x6EA, 0x6ED}, {0x70F, 0x70F}, {0x711, 0x711}, {0x730, 0x74A},
    {0x7A6, 0x7B0}, {0x7EB, 0x7F5}, {0x7FA, 0x7FA}, {0x7FD, 0x7FD}, {0x816, 0x82D}, {0x859, 0x85B},
    {0x888, 0x888}, {0x890, 0x891}, {0x898, 0x89F}, {0x8C9, 0x902}, {0x93A, 0x93A}, {0x93C, 0x93C},
    {0x941, 0x948}, {0x94D, 0x94D}, {0x951, 0x957}, {0x962, 0x963}, {0x971, 0x971}, {0x981, 0x981},
    {0x9BC, 0x9BC}, {0x9C1, 0x9C4}, {0x9CD, 0x9CD}, {0x9E2, 0x9E3}, {0x9FE, 0x9FE}, {0xA01, 0xA02},
    {0xA3C, 0xA3C}, {0xA41, 0xA42}, {0xA47, 0xA48}, {0xA4B, 0xA4D}, {0xA51, 0xA51}, {0xA70, 0xA71},
    {0xA75, 0xA75}, {0xA81, 0xA82}, {0xABC, 0xABC}, {0xAC1, 0xAC5}, {0xAC7, 0xAC8}, {0xACD, 0xACD},
    {0xAE2, 0xAE3}, {0xAFA, 0xAFF}, {0xB01, 0xB01}, {0xB3C, 0xB3C}, {0xB3F, 0xB3F}, {0xB41, 0xB44},
    {0xB4D, 0xB4D}, {0xB55, 0xB56}, {0xB62, 0xB63}, {0xB82, 0xB82}, {0xBC0, 0xBC0}, {0xBCD, 0xBCD},
    {0xC00, 0xC00}, {0xC04, 0xC04}, {0xC3C, 0xC3C}, {0xC3E, 0xC40}, {0xC46, 0xC48}, {0xC4A, 0xC4D},
    {0xC55, 0xC56}, {0xC62, 0xC63}, {0xC81, 0xC81}, {0xCBC, 0xCBC}, {0xCBF, 0xCBF}, {0xCC6, 0xCC6},
    {0xCCC, 0xCCD}, {0xCE2, 0xCE3}, {0xD00, 0xD01}, {0xD3B, 0xD3C}, {0xD41, 0xD44}, {0xD4D, 0xD4D},
    {0xD62, 0xD63}, {0xD81, 0xD81}, {0xDCA, 0xDCA}, {0xDD2, 0xDD4}, {0xDD6, 0xDD6}, {0xE31, 0xE31},
    {0xE34, 0xE3A}, {0xE46, 0xE4E}, {0xEB1, 0xEB1}, {0xEB4, 0xEBC}, {0xEC6, 0xEC6}, {0xEC8, 0xECE},
    {0xF18, 0xF19}, {0xF35, 0xF35}, {0xF37, 0xF37}, {0xF39, 0xF39}, {0xF71, 0xF7E}, {0xF80, 0xF84},
    {0xF86, 0xF87}, {0xF8D, 0xF97}, {0xF99, 0xFBC}, {0xFC6, 0xFC6}, {0x102D, 0x1030}, {0x1032, 0x1037},
    {0x1039, 0x103A}, {0x103D, 0x103E}, {0x1058, 0x1059}, {0x105E, 0x1060}, {0x1071, 0x1074}, {0x1082, 0x1082},
    {0x1085, 0x1086}, {0x108D, 0x108D}, {0x109D, 0x109D}, {0x10FC, 0x10FC}, {0x135D, 0x135F}, {0x1712, 0x1714},
    {0x1732, 0x1733}, {0x1752, 0x1753}, {0x1772, 0x1773}, {0x17B4, 0x17B5}, {0x17B7, 0x17BD}, {0x17C6, 0x17C6},
    {0x17C9, 0x17D3}, {0x17D7, 0x17D7}, {0x17DD, 0x17DD}, {0x180B, 0x180F}, {0x1843, 0x1843}, {0x1885, 0x1886},
    {0x18A9, 0x18A9}, {0x1920, 0x1922}, {0x1927, 0x1928}, {0x1932, 0x1932}, {0x1939, 0x193B}, {0x1A17, 0x1A18},
    {0x1A1B, 0x1A1B}, {0x1A56, 0x1A56}, {0x1A58, 0x1A5E}, {0x1A60, 0x1A60}, {0x1A62, 0x1A62}, {0x1A65, 0x1A6C},
    {0x1A73, 0x1A7C}, {0x1A7F, 0x1A7F}, {0x1AA7, 0x1AA7}, {0x1AB0, 0x1ACE}, {0x1B00, 0x1B03}, {0x1B34, 0x1B34},
    {0x1B36, 0x1B3A}, {0x1B3C, 0x1B3C}, {0x1B42, 0x1B42}, {0x1B6B, 0x1B73}, {0x1B80, 0x1B81}, {0x1BA2, 0x1BA5},
    {0x1BA8, 0x1BA9}, {0x1BAB, 0x1BAD}, {0x1BE6, 0x1BE6}, {0x1BE8, 0x1BE9}, {0x1BED, 0x1BED}, {0x1BEF, 0x1BF1},
    {0x1C2C, 0x1C33}, {0x1C36, 0x1C37}, {0x1C78, 0x1C7D}, {0x1CD0, 0x1CD2}, {0x1CD4, 0x1CE0}, {0x1CE2, 0x1CE8},
    {0x1CED, 0x1CED}, {0x1CF4, 0x1CF4}, {0x1CF8, 0x1CF9}, {0x1D2C, 0x1D6A}, {0x1D78, 0x1D78}, {0x1D9B, 0x1DFF},
    {0x1FBD, 0x1FBD}, {0x1FBF, 0x1FC1}, {0x1FCD, 0x1FCF}, {0x1FDD, 0x1FDF}, {0x1FED, 0x1FEF}, {0x1FFD, 0x1FFE},
    {0x200B, 0x200F}, {0x2018, 0x2019}, {0x2024, 0x2024}, {0x2027, 0x2027}, {0x202A, 0x202E}, {0x2060, 0x2064},
    {0x2066, 0x206F}, {0x2071, 0x2071}, {0x207F, 0x207F}, {0x2090, 0x209C}, {0x20D0, 0x20F0}, {0x2C7C, 0x2C7D},
    {0x2CEF, 0x2CF1}, {0x2D6F, 0x2D6F}, {0x2D7F, 0x2D7F}, {0x2DE0, 0x2DFF}, {0x2E2F, 0x2E2F}, {0x3005, 0x3005},
    {0x302A, 0x302D}, {0x3031, 0x3035}, {0x303B, 0x303B}, {0x3099, 0x309E}, {0x30FC, 0x30FE}, {0xA015, 0xA015},
    {0xA4F8, 0xA4FD}, {0xA60C, 0xA60C}, {0xA66F, 0xA672}, {0xA674, 0xA67D}, {0xA67F, 0xA67F}, {0xA69C, 0xA69F},
    {0xA6F0, 0xA6F1}, {0xA700, 0xA721}, {0xA770, 0xA770}, {0xA788, 0xA78A}, {0xA7F2, 0xA7F4}, {0xA7F8, 0xA7F9},
    {0xA802, 0xA802}, {0xA806, 0xA806}, {0xA80B, 0xA80B}, {0xA825, 0xA826}, {0xA82C, 0xA82C}, {0xA8C4, 0xA8C5},
    {0xA8E0, 0xA8F1}, {0xA8FF, 0xA8FF}, {0xA926, 0xA92D}, {0xA947, 0xA951}, {0xA980, 0xA982}, {0xA9B3, 0xA9B3},
    {0xA9B6, 0xA9B9}, {0xA9BC, 0xA9BD}, {0xA9CF, 0xA9CF}, {0xA9E5, 0xA9E6}, {0xAA29, 0xAA2E}, {0xAA31, 0xAA32},
    {0xAA35, 0xAA36}, {0xAA43, 0xAA43}, {0xAA4C, 0xAA4C}, {0xAA70, 0xAA70}, {0xAA7C, 0xAA7C}, {0xAAB0, 0xAAB0},
    {0xAAB2, 0xAAB4}, {0xAAB7, 0xAAB8}, {0xAABE, 0xAABF}, {0xAAC1, 0xAAC1}, {0xAADD, 0xAADD}, {0xAAEC, 0xAAED},
    {0xAAF3, 0xAAF4}, {0xAAF6, 0xAAF6}, {0xAB5B, 0xAB5F}, {0xAB69, 0xAB6B}, {0xABE5, 0xABE5}, {0xABE8, 0xABE8},
    {0xABED, 0xABED}, {0xFB1E, 0xFB1E}, {0xFBB2, 0xFBC2}, {0xFE00, 0xFE0F}, {0xFE13, 0xFE13}, {0xFE20, 0xFE2F},
    {0xFE52, 0xFE52}, {0xFE55, 0xFE55}, {0xFEFF, 0xFEFF}, {0xFF07, 0xFF07}, {0xFF0E, 0xFF0E}, {0xFF1A, 0xFF1A},
    {0xFF3E, 0xFF3E}, {0xFF40, 0xFF40}, {0xFF70, 0xFF70}, {0xFF9E, 0xFF9F}, {0xFFE3, 0xFFE3}, {0xFFF9, 0xFFFB},
    {0x101FD, 0x101FD}, {0x102E0, 0x102E0}, {0x10376, 0x1037A}, {0x10780, 0x10785}, {0x10787, 0x107B0}, {0x107B2, 0x107BA},
    {0x10A01, 0x10A03}, {0x10A05, 0x10A06}, {0x10A0C, 0x10A0F}, {0x10A38, 0x10A3A}, {0x10A3F, 0x10A3F}, {0x10AE5, 0x10AE6},
    {0x10D24, 0x10D27}, {0x10EAB, 0x10EAC}, {0x10EFD, 0x10EFF}, {0x10F46, 0x10F50}, {0x10F82, 0x10F85}, {0x11001, 0x11001},
    {0x11038, 0x11046}, {0x11070, 0x11070}, {0x11073, 0x11074}, {0x1107F, 0x11081}, {0x110B3, 0x110B6}, {0x110B9, 0x110BA},
    {0x110BD, 0x110BD}, {0x110C2, 0x110C2}, {0x110CD, 0x110CD}, {0x11100, 0x11102}, {0x11127, 0x1112B}, {0x1112D, 0x11134},
    {0x11173, 0x11173}, {0x11180, 0x11181}, {0x111B6, 0x111BE}, {0x111C9, 0x111CC}, {0x111CF, 0x111CF}, {0x1122F, 0x11231},
    {0x11234, 0x11234}, {0x11236, 0x11237}, {0x1123E, 0x1123E}, {0x11241, 0x11241}, {0x112DF, 0x112DF}, {0x112E3, 0x112EA},
    {0x11300, 0x11301}, {0x1133B, 0x1133C}, {0x11340, 0x11340}, {0x11366, 0x1136C}, {0x11370, 0x11374}, {0x11438, 0x1143F},
    {0x11442, 0x11444}, {0x11446, 0x11446}, {0x1145E, 0x1145E}, {0x114B3, 0x114B8}, {0x114BA, 0x114BA}, {0x114BF, 0x114C0},
    {0x114C2, 0x114C3}, {0x115B2, 0x115B5}, {0x115BC, 0x115BD}, {0x115BF, 0x115C0}, {0x115DC, 0x115DD}, {0x11633, 0x1163A},
    {0x1163D, 0x1163D}, {0x1163F, 0x11640}, {0x116AB, 0x116AB}, {0x116AD, 0x116AD}, {0x116B0, 0x116B5}, {0x116B7, 0x116B7},
    {0x1171D, 0x1171F}, {0x11722, 0x11725}, {0x11727, 0x1172B}, {0x1182F, 0x11837}, {0x11839, 0x1183A}, {0x1193B, 0x1193C},
    {0x1193E, 0x1193E}, {0x11943, 0x11943}, {0x119D4, 0x119D7}, {0x119DA, 0x119DB}, {0x119E0, 0x119E0}, {0x11A01, 0x11A0A},
    {0x11A33, 0x11A38}, {0x11A3B, 0x11A3E}, {0x11A47, 0x11A47}, {0x11A51, 0x11A56}, {0x11A59, 0x11A5B}, {0x11A8A, 0x11A96},
    {0x11A98, 0x11A99}, {0x11C30, 0x11C36}, {0x11C38, 0x11C3D}, {0x11C3F, 0x11C3F}, {0x11C92, 0x11CA7}, {0x11CAA, 0x11CB0},
    {0x11CB2, 0x11CB3}, {0x11CB5, 0x11CB6}, {0x11D31, 0x11D36}, {0x11D3A, 0x11D3A}, {0x11D3C, 0x11D3D}, {0x11D3F, 0x11D45},
    {0x11D47, 0x11D47}, {0x11D90, 0x11D91}, {0x11D95, 0x11D95}, {0x11D97, 0x11D97}, {0x11EF3, 0x11EF4}, {0x11F00, 0x11F01},
    {0x11F36, 0x11F3A}, {0x11F40, 0x11F40}, {0x11F42, 0x11F42}, {0x13430, 0x13440}, {0x13447, 0x13455}, {0x16AF0, 0x16AF4},
    {0x16B30, 0x16B36}, {0x16B40, 0x16B43}, {0x16F4F, 0x16F4F}, {0x16F8F, 0x16F9F}, {0x16FE0, 0x16FE1}, {0x16FE3, 0x16FE4},
    {0x1AFF0, 0x1AFF3}, {0x1AFF5, 0x1AFFB}, {0x1AFFD, 0x1AFFE}, {0x1BC9D, 0x1BC9E}, {0x1BCA0, 0x1BCA3}, {0x1CF00, 0x1CF2D},
    {0x1CF30, 0x1CF46}, {0x1D167, 0x1D169}, {0x1D173, 0x1D182}, {0x1D185, 0x1D18B}, {0x1D1AA, 0x1D1AD}, {0x1D242, 0x1D244},
    {0x1DA00, 0x1DA36}, {0x1DA3B, 0x1DA6C}, {0x1DA75, 0x1DA75}, {0x1DA84, 0x1DA84}, {0x1DA9B, 0x1DA9F}, {0x1DAA1, 0x1DAAF},
    {0x1E000, 0x1E006}, {0x1E008, 0x1E018}, {0x1E01B, 0x1E021}, {0x1E023, 0x1E024}, {0x1E026, 0x1E02A}, {0x1E030, 0x1E06D},
    {0x1E08F, 0x1E08F}, {0x1E130, 0x1E13D}, {0x1E2AE, 0x1E2AE}, {0x1E2EC, 0x1E2EF}, {0x1E4EB, 0x1E4EF}, {0x1E8D0, 0x1E8D6},
    {0x1E944, 0x1E94B}, {0x1F3FB, 0x1F3FF}, {0xE0001, 0xE0001}, {0xE0020, 0xE007F}, {0xE0100, 0xE01EF},
};
/* case tables: end */

static const CaseRun *find_run(const CaseRun *runs, size_t n, uint32_t cp) {
    size_t lo = 0, hi = n;
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        if (runs[mid].last < cp) lo = mid + 1;
        else hi = mid;
    }
    if (lo < n && runs[lo].first <= cp && (cp - runs[lo].first) % (uint32_t)runs[lo].stride == 0) return &runs[lo];
    return NULL;
}

static const char *find_special(const CaseSpecial *specials, size_t n, uint32_t cp) {
    size_t lo = 0, hi = n;
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        if (specials[mid].cp < cp) lo = mid + 1;
        else hi = mid;
    }
    return lo < n && specials[lo].cp == cp ? specials[lo].text : NULL;
}

static int in_ranges(const CaseRange *ranges, size_t n, uint32_t cp) {
    size_t lo = 0, hi = n;
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        if (ranges[mid].last < cp) lo = mid + 1;
        else hi = mid;
    }
    return lo < n && ranges[lo].first <= cp;
}


/* 1 cased, 0 neither, -1 case-ignorable (skipped when looking for a cased
 * neighbour of a capital sigma). */
#define INVALID_BYTE 0x80000000u

static int sigma_context(uint32_t cp) {
    if (cp & INVALID_BYTE) return 0;
    if (in_ranges(case_ignorable_ranges, COUNT_OF(case_ignorable_ranges), cp)) return -1;
    return in_ranges(cased_ranges, COUNT_OF(cased_ranges), cp);
}

static int cased_neighbour(const uint32_t *cps, size_t n, size_t at, int direction) {
    for (size_t k = at;;) {
        if (direction < 0) {
            if (k == 0) return 0;
            k--;
        } else {
            if (++k >= n) return 0;
        }
        int c = sigma_context(cps[k]);
        if (c >= 0) return c;
    }
}

static VBValue change_case(const char *s, size_t n, int upper) {
    char *out;
    if (all_ascii(s, n)) {
        out = vb_alloc_text(n + 1);
        const char low = upper ? 'a' : 'A', high = upper ? 'z' : 'Z';
        const int shift = upper ? -32 : 32;
        for (size_t i = 0; i < n; i++) {
            char c = s[i];
            out[i] = c >= low && c <= high ? (char)(c + shift) : c;
        }
        out[n] = '\0';
        return text_value(out);
    }
    uint32_t *cps = (uint32_t *)vb_alloc_text(sizeof(uint32_t) * (n + 1));
    size_t count = 0;
    for (size_t i = 0; i < n;) {
        size_t len = utf8_length(s, n, i, &cps[count]);
        /* a byte that begins no valid sequence is kept as it is */
        if (len == 1 && (unsigned char)s[i] >= 0x80) cps[count] = INVALID_BYTE | (unsigned char)s[i];
        count++;
        i += len;
    }
    /* a special mapping yields at most three characters of four bytes */
    out = vb_alloc_text(12 * count + 1);
    size_t length = 0;
    for (size_t k = 0; k < count; k++) {
        uint32_t cp = cps[k];
        const char *special;
        if (cp & INVALID_BYTE) {
            out[length++] = (char)(cp & 0xFF);
            continue;
        }
        if (!upper && cp == 0x3A3) {
            int final = cased_neighbour(cps, count, k, -1) && !cased_neighbour(cps, count, k, 1);
            length += put_utf8(out + length, final ? 0x3C2 : 0x3C3);
            continue;
        }
        special = upper ? find_special(upper_specials, COUNT_OF(upper_specials), cp)
                        : find_special(lower_specials, COUNT_OF(lower_specials), cp);
        if (special) {
            size_t sl = strlen(special);
            memcpy(out + length, special, sl);
            length += sl;
            continue;
        }
        const CaseRun *run = upper ? find_run(upper_runs, COUNT_OF(upper_runs), cp)
                                   : find_run(lower_runs, COUNT_OF(lower_runs), cp);
        length += put_utf8(out + length, run ? (uint32_t)((int32_t)cp + run->delta) : cp);
    }
    out[length] = '\0';
    return text_value(out);
}

/* `Like`: `*` matches any run of characters and `?` any one, both never a
 * line feed; every other character matches itself, case-sensitively. */
static int like_match(const char *text, const char *pattern) {
    size_t tn = strlen(text), pn = strlen(pattern);
    uint32_t *t = (uint32_t *)vb_alloc_text(sizeof(uint32_t) * (tn + 1));
    uint32_t *p = (uint32_t *)vb_alloc_text(sizeof(uint32_t) * (pn + 1));
    size_t nt = 0, np = 0;
    for (size_t i = 0; i < tn;) i += utf8_length(text, tn, i, &t[nt++]);
    for (size_t i = 0; i < pn;) i += utf8_length(pattern, pn, i, &p[np++]);
    char *prev = vb_alloc_text(np + 1), *cur = vb_alloc_text(np + 1);
    prev[0] = 1;
    for (size_t j = 1; j <= np; j++) prev[j] = prev[j - 1] && p[j - 1] == '*';
    for (size_t i = 1; i <= nt; i++) {
        uint32_t c = t[i - 1];
        cur[0] = 0;
        for (size_t j = 1; j <= np; j++) {
            uint32_t q = p[j - 1];
            if (q == '*') cur[j] = cur[j - 1] || (prev[j] && c != '\n');
            else if (q == '?') cur[j] = prev[j - 1] && c != '\n';
            else cur[j] = prev[j - 1] && q == c;
        }
        char *swap = prev;
        prev = cur;
        cur = swap;
    }
    return prev[np] != 0;
}

/* ===================================================================== */
/* Built-in functions                                                     */
/* ===================================================================== */

enum {
    B_UNKNOWN, B_CSTR, B_VAL, B_CDBL, B_CINT, B_LEN, B_ABS, B_INT, B_FIX, B_SQR, B_TRIM, B_LTRIM,
    B_RTRIM, B_UCASE, B_LCASE, B_LEFT, B_RIGHT, B_MID, B_INSTR, B_DBROWS, B_ENVIRON, B_INSTRREV,
    B_REPLACE, B_STRREVERSE, B_STRCOMP, B_SPACE, B_STRING, B_CHR, B_ASC, B_SGN, B_HEX, B_OCT,
    B_IIF, B_ISNULL, B_ISEMPTY, B_ISNUMERIC, B_UBOUND, B_LBOUND, B_SPLIT, B_JOIN, B_FORMAT
};

static const struct {
    const char *name;
    int code;
} BUILTIN_NAMES[] = {
    {"abs", B_ABS},         {"asc", B_ASC},         {"cdbl", B_CDBL},         {"chr", B_CHR},
    {"cint", B_CINT},       {"clng", B_CINT},       {"csng", B_CDBL},         {"cstr", B_CSTR},
    {"dbrows", B_DBROWS},   {"environ", B_ENVIRON}, {"fix", B_FIX},           {"format", B_FORMAT},
    {"hex", B_HEX},
    {"iif", B_IIF},         {"instr", B_INSTR},     {"instrrev", B_INSTRREV}, {"int", B_INT},
    {"isempty", B_ISEMPTY}, {"isnull", B_ISNULL},   {"isnumeric", B_ISNUMERIC}, {"join", B_JOIN},
    {"lbound", B_LBOUND},   {"lcase", B_LCASE},
    {"left", B_LEFT},       {"len", B_LEN},         {"ltrim", B_LTRIM},       {"mid", B_MID},
    {"oct", B_OCT},         {"replace", B_REPLACE}, {"right", B_RIGHT},       {"rtrim", B_RTRIM},
    {"sgn", B_SGN},         {"space", B_SPACE},     {"split", B_SPLIT},       {"sqr", B_SQR},
    {"str", B_CSTR},
    {"strcomp", B_STRCOMP}, {"string", B_STRING},   {"strreverse", B_STRREVERSE}, {"trim", B_TRIM},
    {"ubound", B_UBOUND},   {"ucase", B_UCASE},     {"val", B_VAL},         {"vbrows", B_DBROWS},
};

/* Names compare ignoring case (the table is sorted). Generated code names
 * its functions by string literals, so the last lookups are remembered by
 * the name's address (and its first two characters). */
static int builtin_lookup(const char *name);
static VBValue array_bound(int argc, VBValue *args, int upper);
static VBValue more_builtins(const char *name, int argc, VBValue *args);
static VBValue fn_format(int argc, VBValue *args);

static int builtin_code(const char *name) {
    static struct {
        const char *address;
        char first, second;
        int index;
    } recent[64];
    if (!name || !name[0]) return B_UNKNOWN;
    size_t slot = (size_t)(((uint64_t)(uintptr_t)name * 0x9E3779B97F4A7C15ull) >> 58);
    if (recent[slot].address == name && recent[slot].first == name[0] && recent[slot].second == name[1] &&
        recent[slot].index >= 0)
        return BUILTIN_NAMES[recent[slot].index].code;
    int index = builtin_lookup(name);
    recent[slot].address = name;
    recent[slot].first = name[0];
    recent[slot].second = name[1];
    recent[slot].index = index;
    return index < 0 ? B_UNKNOWN : BUILTIN_NAMES[index].code;
}

/* Index of the name in the table, or -1. */
static int builtin_lookup(const char *name) {
    char low[16];
    size_t n = 0;
    for (; name[n]; n++) {
        if (n >= sizeof low - 1) return -1;
        low[n] = (char)tolower((unsigned char)name[n]);
    }
    low[n] = '\0';
    size_t lo = 0, hi = COUNT_OF(BUILTIN_NAMES);
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        int c = strcmp(BUILTIN_NAMES[mid].name, low);
        if (c == 0) return (int)mid;
        if (c < 0) lo = mid + 1;
        else hi = mid;
    }
    return -1;
}

/* A count or position argument: truncated toward zero, clamped to the
 * 64-bit range (NaN as 0). */
static long long count_of(VBValue v) {
    Num n = number_of(v);
    if (n.is_int) return n.i;
    if (isnan(n.d)) return 0;
    if (n.d >= 9.2e18) return LLONG_MAX;
    if (n.d <= -9.2e18) return LLONG_MIN;
    return (long long)trunc(n.d);
}

/* A one-character ASCII text, made once per character: texts that are
 * cut or built one character at a time allocate nothing. Their buffers
 * are full, so nothing grows them in place. */
static VBValue ascii_char_value(char c) {
    static VBValue made[128];
    const unsigned char k = (unsigned char)c & 0x7F;
    if (!made[k].text) {
        char *t = vb_alloc_text(2);
        t[0] = c;
        t[1] = '\0';
        made[k] = text_value_n(t, 1);
    }
    return made[k];
}

/* Characters [from, from + count) of a value's text (clamped), as a new
 * value: O(count) once the start is found (see text_seek). */
static VBValue text_piece(VBValue v, long long from, long long count) {
    if (v.kind != VB_STRING) v = text_value(copy_text(string_of(v)));
    if (from < 0) from = 0;
    if (count <= 0) return str_value("");
    size_t reached, n = text_length(v);
    size_t b = text_seek(v, (size_t)from, &reached);
    size_t e;
    if ((unsigned long long)count >= n - b) {
        e = n; /* no more characters than bytes are left */
    } else if (known_ascii(v) >= b + (size_t)count) {
        e = b + (size_t)count;
    } else {
        e = b;
        for (long long k = 0; k < count && e < n; k++)
            e += (unsigned char)v.text[e] < 0x80 ? 1 : utf8_length(v.text, n, e, NULL);
    }
    if (e - b == 1 && (unsigned char)v.text[b] < 0x80 && v.text[b]) return ascii_char_value(v.text[b]);
    return text_value_n(copy_bytes(v.text + b, e - b), e - b);
}

static void need_args(int argc, int n, const char *name) {
    if (argc >= n) return;
    char m[80];
    snprintf(m, sizeof m, "%s requires %d argument%s", name, n, n == 1 ? "" : "s");
    fatal(copy_text(m));
}

static VBValue whole_value(double d) { return num_value(num_double(d)); }

/* A number with two decimals (the exact binary value rounded, ties to
 * even, as printf does), optionally with "," between thousands. */
static char *two_decimals(Num n, int separators) {
    char text[400];
    if (n.is_int) snprintf(text, sizeof text, "%lld.00", n.i);
    else if (isnan(n.d)) snprintf(text, sizeof text, "nan");
    else if (isinf(n.d)) snprintf(text, sizeof text, n.d > 0 ? "inf" : "-inf");
    else snprintf(text, sizeof text, "%.2f", n.d);
    const char *point = strchr(text, '.');
    if (!separators || !point) return copy_text(text);
    size_t sign = text[0] == '-' ? 1 : 0, digits = (size_t)(point - text) - sign;
    char *out = vb_alloc_text(strlen(text) + digits / 3 + 2), *p = out;
    if (sign) *p++ = '-';
    for (size_t k = 0; k < digits; k++) {
        if (k > 0 && (digits - k) % 3 == 0) *p++ = ',';
        *p++ = text[sign + k];
    }
    strcpy(p, point);
    return out;
}

/* Format with its named styles; any other style gives the text form. */
static VBValue format_named(VBValue value, const char *style) {
    char *result;
    if (!strcasecmp(style, "currency")) {
        char *t = two_decimals(number_of(value), 1);
        result = vb_alloc_text(strlen(t) + 2);
        result[0] = '$';
        strcpy(result + 1, t);
    } else if (!strcasecmp(style, "percent")) {
        Num n = number_of(value);
        long long product;
        if (n.is_int && !__builtin_mul_overflow(n.i, 100LL, &product)) n = num_int(product);
        else {
            Num scaled = {0, 0, n.d * 100.0};
            n = scaled;
        }
        char *t = two_decimals(n, 0);
        result = vb_alloc_text(strlen(t) + 2);
        strcpy(result, t);
        strcat(result, "%");
    } else if (!strcasecmp(style, "fixed")) {
        result = two_decimals(number_of(value), 0);
    } else if (!strcasecmp(style, "standard")) {
        result = two_decimals(number_of(value), 1);
    } else {
        return str_value(string_of(value));
    }
    return text_value(result);
}

long long vb_len(VBValue v) {
    if (v.kind == VB_STRING) return (long long)text_chars(v);
    return vb_builtin("len", 1, &v).integer;
}

/* Built-ins of text loops that generated code calls straight, without the
 * lookup by name (vb_builtin dispatches to them too). */
static VBValue left_or_right(int argc, VBValue *args, int left) {
    need_args(argc, 2, left ? "Left" : "Right");
    VBValue v = args[0];
    long long count = count_of(args[1]);
    if (count <= 0) return str_value("");
    if (v.kind != VB_STRING) v = text_value(copy_text(string_of(v)));
    if (left) return text_piece(v, 0, count);
    long long total = (long long)text_chars(v);
    if (count > total) count = total;
    return text_piece(v, total - count, count);
}

VBValue vb_builtin_left(int argc, VBValue *args) { return left_or_right(argc, args, 1); }
VBValue vb_builtin_right(int argc, VBValue *args) { return left_or_right(argc, args, 0); }

VBValue vb_builtin_mid(int argc, VBValue *args) {
    need_args(argc, 2, "Mid");
    long long start = count_of(args[1]);
    if (start < 1) start = 1;
    long long count = LLONG_MAX;
    if (argc >= 3) {
        count = count_of(args[2]);
        if (count < 0) {
            char buf[32];
            snprintf(buf, sizeof buf, "%lld", count);
            failf("Mid length must not be negative (got %s)", buf);
        }
    }
    return text_piece(args[0], start - 1, count);
}

VBValue vb_builtin_instr(int argc, VBValue *args) {
    need_args(argc, 2, "InStr");
    /* InStr([start,] text, sought): the search begins at the start
     * position (1-based, in characters). */
    long long start = 1;
    VBValue hay = args[0], needle = args[1];
    if (argc >= 3) {
        start = count_of(args[0]);
        if (start < 1) {
            char number[32];
            snprintf(number, sizeof number, "%lld", start);
            failf("Invalid procedure call or argument: InStr start %s", number);
        }
        hay = args[1];
        needle = args[2];
    }
    if (hay.kind != VB_STRING) hay = text_value(copy_text(string_of(hay)));
    char buf[64];
    size_t n;
    const char *t = text_of(needle, buf, &n);
    size_t reached, b = text_seek(hay, (size_t)(start - 1), &reached);
    if ((long long)reached < start - 1) return int_value(0); /* starts past the end */
    if (n == 0) return int_value(start);
    /* the bytes searched from the start position; a hit's position
     * counts the characters before it from there */
    const char *s = c_text(hay);
    const char *hit = strstr(s + b, t);
    if (!hit) return int_value(0);
    return int_value(start + (long long)char_count(s + b, (size_t)(hit - s) - b));
}

VBValue vb_builtin_chr(int argc, VBValue *args) {
    need_args(argc, 1, "Chr");
    Num x = number_of(args[0]);
    long long cp = x.is_int ? x.i : isfinite(x.d) && fabs(x.d) < 9e18 ? (long long)trunc(x.d) : -1;
    if (cp < 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        failf("Chr requires a Unicode code point (got %s)", value_repr(num_value(x)));
    if (cp > 0 && cp < 0x80) return ascii_char_value((char)cp);
    char buf[8];
    size_t n = put_utf8(buf, (uint32_t)cp);
    return text_value_n(copy_bytes(buf, n), n); /* Chr(0) is one character too */
}

VBValue vb_builtin(const char *name, int argc, VBValue *args) {
    int code = builtin_code(name);
    if (argc < 0 || !args) argc = 0;
    if (code == B_UNKNOWN) return more_builtins(name, argc, args);
    VBValue v = argc > 0 ? args[0] : int_value(0);
    char buf[64], buf2[64];
    size_t n, n2;
    const char *s, *t;
    switch (code) {
    case B_CSTR:
        need_args(argc, 1, "CStr");
        if (v.kind == VB_STRING && v.text) return v;
        s = text_of(v, buf, &n);
        return text_value(copy_bytes(s, n));
    case B_CDBL:
        need_args(argc, 1, "CDbl");
        return num_value(number_of(v));
    case B_VAL: {
        need_args(argc, 1, "Val");
        Num x;
        if (try_number(v, &x)) return num_value(x);
        /* the longest numeric prefix, as VB6 reads it ("12abc" is 12) */
        s = string_of(v);
        while (*s == ' ' || *s == '\t') s++;
        if ((s[0] == '&') && (s[1] == 'H' || s[1] == 'h')) return int_value(strtoll(s + 2, NULL, 16));
        if ((s[0] == '&') && (s[1] == 'O' || s[1] == 'o')) return int_value(strtoll(s + 2, NULL, 8));
        char *end;
        double d = strtod(s, &end);
        if (end == s || isinf(d) || isnan(d)) {
            /* "inf", "nan" and hex floats are not numbers here */
            char digits[64];
            size_t k = 0;
            if (*s == '+' || *s == '-') digits[k++] = *s++;
            while (k < sizeof digits - 1 && (isdigit((unsigned char)*s) || *s == '.')) digits[k++] = *s++;
            digits[k] = '\0';
            d = strtod(digits, NULL);
        }
        return whole_value(d);
    }
    case B_CINT: {
        need_args(argc, 1, "CInt");
        Num x = number_of(v);
        if (!x.is_int && !isfinite(x.d)) failf("CInt requires a finite number (got %s)", value_repr(v));
        return num_value(round_even(x));
    }
    case B_LEN:
        need_args(argc, 1, "Len");
        if (v.kind == VB_STRING) return int_value((long long)text_chars(v));
        if (is_record_value(v)) return int_value(record_byte_length(v)); /* Open ... Len = Len(r) */
        s = text_of(v, buf, &n);
        return int_value((long long)char_count(s, n));
    case B_ABS: {
        need_args(argc, 1, "Abs");
        Num x = number_of(v);
        if (x.is_int) return x.i == LLONG_MIN ? dbl_value(TWO_63) : int_value(x.i < 0 ? -x.i : x.i);
        return dbl_value(fabs(x.d));
    }
    case B_INT:
    case B_FIX: {
        need_args(argc, 1, code == B_INT ? "Int" : "Fix");
        Num x = number_of(v);
        if (x.is_int) return int_value(x.i);
        if (!isfinite(x.d)) failf(code == B_INT ? "Int requires a finite number (got %s)" : "Fix requires a finite number (got %s)", value_repr(v));
        return whole_value(code == B_INT ? floor(x.d) : trunc(x.d));
    }
    case B_SQR: {
        need_args(argc, 1, "Sqr");
        Num x = number_of(v);
        if (x.d < 0) failf("Sqr requires a number that is not negative (got %s)", value_repr(num_value(x)));
        return dbl_value(sqrt(x.d));
    }
    case B_SGN: {
        need_args(argc, 1, "Sgn");
        Num x = number_of(v);
        return int_value(x.is_int ? (x.i > 0) - (x.i < 0) : (x.d > 0) - (x.d < 0));
    }
    case B_HEX:
    case B_OCT: {
        need_args(argc, 1, code == B_HEX ? "Hex" : "Oct");
        Num x = number_of(v);
        unsigned long low;
        if (x.is_int) {
            low = (unsigned long)((unsigned long long)x.i & 0xFFFFFFFFull);
        } else {
            if (!isfinite(x.d)) failf(code == B_HEX ? "Hex requires a finite number (got %s)" : "Oct requires a finite number (got %s)", value_repr(v));
            double m = fmod(trunc(x.d), 4294967296.0);
            if (m < 0) m += 4294967296.0;
            low = (unsigned long)m;
        }
        snprintf(buf, sizeof buf, code == B_HEX ? "%lX" : "%lo", low);
        return str_value(buf);
    }
    case B_TRIM:
    case B_LTRIM:
    case B_RTRIM: {
        need_args(argc, 1, code == B_TRIM ? "Trim" : code == B_LTRIM ? "LTrim" : "RTrim");
        s = text_of(v, buf, &n);
        size_t start = 0, end = n;
        if (code != B_RTRIM)
            while (start < end) {
                uint32_t cp;
                size_t len = utf8_length(s, n, start, &cp);
                if (!is_space_cp(cp)) break;
                start += len;
            }
        if (code != B_LTRIM)
            while (end > start) {
                size_t k = end - 1;
                while (k > start && ((unsigned char)s[k] & 0xC0) == 0x80) k--;
                uint32_t cp;
                size_t len = utf8_length(s, n, k, &cp);
                if (k + len != end || !is_space_cp(cp)) break;
                end = k;
            }
        return text_value(copy_bytes(s + start, end - start));
    }
    case B_UCASE:
    case B_LCASE:
        need_args(argc, 1, code == B_UCASE ? "UCase" : "LCase");
        s = text_of(v, buf, &n);
        return change_case(s, n, code == B_UCASE);
    case B_LEFT: return vb_builtin_left(argc, args);
    case B_RIGHT: return vb_builtin_right(argc, args);
    case B_MID: return vb_builtin_mid(argc, args);
    case B_INSTR: return vb_builtin_instr(argc, args);
    case B_INSTRREV: {
        need_args(argc, 2, "InStrRev");
        s = text_of(v, buf, &n);
        t = text_of(args[1], buf2, &n2);
        const char *last = NULL;
        if (n2 == 0) return int_value((long long)char_count(s, n) + 1);
        for (const char *hit = strstr(s, t); hit; hit = strstr(hit + 1, t)) last = hit;
        return int_value(last ? (long long)char_count(s, (size_t)(last - s)) + 1 : 0);
    }
    case B_REPLACE: {
        need_args(argc, 3, "Replace");
        s = text_of(v, buf, &n);
        t = text_of(args[1], buf2, &n2);
        char b3[64];
        size_t n3;
        const char *r = text_of(args[2], b3, &n3);
        if (n2 == 0) return text_value(copy_bytes(s, n));
        size_t hits = 0;
        for (const char *hit = strstr(s, t); hit; hit = strstr(hit + n2, t)) hits++;
        char *out = vb_alloc_text(n + hits * n3 + 1), *p = out;
        const char *from = s;
        for (const char *hit = strstr(s, t); hit; hit = strstr(hit + n2, t)) {
            memcpy(p, from, (size_t)(hit - from));
            p += hit - from;
            memcpy(p, r, n3);
            p += n3;
            from = hit + n2;
        }
        size_t rest = n - (size_t)(from - s);
        memcpy(p, from, rest);
        p[rest] = '\0';
        return text_value(out);
    }
    case B_STRREVERSE: {
        need_args(argc, 1, "StrReverse");
        s = text_of(v, buf, &n);
        char *out = vb_alloc_text(n + 1);
        for (size_t i = 0; i < n;) {
            size_t len = utf8_length(s, n, i, NULL);
            memcpy(out + n - i - len, s + i, len);
            i += len;
        }
        out[n] = '\0';
        return text_value(out);
    }
    case B_STRCOMP: {
        need_args(argc, 2, "StrComp");
        VBValue a = str_value(string_of(v)), b = str_value(string_of(args[1]));
        if (argc > 2 && number_value(args[2]) == 1.0) {
            a = change_case(a.text, strlen(a.text), 0);
            b = change_case(b.text, strlen(b.text), 0);
        }
        int c = strcmp(a.text, b.text);
        return int_value(c < 0 ? -1 : c > 0 ? 1 : 0);
    }
    case B_SPACE:
    case B_STRING: {
        need_args(argc, code == B_SPACE ? 1 : 2, code == B_SPACE ? "Space" : "String");
        long long count = count_of(v);
        if (count < 0) count = 0;
        const char *one = " ";
        size_t len = 1;
        if (code == B_STRING && args[1].kind != VB_STRING) {
            /* A number is a character code: String(3, 65) is "AAA". */
            Num x = number_of(args[1]);
            long long cp = x.is_int ? x.i : isfinite(x.d) && fabs(x.d) < 9e18 ? (long long)trunc(x.d) : -1;
            if (cp < 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
                failf("String requires a character code (got %s)", value_repr(num_value(x)));
            n = put_utf8(buf, (uint32_t)cp);
            one = buf;
            len = n;
        } else if (code == B_STRING) {
            s = text_of(args[1], buf, &n);
            if (n == 0) fatal("String requires a non-empty character");
            len = utf8_length(s, n, 0, NULL);
            one = s;
        }
        if ((unsigned long long)count > (SIZE_MAX - 1) / len) fatal("Out of memory");
        char *out = vb_alloc_text((size_t)count * len + 1);
        for (long long k = 0; k < count; k++) memcpy(out + (size_t)k * len, one, len);
        out[(size_t)count * len] = '\0';
        return text_value(out);
    }
    case B_CHR: return vb_builtin_chr(argc, args);
    case B_ASC: {
        need_args(argc, 1, "Asc");
        s = text_of(v, buf, &n);
        if (n == 0) fatal("Asc requires a non-empty string");
        uint32_t cp;
        utf8_length(s, n, 0, &cp);
        return int_value(cp);
    }
    case B_IIF:
        need_args(argc, 3, "IIf");
        return truth_of(args[0]) ? args[1] : args[2];
    case B_ISNULL:
        need_args(argc, 1, "IsNull");
        return bool_value(v.kind == VB_OBJECT && !v.object);
    case B_ISEMPTY:
        need_args(argc, 1, "IsEmpty");
        return bool_value((v.kind == VB_OBJECT && !v.object) || (v.kind == VB_STRING && text_length(v) == 0));
    case B_ISNUMERIC: {
        need_args(argc, 1, "IsNumeric");
        Num x;
        return bool_value(v.kind == VB_OBJECT ? !v.object : try_number(v, &x));
    }
    case B_UBOUND: return array_bound(argc, args, 1);
    case B_LBOUND: return array_bound(argc, args, 0);
    case B_SPLIT: {
        need_args(argc, 1, "Split");
        s = text_of(v, buf, &n);
        const char *d = argc > 1 ? text_of(args[1], buf2, &n2) : " ";
        if (argc <= 1) n2 = 1;
        long long pieces = 1;
        if (n2 > 0)
            for (const char *hit = strstr(s, d); hit; hit = strstr(hit + n2, d)) pieces++;
        VBValue out = array_value(pieces);
        VBArray *a = out.object;
        const char *from = s;
        long long k = 0;
        if (n2 > 0)
            for (const char *hit = strstr(s, d); hit; hit = strstr(hit + n2, d)) {
                a->items[k++] = text_value(copy_bytes(from, (size_t)(hit - from)));
                from = hit + n2;
            }
        a->items[k] = text_value(copy_bytes(from, n - (size_t)(from - s)));
        return out;
    }
    case B_JOIN: {
        need_args(argc, 1, "Join");
        if (!vb_is_array(v)) failf("Join requires an array (got %s)", value_repr(v));
        VBArray *a = v.object;
        const char *d = argc > 1 ? text_of(args[1], buf2, &n2) : " ";
        if (argc <= 1) n2 = 1;
        const char **texts = vb_alloc(sizeof(char *) * ((size_t)a->count + 1));
        size_t total = 0;
        for (long long k = 0; k < a->count; k++) {
            texts[k] = string_of(item_get(a, k));
            total += strlen(texts[k]) + n2;
        }
        char *out = vb_alloc_text(total + 1), *p = out;
        for (long long k = 0; k < a->count; k++) {
            if (k) {
                memcpy(p, d, n2);
                p += n2;
            }
            size_t l = strlen(texts[k]);
            memcpy(p, texts[k], l);
            p += l;
        }
        *p = '\0';
        return text_value(out);
    }
    case B_FORMAT: return fn_format(argc, args);
    case B_DBROWS: return vb_db_rows();
    case B_ENVIRON: {
        if (argc < 1) return str_value("");
        s = text_of(v, buf, &n);
        const char *e = getenv(s);
        return str_value(e ? e : "");
    }
    default: return more_builtins(name, argc, args);
    }
}

/* ===================================================================== */
/* Classes and objects                                                    */
/* ===================================================================== */

typedef struct VBClassDef {
    char *name;
    int count;
    char **fields;
    char **types;
    struct VBClassDef *next;
} VBClassDef;

enum { TAG_INSTANCE = 1, TAG_CONNECTION = 2, TAG_RECORDSET = 3, TAG_FIELD = 4, TAG_RECORD = 5, TAG_COLLECTION = 6, TAG_FORM = 7,
       TAG_CONTROL = 8, TAG_CONTROLS = 9, TAG_PICTURE = 10 };

typedef struct VBObject {
    int tag;
    const char *name;
    VBClassDef *definition;
    void *record; /* a record's definition (vb_records.c) */
    VBValue *values;
    sqlite3 *sql;
#ifdef VB_WITH_MYSQL
    MYSQL *mysql;
#endif
    char ***rows;
    char **columns;
    int nrows, ncols;
    int cursor;
    int closed;
    struct VBObject *recordset;
    int field_index;
    struct VBCollection *collection;
    int control;             /* a control's position on its form (field_index) */
    const char *member_name; /* a control array's name; null for a form's Controls */
    struct Picture *picture; /* LoadPicture's pixels (vb_pictures.c) */
} VBObject;

/* Forms as values (vb_form_objects.c) */
static VBValue form_object_get(VBObject *o, const char *name);
static void form_object_set(VBObject *o, const char *name, VBValue value);
static VBValue form_object_call(VBObject *o, const char *name, int argc, VBValue *args);

/* Controls as values (vb_control_objects.c) */
static VBValue control_object_get(VBObject *o, const char *name);
static void control_object_set(VBObject *o, const char *name, VBValue value);
static VBValue control_object_call(VBObject *o, const char *name, int argc, VBValue *args);
static VBValue control_list_get(VBObject *list, const char *name);
static VBValue control_list_call(VBObject *list, const char *name, int argc, VBValue *args);

/* Collection (vb_collection.c) */
static VBValue collection_new(void);
static VBValue collection_get(VBObject *o, const char *name);
static VBValue collection_call(VBObject *o, const char *name, int argc, VBValue *args);

typedef VBValue (*ClassHandler)(VBValue, const char *, int, VBValue *);

static VBClassDef *class_list;
static ClassHandler class_handler;

static VBValue fixed_text_field(VBObject *record, VBValue *field, VBValue value); /* vb_records.c */

VBValue vb_nothing(void) {
    VBValue v = {.kind = VB_OBJECT};
    return v;
}

static VBValue object_value(VBObject *object) {
    VBValue v = {.kind = VB_OBJECT, .object = object};
    return v;
}

static VBObject *new_object(int tag, const char *name) {
    VBObject *o = vb_alloc(sizeof *o);
    o->tag = tag;
    o->name = copy_text(name);
    return o;
}

void vb_register_class(const char *name, int nfields, const char **names, const char **types) {
    if (nfields < 0) nfields = 0;
    VBClassDef *d = vb_alloc(sizeof *d);
    d->name = copy_text(name);
    d->count = nfields;
    d->fields = vb_alloc(sizeof(char *) * ((size_t)nfields + 1));
    d->types = vb_alloc(sizeof(char *) * ((size_t)nfields + 1));
    for (int i = 0; i < nfields; i++) {
        d->fields[i] = copy_text(names ? names[i] : "");
        d->types[i] = copy_text(types ? types[i] : "variant");
        for (char *p = d->types[i]; *p; p++) *p = (char)tolower((unsigned char)*p);
    }
    d->next = class_list;
    class_list = d;
}

void vb_set_class_handler(VBValue (*handler)(VBValue, const char *, int, VBValue *)) {
    class_handler = handler;
}

static void close_connection(VBObject *o) {
    if (o->sql) sqlite3_close_v2(o->sql);
    o->sql = NULL;
#ifdef VB_WITH_MYSQL
    if (o->mysql) mysql_close(o->mysql);
    o->mysql = NULL;
#endif
}

#ifndef VB_NO_GC
/* A connection object that nothing reaches any more closes its handles. */
static void connection_finalizer(void *object, void *data) {
    (void)data;
    close_connection(object);
}
#endif

/* A field starts as its type's initial value: "" for String, False for
 * Boolean, Nothing for Object, 0 otherwise. */
static VBValue initial_field_value(const char *type) { return initial_value(type); }

VBValue vb_new(const char *name) {
    if (!name) name = "";
    if (!strcasecmp(name, "ADODB.Connection")) {
        VBObject *o = new_object(TAG_CONNECTION, "ADODB.Connection");
#ifndef VB_NO_GC
        GC_REGISTER_FINALIZER(o, connection_finalizer, NULL, NULL, NULL);
#endif
        return object_value(o);
    }
    if (!strcasecmp(name, "ADODB.Recordset")) return object_value(new_object(TAG_RECORDSET, "ADODB.Recordset"));
    for (VBClassDef *d = class_list; d; d = d->next) {
        if (strcasecmp(d->name, name)) continue;
        VBObject *o = new_object(TAG_INSTANCE, d->name); /* the class as declared */
        o->definition = d;
        o->values = vb_alloc(sizeof(VBValue) * ((size_t)d->count + 1));
        for (int i = 0; i < d->count; i++)
            o->values[i] = initial_field_value(d->types[i]);
        VBValue v = object_value(o);
        if (class_handler) (void)class_handler(v, "Class_Initialize", 0, NULL);
        return v;
    }
    /* after the classes: a class of the program may be called Collection */
    if (!strcasecmp(name, "Collection") || !strcasecmp(name, "VBA.Collection")) return collection_new();
    unsupported("Unknown native class: ", name, NULL);
}

int vb_object_is(VBValue object, const char *name) {
    if (object.kind != VB_OBJECT || !object.object || !name) return 0;
    return strcasecmp(((VBObject *)object.object)->name, name) == 0;
}


static int field_index_of(const VBObject *o, const char *field) {
    for (int i = 0; i < o->definition->count; i++)
        if (!strcasecmp(o->definition->fields[i], field)) return i;
    return -1;
}

/* "__get_" or "__let_" followed by the whole property name. */
static char *property_member(const char *prefix, const char *field) {
    size_t lp = strlen(prefix), lf = strlen(field);
    char *r = vb_alloc_text(lp + lf + 1);
    memcpy(r, prefix, lp);
    memcpy(r + lp, field, lf + 1);
    return r;
}

static VBValue *record_field(VBObject *o, const char *name);

static int is_object_value(VBValue v) { return v.kind == VB_OBJECT && v.object; }

/* A failure naming two texts: format holds two %s. */
static _Noreturn void failf2(const char *format, const char *a, const char *b) {
    size_t n = strlen(format) + strlen(a) + strlen(b) + 1;
    char *m = vb_alloc_text(n);
    snprintf(m, n, format, a, b);
    fatal(m);
}

VBValue vb_member_get(VBValue object, const char *name) {
    if (!name) name = "";
    if (!is_object_value(object)) failf2("Cannot read .%s on %s", name, value_repr(object));
    VBObject *o = object.object;
    if (o->tag == TAG_RECORD) return *record_field(o, name);
    if (o->tag == TAG_COLLECTION) return collection_get(o, name);
    if (o->tag == TAG_FORM) return form_object_get(o, name);
    if (o->tag == TAG_CONTROL) return control_object_get(o, name);
    if (o->tag == TAG_CONTROLS) return control_list_get(o, name);
    if (o->tag == TAG_INSTANCE) {
        int i = field_index_of(o, name);
        if (i >= 0) return o->values[i];
    }
    if (o->tag == TAG_RECORDSET) {
        if (!strcasecmp(name, "EOF")) return bool_value(o->cursor >= o->nrows);
        if (!strcasecmp(name, "BOF")) return bool_value(o->cursor < 0);
        if (!strcasecmp(name, "RecordCount")) return int_value(o->nrows);
    }
    if (o->tag == TAG_FIELD && !strcasecmp(name, "Value")) {
        VBObject *rs = o->recordset;
        if (rs->cursor >= 0 && rs->cursor < rs->nrows && o->field_index < rs->ncols)
            return str_value(rs->rows[rs->cursor][o->field_index]);
        return str_value("");
    }
    if (o->tag == TAG_INSTANCE && class_handler)
        return class_handler(object, property_member("__get_", name), 0, NULL);
    unsupported("Unknown native object property: ", o->name, name);
}

void vb_member_let(VBValue object, const char *owner, const char *name, VBValue value) {
    if (!is_object_value(object)) failf("Not an object: %s", owner ? owner : "");
    vb_member_set(object, name, value);
}

void vb_member_set(VBValue object, const char *name, VBValue value) {
    if (!is_object_value(object)) fatal("Not an object");
    VBObject *o = object.object;
    if (!name) name = "";
    if (o->tag == TAG_FORM) {
        form_object_set(o, name, value);
        return;
    }
    if (o->tag == TAG_CONTROL) {
        control_object_set(o, name, value);
        return;
    }
    if (o->tag == TAG_RECORD) {
        /* stored as it is, like a Variant; a "String * n" field keeps n characters */
        VBValue *field = record_field(o, name);
        *field = fixed_text_field(o, field, vb_record_copy(value));
        return;
    }
    if (o->tag == TAG_INSTANCE) {
        int i = field_index_of(o, name);
        if (i >= 0) {
            o->values[i] = vb_coerce(value, o->definition->types[i]);
            return;
        }
        if (class_handler) {
            VBValue *argument = vb_temporary(value);
            (void)class_handler(object, property_member("__let_", name), 1, argument);
            return;
        }
    }
    unsupported("Native object property cannot be assigned: ", o->name, name);
}

static void open_ado(VBObject *connection, const char *text);
static VBObject *sql_execute(VBObject *connection, const char *sql, int nparams, VBValue *params);

VBValue vb_method_statement(VBValue object, const char *owner, const char *name, int argc, VBValue *args) {
    if (!is_object_value(object)) {
        const char *what = object.kind == VB_OBJECT ? "Object variable or With block variable not set: %s.%s"
                                                    : "Object required: %s.%s";
        failf2(what, owner ? owner : "", name ? name : "");
    }
    return vb_member_call(object, name, argc, args);
}

/* Split(s, ",")(0), obj.Books()(1): an element of what a call returns,
 * an array's or a Collection's. */
VBValue vb_element_of(VBValue result, int n, VBValue *indexes) {
    if (is_object_value(result)) return vb_member_call(result, "Item", n, indexes);
    return vb_index_at(result, n, indexes, "the result of a call");
}

/* obj.Items(1) on a member without parameters: its result (an array or a
 * Collection) indexed by the arguments. */
VBValue vb_index_result(VBValue result, int argc, VBValue *args, const char *class_name, const char *member) {
    if (result.kind == VB_ARRAY) return vb_index_at(result, argc, args, member);
    if (is_object_value(result)) return vb_member_call(result, "Item", argc, args);
    failf2("Type mismatch: %s.%s cannot be indexed", class_name, member);
}

VBValue vb_member_call(VBValue object, const char *name, int argc, VBValue *args) {
    if (!name) name = "";
    if (object.kind == VB_OBJECT && !object.object) failf("Object variable or With block variable not set: .%s", name);
    if (object.kind != VB_OBJECT) fatal("Not an object");
    VBObject *o = object.object;
    if (argc < 0 || !args) argc = 0;
    switch (o->tag) {
    case TAG_RECORD: /* rec.field(i): an element of an array field */
        return vb_index_at(*record_field(o, name), argc, args, name);
    case TAG_COLLECTION: return collection_call(o, name, argc, args);
    case TAG_FORM: return form_object_call(o, name, argc, args);
    case TAG_CONTROL: return control_object_call(o, name, argc, args);
    case TAG_CONTROLS: return control_list_call(o, name, argc, args);
    case TAG_INSTANCE: {
        int field = field_index_of(o, name); /* obj.Marks(i): an element of an array field */
        if (field >= 0 && argc > 0) return vb_index_at(o->values[field], argc, args, name);
        if (!class_handler) fatal("No registered class procedure");
        return class_handler(object, name, argc, args);
    }
    case TAG_CONNECTION:
        if (!strcasecmp(name, "Open")) {
            if (argc < 1) fatal("ADO Open requires a connection string");
            open_ado(o, string_of(args[0]));
            return int_value(0);
        }
        if (!strcasecmp(name, "Execute")) {
            if (argc < 1) fatal("ADO Execute requires SQL text");
            return object_value(sql_execute(o, string_of(args[0]), argc - 1, args + 1));
        }
        if (!strcasecmp(name, "Close")) {
            close_connection(o);
            o->closed = 1;
            return int_value(0);
        }
        break;
    case TAG_RECORDSET:
        if (!strcasecmp(name, "MoveNext")) {
            if (o->cursor < INT_MAX) o->cursor++;
            return int_value(0);
        }
        if (!strcasecmp(name, "MoveFirst")) {
            o->cursor = 0;
            return int_value(0);
        }
        if (!strcasecmp(name, "Close")) {
            o->rows = NULL;
            o->columns = NULL;
            o->nrows = o->ncols = 0;
            o->closed = 1;
            return int_value(0);
        }
        if (!strcasecmp(name, "Fields")) {
            if (argc < 1) fatal("Fields requires an index/name");
            int column = -1;
            if (args[0].kind == VB_STRING) {
                const char *wanted = c_text(args[0]);
                for (int i = 0; i < o->ncols && column < 0; i++)
                    if (!strcasecmp(o->columns[i], wanted)) column = i;
            } else {
                double d = trunc(number_value(args[0]));
                if (d >= 0 && d < o->ncols) column = (int)d;
            }
            if (column < 0) fatal("Recordset field not found");
            VBObject *f = new_object(TAG_FIELD, "ADODB.Field");
            f->recordset = o;
            f->field_index = column;
            return object_value(f);
        }
        break;
    default: break;
    }
    unsupported("Unsupported native object method: ", o->name, name);
}

/* ===================================================================== */
/* ADO over SQLite and MySQL                                              */
/* ===================================================================== */

/* A result being collected: column names and rows of column texts. */
typedef struct ResultSet {
    char **columns;
    char ***rows;
    int ncols, nrows, capacity;
} ResultSet;

static void result_add_row(ResultSet *r, char **row) {
    if (r->nrows == r->capacity) {
        int capacity = r->capacity ? r->capacity * 2 : 16;
        if (capacity < r->capacity) fatal("Out of memory");
        char ***rows = vb_alloc(sizeof(char **) * (size_t)capacity);
        if (r->nrows) memcpy(rows, r->rows, sizeof(char **) * (size_t)r->nrows);
        r->rows = rows;
        r->capacity = capacity;
    }
    r->rows[r->nrows++] = row;
}

static _Noreturn void sqlite_fatal(sqlite3 *db, sqlite3_stmt *statement) {
    char *message = copy_text(db ? sqlite3_errmsg(db) : "out of memory");
    if (statement) sqlite3_finalize(statement);
    fatal(message);
}

/* Binds a string as text and anything else as its number (whole numbers as
 * integers, so they read back without a fraction). */
static void sqlite_bind(sqlite3 *db, sqlite3_stmt *statement, int nparams, VBValue *params) {
    for (int i = 0; i < nparams; i++) {
        int rc;
        if (params[i].kind == VB_STRING) {
            rc = sqlite3_bind_text(statement, i + 1, c_text(params[i]), -1, SQLITE_TRANSIENT);
        } else {
            double d = number_value(params[i]);
            if (d == trunc(d) && d >= -9.2e18 && d <= 9.2e18)
                rc = sqlite3_bind_int64(statement, i + 1, (sqlite3_int64)d);
            else
                rc = sqlite3_bind_double(statement, i + 1, d);
        }
        if (rc != SQLITE_OK) sqlite_fatal(db, statement);
    }
}

/* Prepares the first statement of sql and binds its parameters; null when
 * the text holds no statement (only blanks or comments). */
static sqlite3_stmt *sqlite_prepare(sqlite3 *db, const char *sql, int nparams, VBValue *params) {
    sqlite3_stmt *statement = NULL;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, NULL) != SQLITE_OK) sqlite_fatal(db, statement);
    if (statement) sqlite_bind(db, statement, nparams, params);
    return statement;
}

/* Steps a prepared statement to its end and finalises it; with store set,
 * keeps its column names and rows in result. Returns the rows stepped. */
static long sqlite_collect(sqlite3 *db, sqlite3_stmt *statement, int store, ResultSet *result) {
    int ncols = sqlite3_column_count(statement);
    if (store) {
        result->ncols = ncols;
        result->columns = vb_alloc(sizeof(char *) * ((size_t)ncols + 1));
        for (int c = 0; c < ncols; c++) result->columns[c] = copy_text(sqlite3_column_name(statement, c));
    }
    long count = 0;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        count++;
        if (!store) continue;
        char **row = vb_alloc(sizeof(char *) * ((size_t)ncols + 1));
        for (int c = 0; c < ncols; c++) {
            const unsigned char *t = sqlite3_column_text(statement, c);
            row[c] = t ? copy_bytes((const char *)t, (size_t)sqlite3_column_bytes(statement, c)) : copy_text("");
        }
        result_add_row(result, row);
    }
    if (rc != SQLITE_DONE) sqlite_fatal(db, statement);
    sqlite3_finalize(statement);
    return count;
}

static void open_ado(VBObject *connection, const char *text) {
    if (!strncasecmp(text, "sqlite:", 7)) {
        close_connection(connection);
        sqlite3 *db = NULL;
        if (sqlite3_open(text + 7, &db) != SQLITE_OK) {
            char *message = copy_text(db ? sqlite3_errmsg(db) : "out of memory");
            if (db) sqlite3_close(db);
            fatal(message);
        }
        connection->sql = db;
        connection->closed = 0;
        return;
    }
    if (!strncasecmp(text, "mysql:", 6)) {
#ifndef VB_WITH_MYSQL
        fatal("MySQL support was not linked. Install libmariadb-dev and rebuild.");
#else
        const char *host = "127.0.0.1", *user = "", *password = "", *database = NULL;
        unsigned int port = 3306;
        char *rest = copy_text(text + 6), *save = NULL;
        for (char *part = strtok_r(rest, ";", &save); part; part = strtok_r(NULL, ";", &save)) {
            char *eq = strchr(part, '=');
            if (!eq) continue;
            *eq = '\0';
            const char *key = part, *value = eq + 1;
            if (!strcasecmp(key, "host") || !strcasecmp(key, "server")) host = value;
            else if (!strcasecmp(key, "database") || !strcasecmp(key, "db")) database = value;
            else if (!strcasecmp(key, "user") || !strcasecmp(key, "uid")) user = value;
            else if (!strcasecmp(key, "password") || !strcasecmp(key, "pwd")) password = value;
            else if (!strcasecmp(key, "port")) port = (unsigned int)atoi(value);
        }
        MYSQL *m = mysql_init(NULL);
        if (!m) fatal("MySQL initialization failed");
        if (!mysql_real_connect(m, host, user, password, database, port, NULL, 0)) {
            char *message = copy_text(mysql_error(m));
            mysql_close(m);
            fatal(message);
        }
        close_connection(connection);
        connection->mysql = m;
        connection->closed = 0;
        return;
#endif
    }
    fatal("ADO connection must start sqlite: or mysql:");
}

static VBObject *sql_execute(VBObject *connection, const char *sql, int nparams, VBValue *params) {
    VBObject *rs = new_object(TAG_RECORDSET, "ADODB.Recordset");
    ResultSet result = {0};
    if (connection->sql) {
        sqlite3_stmt *statement = sqlite_prepare(connection->sql, sql, nparams, params);
        if (statement) sqlite_collect(connection->sql, statement, 1, &result);
    }
#ifdef VB_WITH_MYSQL
    else if (connection->mysql) {
        MYSQL *m = connection->mysql;
        if (nparams > 0)
            fatal("Parameterized MySQL ADO queries are not yet implemented; use an explicitly prepared statement driver.");
        if (mysql_real_query(m, sql, strlen(sql))) fatal(copy_text(mysql_error(m)));
        MYSQL_RES *res = mysql_store_result(m);
        if (res) {
            int ncols = (int)mysql_num_fields(res);
            MYSQL_FIELD *fields = mysql_fetch_fields(res);
            result.ncols = ncols;
            result.columns = vb_alloc(sizeof(char *) * ((size_t)ncols + 1));
            for (int c = 0; c < ncols; c++) result.columns[c] = copy_text(fields[c].name);
            MYSQL_ROW mrow;
            while ((mrow = mysql_fetch_row(res))) {
                unsigned long *lengths = mysql_fetch_lengths(res);
                char **row = vb_alloc(sizeof(char *) * ((size_t)ncols + 1));
                for (int c = 0; c < ncols; c++)
                    row[c] = mrow[c] ? copy_bytes(mrow[c], lengths ? lengths[c] : strlen(mrow[c])) : copy_text("");
                result_add_row(&result, row);
            }
            mysql_free_result(res);
        } else if (mysql_field_count(m) != 0) {
            fatal(copy_text(mysql_error(m)));
        }
    }
#endif
    else {
        fatal("Connection is not open");
    }
    rs->columns = result.columns;
    rs->ncols = result.ncols;
    rs->rows = result.rows;
    rs->nrows = result.nrows;
    return rs;
}

/* ===================================================================== */
/* The program database (DBOpen, DBExecute, DBQuery, DBRows)              */
/* ===================================================================== */

static sqlite3 *program_db;
static long program_db_rows;
static ResultSet program_db_result; /* the last DBQuery result (no columns: none) */
static int program_db_has_result;

static void drop_program_result(void) {
    memset(&program_db_result, 0, sizeof program_db_result);
    program_db_has_result = 0;
}

static void close_program_db(void) {
    if (program_db) sqlite3_close_v2(program_db);
    program_db = NULL;
    drop_program_result();
}

void vb_db_open(VBValue provider, VBValue filename) {
    const char *p = string_of(provider);
    if (strcasecmp(p, "sqlite") && strcasecmp(p, "sqlite3"))
        fatal("Native backend currently supports SQLite; use the interpreted runner for MySQL");
    close_program_db();
    sqlite3 *db = NULL;
    if (sqlite3_open(string_of(filename), &db) != SQLITE_OK) {
        char *message = copy_text(db ? sqlite3_errmsg(db) : "out of memory");
        if (db) sqlite3_close(db);
        fatal(message);
    }
    program_db = db;
}

void vb_db_exec(int argc, VBValue *args, int query) {
    if (!program_db) fatal("Call DBOpen before SQL commands");
    if (argc < 1 || !args) fatal("SQL requires command text");
    sqlite3_stmt *statement = sqlite_prepare(program_db, string_of(args[0]), argc - 1, args + 1);
    drop_program_result();
    program_db_rows = 0;
    if (!statement) return;
    ResultSet result = {0};
    program_db_rows = sqlite_collect(program_db, statement, query, &result);
    if (query) {
        program_db_result = result;
        program_db_has_result = 1;
    }
}

VBValue vb_db_rows(void) { return int_value(program_db_rows); }

/* ===================================================================== */
/* Forms: state                                                           */
/* ===================================================================== */

enum {
    K_OTHER, K_LABEL, K_TEXTBOX, K_COMMANDBUTTON, K_CHECKBOX, K_OPTIONBUTTON, K_FRAME,
    K_PICTUREBOX, K_COMBOBOX, K_LISTBOX, K_DATAGRID, K_PROGRESSBAR, K_SLIDER, K_HSCROLLBAR,
    K_VSCROLLBAR, K_RICHTEXTBOX, K_MSFLEXGRID, K_TREEVIEW, K_LISTVIEW, K_SHAPE, K_LINE,
    K_TIMER, K_COMMONDIALOG, K_IMAGE
};

static const struct {
    const char *name;
    int kind;
} KIND_NAMES[] = {
    {"Label", K_LABEL}, {"TextBox", K_TEXTBOX}, {"CommandButton", K_COMMANDBUTTON},
    {"CheckBox", K_CHECKBOX}, {"OptionButton", K_OPTIONBUTTON}, {"Frame", K_FRAME},
    {"PictureBox", K_PICTUREBOX}, {"ComboBox", K_COMBOBOX}, {"ListBox", K_LISTBOX},
    {"DataGrid", K_DATAGRID}, {"ProgressBar", K_PROGRESSBAR}, {"Slider", K_SLIDER},
    {"HScrollBar", K_HSCROLLBAR}, {"VScrollBar", K_VSCROLLBAR}, {"RichTextBox", K_RICHTEXTBOX},
    {"MSFlexGrid", K_MSFLEXGRID}, {"TreeView", K_TREEVIEW}, {"ListView", K_LISTVIEW},
    {"Shape", K_SHAPE}, {"Line", K_LINE}, {"Timer", K_TIMER}, {"CommonDialog", K_COMMONDIALOG},
    {"Image", K_IMAGE},
};

static int kind_code(const char *kind) {
    if (!kind) return K_OTHER;
    for (size_t i = 0; i < sizeof KIND_NAMES / sizeof KIND_NAMES[0]; i++)
        if (!strcmp(KIND_NAMES[i].name, kind)) return KIND_NAMES[i].kind;
    return K_OTHER;
}

typedef struct ControlState {
    const VBControlDef *def;
    char *caption, *text;
    int visible, enabled;
    int checked;
    int x, y, w, h;
    int value;
    int kind; /* kind code of def->kind */
    int interval; /* a Timer's Interval (ms) */
    double due;   /* when an armed Timer fires next (ms on the monotonic clock), 0 unarmed */
    char **items; /* a list or combo box's items */
    int item_count, item_capacity, list_index;
    long long sel_start, sel_length; /* a text box's selection */
    long long *item_data; /* ItemData of each item, item_capacity long (vb_lists.c) */
    int new_index;        /* NewIndex: where the last AddItem put its item, -1 none */
    int top_index;        /* the first item a list box shows */
} ControlState;

typedef struct FormState {
    const VBFormDef *def;
    Window window;
    int loaded, visible;
    int focus;
    int active_menu;
    char *caption;
    ControlState *controls;
    int unloading; /* inside its own Unload event */
    VBMenuDef *menus; /* the menus as they are now (captions, checks, ... changed by code) */
    int inner_width, inner_height; /* the client area as the window now has it (0: as designed) */
} FormState;

enum { MENU_BAR = 26, MENU_TITLE_HIT = 25, DROPDOWN_WIDTH = 180, ITEM_PITCH = 23 };

static Display *display;
static int screen;
static GC graphics;
static XFontStruct *font;
static Atom wm_delete_window;
static Atom net_wm_name, utf8_string, net_wm_pid;
static FormState *form_states;
static size_t form_count;
static int current_form = -1;
static int running = 1;
static int ended; /* End ran: nothing waits on after it */
static void (*event_handler)(int, int, const char *);

static int find_form(const char *name) {
    if (!name) return -1;
    if (!strcasecmp(name, "Me") && current_form >= 0) return current_form;
    for (size_t i = 0; i < form_count; i++)
        if (form_states[i].def->name && !strcasecmp(form_states[i].def->name, name)) return (int)i;
    return -1;
}

static int has_menus(const FormState *f) { return f->def->menus && f->def->menu_count > 0; }

static int clamp_size(int v) { return v < 1 ? 1 : v; }

static int next_event(XEvent *event);
static void mouse_event(int form, const char *event, unsigned button, unsigned state, int x, int y);
static void shown(int form);
static void double_click(int form, int control);
static int key_ascii(int form, int control, int ascii);
static void key_event(int form, XKeyEvent *event, const char *name);
static void form_key_press(int form, XKeyEvent *event);
static int focus_key(int form, XKeyEvent *event);
static void move_focus(int form, int to);
static void focus_first(int form);
static int takes_focus(int kind);

static void raise_event(int form, int control, const char *event) {
    int saved = current_form;
    current_form = form;
    if (event_handler) event_handler(form, control, event);
    current_form = saved;
}

static void create_states(FormState *f) {
    size_t n = f->def->controls ? f->def->control_count : 0;
    f->controls = vb_alloc(sizeof(ControlState) * (n + 1));
    if (!f->controls) fatal("Allocation failure");
    for (size_t i = 0; i < n; i++) {
        const VBControlDef *d = &f->def->controls[i];
        ControlState *c = &f->controls[i];
        c->def = d;
        c->caption = copy_text(d->caption);
        c->text = copy_text(d->text);
        c->visible = d->visible;
        c->enabled = d->enabled;
        c->checked = 0;
        c->x = d->x;
        c->y = d->y;
        c->w = d->w;
        c->h = d->h;
        c->value = 0;
        c->kind = kind_code(d->kind);
        c->interval = d->interval;
        c->items = NULL;
        c->item_count = c->item_capacity = 0;
        c->list_index = -1;
        c->sel_start = c->sel_length = 0;
        c->item_data = NULL;
        c->new_index = -1;
        c->top_index = 0;
    }
}

static void set_window_name(FormState *f) {
    if (!display || !f->loaded) return;
    const char *caption = f->caption ? f->caption : "";
    XStoreName(display, f->window, caption);
    XChangeProperty(display, f->window, net_wm_name, utf8_string, 8, PropModeReplace,
                    (const unsigned char *)caption, (int)strlen(caption));
}

/* Names the process that owns a window (_NET_WM_PID), for window managers
 * and tools that find windows by process. */
static void mark_process(Window window) {
    long pid = (long)getpid();
    XChangeProperty(display, window, net_wm_pid, XA_CARDINAL, 32, PropModeReplace, (const unsigned char *)&pid, 1);
}

/* Loads a form without showing it: control states from the definitions, a
 * caption set before loading is kept, an unmapped window, then "Load". */
static void open_display(void);

static void instantiate(int index) {
    FormState *f = &form_states[index];
    if (f->loaded) return;
    if (!display) fatal("Cannot open X11 display (X11 or XWayland required)");
    create_states(f);
    if (!f->caption) f->caption = copy_text(f->def->caption);
    int height = f->def->height + (has_menus(f) ? MENU_BAR : 0);
    f->window = XCreateSimpleWindow(display, RootWindow(display, screen), 50 + 45 * index, 50 + 45 * index,
                                    (unsigned)clamp_size(f->def->width), (unsigned)clamp_size(height), 1,
                                    BlackPixel(display, screen), WhitePixel(display, screen));
    f->loaded = 1;
    f->focus = -1;
    f->active_menu = -1;
    set_window_name(f);
    XSelectInput(display, f->window,
                 ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask | KeyReleaseMask |
                     StructureNotifyMask);
    XSetWMProtocols(display, f->window, &wm_delete_window, 1);
    mark_process(f->window);
    raise_event(index, -1, "Load");
}

/* ===================================================================== */
/* Forms: drawing                                                         */
/* ===================================================================== */

static void draw_text(Window w, int x, int y, const char *text) {
    size_t n = text ? strlen(text) : 0;
    if (n == 0) return;
    if (n > 4096) n = 4096;
    XDrawString(display, w, graphics, x, y, text, (int)n);
}

static void draw_rect(Window w, int x, int y, int width, int height, int filled) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (filled)
        XFillRectangle(display, w, graphics, x, y, (unsigned)width, (unsigned)height);
    else
        XDrawRectangle(display, w, graphics, x, y, (unsigned)width, (unsigned)height);
}

/* The origin of a visible top-level menu: 9 plus, for each visible
 * top-level menu before it, 8 x (caption length) + 19. */
static int menu_title_width(const VBMenuDef *m) {
    return 8 * (int)strlen(m->caption ? m->caption : "") + 19;
}

static int menu_origin(const FormState *f, int flat) {
    int origin = 9;
    for (int k = 0; k < flat && k < (int)f->def->menu_count; k++) {
        const VBMenuDef *m = &f->menus[k];
        if (m->parent < 0 && m->visible) origin += menu_title_width(m);
    }
    return origin;
}

/* The j-th visible child of a top-level menu, or -1. */
/* Entries in the order shown: each followed by the members Load added
 * after it (vb_menu_arrays.c). */
static int menu_child_from(const FormState *f, int top, int k, int *j) {
    const VBMenuDef *m = &f->menus[k];
    if (m->parent == top && m->visible && (*j)-- == 0) return k;
    for (int a = 0; a < (int)f->def->menu_count; a++)
        if (f->menus[a].after == k + 1) {
            int found = menu_child_from(f, top, a, j);
            if (found >= 0) return found;
        }
    return -1;
}

static int menu_child(const FormState *f, int top, int j) {
    for (int k = 0; k < (int)f->def->menu_count; k++) {
        if (f->menus[k].after) continue; /* shown after the entry it follows */
        int found = menu_child_from(f, top, k, &j);
        if (found >= 0) return found;
    }
    return -1;
}

static int font_width(void) { return font ? font->max_bounds.width : 8; }

/* The control under a point, -1 for none: the first in table order that
 * takes presses, except that a control inside a Frame or PictureBox (which
 * comes after its container) wins over the container. */
static int control_at(const FormState *f, int x, int y) {
    int hit = -1;
    size_t n = f->def->controls && f->controls ? f->def->control_count : 0;
    for (size_t i = 0; i < n; i++) {
        const ControlState *c = &f->controls[i];
        if (!c->visible || !c->enabled || c->kind == K_TIMER || c->kind == K_COMMONDIALOG) continue;
        if (!(c->x <= x && x < c->x + c->w && c->y <= y && y < c->y + c->h)) continue;
        hit = (int)i;
        if (c->kind != K_FRAME && c->kind != K_PICTUREBOX) break;
    }
    return hit;
}

/* Graphics methods (vb_graphics.c) */
static void draw_kept_ops(Window w, int fi, int ci);

/* List boxes (vb_lists.c) */
static void draw_list_items(Window w, const ControlState *c, int x, int y, int cw, int ch);
static int list_click(ControlState *c, int dy);

static void choose_option(int form, int control); /* vb_control_objects.c */

/* Access keys, Default and Cancel buttons (vb_captions.c) */
static void draw_caption(Window w, int x, int y, const char *caption);
static int form_shortcut(int index, XKeyEvent *event);
static void window_resized(int form, int width, int height);

/* Pictures (vb_pictures.c) */
static void draw_picture(Window w, int fi, int ci, int x, int y, int area_w, int area_h);
static void picture_set(int fi, int ci, VBValue value);

static void redraw(int index) {
    FormState *f = &form_states[index];
    if (!display || !f->loaded) return;
    int saved = current_form;
    current_form = index;
    Window w = f->window;
    XClearWindow(display, w);
    XSetForeground(display, graphics, BlackPixel(display, screen));
    int top = has_menus(f) ? MENU_BAR : 0;
    draw_picture(w, index, -1, 0, top, f->def->width, f->def->height);
    draw_kept_ops(w, index, -1);
    if (top) {
        XDrawLine(display, w, graphics, 0, 24, f->def->width, 24);
        for (int k = 0; k < (int)f->def->menu_count; k++) {
            const VBMenuDef *m = &f->menus[k];
            if (m->parent < 0 && m->visible) draw_caption(w, menu_origin(f, k), 17, m->caption);
        }
    }
    size_t n = f->def->controls ? f->def->control_count : 0;
    for (size_t i = 0; i < n; i++) {
        const ControlState *c = &f->controls[i];
        if (!c->visible || c->kind == K_TIMER || c->kind == K_COMMONDIALOG) continue;
        int x = c->x, y = c->y + top, cw = c->w, ch = c->h;
        int text_x = x;
        int v = c->value < 0 ? 0 : c->value > 100 ? 100 : c->value;
        switch (c->kind) {
        case K_COMMANDBUTTON: case K_TEXTBOX: case K_COMBOBOX: case K_LISTBOX: case K_FRAME:
        case K_PICTUREBOX: case K_DATAGRID: case K_PROGRESSBAR: case K_SLIDER: case K_HSCROLLBAR:
        case K_VSCROLLBAR: case K_RICHTEXTBOX: case K_MSFLEXGRID: case K_TREEVIEW: case K_LISTVIEW:
        case K_SHAPE:
            draw_rect(w, x, y, cw, ch, 0);
            break;
        default: break;
        }
        switch (c->kind) {
        case K_CHECKBOX:
        case K_OPTIONBUTTON:
            draw_rect(w, x, y + 4, 12, 12, 0);
            if (c->checked) {
                XDrawLine(display, w, graphics, x, y + 4, x + 12, y + 16);
                XDrawLine(display, w, graphics, x + 12, y + 4, x, y + 16);
            }
            text_x = x + 19;
            break;
        case K_TEXTBOX:
        case K_COMMANDBUTTON:
            text_x = x + 7;
            break;
        case K_PROGRESSBAR:
            draw_rect(w, x + 3, y + 3, (cw - 6) * v / 100, ch - 6, 1);
            break;
        case K_SLIDER:
        case K_HSCROLLBAR:
            XDrawLine(display, w, graphics, x + 5, y + ch / 2, x + cw - 5, y + ch / 2);
            draw_rect(w, x + 5 + (cw - 20) * v / 100, y + ch / 2 - 6, 10, 12, 1);
            break;
        case K_VSCROLLBAR:
            XDrawLine(display, w, graphics, x + cw / 2, y + 5, x + cw / 2, y + ch - 5);
            draw_rect(w, x + cw / 2 - 6, y + 5 + (ch - 20) * v / 100, 12, 10, 1);
            break;
        case K_LINE:
            XDrawLine(display, w, graphics, x, y + ch / 2, x + cw, y + ch / 2);
            break;
        default: break;
        }
        if (c->kind == K_PICTUREBOX || c->kind == K_IMAGE) draw_picture(w, index, (int)i, x, y, cw, ch);
        if (c->kind == K_PICTUREBOX) draw_kept_ops(w, index, (int)i);
        if (c->kind == K_LISTBOX) {
            draw_list_items(w, c, x, y, cw, ch);
        } else if (c->kind != K_SHAPE && c->kind != K_LINE) {
            int text_kind = c->kind == K_TEXTBOX || c->kind == K_RICHTEXTBOX || c->kind == K_COMBOBOX;
            int text_y = ch > 18 ? y + (ch + 12) / 2 : y + 14;
            if (text_kind) draw_text(w, text_x, text_y, c->text);
            else draw_caption(w, text_x, text_y, c->caption);
        }
        if (c->kind == K_DATAGRID && program_db_has_result) {
            const ResultSet *r = &program_db_result;
            int cell = cw / (r->ncols > 0 ? r->ncols : 1);
            for (int col = 0; col < r->ncols; col++) draw_text(w, x + 5 + col * cell, y + 16, r->columns[col]);
            for (int row = 0; row < r->nrows && row < (ch - 28) / 18; row++)
                for (int col = 0; col < r->ncols; col++)
                    draw_text(w, x + 5 + col * cell, y + 35 + 18 * row, r->rows[row][col]);
        }
        if (c->kind == K_TEXTBOX && f->focus == (int)i) {
            int caret = x + 7 + (int)strlen(c->text) * font_width();
            XDrawLine(display, w, graphics, caret, y + 4, caret, y + ch - 4);
        }
    }
    if (top && f->active_menu >= 0) {
        int x = menu_origin(f, f->active_menu) - 5, count = 0;
        while (menu_child(f, f->active_menu, count) >= 0) count++;
        XSetForeground(display, graphics, WhitePixel(display, screen));
        draw_rect(w, x, 25, DROPDOWN_WIDTH, ITEM_PITCH * count + 5, 1);
        XSetForeground(display, graphics, BlackPixel(display, screen));
        draw_rect(w, x, 25, DROPDOWN_WIDTH, ITEM_PITCH * count + 5, 0);
        for (int j = 0; j < count; j++) {
            const VBMenuDef *m = &f->menus[menu_child(f, f->active_menu, j)];
            int indent = m->depth > 1 ? 16 * (m->depth - 1) : 0;
            draw_caption(w, x + 10 + indent, 44 + ITEM_PITCH * j, m->caption);
        }
    }
    XFlush(display);
    current_form = saved;
}

static void redraw_visible_forms(void) {
    for (size_t i = 0; i < form_count; i++)
        if (form_states[i].loaded && form_states[i].visible) redraw((int)i);
}

/* ===================================================================== */
/* Forms: mouse and keyboard                                              */
/* ===================================================================== */

static void mouse_press(int index, int px, int py) {
    FormState *f = &form_states[index];
    if (has_menus(f)) {
        if (py < MENU_TITLE_HIT) {
            int chosen = -1;
            for (int k = 0; k < (int)f->def->menu_count && chosen < 0; k++) {
                const VBMenuDef *m = &f->menus[k];
                if (m->parent >= 0 || !m->visible) continue;
                int origin = menu_origin(f, k);
                if (origin - 5 <= px && px < origin + menu_title_width(m)) chosen = k;
            }
            f->active_menu = chosen == f->active_menu ? -1 : chosen;
            redraw(index);
            return;
        }
        if (f->active_menu >= 0) {
            int open = f->active_menu, left = menu_origin(f, open) - 5;
            f->active_menu = -1;
            redraw(index);
            if (left <= px && px < left + DROPDOWN_WIDTH) {
                int item = menu_child(f, open, (py - MENU_TITLE_HIT) / ITEM_PITCH);
                if (item >= 0 && f->menus[item].enabled) raise_event(index, -2 - item, "Click");
                return;
            }
        }
        py -= MENU_BAR;
    }
    int i = control_at(f, px, py);
    if (i >= 0) {
        ControlState *c = &f->controls[i];
        /* a text box takes the focus; another control that can have it
         * takes it away (it shows none); a label leaves it where it is */
        if (takes_focus(c->kind) && c->enabled) {
            move_focus(index, c->kind == K_TEXTBOX ? (int)i : -1);
            if (!f->loaded) return;
            c = &f->controls[i]; /* the handlers may have loaded controls */
        }
        if (c->kind == K_LISTBOX && !list_click(c, py - c->y)) {
            redraw(index); /* below the last item: nothing chosen */
            return;
        }
        if (c->kind == K_CHECKBOX) c->checked = !c->checked;
        if (c->kind == K_OPTIONBUTTON) choose_option(index, (int)i);
        if (c->kind == K_SLIDER || c->kind == K_HSCROLLBAR || c->kind == K_VSCROLLBAR) {
            long v = c->kind == K_VSCROLLBAR ? 100L * (py - c->y) / (c->h ? c->h : 1)
                                             : 100L * (px - c->x) / (c->w ? c->w : 1);
            c->value = v < 0 ? 0 : v > 100 ? 100 : (int)v;
            raise_event(index, (int)i, "Change");
        }
        if (f->loaded) raise_event(index, (int)i, "Click");
        if (running && f->loaded) double_click(index, (int)i);
        redraw(index);
        return;
    }
    /* on the form itself */
    if (f->loaded) raise_event(index, -1, "Click");
    if (running && f->loaded) double_click(index, -1);
    redraw(index);
}

static void key_press(int index, XKeyEvent *event) {
    FormState *f = &form_states[index];
    int i = f->focus;
    if (i < 0 || !f->controls) return;
    char bytes[64];
    KeySym key = NoSymbol;
    int n = XLookupString(event, bytes, 63, &key, NULL);
    /* KeyPress first: a handler that sets KeyAscii to 0 drops the key. */
    int ascii = key == XK_BackSpace ? 8 : key == XK_Return || key == XK_KP_Enter ? 13
                : n == 1 && (unsigned char)bytes[0] < 128 ? (unsigned char)bytes[0] : -1;
    if (ascii >= 0) {
        if (f->def->key_preview) ascii = key_ascii(index, -1, ascii);
        if (ascii != 0 && running && f->loaded) ascii = key_ascii(index, i, ascii);
        if (ascii == 0 || !running || !f->loaded) return;
        if (ascii != 8 && ascii != 13 && ascii < 128) {
            bytes[0] = (char)ascii;
            n = 1;
            key = NoSymbol;
        }
    }
    ControlState *c = &f->controls[i];
    size_t length = strlen(c->text);
    if (key == XK_BackSpace) {
        if (length) c->text = copy_bytes(c->text, length - 1);
    } else if (n > 0 && (unsigned char)bytes[0] >= 32 && bytes[0] != 127) {
        char *t = vb_alloc_text(length + (size_t)n + 1);
        memcpy(t, c->text, length);
        memcpy(t + length, bytes, (size_t)n);
        t[length + (size_t)n] = '\0';
        c->text = t;
    }
    raise_event(index, i, "Change");
    redraw(index);
}

/* ===================================================================== */
/* Forms: showing, hiding, unloading, properties                          */
/* ===================================================================== */

void vb_show(const char *form) {
    int i = find_form(form);
    if (i < 0) fatal("Unknown form in Show");
    FormState *f = &form_states[i];
    open_display();
    instantiate(i);
    if (!f->loaded) return; /* unloaded by its own Load event */
    /* a form shown keeps the program running, though another form closed
     * meanwhile (a login dialog unloaded during the main form's Load) */
    if (!ended) running = 1;
    XMapRaised(display, f->window);
    int was_visible = f->visible;
    f->visible = 1;
    redraw(i);
    if (!was_visible) shown(i);
}

void vb_hide(const char *form) {
    int i = find_form(form);
    if (i < 0) fatal("Unknown form in Hide");
    FormState *f = &form_states[i];
    if (f->loaded) {
        XUnmapWindow(display, f->window);
        XFlush(display);
    }
    f->visible = 0;
}

static int any_form_visible(void) {
    for (size_t i = 0; i < form_count; i++)
        if (form_states[i].visible) return 1;
    return 0;
}

/* window_gone: the window was destroyed from outside and must not be
 * destroyed again. */
static void unload_form(int i, int window_gone) {
    FormState *f = &form_states[i];
    if (f->loaded && !f->unloading) {
        f->unloading = 1;
        raise_event(i, -1, "Unload");
        f->unloading = 0;
        if (!window_gone) {
            XDestroyWindow(display, f->window);
            XFlush(display);
        }
        f->window = 0;
        f->loaded = 0;
        f->visible = 0;
        f->controls = NULL; /* a later show loads it afresh from its definitions */
        f->caption = NULL;
        f->inner_width = f->inner_height = 0;
        f->focus = -1;
        f->active_menu = -1;
    }
    if (!any_form_visible()) running = 0;
}

void vb_unload(const char *form) {
    int i = find_form(form);
    if (i < 0) fatal("Unknown form in Unload");
    unload_form(i, 0);
}

void vb_end(void) {
    running = 0;
    ended = 1;
}

static int resolve_control(const char *name, int *form) {
    if (!name) return -1;
    for (int pass = 0; pass < 2; pass++) {
        for (size_t fi = 0; fi < form_count; fi++) {
            if (pass == 0 ? (int)fi != current_form : (int)fi == current_form) continue;
            const VBFormDef *d = form_states[fi].def;
            size_t n = d->controls ? d->control_count : 0;
            for (size_t ci = 0; ci < n; ci++) {
                if (d->controls[ci].name && !strcasecmp(d->controls[ci].name, name)) {
                    *form = (int)fi;
                    return (int)ci;
                }
            }
        }
    }
    return -1;
}

/* The control's state; a form that is not loaded is loaded first (raising
 * its Load event) without being shown. */
static ControlState *control_state(int form, int control) {
    FormState *f = &form_states[form];
    if (!f->loaded) {
        if (display)
            instantiate(form);
        else if (!f->controls)
            create_states(f);
    }
    if (!f->controls) create_states(f); /* unloaded again by its Load event */
    return &f->controls[control];
}

static VBValue control_get(int fi, int ci, const char *owner, const char *field);
static void control_set(int fi, int ci, const char *owner, const char *field, VBValue value);
static int control_array_bound(const char *name, const char *field, VBValue *out);
static int menu_array_bound(const char *name, const char *field, VBValue *out);
static VBValue screen_get(const char *field);
static int control_member_get(int fi, int ci, const char *field, VBValue *out);
static VBValue stored_get(int form, int control, const char *name);
static int scale_property(int fi, int ci, const char *field, VBValue *out); /* vb_graphics.c */
static void surface_units(int fi, int ci, double px, double py, double *ux, double *uy); /* vb_graphics.c */
static int find_menu(const char *name, int in_array, long long index, int *form);
static VBValue menu_get(int fi, int mi, const char *owner, const char *field);
static void menu_set(int fi, int mi, const char *owner, const char *field, VBValue value);
static void stored_set(int form, int control, const char *name, VBValue value);
static int control_member_set(int fi, int ci, const char *field, VBValue value);

static VBValue app_get(const char *field);
static void app_set(const char *field, VBValue value);
static void handle_event(XEvent *event);

static const char *resolve_owner(const char *owner) {
    if (owner && !strcasecmp(owner, "Me") && current_form >= 0) return form_states[current_form].def->name;
    return owner ? owner : "";
}

VBValue vb_get(const char *owner, const char *field) {
    owner = resolve_owner(owner);
    if (!field) field = "";
    if (!strcasecmp(owner, "App")) return app_get(field);
    if (!strcasecmp(owner, "Screen")) return screen_get(field);
    int fi = find_form(owner);
    if (fi >= 0) {
        FormState *f = &form_states[fi];
        if (!strcasecmp(field, "Caption")) return str_value(f->caption ? f->caption : f->def->caption);
        if (!strcasecmp(field, "Visible")) return bool_value(f->visible);
        if (!strcasecmp(field, "Name")) return str_value(f->def->name);
        if (!strcasecmp(field, "KeyPreview")) return bool_value(f->def->key_preview);
        VBValue scaled;
        if (scale_property(fi, -1, field, &scaled)) return scaled;
        /* sizes in pixels, like every position here; the inside of the
         * window as it is now */
        if (!strcasecmp(field, "ScaleWidth") && f->inner_width > 0) return int_value(f->inner_width);
        if (!strcasecmp(field, "ScaleHeight") && f->inner_height > 0) return int_value(f->inner_height);
        if (!strcasecmp(field, "Width") || !strcasecmp(field, "ScaleWidth")) return int_value(f->def->width);
        if (!strcasecmp(field, "Height") || !strcasecmp(field, "ScaleHeight")) return int_value(f->def->height);
        return stored_get(fi, -1, field);
    }
    VBValue bound;
    if (control_array_bound(owner, field, &bound)) return bound;
    if (menu_array_bound(owner, field, &bound)) return bound;
    int ci = resolve_control(owner, &fi);
    int mi = ci < 0 ? find_menu(owner, 0, -1, &fi) : -1;
    if (mi >= 0) return menu_get(fi, mi, owner, field);
    return control_get(fi, ci, owner, field);
}

/* A property of the control at position ci of form fi (ci < 0: none). */
static VBValue control_get(int fi, int ci, const char *owner, const char *field) {
    if (ci >= 0 && !strcasecmp(field, "Interval")) return int_value(control_state(fi, ci)->interval);
    if (ci >= 0) {
        int k = kind_code(form_states[fi].def->controls[ci].kind);
        enum { F_TEXT, F_CAPTION, F_VALUE, F_LEFT, F_TOP, F_WIDTH, F_HEIGHT, F_VISIBLE, F_ENABLED, F_NONE } which = F_NONE;
        if (!strcasecmp(field, "Text")) which = F_TEXT;
        else if (!strcasecmp(field, "Caption")) which = F_CAPTION;
        else if (!strcasecmp(field, "Value")) which = F_VALUE;
        else if (!strcasecmp(field, "Left")) which = F_LEFT;
        else if (!strcasecmp(field, "Top")) which = F_TOP;
        else if (!strcasecmp(field, "Width")) which = F_WIDTH;
        else if (!strcasecmp(field, "Height")) which = F_HEIGHT;
        else if (!strcasecmp(field, "Visible")) which = F_VISIBLE;
        else if (!strcasecmp(field, "Enabled")) which = F_ENABLED;
        if (which != F_NONE) {
            const ControlState *c = control_state(fi, ci);
            switch (which) {
            case F_TEXT: return str_value(c->text);
            case F_CAPTION: return str_value(c->caption);
            case F_VALUE:
                /* an option button's Value is True or False, a check box's 0 or 1 */
                if (k == K_OPTIONBUTTON || k == K_COMMANDBUTTON) return bool_value(k == K_OPTIONBUTTON && c->checked);
                return int_value(k == K_CHECKBOX ? c->checked : c->value);
            case F_LEFT: return int_value(c->x);
            case F_TOP: return int_value(c->y);
            case F_WIDTH: return int_value(c->w);
            case F_HEIGHT: return int_value(c->h);
            case F_VISIBLE: return bool_value(c->visible);
            default: return bool_value(c->enabled);
            }
        }
        VBValue member;
        if (control_member_get(fi, ci, field, &member)) return member;
    }
    unsupported("Unknown native property: ", owner, field);
}

void vb_set(const char *owner, const char *field, VBValue value) {
    owner = resolve_owner(owner);
    if (!field) field = "";
    if (!strcasecmp(owner, "Screen")) {
        stored_set(-2, -1, field, value); /* MousePointer and the like */
        return;
    }
    if (!strcasecmp(owner, "App")) {
        app_set(field, value);
        return;
    }
    int fi = find_form(owner);
    if (fi >= 0) {
        FormState *f = &form_states[fi];
        if (!strcasecmp(field, "Caption")) {
            f->caption = copy_text(string_of(value));
            set_window_name(f);
            return;
        }
        if (!strcasecmp(field, "Visible")) {
            if (truth_of(value))
                vb_show(f->def->name);
            else
                vb_hide(f->def->name);
            return;
        }
        if (!strcasecmp(field, "KeyPreview")) ((VBFormDef *)f->def)->key_preview = truth_of(value);
        if (!strcasecmp(field, "Picture")) {
            picture_set(fi, -1, value);
            return;
        }
        stored_set(fi, -1, field, value);
        return;
    }
    int ci = resolve_control(owner, &fi);
    int mi = ci < 0 ? find_menu(owner, 0, -1, &fi) : -1;
    if (mi >= 0) {
        menu_set(fi, mi, owner, field, value);
        return;
    }
    control_set(fi, ci, owner, field, value);
}

static void control_set(int fi, int ci, const char *owner, const char *field, VBValue value) {
    if (ci >= 0 && !strcasecmp(field, "Interval")) {
        ControlState *timer = control_state(fi, ci);
        long long ms = whole_of(value, 0);
        if (ms < 0 || ms > 65535) fatal("Invalid property value: Interval");
        timer->interval = (int)ms;
        timer->due = 0; /* counts again from now */
        return;
    }
    if (ci >= 0 && !strcasecmp(field, "Picture") &&
        (control_state(fi, ci)->kind == K_IMAGE || control_state(fi, ci)->kind == K_PICTUREBOX)) {
        picture_set(fi, ci, value);
        return;
    }
    if (ci >= 0) {
        int *target = NULL;
        int is_text = !strcasecmp(field, "Text"), is_caption = !strcasecmp(field, "Caption");
        int is_value = !strcasecmp(field, "Value");
        int is_flag = !strcasecmp(field, "Enabled") || !strcasecmp(field, "Visible");
        int is_geometry = !strcasecmp(field, "Left") || !strcasecmp(field, "Top") ||
                          !strcasecmp(field, "Width") || !strcasecmp(field, "Height");
        if (is_text || is_caption || is_value || is_flag || is_geometry) {
            ControlState *c = control_state(fi, ci);
            if (is_text) c->text = copy_text(string_of(value));
            else if (is_caption) c->caption = copy_text(string_of(value));
            else if (is_value) {
                c->checked = truth_of(value);
                c->value = to_int(number_value(value));
                if (c->kind == K_OPTIONBUTTON && c->checked) choose_option(fi, ci);
                if (c->kind == K_COMMANDBUTTON) { /* Value = True presses the button */
                    c->value = 0;
                    if (c->checked) raise_event(fi, ci, "Click");
                    c->checked = 0;
                }
            } else if (is_flag) {
                target = tolower((unsigned char)field[0]) == 'e' ? &c->enabled : &c->visible;
                *target = truth_of(value);
            } else {
                switch (tolower((unsigned char)field[0])) {
                case 'l': target = &c->x; break;
                case 't': target = &c->y; break;
                case 'w': target = &c->w; break;
                default: target = &c->h; break;
                }
                *target = to_int(number_value(value));
            }
            if (form_states[fi].visible) redraw(fi);
            return;
        }
    }
    if (ci >= 0 && control_member_set(fi, ci, field, value)) return;
    unsupported("Unknown native property: ", owner, field);
}

/* ===================================================================== */
/* Message box and output                                                 */
/* ===================================================================== */

VBValue vb_msgbox(VBValue message, VBValue title) {
    const char *text = string_of(message);
    printf("%s: %s\n", string_of(title), text);
    fflush(stdout);
    if (!display) return int_value(1);
    Window box = XCreateSimpleWindow(display, RootWindow(display, screen), 210, 170, 430, 140, 2,
                                     BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, box, string_of(title));
    XSelectInput(display, box, ExposureMask | ButtonPressMask | KeyPressMask);
    /* Closing the box through the window manager answers it too. */
    XSetWMProtocols(display, box, &wm_delete_window, 1);
    mark_process(box);
    XMapRaised(display, box);
    XFlush(display);
    size_t length = strlen(text);
    if (length > 65) length = 65;
    for (int waiting = 1; waiting;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.xany.window != box) continue;
        switch (event.type) {
        case Expose:
            if (event.xexpose.count == 0) {
                XClearWindow(display, box);
                XSetForeground(display, graphics, BlackPixel(display, screen));
                if (length) XDrawString(display, box, graphics, 18, 37, text, (int)length);
                XDrawRectangle(display, box, graphics, 174, 82, 82, 32);
                XDrawString(display, box, graphics, 200, 103, "OK", 2);
                XFlush(display);
            }
            break;
        case ButtonPress:
        case KeyPress: waiting = 0; break;
        case ClientMessage:
            if ((Atom)event.xclient.data.l[0] == wm_delete_window) waiting = 0;
            break;
        default: break;
        }
    }
    XDestroyWindow(display, box);
    XFlush(display);
    /* Events of the forms were discarded while the box was open. */
    redraw_visible_forms();
    return int_value(1);
}

static void print_pending(void);

void vb_print(VBValue message) {
    char buf[64];
    size_t n;
    const char *t = text_of(message, buf, &n);
    print_pending(); /* the line a list ending in ";" or "," left open */
    fwrite(t, 1, n, stdout);
    fputc('\n', stdout);
    fflush(stdout);
}

/* ===================================================================== */
/* Event loop                                                             */
/* ===================================================================== */

static int form_of_window(Window w) {
    for (size_t i = 0; i < form_count; i++)
        if (form_states[i].loaded && form_states[i].window == w) return (int)i;
    return -1;
}

/* Asynchronous protocol errors (for example a window destroyed by another
 * client) are not worth ending the program for. */
static int ignore_x_error(Display *d, XErrorEvent *e) {
    (void)d;
    (void)e;
    return 0;
}

static void open_display(void) {
    if (display) return;
    /* A busy X server may turn a connection away for a moment (its queue
     * of waiting clients full): a named display gets a few more tries. */
    const char *named = getenv("DISPLAY");
    for (int attempt = 0; !display && attempt < 30; attempt++) {
        if (attempt) {
            if (!named || !*named) break;
            struct timespec pause = {0, 100L * 1000 * 1000};
            nanosleep(&pause, NULL);
        }
        display = XOpenDisplay(NULL);
    }
    if (!display) fatal("Cannot open X11 display (X11 or XWayland required)");
    XSetErrorHandler(ignore_x_error);
    screen = DefaultScreen(display);
    graphics = XCreateGC(display, RootWindow(display, screen), 0, NULL);
    font = XLoadQueryFont(display, "fixed");
    if (font) XSetFont(display, graphics, font->fid);
    wm_delete_window = XInternAtom(display, "WM_DELETE_WINDOW", False);
    net_wm_name = XInternAtom(display, "_NET_WM_NAME", False);
    utf8_string = XInternAtom(display, "UTF8_STRING", False);
    net_wm_pid = XInternAtom(display, "_NET_WM_PID", False);
}

/* A form's own copy of its definition: Load adds controls to it. */
static const VBFormDef *copy_form(const VBFormDef *form) {
    VBFormDef *copy = vb_alloc(sizeof *copy);
    *copy = *form;
    size_t n = form->controls ? form->control_count : 0;
    VBControlDef *controls = vb_alloc(sizeof *controls * (n + 1));
    if (n) memcpy(controls, form->controls, sizeof *controls * n);
    copy->controls = controls;
    return copy;
}

static VBMenuDef *copy_menus(const VBFormDef *form) {
    size_t n = form->menus ? form->menu_count : 0;
    VBMenuDef *menus = vb_alloc(sizeof *menus * (n + 1));
    for (size_t k = 0; k < n; k++) {
        menus[k] = form->menus[k];
        menus[k].caption = copy_text(form->menus[k].caption);
    }
    return menus;
}

/* One event of the program's windows, dispatched to its form. */
static void handle_event(XEvent *e) {
    XEvent event = *e;
    int i = form_of_window(event.xany.window);
    if (i < 0) return;
    switch (event.type) {
    case Expose:
        if (event.xexpose.count == 0) redraw(i);
        break;
    case ClientMessage:
        if ((Atom)event.xclient.data.l[0] == wm_delete_window) unload_form(i, 0);
        break;
    case DestroyNotify:
        /* destroyed by someone else: unload without destroying it again */
        unload_form(i, 1);
        break;
    case ConfigureNotify:
        window_resized(i, event.xconfigure.width, event.xconfigure.height);
        break;
    case ButtonPress:
        /* wheel "buttons" 4 to 7 are not presses */
        if (event.xbutton.button <= Button3) {
            mouse_event(i, "MouseDown", event.xbutton.button, event.xbutton.state, event.xbutton.x,
                        event.xbutton.y);
            if (running && form_states[i].loaded) mouse_press(i, event.xbutton.x, event.xbutton.y);
        }
        break;
    case ButtonRelease:
        if (event.xbutton.button <= Button3)
            mouse_event(i, "MouseUp", event.xbutton.button, event.xbutton.state, event.xbutton.x, event.xbutton.y);
        break;
    case MotionNotify:
        mouse_event(i, "MouseMove", 0, event.xmotion.state, event.xmotion.x, event.xmotion.y);
        break;
    case KeyPress:
        /* KeyDown (the form's first with KeyPreview), then KeyPress */
        key_event(i, &event.xkey, "KeyDown");
        if (running && form_states[i].loaded && form_shortcut(i, &event.xkey)) break;
        if (running && form_states[i].loaded && focus_key(i, &event.xkey)) break;
        if (running && form_states[i].loaded) {
            if (form_states[i].focus >= 0) key_press(i, &event.xkey);
            else form_key_press(i, &event.xkey);
        }
        break;
    case KeyRelease:
        key_event(i, &event.xkey, "KeyUp");
        break;
    default: break;
    }
}

void vb_run(const VBFormDef *forms, size_t count, const char *startup,
            void (*handler)(int form, int control, const char *event), void (*initialize)(void)) {
    event_handler = handler;
    form_count = forms ? count : 0;
    form_states = vb_alloc(sizeof(FormState) * (form_count + 1));
    for (size_t i = 0; i < form_count; i++) {
        form_states[i].def = copy_form(&forms[i]);
        form_states[i].menus = copy_menus(&forms[i]);
        form_states[i].focus = -1;
        form_states[i].active_menu = -1;
    }
    /* A Sub Main program opens the display only when it shows a form, so
     * one that only computes and prints runs without X. */
    int sub_main = startup && !strcasecmp(startup, "Sub Main");
    if (!sub_main) open_display();

    if (initialize) initialize();
    if (!sub_main && running) vb_show(startup);

    /* A Sub Main that showed a form runs on while a form is visible. */
    while (running && (!sub_main || (display && any_form_visible()))) {
        XEvent event;
        if (!next_event(&event)) continue; /* Timers ran instead */
        handle_event(&event);
    }

    close_program_db();
    if (!display) return;
    if (font) XFreeFont(display, font);
    font = NULL;
    XFreeGC(display, graphics);
    XCloseDisplay(display);
    display = NULL;
}

/* Language parts kept in their own files; they share this file's internals. */
#include "vb_errors.c"
#include "vb_arrays.c"
#include "vb_records.c"
#include "vb_dates.c"
#include "vb_format.c"
#include "vb_print.c"
#include "vb_files.c"
#include "vb_binary_files.c"
#include "vb_dialogs.c"
#include "vb_builtins2.c"
#include "vb_events.c"
#include "vb_control_arrays.c"
#include "vb_control_members.c"
#include "vb_lang_extras.c"
#include "vb_collection.c"
#include "vb_menu_arrays.c"
#include "vb_lists.c"
#include "vb_form_load.c"
#include "vb_graphics.c"
#include "vb_pictures.c"
#include "vb_settings.c"
#include "vb_shell.c"
#include "vb_sendkeys.c"
#include "vb_form_objects.c"
#include "vb_control_objects.c"
#include "vb_captions.c"
