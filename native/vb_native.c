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
 * copied freely and share their immutable texts; the collector finds what is
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

#include "vb_native.h"

#include <ctype.h>
#include <limits.h>
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
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

/* ===================================================================== */
/* Memory and failures                                                    */
/* ===================================================================== */

/* A failure detected by the library: one line on standard error, status 1. */
static _Noreturn void fatal(const char *message) {
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
        GC_INIT();
    }
}

/* Memory that may hold pointers to other collected memory (zeroed). */
static void *vb_alloc(size_t size) {
    collector_start();
    void *p = GC_MALLOC(size ? size : 1);
    if (!p) fatal("Out of memory");
    return p;
}

/* Memory that never holds pointers: texts. Not zeroed. */
static char *vb_alloc_text(size_t size) {
    collector_start();
    char *p = GC_MALLOC_ATOMIC(size ? size : 1);
    if (!p) fatal("Out of memory");
    return p;
}
#else
static void *vb_alloc(size_t size) {
    void *p = calloc(1, size ? size : 1);
    if (!p) fatal("Out of memory");
    return p;
}

static char *vb_alloc_text(size_t size) {
    char *p = malloc(size ? size : 1);
    if (!p) fatal("Out of memory");
    return p;
}
#endif

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

/* ===================================================================== */
/* Values and conversions                                                 */
/* ===================================================================== */

VBValue vb_num(double value) {
    VBValue v = {VB_NUMBER, value, NULL, NULL};
    return v;
}

static VBValue text_value(const char *owned) {
    VBValue v = {VB_STRING, 0, owned, NULL};
    return v;
}

VBValue vb_str(const char *value) { return text_value(copy_text(value)); }

VBValue vb_copy(VBValue value) {
    if (value.kind == VB_STRING) return text_value(copy_text(value.text));
    return value;
}

VBValue *vb_temporary(VBValue value) {
    VBValue *cell = vb_alloc(sizeof *cell);
    *cell = value;
    return cell;
}

double vb_number(VBValue value) {
    switch (value.kind) {
    case VB_NUMBER: return value.number;
    case VB_STRING: return value.text ? strtod(value.text, NULL) : 0.0;
    default: return 0.0;
    }
}

int vb_truth(VBValue value) {
    switch (value.kind) {
    case VB_NUMBER: return value.number != 0;
    case VB_STRING: return value.text != NULL && value.text[0] != '\0';
    case VB_OBJECT: return value.object != NULL;
    default: return 0;
    }
}

/* The text form of a number into buf (at least 64 bytes); returns its length. */
static size_t format_number(double n, char *buf) {
    if (fabs(n) < 1e14 && n == trunc(n)) {
        /* whole numbers: the digits of the "%.0f" form, written directly */
        long long whole = (long long)n;
        char digits[24];
        size_t count = 0, length = 0;
        unsigned long long u = whole < 0 ? (unsigned long long)(-whole) : (unsigned long long)whole;
        do {
            digits[count++] = (char)('0' + u % 10);
            u /= 10;
        } while (u);
        if (whole < 0 || (whole == 0 && signbit(n))) buf[length++] = '-';
        while (count) buf[length++] = digits[--count];
        buf[length] = '\0';
        return length;
    }
    int written = snprintf(buf, 64, "%.12g", n);
    return written < 0 ? 0 : (size_t)written;
}

/* The text form of any value without allocating: numbers go into buf. */
static const char *text_of(VBValue value, char *buf, size_t *length) {
    const char *t;
    switch (value.kind) {
    case VB_STRING:
        t = value.text ? value.text : "";
        *length = strlen(t);
        return t;
    case VB_OBJECT:
        *length = 8;
        return "[Object]";
    default:
        *length = format_number(value.number, buf);
        return buf;
    }
}

const char *vb_string(VBValue value) {
    if (value.kind == VB_STRING) return value.text ? value.text : "";
    if (value.kind == VB_OBJECT) return "[Object]";
    char buf[64];
    size_t n = format_number(value.number, buf);
    return copy_bytes(buf, n);
}

static VBValue whole_in_range(VBValue value, double low, double high) {
    double r = round(vb_number(value));
    if (!(r >= low && r <= high)) fatal("Integer overflow");
    return vb_num(r);
}

VBValue vb_coerce(VBValue value, const char *type) {
    if (!type || strchr(type, '.')) return value;
    switch (tolower((unsigned char)type[0])) {
    case 's':
        if (!strcasecmp(type, "string"))
            return value.kind == VB_STRING && value.text ? value : text_value(copy_text(vb_string(value)));
        if (!strcasecmp(type, "single")) return vb_num(vb_number(value));
        break;
    case 'b':
        if (!strcasecmp(type, "boolean")) return vb_num(vb_truth(value) ? -1 : 0);
        if (!strcasecmp(type, "byte")) return whole_in_range(value, 0, 255);
        break;
    case 'i':
        if (!strcasecmp(type, "integer")) return whole_in_range(value, -32768, 32767);
        break;
    case 'l':
        if (!strcasecmp(type, "long")) return whole_in_range(value, -2147483648.0, 2147483647.0);
        break;
    case 'd':
        if (!strcasecmp(type, "double")) return vb_num(vb_number(value));
        break;
    case 'c':
        if (!strcasecmp(type, "currency")) return vb_num(vb_number(value));
        break;
    default:
        break;
    }
    return value; /* object, variant, class names */
}

VBValue vb_not(VBValue a) { return vb_num(vb_truth(a) ? 0 : 1); }

VBValue vb_neg(VBValue a) { return vb_num(-vb_number(a)); }

/* ===================================================================== */
/* Operators                                                              */
/* ===================================================================== */

enum {
    OP_UNKNOWN, OP_CONCAT, OP_ADD, OP_SUB, OP_MUL, OP_DIV, OP_IDIV, OP_MOD, OP_POW,
    OP_AND, OP_OR, OP_XOR, OP_EQ, OP_NE, OP_LT, OP_GT, OP_LE, OP_GE
};

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
        if (tolower((unsigned char)op[0]) == 'o' && tolower((unsigned char)op[1]) == 'r') return OP_OR;
        return OP_UNKNOWN;
    }
    if (!op[3]) {
        if (!strcasecmp(op, "mod")) return OP_MOD;
        if (!strcasecmp(op, "and")) return OP_AND;
        if (!strcasecmp(op, "xor")) return OP_XOR;
    }
    return OP_UNKNOWN;
}

static VBValue concatenate(VBValue a, VBValue b) {
    char ba[64], bb[64];
    size_t la, lb;
    const char *ta = text_of(a, ba, &la);
    const char *tb = text_of(b, bb, &lb);
    char *r = vb_alloc_text(la + lb + 1);
    memcpy(r, ta, la);
    memcpy(r + la, tb, lb);
    r[la + lb] = '\0';
    return text_value(r);
}

static int compare(VBValue a, VBValue b) {
    if (a.kind == VB_STRING || b.kind == VB_STRING) {
        char ba[64], bb[64];
        size_t la, lb;
        int c = strcasecmp(text_of(a, ba, &la), text_of(b, bb, &lb));
        return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    double x = a.kind == VB_NUMBER ? a.number : 0, y = b.kind == VB_NUMBER ? b.number : 0;
    return x < y ? -1 : x > y ? 1 : 0;
}

VBValue vb_op(const char *operation, VBValue a, VBValue b) {
    int code = operator_code(operation);
    if (code == OP_CONCAT || (code == OP_ADD && (a.kind == VB_STRING || b.kind == VB_STRING)))
        return concatenate(a, b);
    switch (code) {
    case OP_EQ: return vb_num(compare(a, b) == 0);
    case OP_NE: return vb_num(compare(a, b) != 0);
    case OP_LT: return vb_num(compare(a, b) < 0);
    case OP_GT: return vb_num(compare(a, b) > 0);
    case OP_LE: return vb_num(compare(a, b) <= 0);
    case OP_GE: return vb_num(compare(a, b) >= 0);
    case OP_AND: return vb_num(vb_truth(a) && vb_truth(b));
    case OP_OR: return vb_num(vb_truth(a) || vb_truth(b));
    case OP_XOR: return vb_num(vb_truth(a) != vb_truth(b));
    case OP_UNKNOWN: unsupported("Native operator not implemented: ", operation, NULL);
    default: break;
    }
    double x = vb_number(a), y = vb_number(b);
    switch (code) {
    case OP_ADD: return vb_num(x + y);
    case OP_SUB: return vb_num(x - y);
    case OP_MUL: return vb_num(x * y);
    case OP_DIV:
        if (y == 0) fatal("Division by zero");
        return vb_num(x / y);
    case OP_IDIV:
        if (y == 0) fatal("Division by zero");
        return vb_num(trunc(x / y));
    case OP_MOD:
        if (y == 0) fatal("Division by zero");
        return vb_num(fmod(x, y));
    default: /* OP_POW */
        return vb_num(pow(x, y));
    }
}

/* ===================================================================== */
/* Built-in functions                                                     */
/* ===================================================================== */

enum {
    B_UNKNOWN, B_CSTR, B_VAL, B_CINT, B_LEN, B_ABS, B_INT, B_FIX, B_SQR, B_TRIM, B_LTRIM,
    B_RTRIM, B_UCASE, B_LCASE, B_LEFT, B_RIGHT, B_MID, B_INSTR, B_DBROWS, B_ENVIRON, B_VALPREFIX
};

/* Names compare ignoring case: lower-case into a small buffer, then one
 * comparison chosen by the first letter. */
static int builtin_code(const char *name) {
    char low[8];
    size_t n = 0;
    if (!name) return B_UNKNOWN;
    for (; name[n]; n++) {
        if (n >= sizeof low - 1) return B_UNKNOWN;
        low[n] = (char)tolower((unsigned char)name[n]);
    }
    low[n] = '\0';
#define IS(word) (!strcmp(low, word))
    switch (low[0]) {
    case 'a': return IS("abs") ? B_ABS : B_UNKNOWN;
    case 'c':
        if (IS("cstr")) return B_CSTR;
        if (IS("cdbl") || IS("csng")) return B_VAL;
        if (IS("cint") || IS("clng")) return B_CINT;
        return B_UNKNOWN;
    case 'd': return IS("dbrows") ? B_DBROWS : B_UNKNOWN;
    case 'e': return IS("environ") ? B_ENVIRON : B_UNKNOWN;
    case 'f': return IS("fix") ? B_FIX : B_UNKNOWN;
    case 'i':
        if (IS("int")) return B_INT;
        if (IS("instr")) return B_INSTR;
        return B_UNKNOWN;
    case 'l':
        if (IS("len")) return B_LEN;
        if (IS("left")) return B_LEFT;
        if (IS("ltrim")) return B_LTRIM;
        if (IS("lcase")) return B_LCASE;
        return B_UNKNOWN;
    case 'm': return IS("mid") ? B_MID : B_UNKNOWN;
    case 'r':
        if (IS("right")) return B_RIGHT;
        if (IS("rtrim")) return B_RTRIM;
        return B_UNKNOWN;
    case 's':
        if (IS("str")) return B_CSTR;
        if (IS("sqr")) return B_SQR;
        return B_UNKNOWN;
    case 't': return IS("trim") ? B_TRIM : B_UNKNOWN;
    case 'u': return IS("ucase") ? B_UCASE : B_UNKNOWN;
    case 'v':
        if (IS("val")) return B_VALPREFIX;
        if (IS("vbrows")) return B_DBROWS;
        return B_UNKNOWN;
    default: return B_UNKNOWN;
    }
#undef IS
}

/* A count or position clamped to 0..length, fractions truncated. */
static size_t clamp_count(double d, size_t length) {
    if (!(d >= 1)) return 0;
    if (d >= (double)length) return length;
    return (size_t)d;
}

/* Val: the longest numeric prefix of the text (white space ignored, "&H"
 * and "&O" read as hexadecimal and octal), 0 when there is none. */
static double val_prefix(const char *s, size_t n) {
    char clean[128];
    size_t k = 0;
    for (size_t i = 0; i < n && k < sizeof clean - 1; i++)
        if (s[i] != ' ' && s[i] != '\t' && s[i] != '\r' && s[i] != '\n') clean[k++] = s[i];
    clean[k] = '\0';
    if (k >= 2 && clean[0] == '&' && strchr("HhOo", clean[1])) {
        int base = (clean[1] == 'H' || clean[1] == 'h') ? 16 : 8;
        unsigned long long v = strtoull(clean + 2, NULL, base);
        if (v <= 0xFFFF && strlen(clean + 2) <= (base == 16 ? 4u : 6u)) return (double)(short)v;
        return (double)(int)(unsigned int)v;
    }
    size_t i = 0;
    if (clean[i] == '+' || clean[i] == '-') i++;
    size_t digits = 0;
    while (isdigit((unsigned char)clean[i])) i++, digits++;
    if (clean[i] == '.') {
        i++;
        while (isdigit((unsigned char)clean[i])) i++, digits++;
    }
    if (!digits) return 0;
    if (clean[i] == 'e' || clean[i] == 'E' || clean[i] == 'd' || clean[i] == 'D') {
        size_t j = i + 1;
        if (clean[j] == '+' || clean[j] == '-') j++;
        if (isdigit((unsigned char)clean[j])) {
            clean[i] = 'e';
            while (isdigit((unsigned char)clean[j])) j++;
            i = j;
        }
    }
    clean[i] = '\0';
    return strtod(clean, NULL);
}

VBValue vb_builtin(const char *name, int argc, VBValue *args) {
    int code = builtin_code(name);
    if (code == B_UNKNOWN) unsupported("Unsupported native BASIC function: ", name, NULL);
    VBValue v = argc > 0 && args ? args[0] : vb_num(0);
    if (argc < 0 || !args) argc = 0;
    char buf[64];
    size_t n;
    const char *s;
    switch (code) {
    case B_CSTR:
        if (v.kind == VB_STRING && v.text) return v;
        s = text_of(v, buf, &n);
        return text_value(copy_bytes(s, n));
    case B_VAL: return vb_num(vb_number(v));
    case B_VALPREFIX:
        s = text_of(v, buf, &n);
        return vb_num(val_prefix(s, n));
    case B_CINT: return vb_num(round(vb_number(v)));
    case B_LEN:
        text_of(v, buf, &n);
        return vb_num((double)n);
    case B_ABS: return vb_num(fabs(vb_number(v)));
    case B_INT: return vb_num(floor(vb_number(v)));
    case B_FIX: return vb_num(trunc(vb_number(v)));
    case B_SQR: return vb_num(sqrt(vb_number(v)));
    case B_TRIM:
    case B_LTRIM:
    case B_RTRIM: {
        s = text_of(v, buf, &n);
        size_t start = 0, end = n;
        if (code != B_RTRIM)
            while (start < end && isspace((unsigned char)s[start])) start++;
        if (code != B_LTRIM)
            while (end > start && isspace((unsigned char)s[end - 1])) end--;
        return text_value(copy_bytes(s + start, end - start));
    }
    case B_UCASE:
    case B_LCASE: {
        s = text_of(v, buf, &n);
        char *r = copy_bytes(s, n);
        for (size_t i = 0; i < n; i++)
            r[i] = (char)(code == B_UCASE ? toupper((unsigned char)r[i]) : tolower((unsigned char)r[i]));
        return text_value(r);
    }
    case B_LEFT:
    case B_RIGHT: {
        if (argc < 2) fatal("Left/Right requires two arguments");
        s = text_of(v, buf, &n);
        size_t count = clamp_count(vb_number(args[1]), n);
        return text_value(copy_bytes(code == B_LEFT ? s : s + (n - count), count));
    }
    case B_MID: {
        if (argc < 2) fatal("Mid requires start position");
        s = text_of(v, buf, &n);
        double p = trunc(vb_number(args[1]));
        size_t start = clamp_count(p - 1, n);
        size_t rest = n - start;
        size_t count = argc >= 3 ? clamp_count(vb_number(args[2]), rest) : rest;
        return text_value(copy_bytes(s + start, count));
    }
    case B_INSTR: {
        if (argc < 2) fatal("InStr requires two arguments");
        /* With three arguments the first is the (1-based) start position. */
        VBValue hay = argc >= 3 ? args[1] : v, needle = argc >= 3 ? args[2] : args[1];
        double start = argc >= 3 ? floor(vb_number(v)) : 1;
        if (start < 1) fatal("Invalid procedure call or argument: InStr start");
        char nb[64];
        size_t nn;
        s = text_of(hay, buf, &n);
        const char *t = text_of(needle, nb, &nn);
        if (start > (double)n + (nn == 0 ? 1 : 0)) return vb_num(0);
        if (nn == 0) return vb_num(start);
        const char *hit = strstr(s + (size_t)start - 1, t);
        return vb_num(hit ? (double)(hit - s) + 1 : 0);
    }
    case B_DBROWS: return vb_db_rows();
    case B_ENVIRON: {
        s = text_of(v, buf, &n);
        const char *e = getenv(s);
        return vb_str(e ? e : "");
    }
    default: return vb_num(0);
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

enum { TAG_INSTANCE = 1, TAG_CONNECTION = 2, TAG_RECORDSET = 3, TAG_FIELD = 4 };

typedef struct VBObject {
    int tag;
    const char *name;
    VBClassDef *definition;
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
} VBObject;

typedef VBValue (*ClassHandler)(VBValue, const char *, int, VBValue *);

static VBClassDef *class_list;
static ClassHandler class_handler;

VBValue vb_nothing(void) {
    VBValue v = {VB_OBJECT, 0, NULL, NULL};
    return v;
}

static VBValue object_value(VBObject *object) {
    VBValue v = {VB_OBJECT, 0, NULL, object};
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
        VBObject *o = new_object(TAG_INSTANCE, name);
        o->definition = d;
        o->values = vb_alloc(sizeof(VBValue) * ((size_t)d->count + 1));
        for (int i = 0; i < d->count; i++)
            o->values[i] = strcmp(d->types[i], "string") ? vb_num(0) : vb_str("");
        VBValue v = object_value(o);
        if (class_handler) (void)class_handler(v, "Class_Initialize", 0, NULL);
        return v;
    }
    unsupported("Unknown native class: ", name, NULL);
}

int vb_object_is(VBValue object, const char *name) {
    if (object.kind != VB_OBJECT || !object.object || !name) return 0;
    return strcasecmp(((VBObject *)object.object)->name, name) == 0;
}

static VBObject *require_object(VBValue v) {
    if (v.kind != VB_OBJECT || !v.object) fatal("Object variable not set (Nothing)");
    return v.object;
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

VBValue vb_member_get(VBValue object, const char *name) {
    VBObject *o = require_object(object);
    if (!name) name = "";
    if (o->tag == TAG_INSTANCE) {
        int i = field_index_of(o, name);
        if (i >= 0) return o->values[i];
    }
    if (o->tag == TAG_RECORDSET) {
        if (!strcasecmp(name, "EOF")) return vb_num(o->cursor >= o->nrows ? -1 : 0);
        if (!strcasecmp(name, "BOF")) return vb_num(o->cursor < 0 ? -1 : 0);
        if (!strcasecmp(name, "RecordCount")) return vb_num(o->nrows);
    }
    if (o->tag == TAG_FIELD && !strcasecmp(name, "Value")) {
        VBObject *rs = o->recordset;
        if (rs->cursor >= 0 && rs->cursor < rs->nrows && o->field_index < rs->ncols)
            return vb_str(rs->rows[rs->cursor][o->field_index]);
        return vb_str("");
    }
    if (o->tag == TAG_INSTANCE && class_handler)
        return class_handler(object, property_member("__get_", name), 0, NULL);
    unsupported("Unknown native object property: ", o->name, name);
}

void vb_member_set(VBValue object, const char *name, VBValue value) {
    VBObject *o = require_object(object);
    if (!name) name = "";
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

VBValue vb_member_call(VBValue object, const char *name, int argc, VBValue *args) {
    VBObject *o = require_object(object);
    if (!name) name = "";
    if (argc < 0 || !args) argc = 0;
    switch (o->tag) {
    case TAG_INSTANCE:
        if (!class_handler) fatal("No registered class procedure");
        return class_handler(object, name, argc, args);
    case TAG_CONNECTION:
        if (!strcasecmp(name, "Open")) {
            if (argc < 1) fatal("ADO Open requires a connection string");
            open_ado(o, vb_string(args[0]));
            return vb_num(0);
        }
        if (!strcasecmp(name, "Execute")) {
            if (argc < 1) fatal("ADO Execute requires SQL text");
            return object_value(sql_execute(o, vb_string(args[0]), argc - 1, args + 1));
        }
        if (!strcasecmp(name, "Close")) {
            close_connection(o);
            o->closed = 1;
            return vb_num(0);
        }
        break;
    case TAG_RECORDSET:
        if (!strcasecmp(name, "MoveNext")) {
            if (o->cursor < INT_MAX) o->cursor++;
            return vb_num(0);
        }
        if (!strcasecmp(name, "MoveFirst")) {
            o->cursor = 0;
            return vb_num(0);
        }
        if (!strcasecmp(name, "Close")) {
            o->rows = NULL;
            o->columns = NULL;
            o->nrows = o->ncols = 0;
            o->closed = 1;
            return vb_num(0);
        }
        if (!strcasecmp(name, "Fields")) {
            if (argc < 1) fatal("Fields requires an index/name");
            int column = -1;
            if (args[0].kind == VB_STRING) {
                const char *wanted = args[0].text ? args[0].text : "";
                for (int i = 0; i < o->ncols && column < 0; i++)
                    if (!strcasecmp(o->columns[i], wanted)) column = i;
            } else {
                double d = trunc(vb_number(args[0]));
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
            rc = sqlite3_bind_text(statement, i + 1, params[i].text ? params[i].text : "", -1, SQLITE_TRANSIENT);
        } else {
            double d = vb_number(params[i]);
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
    const char *p = vb_string(provider);
    if (strcasecmp(p, "sqlite") && strcasecmp(p, "sqlite3"))
        fatal("Native backend currently supports SQLite; use the interpreted runner for MySQL");
    close_program_db();
    sqlite3 *db = NULL;
    if (sqlite3_open(vb_string(filename), &db) != SQLITE_OK) {
        char *message = copy_text(db ? sqlite3_errmsg(db) : "out of memory");
        if (db) sqlite3_close(db);
        fatal(message);
    }
    program_db = db;
}

void vb_db_exec(int argc, VBValue *args, int query) {
    if (!program_db) fatal("Call DBOpen before SQL commands");
    if (argc < 1 || !args) fatal("SQL requires command text");
    sqlite3_stmt *statement = sqlite_prepare(program_db, vb_string(args[0]), argc - 1, args + 1);
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

VBValue vb_db_rows(void) { return vb_num((double)program_db_rows); }

/* ===================================================================== */
/* Forms: state                                                           */
/* ===================================================================== */

enum {
    K_OTHER, K_LABEL, K_TEXTBOX, K_COMMANDBUTTON, K_CHECKBOX, K_OPTIONBUTTON, K_FRAME,
    K_PICTUREBOX, K_COMBOBOX, K_LISTBOX, K_DATAGRID, K_PROGRESSBAR, K_SLIDER, K_HSCROLLBAR,
    K_VSCROLLBAR, K_RICHTEXTBOX, K_MSFLEXGRID, K_TREEVIEW, K_LISTVIEW, K_SHAPE, K_LINE,
    K_TIMER, K_COMMONDIALOG
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
    XSelectInput(display, f->window, ExposureMask | ButtonPressMask | KeyPressMask | StructureNotifyMask);
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
        const VBMenuDef *m = &f->def->menus[k];
        if (m->parent < 0 && m->visible) origin += menu_title_width(m);
    }
    return origin;
}

/* The j-th visible child of a top-level menu, or -1. */
static int menu_child(const FormState *f, int top, int j) {
    for (int k = 0; k < (int)f->def->menu_count; k++) {
        const VBMenuDef *m = &f->def->menus[k];
        if (m->parent == top && m->visible && j-- == 0) return k;
    }
    return -1;
}

static int font_width(void) { return font ? font->max_bounds.width : 8; }

static void redraw(int index) {
    FormState *f = &form_states[index];
    if (!display || !f->loaded) return;
    int saved = current_form;
    current_form = index;
    Window w = f->window;
    XClearWindow(display, w);
    XSetForeground(display, graphics, BlackPixel(display, screen));
    int top = has_menus(f) ? MENU_BAR : 0;
    if (top) {
        XDrawLine(display, w, graphics, 0, 24, f->def->width, 24);
        for (int k = 0; k < (int)f->def->menu_count; k++) {
            const VBMenuDef *m = &f->def->menus[k];
            if (m->parent < 0 && m->visible) draw_text(w, menu_origin(f, k), 17, m->caption);
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
        if (c->kind != K_SHAPE && c->kind != K_LINE) {
            const char *t = (c->kind == K_TEXTBOX || c->kind == K_RICHTEXTBOX) ? c->text : c->caption;
            draw_text(w, text_x, ch > 18 ? y + (ch + 12) / 2 : y + 14, t);
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
        for (int j = 0; j < count; j++)
            draw_text(w, x + 10, 44 + ITEM_PITCH * j, f->def->menus[menu_child(f, f->active_menu, j)].caption);
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
    f->focus = -1;
    if (has_menus(f)) {
        if (py < MENU_TITLE_HIT) {
            int chosen = -1;
            for (int k = 0; k < (int)f->def->menu_count && chosen < 0; k++) {
                const VBMenuDef *m = &f->def->menus[k];
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
                if (item >= 0 && f->def->menus[item].enabled) raise_event(index, -2 - item, "Click");
                return;
            }
        }
        py -= MENU_BAR;
    }
    size_t n = f->def->controls ? f->def->control_count : 0;
    for (size_t i = 0; i < n; i++) {
        ControlState *c = &f->controls[i];
        if (!c->visible || !c->enabled || c->kind == K_TIMER || c->kind == K_COMMONDIALOG) continue;
        if (!(c->x <= px && px < c->x + c->w && c->y <= py && py < c->y + c->h)) continue;
        if (c->kind == K_TEXTBOX) f->focus = (int)i;
        if (c->kind == K_CHECKBOX || c->kind == K_OPTIONBUTTON) c->checked = !c->checked;
        if (c->kind == K_SLIDER || c->kind == K_HSCROLLBAR || c->kind == K_VSCROLLBAR) {
            long v = c->kind == K_VSCROLLBAR ? 100L * (py - c->y) / (c->h ? c->h : 1)
                                             : 100L * (px - c->x) / (c->w ? c->w : 1);
            c->value = v < 0 ? 0 : v > 100 ? 100 : (int)v;
            raise_event(index, (int)i, "Change");
        }
        if (f->loaded) raise_event(index, (int)i, "Click");
        break;
    }
    redraw(index);
}

static void key_press(int index, XKeyEvent *event) {
    FormState *f = &form_states[index];
    int i = f->focus;
    if (i < 0 || !f->controls) return;
    char bytes[64];
    KeySym key = NoSymbol;
    int n = XLookupString(event, bytes, 63, &key, NULL);
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
    instantiate(i);
    if (!f->loaded) return; /* unloaded by its own Load event */
    XMapRaised(display, f->window);
    f->visible = 1;
    redraw(i);
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

void vb_end(void) { running = 0; }

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

static const char *resolve_owner(const char *owner) {
    if (owner && !strcasecmp(owner, "Me") && current_form >= 0) return form_states[current_form].def->name;
    return owner ? owner : "";
}

VBValue vb_get(const char *owner, const char *field) {
    owner = resolve_owner(owner);
    if (!field) field = "";
    if (!strcasecmp(owner, "App")) {
        if (!strcasecmp(field, "Title")) return vb_str("Corvane Application");
        if (!strcasecmp(field, "Path")) return vb_str(".");
        if (!strcasecmp(field, "EXEName")) return vb_str("VBApplication");
        unsupported("Unknown native property: ", owner, field);
    }
    int fi = find_form(owner);
    if (fi >= 0) {
        FormState *f = &form_states[fi];
        if (!strcasecmp(field, "Caption")) return vb_str(f->caption ? f->caption : f->def->caption);
        if (!strcasecmp(field, "Visible")) return vb_num(f->visible ? 1 : 0);
        unsupported("Unknown native property: ", owner, field);
    }
    int ci = resolve_control(owner, &fi);
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
            case F_TEXT: return vb_str(c->text);
            case F_CAPTION: return vb_str(c->caption);
            case F_VALUE: return vb_num(k == K_CHECKBOX || k == K_OPTIONBUTTON ? c->checked : c->value);
            case F_LEFT: return vb_num(c->x);
            case F_TOP: return vb_num(c->y);
            case F_WIDTH: return vb_num(c->w);
            case F_HEIGHT: return vb_num(c->h);
            case F_VISIBLE: return vb_num(c->visible ? 1 : 0);
            default: return vb_num(c->enabled ? 1 : 0);
            }
        }
    }
    unsupported("Unknown native property: ", owner, field);
}

void vb_set(const char *owner, const char *field, VBValue value) {
    owner = resolve_owner(owner);
    if (!field) field = "";
    int fi = find_form(owner);
    if (fi >= 0) {
        FormState *f = &form_states[fi];
        if (!strcasecmp(field, "Caption")) {
            f->caption = copy_text(vb_string(value));
            set_window_name(f);
            return;
        }
        if (!strcasecmp(field, "Visible")) {
            if (vb_truth(value))
                vb_show(f->def->name);
            else
                vb_hide(f->def->name);
            return;
        }
        unsupported("Unknown native property: ", owner, field);
    }
    int ci = resolve_control(owner, &fi);
    if (ci >= 0) {
        int *target = NULL;
        int is_text = !strcasecmp(field, "Text"), is_caption = !strcasecmp(field, "Caption");
        int is_value = !strcasecmp(field, "Value");
        int is_flag = !strcasecmp(field, "Enabled") || !strcasecmp(field, "Visible");
        int is_geometry = !strcasecmp(field, "Left") || !strcasecmp(field, "Top") ||
                          !strcasecmp(field, "Width") || !strcasecmp(field, "Height");
        if (is_text || is_caption || is_value || is_flag || is_geometry) {
            ControlState *c = control_state(fi, ci);
            if (is_text) c->text = copy_text(vb_string(value));
            else if (is_caption) c->caption = copy_text(vb_string(value));
            else if (is_value) {
                c->checked = vb_truth(value);
                c->value = to_int(vb_number(value));
            } else if (is_flag) {
                target = tolower((unsigned char)field[0]) == 'e' ? &c->enabled : &c->visible;
                *target = vb_truth(value);
            } else {
                switch (tolower((unsigned char)field[0])) {
                case 'l': target = &c->x; break;
                case 't': target = &c->y; break;
                case 'w': target = &c->w; break;
                default: target = &c->h; break;
                }
                *target = to_int(vb_number(value));
            }
            if (form_states[fi].visible) redraw(fi);
            return;
        }
    }
    unsupported("Unknown native property: ", owner, field);
}

/* ===================================================================== */
/* Message box and output                                                 */
/* ===================================================================== */

VBValue vb_msgbox(VBValue message, VBValue title) {
    const char *text = vb_string(message);
    printf("%s: %s\n", vb_string(title), text);
    fflush(stdout);
    if (!display) return vb_num(1);
    Window box = XCreateSimpleWindow(display, RootWindow(display, screen), 210, 170, 430, 140, 2,
                                     BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, box, vb_string(title));
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
    return vb_num(1);
}

void vb_print(VBValue message) {
    char buf[64];
    size_t n;
    const char *t = text_of(message, buf, &n);
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

void vb_run(const VBFormDef *forms, size_t count, const char *startup,
            void (*handler)(int form, int control, const char *event), void (*initialize)(void)) {
    event_handler = handler;
    form_count = forms ? count : 0;
    form_states = vb_alloc(sizeof(FormState) * (form_count + 1));
    for (size_t i = 0; i < form_count; i++) {
        form_states[i].def = &forms[i];
        form_states[i].focus = -1;
        form_states[i].active_menu = -1;
    }
    display = XOpenDisplay(NULL);
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

    if (initialize) initialize();
    int sub_main = startup && !strcasecmp(startup, "Sub Main");
    if (!sub_main && running) vb_show(startup);

    while (running && !sub_main) {
        XEvent event;
        XNextEvent(display, &event);
        int i = form_of_window(event.xany.window);
        if (i < 0) continue;
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
        case ButtonPress:
            /* wheel "buttons" 4 to 7 are not presses */
            if (event.xbutton.button <= Button3) mouse_press(i, event.xbutton.x, event.xbutton.y);
            break;
        case KeyPress:
            if (form_states[i].focus >= 0) key_press(i, &event.xkey);
            break;
        default: break;
        }
    }

    close_program_db();
    if (font) XFreeFont(display, font);
    font = NULL;
    XFreeGC(display, graphics);
    XCloseDisplay(display);
    display = NULL;
}
