/* Corvane native runtime: Imp and Eqv, TypeOf ... Is, hexadecimal and
 * octal texts in conversions, fixed-length texts and LSet/RSet. Included
 * by vb_native.c, whose helpers it uses; plain C11. */

/* Imp and Eqv: on two Booleans the logical result, otherwise bitwise on
 * the operands' whole numbers (Booleans are -1 and 0, other numbers are
 * rounded half to even). */
static long long whole_operand(VBValue v) {
    Num r = round_even(number_of(v));
    if (!r.is_int) fatal("Overflow");
    return r.i;
}

VBValue vb_imp(VBValue a, VBValue b) {
    if (a.kind == VB_BOOLEAN && b.kind == VB_BOOLEAN) return bool_value(!a.integer || b.integer);
    long long x = whole_operand(a), y = whole_operand(b);
    return int_value(~x | y);
}

VBValue vb_eqv(VBValue a, VBValue b) {
    if (a.kind == VB_BOOLEAN && b.kind == VB_BOOLEAN) return bool_value((a.integer != 0) == (b.integer != 0));
    long long x = whole_operand(a), y = whole_operand(b);
    return int_value(~(x ^ y));
}

/* TypeOf value Is name: an object that is not Nothing whose type name is
 * `name` (any object for "Object"). */
VBValue vb_typeof_is(VBValue value, VBValue name) {
    if (value.kind != VB_OBJECT || !value.object) return bool_value(0);
    const char *wanted = string_of(name);
    if (word_is(wanted, "object")) return bool_value(1);
    VBValue type = vb_builtin("typename", 1, &value);
    const char *have = string_of(type);
    while (*have && *wanted && ((*have | 0x20) == (*wanted | 0x20))) {
        have++;
        wanted++;
    }
    return bool_value(*have == '\0' && *wanted == '\0');
}

/* A text "&H1F" or "&O17" (blanks around it, an optional closing "&") as
 * its number, as VB6 reads such literals: up to four hexadecimal (six
 * octal) digits make a 16-bit value, longer ones or a closing "&" a
 * 32-bit one, both signed. Any other value is returned as it is. */
VBValue vb_radix_text(VBValue value) {
    if (value.kind != VB_STRING) return value;
    const char *s = string_of(value);
    while (*s == ' ' || *s == '\t') s++;
    if (s[0] != '&') return value;
    int base = (s[1] == 'H' || s[1] == 'h') ? 16 : (s[1] == 'O' || s[1] == 'o') ? 8 : 0;
    if (!base) return value;
    unsigned long long v = 0;
    size_t digits = 0;
    const char *p = s + 2;
    for (; *p; p++, digits++) {
        int c = *p | 0x20, d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : 99;
        if (d >= base) break;
        v = v * (unsigned long long)base + (unsigned long long)d;
        if (v > 0xFFFFFFFFull) fatal("Overflow");
    }
    int long_mark = *p == '&';
    if (long_mark) p++;
    while (*p == ' ' || *p == '\t') p++;
    if (!digits || *p) return value;
    if (!long_mark && v <= 0xFFFF && digits <= (base == 16 ? 4u : 6u)) return int_value((short)(unsigned short)v);
    return int_value((int)(unsigned int)v);
}

/* The text of `value` cut or padded with blanks to `width` characters:
 * a store into a String * width variable. */
static VBValue justified(VBValue value, size_t width, int right) {
    char buf[64];
    size_t n;
    const char *s = text_of(value, buf, &n);
    size_t chars = char_count(s, n);
    if (chars >= width) {
        size_t cut = char_offset(s, n, width);
        return text_value_n(copy_bytes(s, cut), cut);
    }
    size_t blanks = width - chars;
    char *out = vb_alloc_text(n + blanks + 1);
    if (right) {
        memset(out, ' ', blanks);
        memcpy(out + blanks, s, n);
    } else {
        memcpy(out, s, n);
        memset(out + n, ' ', blanks);
    }
    out[n + blanks] = '\0';
    return text_value_n(out, n + blanks);
}

VBValue vb_fixed_text(VBValue value, long long width) {
    return justified(value, width < 0 ? 0 : (size_t)width, 0);
}

/* LSet / RSet: the new text left or right in the old one's length; a
 * record is copied onto a record whole. */
static VBValue set_into(VBValue old, VBValue value, int right) {
    if (old.kind == VB_OBJECT && value.kind == VB_OBJECT) return vb_record_copy(value);
    char buf[64];
    size_t n;
    const char *s = text_of(old, buf, &n);
    return justified(value, char_count(s, n), right);
}

VBValue vb_lset(VBValue old, VBValue value) { return set_into(old, value, 0); }
VBValue vb_rset(VBValue old, VBValue value) { return set_into(old, value, 1); }
