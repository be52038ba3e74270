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

/* Elements from..count start as the type's initial value, each its own
 * (a record per element). */
static void fill_items(VBArray *a, long long from, const char *type) {
    if (from >= a->count) return;
    VBValue initial = initial_value(type ? type : "variant");
    if (initial.kind == VB_OBJECT && initial.object) {
        a->items[from] = initial;
        for (long long k = from + 1; k < a->count; k++) a->items[k] = initial_value(type);
        return;
    }
    for (long long k = from; k < a->count; k++) a->items[k] = initial;
}

static VBValue shaped_array(int n, const VBValue *bounds) {
    long long lower[VB_MAX_DIMS], extent[VB_MAX_DIMS];
    long long total = shape_of(n, bounds, lower, extent);
    VBValue v = array_value(total);
    VBArray *a = v.object;
    if (n > 1 || lower[0] != 0) {
        a->dims = n;
        for (int k = 0; k < n; k++) {
            a->lower[k] = lower[k];
            a->extent[k] = extent[k];
        }
    }
    return v;
}

VBValue vb_array_shape(int n, VBValue *bounds, const char *type) {
    VBValue v = shaped_array(n, bounds);
    fill_items(v.object, 0, type);
    return v;
}

/* ReDim: a fresh array of the new shape; Preserve keeps the elements that
 * fit, in storage order. Whoever still holds the old array keeps it. */
VBValue vb_array_reshape(VBValue old, int n, VBValue *bounds, int preserve, const char *type) {
    VBValue v = shaped_array(n, bounds);
    VBArray *a = v.object;
    long long kept = 0;
    if (preserve && vb_is_array(old)) {
        VBArray *o = old.object;
        kept = o->count < a->count ? o->count : a->count;
        memcpy(a->items, o->items, sizeof(VBValue) * (size_t)kept);
    }
    fill_items(a, kept, type);
    return v;
}

VBValue vb_index_at(VBValue array, int n, VBValue *indexes, const char *name) {
    if (!vb_is_array(array)) failf("Not an array: %s", name ? name : "");
    VBArray *a = array.object;
    return a->items[flat_index(a, n, indexes, name)];
}

void vb_index_set_at(VBValue array, int n, VBValue *indexes, VBValue value, const char *name) {
    if (!vb_is_array(array)) failf("Not an array: %s", name ? name : "");
    VBArray *a = array.object;
    a->items[flat_index(a, n, indexes, name)] = vb_record_copy(value);
}

VBValue *vb_element_ref(VBValue array, int n, VBValue *indexes, const char *name) {
    if (!vb_is_array(array)) failf("Not an array: %s", name ? name : "");
    VBArray *a = array.object;
    return &a->items[flat_index(a, n, indexes, name)];
}

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
