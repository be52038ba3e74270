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

/* Whether `type` names a class of the program. */
static int is_class_type(const char *type) {
    for (VBClassDef *d = class_list; d; d = d->next)
        if (!strcasecmp(d->name, type)) return 1;
    return 0;
}

/* InStr(start, text, sought, compare) and InStrRev(text, sought, start,
 * compare): with vbTextCompare (1) both texts are searched lower-cased. */
static VBValue search_compare(const char *name, int text_at, VBValue *args) {
    VBValue copy[4] = {args[0], args[1], args[2], args[3]};
    if (!(args[3].kind == VB_OBJECT && !args[3].object) && whole_operand(args[3]) == 1) {
        copy[text_at] = vb_builtin("lcase", 1, &args[text_at]);
        copy[text_at + 1] = vb_builtin("lcase", 1, &args[text_at + 1]);
    }
    return vb_builtin(name, 3, copy);
}

VBValue vb_instr_compare(int argc, VBValue *args) {
    (void)argc;
    return search_compare("instr", 1, args);
}

VBValue vb_instrrev_compare(int argc, VBValue *args) {
    (void)argc;
    return search_compare("instrrev", 0, args);
}

/* Replace with a start (the result begins there), a count of replacements
 * (-1: all) and a comparison mode (vbTextCompare: case does not count). */
VBValue vb_replace_from(int argc, VBValue *args) {
    need_args(argc, 3, "Replace");
#define GIVEN(i) (argc > (i) && !(args[i].kind == VB_OBJECT && !args[i].object))
    long long start = GIVEN(3) ? whole_operand(args[3]) : 1, limit = GIVEN(4) ? whole_operand(args[4]) : -1;
    int text_compare = GIVEN(5) && whole_operand(args[5]) == 1;
#undef GIVEN
    if (start < 1 || limit < -1) fatal("Invalid procedure call or argument");
    char b1[64], b2[64], b3[64];
    size_t n, nf, nr;
    const char *whole = text_of(args[0], b1, &n);
    size_t from_byte = char_offset(whole, n, (size_t)(start - 1));
    if (from_byte >= n && char_count(whole, n) < (size_t)start) return text_value_n(copy_bytes("", 0), 0);
    const char *text = copy_bytes(whole + from_byte, n - from_byte);
    n -= from_byte;
    const char *find_text = text_of(args[1], b2, &nf);
    const char *find = copy_bytes(find_text, nf);
    const char *repl = text_of(args[2], b3, &nr);
    if (nf == 0 || limit == 0) return text_value_n(copy_bytes(text, n), n);
    const char *searched = text;
    if (text_compare) {
        VBValue lt = vb_builtin("lcase", 1, &(VBValue){.kind = VB_STRING, .length = (long long)n, .text = text});
        VBValue lf = vb_builtin("lcase", 1, &args[1]);
        size_t ln, lfn;
        char c1[64], c2[64];
        const char *ltext = text_of(lt, c1, &ln), *lfind = text_of(lf, c2, &lfn);
        /* a text whose lower case has another length is searched as it is */
        if (ln == n && lfn == nf) {
            searched = copy_bytes(ltext, ln);
            find = copy_bytes(lfind, lfn);
        }
    }
    size_t cap = n + 1, used = 0, at = 0;
    char *out = vb_alloc_text(cap);
    long long done = 0;
    for (;;) {
        const char *hit = (limit < 0 || done < limit) ? strstr(searched + at, find) : NULL;
        size_t stop = hit ? (size_t)(hit - searched) : n;
        size_t need = used + (stop - at) + (hit ? nr : 0) + 1;
        if (need > cap) {
            size_t bigger = cap * 2 > need ? cap * 2 : need;
            char *grown = vb_alloc_text(bigger);
            memcpy(grown, out, used);
            out = grown;
            cap = bigger;
        }
        memcpy(out + used, text + at, stop - at);
        used += stop - at;
        if (!hit) break;
        memcpy(out + used, repl, nr);
        used += nr;
        at = stop + nf;
        done++;
    }
    out[used] = '\0';
    return text_value_n(out, used);
}
