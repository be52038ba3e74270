/* Corvane native runtime: records (Type blocks).
 *
 * Compiled as part of vb_native.c (included at its end). A record is an
 * object of its own kind whose fields start as their types' initial values:
 * nested records are records of their own, a field "name(n) As T" an array
 * of n + 1 elements, "name(a To b) As T" one of b - a + 1 from a, "name()
 * As T" an array without elements until a ReDim. Like every object value, a
 * record is held by reference. */

typedef struct VBRecordDef {
    char *name; /* lower-cased */
    int count;
    char **fields;
    char **types;       /* element type of an array field */
    long long *lengths; /* element count of an array field, -2 dynamic, else -1 */
    long long *lowers;  /* lower bound of an array field */
    struct VBRecordDef *next;
} VBRecordDef;

static VBRecordDef *record_list;

static VBRecordDef *record_def(const char *name) {
    if (!name) return NULL;
    for (VBRecordDef *d = record_list; d; d = d->next)
        if (!strcasecmp(d->name, name)) return d;
    return NULL;
}

/* Registers a record type; `types` holds "type", "type[count]" or
 * "type[lower:count]". */
void vb_register_record(const char *name, int nfields, const char **names, const char **types) {
    if (nfields < 0) nfields = 0;
    VBRecordDef *d = vb_alloc(sizeof *d);
    d->name = copy_text(name);
    for (char *p = d->name; *p; p++) *p = (char)tolower((unsigned char)*p);
    d->count = nfields;
    d->fields = vb_alloc(sizeof(char *) * ((size_t)nfields + 1));
    d->types = vb_alloc(sizeof(char *) * ((size_t)nfields + 1));
    d->lengths = vb_alloc(sizeof(long long) * ((size_t)nfields + 1));
    d->lowers = vb_alloc(sizeof(long long) * ((size_t)nfields + 1));
    for (int i = 0; i < nfields; i++) {
        d->fields[i] = copy_text(names[i]);
        const char *t = types[i];
        const char *bracket = strchr(t, '[');
        d->types[i] = copy_bytes(t, bracket ? (size_t)(bracket - t) : strlen(t));
        const char *colon = bracket ? strchr(bracket, ':') : NULL;
        d->lengths[i] = !bracket ? -1 : bracket[1] == ']' ? -2 : atoll(colon ? colon + 1 : bracket + 1);
        d->lowers[i] = colon ? atoll(bracket + 1) : 0;
    }
    d->next = record_list;
    record_list = d;
}

static int record_depth;

static int record_initial(const char *type, VBValue *out) {
    if (!strncasecmp(type, "string*", 7)) { /* a fixed-length text starts as blanks */
        long long n = atoll(type + 7);
        if (n > 65535) n = 65535;
        char *blanks = vb_alloc_text((size_t)n + 1);
        memset(blanks, ' ', (size_t)n);
        blanks[n] = '\0';
        *out = text_value(blanks);
        return 1;
    }
    VBRecordDef *d = record_list ? record_def(type) : NULL;
    if (!d) return 0;
    if (record_depth > 32) failf("Type %s contains itself", d->name);
    record_depth++;
    VBObject *o = new_object(TAG_RECORD, d->name);
    o->values = vb_alloc(sizeof(VBValue) * ((size_t)d->count + 1));
    for (int i = 0; i < d->count; i++) {
        if (d->lengths[i] == -2) { /* Items() As T: no elements until a ReDim */
            o->values[i] = vb_array_of_type(d->types[i]);
            continue;
        }
        if (d->lengths[i] < 0) {
            o->values[i] = initial_value(d->types[i]);
            continue;
        }
        VBValue array = array_value(d->lengths[i]);
        fill_items(array.object, 0, d->types[i]);
        ((VBArray *)array.object)->fixed = 1;
        if (d->lowers[i] != 0) {
            VBArray *a = array.object;
            a->dims = 1;
            a->lower[0] = d->lowers[i];
            a->extent[0] = d->lengths[i];
            vb_array_settle(a);
        }
        o->values[i] = array;
    }
    record_depth--;
    o->record = d;
    *out = object_value(o);
    return 1;
}

static VBValue *record_field(VBObject *o, const char *name) {
    VBRecordDef *d = o->record;
    for (int i = 0; i < d->count; i++)
        if (!strcasecmp(d->fields[i], name)) return &o->values[i];
    size_t n = strlen(d->name) + strlen(name) + 16;
    char *m = vb_alloc_text(n);
    snprintf(m, n, "%s has no field %s", d->name, name);
    fatal(m);
}

void vb_redim_field(VBValue owner, const char *field, int n, VBValue *bounds, int preserve, const char *written) {
    VBObject *o = owner.kind == VB_OBJECT ? owner.object : NULL;
    if (!o || o->tag != TAG_RECORD) failf("ReDim requires an array: %s", written);
    VBValue *slot = record_field(o, field);
    if (!vb_is_array(*slot)) failf("ReDim requires an array: %s", written);
    if (((VBArray *)slot->object)->fixed) failf("This array is fixed or temporarily locked: %s", written);
    *slot = vb_array_reshape(*slot, n, bounds, preserve, NULL);
}

/* A text stored in a "String * n" field keeps n characters: cut, or padded
 * with blanks. */
static VBValue fixed_text_field(VBObject *record, VBValue *field, VBValue value) {
    VBRecordDef *d = record->record;
    long long i = field - record->values;
    if (i < 0 || i >= d->count || d->lengths[i] >= 0 || strncasecmp(d->types[i], "string*", 7)) return value;
    long long n = atoll(d->types[i] + 7);
    const char *s = string_of(value);
    size_t bytes = strlen(s), count = char_count(s, bytes);
    size_t keep = count < (size_t)n ? bytes : char_offset(s, bytes, (size_t)n);
    size_t pad = count < (size_t)n ? (size_t)n - count : 0;
    char *out = vb_alloc_text(keep + pad + 1);
    memcpy(out, s, keep);
    memset(out + keep, ' ', pad);
    out[keep + pad] = '\0';
    return text_value(out);
}

VBValue vb_new_record(const char *name) {
    VBValue v;
    if (!record_initial(name, &v)) unsupported("Unknown native record type: ", name, NULL);
    return v;
}

/* A record as assignment stores it: a copy of its own, nested records and
 * array fields copied too (VB6 copies a Type); any other value as it is. */
VBValue vb_record_copy(VBValue value) {
    if (value.kind != VB_OBJECT || !value.object || ((VBObject *)value.object)->tag != TAG_RECORD) return value;
    VBObject *from = value.object;
    VBRecordDef *d = from->record;
    VBObject *o = new_object(TAG_RECORD, d->name);
    o->record = d;
    o->values = vb_alloc(sizeof(VBValue) * ((size_t)d->count + 1));
    for (int i = 0; i < d->count; i++) {
        VBValue field = from->values[i];
        if (vb_is_array(field)) {
            VBArray *a = field.object;
            VBValue copy = array_value(a->count);
            VBArray *c = copy.object;
            c->dims = a->dims;
            memcpy(c->lower, a->lower, sizeof a->lower);
            memcpy(c->extent, a->extent, sizeof a->extent);
            vb_array_settle(c);
            for (long long k = 0; k < a->count; k++) c->items[k] = vb_record_copy(item_get(a, k));
            field = copy;
        } else {
            field = vb_record_copy(field);
        }
        o->values[i] = field;
    }
    return object_value(o);
}
