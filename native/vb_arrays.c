/* Corvane native runtime: arrays with lower bounds and several dimensions.
 *
 * Compiled as part of vb_native.c (included at its end). An array declared
 * with bounds keeps each dimension's lower bound and extent; a single
 * dimension counted from 0 stays a plain list (dims 0), like the arrays
 * that Split and Array make. */

/* A subscript or bound: truncated toward zero; NaN and the infinities are
 * `fallback`. */
static long long whole_of(VBValue v, long long fallback) {
    Num n = number_of(v);
    if (n.is_int) return n.i;
    if (!(n.d > -9.2e18 && n.d < 9.2e18)) return fallback;
    return (long long)trunc(n.d);
}

static long long flat_index(const VBArray *a, int n, const VBValue *indexes, const char *name) {
    if (!name) name = "";
    if (!a->dims) {
        if (n != 1) fatal("One-dimensional arrays require exactly one subscript");
        long long i = whole_of(indexes[0], -1);
        if (i < 0 || i >= a->count) failf("Subscript out of range: %s", name);
        return i;
    }
    if (n != a->dims) failf("Wrong number of dimensions: %s", name);
    long long flat = 0, stride = 1;
    for (int k = 0; k < n; k++) {
        long long i = whole_of(indexes[k], LLONG_MIN);
        if (i == LLONG_MIN || i < a->lower[k] || i - a->lower[k] >= a->extent[k])
            failf("Subscript out of range: %s", name);
        flat += (i - a->lower[k]) * stride;
        stride *= a->extent[k];
    }
    if (flat >= a->count) failf("Subscript out of range: %s", name);
    return flat;
}

/* The dimensions from (lower, upper) pairs; returns the element count. */
static long long shape_of(int n, const VBValue *bounds, long long *lower, long long *extent) {
    if (n < 1 || n > VB_MAX_DIMS) fatal("Array dimensions out of range");
    unsigned long long total = 1;
    for (int k = 0; k < n; k++) {
        long long low = whole_of(bounds[2 * k], LLONG_MIN), high = whole_of(bounds[2 * k + 1], LLONG_MIN);
        if (low == LLONG_MIN || high == LLONG_MIN) fatal("Array dimensions out of range");
        long long count;
        if (__builtin_sub_overflow(high, low, &count) || count < -1) fatal("Array dimensions out of range");
        count += 1;
        if (count > INT_MAX) fatal("Out of memory");
        lower[k] = low;
        extent[k] = count;
        if (count != 0 && total > (unsigned long long)INT_MAX / (unsigned long long)count) fatal("Out of memory");
        total *= (unsigned long long)count;
    }
    return (long long)total;
}

/* Element storage (see VBArray in vb_lang.h): the scalar types' arrays
 * hold C forms, String arrays values that are always texts, other arrays
 * any value. */
typedef struct ElementType {
    const char *name;
    int elem;
    size_t size; /* bytes of one stored element (0: a value) */
} ElementType;

static const ElementType ELEMENT_TYPES[] = {
    {"byte", VB_ELEM_BYTE, sizeof(unsigned char)},  {"integer", VB_ELEM_INTEGER, sizeof(short)},
    {"long", VB_ELEM_LONG, sizeof(int)},             {"single", VB_ELEM_DOUBLE, sizeof(double)},
    {"double", VB_ELEM_DOUBLE, sizeof(double)},      {"currency", VB_ELEM_DOUBLE, sizeof(double)},
    {"boolean", VB_ELEM_BOOLEAN, sizeof(unsigned char)}, {"string", VB_ELEM_STRING, 0},
};

static const ElementType *element_type(const char *type) {
    if (!type) return NULL;
    for (size_t k = 0; k < sizeof ELEMENT_TYPES / sizeof ELEMENT_TYPES[0]; k++)
        if (!strcasecmp(ELEMENT_TYPES[k].name, type)) return &ELEMENT_TYPES[k];
    return NULL;
}

const VBArray vb_no_array = {0};

void vb_array_settle(VBArray *a) { a->flat = a->dims <= 1 ? a->elem + 1 : 0; }

static VBValue typed_array_value(long long count, const char *type) {
    const ElementType *t = element_type(type);
    if (!t || !t->size) {
        VBValue v = array_value(count);
        VBArray *a = v.object;
        if (t) a->elem = VB_ELEM_STRING;
        vb_array_settle(a);
        if (type && strcasecmp(type, "variant")) a->type = t ? t->name : type;
        return v;
    }
    if (count < 0) fatal("Array dimensions out of range");
    if ((unsigned long long)count > SIZE_MAX / t->size - 1) fatal("Out of memory");
    VBArray *a = vb_alloc(sizeof *a);
    a->count = count;
    a->elem = t->elem;
    a->type = t->name;
    a->data = alloc_atomic(t->size * ((size_t)count + 1));
    vb_array_settle(a);
    VBValue v = {.kind = VB_ARRAY, .object = a};
    return v;
}

static VBValue item_get(const VBArray *a, long long k) {
    switch (a->elem) {
    case VB_ELEM_BYTE: return int_value(((unsigned char *)a->data)[k]);
    case VB_ELEM_INTEGER: return int_value(((short *)a->data)[k]);
    case VB_ELEM_LONG: return int_value(((int *)a->data)[k]);
    case VB_ELEM_DOUBLE: return vb_double_value(((double *)a->data)[k]);
    case VB_ELEM_BOOLEAN: return bool_value(((unsigned char *)a->data)[k]);
    default: return a->items[k];
    }
}

static void item_put(VBArray *a, long long k, VBValue value) {
    switch (a->elem) {
    case VB_ELEM_BYTE: ((unsigned char *)a->data)[k] = (unsigned char)vb_store_value(value, 0, 255, "byte"); return;
    case VB_ELEM_INTEGER: ((short *)a->data)[k] = (short)vb_store_value(value, -32768, 32767, "integer"); return;
    case VB_ELEM_LONG:
        ((int *)a->data)[k] = (int)vb_store_value(value, -2147483647LL - 1, 2147483647LL, "long");
        return;
    case VB_ELEM_DOUBLE: {
        VBValue d = vb_coerce(value, a->type);
        ((double *)a->data)[k] = d.kind == VB_NUMBER ? d.number : (double)d.integer;
        return;
    }
    case VB_ELEM_BOOLEAN: ((unsigned char *)a->data)[k] = (unsigned char)truth_of(value); return;
    case VB_ELEM_STRING: a->items[k] = vb_coerce(value, "string"); return;
    default: a->items[k] = value; return;
    }
}

/* Elements from..count start as the type's initial value, each its own
 * (a record per element). Value items from..count are zero bytes when this
 * runs (fresh from vb_alloc; Erase clears them first). */
static void fill_items(VBArray *a, long long from, const char *type) {
    if (from >= a->count) return;
    const ElementType *t = a->elem != VB_ELEM_VALUE ? element_type(a->type) : NULL;
    if (t && a->elem == VB_ELEM_DOUBLE) {
        for (long long k = from; k < a->count; k++) ((double *)a->data)[k] = VB_DOUBLE_UNSET;
        return;
    }
    if (t && t->size) {
        memset((char *)a->data + t->size * (size_t)from, 0, t->size * (size_t)(a->count - from));
        return;
    }
    VBValue initial = initial_value(type ? type : "variant");
    if (initial.kind == VB_OBJECT && initial.object) {
        a->items[from] = initial;
        for (long long k = from + 1; k < a->count; k++) a->items[k] = initial_value(type);
        return;
    }
    if (initial.kind == VB_INTEGER && initial.integer == 0) {
        /* the Integer 0 differs from zero bytes only in its kind */
        for (long long k = from; k < a->count; k++) a->items[k].kind = VB_INTEGER;
        return;
    }
    for (long long k = from; k < a->count; k++) a->items[k] = initial;
}

static VBValue shaped_array(int n, const VBValue *bounds, const char *type) {
    long long lower[VB_MAX_DIMS], extent[VB_MAX_DIMS];
    long long total = shape_of(n, bounds, lower, extent);
    VBValue v = typed_array_value(total, type);
    VBArray *a = v.object;
    if (n > 1 || lower[0] != 0) {
        a->dims = n;
        for (int k = 0; k < n; k++) {
            a->lower[k] = lower[k];
            a->extent[k] = extent[k];
        }
        vb_array_settle(a);
    }
    return v;
}

VBValue vb_array_shape(int n, VBValue *bounds, const char *type) {
    VBValue v = shaped_array(n, bounds, type);
    fill_items(v.object, 0, type);
    ((VBArray *)v.object)->fixed = 1;
    return v;
}

/* Dim a(2) As New C: every element a new instance, made in order. */
VBValue vb_array_new_instances(VBValue array, const char *class_name) {
    VBArray *a = (VBArray *)array.object;
    if (a->elem != VB_ELEM_VALUE) return array;
    for (long long k = 0; k < a->count; k++) a->items[k] = vb_new(class_name);
    return array;
}

/* ReDim: a fresh array of the new shape; Preserve keeps the elements that
 * fit, in storage order. Whoever still holds the old array keeps it. An
 * array ReDim gives no type (a parameter's) keeps its element type. */
VBValue vb_array_reshape(VBValue old, int n, VBValue *bounds, int preserve, const char *type) {
    if ((!type || !strcasecmp(type, "variant")) && vb_is_array(old) && ((VBArray *)old.object)->type)
        type = ((VBArray *)old.object)->type;
    VBValue v = shaped_array(n, bounds, type);
    VBArray *a = v.object;
    long long kept = 0;
    if (preserve && vb_is_array(old)) {
        VBArray *o = old.object;
        kept = o->count < a->count ? o->count : a->count;
        const ElementType *t = element_type(a->type);
        if (o->elem == a->elem && t && t->size) memcpy(a->data, o->data, t->size * (size_t)kept);
        else
            for (long long k = 0; k < kept; k++) item_put(a, k, item_get(o, k));
    }
    fill_items(a, kept, type);
    return v;
}

VBValue vb_index_at(VBValue array, int n, VBValue *indexes, const char *name) {
    if (!vb_is_array(array)) failf("Not an array: %s", name ? name : "");
    VBArray *a = array.object;
    return item_get(a, flat_index(a, n, indexes, name));
}

void vb_index_set_at(VBValue array, int n, VBValue *indexes, VBValue value, const char *name) {
    if (!vb_is_array(array)) failf("Not an array: %s", name ? name : "");
    VBArray *a = array.object;
    item_put(a, flat_index(a, n, indexes, name), vb_record_copy(value));
}

VBValue *vb_element_ref(VBValue array, int n, VBValue *indexes, const char *name) {
    if (!vb_is_array(array)) failf("Not an array: %s", name ? name : "");
    VBArray *a = array.object;
    long long k = flat_index(a, n, indexes, name);
    if (a->elem != VB_ELEM_VALUE && a->elem != VB_ELEM_STRING) fatal("Typed array elements have no value cell");
    return &a->items[k];
}

/* Typed element access of one-dimensional arrays (vb_lang.h): what the
 * inline forms leave over, i.e. subscripts out of range, arrays of another
 * storage, and failures. */
static long long typed_position(int kind, void *object, long long i, const char *name) {
    if (kind != VB_ARRAY || !object) failf("Not an array: %s", name ? name : "");
    VBArray *a = object;
    if (a->dims > 1) failf("Wrong number of dimensions: %s", name ? name : "");
    unsigned long long k = (unsigned long long)i - (unsigned long long)a->lower[0];
    if (i == LLONG_MIN || k >= (unsigned long long)a->count) failf("Subscript out of range: %s", name ? name : "");
    return (long long)k;
}

long long vb_subscript(VBValue index) { return whole_of(index, LLONG_MIN); }

/* The slow forms: an element of an array stored otherwise is converted
 * as a store into the element type converts it. */
#define TYPED_SLOW(NAME, ELEM, STORED, VALUE, READ, MAKE)                                   \
    VALUE vb_##NAME##_get_slow(int kind, void *array, long long i, const char *name) {     \
        long long k = typed_position(kind, array, i, name);                                \
        VBArray *a = array;                                                                \
        if (a->elem == ELEM) return (VALUE)((STORED *)a->data)[k];                         \
        VBValue v = item_get(a, k);                                                        \
        return READ;                                                                       \
    }                                                                                      \
    void vb_##NAME##_set_slow(int kind, void *array, long long i, VALUE value, const char *name) { \
        long long k = typed_position(kind, array, i, name);                                \
        item_put(array, k, MAKE);                                                          \
    }
TYPED_SLOW(byte, VB_ELEM_BYTE, unsigned char, long long, vb_store_value(v, 0, 255, "byte"), int_value(value))
TYPED_SLOW(integer, VB_ELEM_INTEGER, short, long long, vb_store_value(v, -32768, 32767, "integer"), int_value(value))
TYPED_SLOW(long, VB_ELEM_LONG, int, long long, vb_store_value(v, -2147483647LL - 1, 2147483647LL, "long"),
           int_value(value))
TYPED_SLOW(double, VB_ELEM_DOUBLE, double, double,
           (v.kind == VB_INTEGER && v.integer == 0) ? VB_DOUBLE_UNSET : vb_number(vb_coerce(v, "double")),
           vb_double_value(value))
TYPED_SLOW(bool, VB_ELEM_BOOLEAN, unsigned char, int, truth_of(v), bool_value(value))
#undef TYPED_SLOW

/* Erase: a fixed-size array's elements start again; a dynamic array
 * becomes empty. */
VBValue vb_array_erase(VBValue array) {
    if (!vb_is_array(array)) fatal("Erase requires an array");
    VBArray *a = array.object;
    if (!a->fixed) return vb_array_of_type(a->type);
    if (a->items) memset(a->items, 0, sizeof(VBValue) * (size_t)a->count);
    fill_items(a, 0, a->type ? a->type : "variant");
    return array;
}

VBValue vb_array_of_type(const char *type) { return typed_array_value(0, type); }

/* UBound / LBound (array, [dimension]): LBound of something that is no
 * array is 0, UBound's is an error. */
static VBValue array_bound(int argc, VBValue *args, int upper) {
    const char *name = upper ? "UBound" : "LBound";
    need_args(argc, 1, name);
    if (!vb_is_array(args[0])) {
        if (!upper) return int_value(0);
        failf("UBound requires an array (got %s)", value_repr(args[0]));
    }
    VBArray *a = args[0].object;
    long long d = argc > 1 ? whole_of(args[1], 0) : 1;
    char number[32];
    snprintf(number, sizeof number, "%lld", d);
    if (!a->dims) {
        if (d != 1) failf("Subscript out of range: dimension %s", number);
        return int_value(upper ? a->count - 1 : 0);
    }
    if (d < 1 || d > a->dims) failf("Subscript out of range: dimension %s", number);
    long long low = a->lower[d - 1];
    return int_value(upper ? low + a->extent[d - 1] - 1 : low);
}

/* Array(a, b, ...): a plain list of the arguments. */
static VBValue array_of(int argc, VBValue *args) {
    VBValue v = array_value(argc > 0 ? argc : 0);
    VBArray *a = v.object;
    for (int k = 0; k < argc; k++) a->items[k] = args[k];
    return v;
}
