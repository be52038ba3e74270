/* Binary and Random file channels: Get, Put and Seek with VB6's record
 * layout. Integers are little-endian of their declared size (Integer 2,
 * Long 4, Byte 1, Boolean 2 as -1/0, Currency 8 in ten-thousandths), Single
 * and Double IEEE, Date a Double serial; text is Windows-1252, a fixed-length
 * text padded with blanks, a variable-length one led by its 2-byte length in
 * Random files; a Variant carries its 2-byte type tag. Records are written
 * field by field, arrays element by element. A Get past the end reads
 * zeros; EOF then tells. */

typedef struct Bytes {
    const unsigned char *data;
    size_t size, pos;
} Bytes;

static void take_bytes(Bytes *in, void *out, size_t n) {
    size_t have = in->pos < in->size ? in->size - in->pos : 0;
    size_t k = have < n ? have : n;
    memcpy(out, in->data + in->pos, k);
    memset((char *)out + k, 0, n - k);
    in->pos += k;
}

static long long fixed_text_length(const char *type) {
    const char *star = strchr(type, '*');
    return star ? atoll(star + 1) : 0;
}

/* The type's base name ("string*10" -> "string"), lower-cased. */
static void base_type(const char *type, char *out, size_t size) {
    size_t k = 0;
    for (; type[k] && type[k] != '*' && type[k] != '[' && k + 1 < size; k++) out[k] = (char)tolower((unsigned char)type[k]);
    out[k] = '\0';
}

static void put_1252(Text *out, const char *s) {
    size_t n = strlen(s);
    for (size_t i = 0; i < n;) {
        int byte;
        i = next_1252_byte(s, n, i, &byte);
        text_ch(out, (char)byte);
    }
}

static void put_raw(Text *out, const void *p, size_t n) {
    for (size_t k = 0; k < n; k++) text_ch(out, ((const char *)p)[k]);
}

static int is_record_value(VBValue v) {
    return v.kind == VB_OBJECT && v.object && ((VBObject *)v.object)->tag == TAG_RECORD;
}

static double date_serial_of(VBValue v) {
    VBDate d = to_date(v);
    return (double)days_from_civil(d.year, d.month, d.day) + (d.hour * 3600 + d.minute * 60 + d.second) / 86400.0;
}

static void put_value(Text *out, VBValue v, const char *type, int random) {
    if (is_record_value(v)) {
        VBObject *o = v.object;
        VBRecordDef *d = o->record;
        for (int i = 0; i < d->count; i++) put_value(out, o->values[i], d->types[i], random);
        return;
    }
    if (vb_is_array(v)) {
        VBArray *a = v.object;
        for (long long k = 0; k < a->count; k++) put_value(out, item_get(a, k), type, random);
        return;
    }
    char base[64];
    base_type(type ? type : "variant", base, sizeof base);
    if (!strcmp(base, "string")) {
        Text bytes = {0};
        text_str(&bytes, "");
        put_1252(&bytes, string_of(v));
        long long fixed = fixed_text_length(type);
        if (fixed > 0) {
            for (long long k = 0; k < fixed; k++) text_ch(out, k < (long long)bytes.n ? bytes.p[k] : ' ');
            return;
        }
        if (random) {
            uint16_t n = (uint16_t)bytes.n;
            put_raw(out, &n, 2);
        }
        put_raw(out, bytes.p, bytes.n);
        return;
    }
    switch (type_code(base)) {
    case T_INTEGER: { int16_t x = (int16_t)whole_of(vb_coerce(v, "integer"), 0); put_raw(out, &x, 2); return; }
    case T_LONG: { int32_t x = (int32_t)whole_of(vb_coerce(v, "long"), 0); put_raw(out, &x, 4); return; }
    case T_BYTE: { uint8_t x = (uint8_t)whole_of(vb_coerce(v, "byte"), 0); put_raw(out, &x, 1); return; }
    case T_BOOLEAN: { int16_t x = truth_of(v) ? -1 : 0; put_raw(out, &x, 2); return; }
    case T_SINGLE: { float x = (float)number_value(v); put_raw(out, &x, 4); return; }
    case T_DOUBLE: { double x = number_value(v); put_raw(out, &x, 8); return; }
    case T_CURRENCY: { int64_t x = llround(number_value(v) * 10000.0); put_raw(out, &x, 8); return; }
    default: break;
    }
    if (!strcmp(base, "date")) {
        double x = date_serial_of(v);
        put_raw(out, &x, 8);
        return;
    }
    /* a Variant: its type tag, then the value */
    uint16_t tag;
    if (v.kind == VB_BOOLEAN) {
        int16_t x = v.integer ? -1 : 0;
        tag = 11;
        put_raw(out, &tag, 2);
        put_raw(out, &x, 2);
    } else if (v.kind == VB_INTEGER && v.integer >= INT32_MIN && v.integer <= INT32_MAX) {
        int32_t x = (int32_t)v.integer;
        tag = 3;
        put_raw(out, &tag, 2);
        put_raw(out, &x, 4);
    } else if (v.kind == VB_INTEGER || v.kind == VB_NUMBER) {
        double x = number_value(v);
        tag = 5;
        put_raw(out, &tag, 2);
        put_raw(out, &x, 8);
    } else if (v.kind == VB_OBJECT && !v.object) {
        tag = 0;
        put_raw(out, &tag, 2);
    } else {
        Text bytes = {0};
        text_str(&bytes, "");
        put_1252(&bytes, string_of(v));
        uint16_t n = (uint16_t)bytes.n;
        tag = 8;
        put_raw(out, &tag, 2);
        put_raw(out, &n, 2);
        put_raw(out, bytes.p, bytes.n);
    }
}

/* The value read for a variable of the type; records and arrays are
 * filled in place. */
static VBValue get_value(Bytes *in, VBValue current, const char *type, int random) {
    if (is_record_value(current)) {
        VBObject *o = current.object;
        VBRecordDef *d = o->record;
        for (int i = 0; i < d->count; i++) o->values[i] = get_value(in, o->values[i], d->types[i], random);
        return current;
    }
    if (vb_is_array(current)) {
        VBArray *a = current.object;
        for (long long k = 0; k < a->count; k++) item_put(a, k, get_value(in, item_get(a, k), type, random));
        return current;
    }
    char base[64];
    base_type(type ? type : "variant", base, sizeof base);
    if (!strcmp(base, "string")) {
        long long n = fixed_text_length(type);
        if (n <= 0) {
            if (random) {
                uint16_t k;
                take_bytes(in, &k, 2);
                n = k;
            } else {
                n = (long long)char_count(string_of(current), strlen(string_of(current)));
            }
        }
        char *bytes = alloc_atomic((size_t)n + 1);
        take_bytes(in, bytes, (size_t)n);
        return text_from_1252(bytes, (size_t)n);
    }
    switch (type_code(base)) {
    case T_INTEGER: { int16_t x; take_bytes(in, &x, 2); return int_value(x); }
    case T_LONG: { int32_t x; take_bytes(in, &x, 4); return int_value(x); }
    case T_BYTE: { uint8_t x; take_bytes(in, &x, 1); return int_value(x); }
    case T_BOOLEAN: { int16_t x; take_bytes(in, &x, 2); return bool_value(x != 0); }
    case T_SINGLE: { float x; take_bytes(in, &x, 4); return dbl_value((double)x); }
    case T_DOUBLE: { double x; take_bytes(in, &x, 8); return dbl_value(x); }
    case T_CURRENCY: { int64_t x; take_bytes(in, &x, 8); return dbl_value((double)x / 10000.0); }
    default: break;
    }
    if (!strcmp(base, "date")) {
        double x;
        take_bytes(in, &x, 8);
        VBDate d = from_serial(x);
        return date_value(&d);
    }
    uint16_t tag;
    take_bytes(in, &tag, 2);
    switch (tag) {
    case 0: return vb_nothing();
    case 2: { int16_t x; take_bytes(in, &x, 2); return int_value(x); }
    case 3: { int32_t x; take_bytes(in, &x, 4); return int_value(x); }
    case 4: { float x; take_bytes(in, &x, 4); return dbl_value((double)x); }
    case 5: { double x; take_bytes(in, &x, 8); return dbl_value(x); }
    case 11: { int16_t x; take_bytes(in, &x, 2); return bool_value(x != 0); }
    case 8: {
        uint16_t n;
        take_bytes(in, &n, 2);
        char *bytes = alloc_atomic((size_t)n + 1);
        take_bytes(in, bytes, n);
        return text_from_1252(bytes, n);
    }
    default: fatal("Variable uses an Automation type not supported in Visual Basic");
    }
}

static long long record_byte_length(VBValue record) {
    Text bytes = {0};
    text_str(&bytes, "");
    put_value(&bytes, record, "variant", 1);
    return (long long)bytes.n;
}

static FileChannel *direct_channel(VBValue number) {
    FileChannel *ch = open_channel(number);
    if (ch->mode != FILE_BINARY && ch->mode != FILE_RANDOM) fatal("Bad file mode");
    return ch;
}

/* Moves to a record (Random, from 1) or byte (Binary, from 1). */
static void seek_record(FileChannel *ch, VBValue record) {
    long long n = whole_of(record, 0);
    if (n < 1) fatal("Bad record number");
    long long offset = ch->mode == FILE_RANDOM ? (n - 1) * ch->record_length : n - 1;
    fseek(ch->file, (long)offset, SEEK_SET);
}

void vb_file_open_direct(VBValue path, int random, VBValue number, VBValue record_length, int has_length) {
    vb_file_open(path, random ? FILE_RANDOM : FILE_BINARY, number);
    if (has_length) {
        long long n = whole_of(record_length, 128);
        channels[channel_number(number)].record_length = n < 1 ? 1 : n;
    }
}

void vb_file_put(VBValue number, VBValue record, int has_record, VBValue value, const char *type) {
    FileChannel *ch = direct_channel(number);
    if (has_record) seek_record(ch, record);
    Text bytes = {0};
    text_str(&bytes, "");
    put_value(&bytes, value, type, ch->mode == FILE_RANDOM);
    if (ch->mode == FILE_RANDOM) {
        if ((long long)bytes.n > ch->record_length) fatal("Bad record length");
        while ((long long)bytes.n < ch->record_length) text_ch(&bytes, '\0');
    }
    fseek(ch->file, 0, SEEK_CUR); /* switching from reading to writing */
    fwrite(bytes.p, 1, bytes.n, ch->file);
}

VBValue vb_file_get(VBValue number, VBValue record, int has_record, VBValue current, const char *type) {
    FileChannel *ch = direct_channel(number);
    if (has_record) seek_record(ch, record);
    long here = ftell(ch->file);
    fflush(ch->file);
    struct stat st;
    long long size = fstat(fileno(ch->file), &st) == 0 ? (long long)st.st_size : 0;
    long long want = ch->mode == FILE_RANDOM ? ch->record_length : (size > here ? size - here : 0);
    unsigned char *data = alloc_atomic((size_t)want + 1);
    fseek(ch->file, here, SEEK_SET);
    Bytes in = {data, fread(data, 1, (size_t)want, ch->file), 0};
    VBValue got = get_value(&in, current, type, ch->mode == FILE_RANDOM);
    if (ch->mode == FILE_BINARY) fseek(ch->file, here + (long)(in.pos < in.size ? in.pos : in.size), SEEK_SET);
    return got;
}

void vb_file_seek(VBValue number, VBValue position) { seek_record(open_channel(number), position); }
