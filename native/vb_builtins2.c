/* Corvane native runtime: the built-in functions beyond the core set of
 * vb_native.c (math, conversions, type tests, random numbers, colours).
 *
 * Compiled as part of vb_native.c (included at its end); vb_builtin hands
 * every name its own table does not know to more_builtins. Results are the
 * interpreter's, value for value. */

#include <time.h>

#include "vb_finance.h"

static double real_arg(int argc, VBValue *args, const char *name) {
    need_args(argc, 1, name);
    return number_value(args[0]);
}

static VBValue finite_result(double d) {
    if (isnan(d) || isinf(d)) fatal("Overflow");
    return dbl_value(d);
}

static VBValue fn_log(int argc, VBValue *args) {
    double d = real_arg(argc, args, "Log");
    if (d <= 0) failf("Invalid procedure call or argument: Log(%s)", string_of(args[0]));
    return dbl_value(log(d));
}
static VBValue fn_exp(int argc, VBValue *args) { return finite_result(exp(real_arg(argc, args, "Exp"))); }
static VBValue fn_sin(int argc, VBValue *args) { return dbl_value(sin(real_arg(argc, args, "Sin"))); }
static VBValue fn_cos(int argc, VBValue *args) { return dbl_value(cos(real_arg(argc, args, "Cos"))); }
static VBValue fn_tan(int argc, VBValue *args) { return dbl_value(tan(real_arg(argc, args, "Tan"))); }
static VBValue fn_atn(int argc, VBValue *args) { return dbl_value(atan(real_arg(argc, args, "Atn"))); }

/* Round(x, [places]): halves to even, on the decimal value. */
static VBValue fn_round(int argc, VBValue *args) {
    need_args(argc, 1, "Round");
    Num n = number_of(args[0]);
    long long places = argc > 1 ? whole_of(args[1], 0) : 0;
    if (places < 0) fatal("Invalid procedure call or argument");
    if (n.is_int || places == 0) return num_value(round_even(n));
    double scale = pow(10.0, (double)(places < 22 ? places : 22));
    char buf[64];
    snprintf(buf, sizeof buf, "%.15g", n.d * scale);
    return dbl_value(nearbyint(strtod(buf, NULL)) / scale);
}

static VBValue fn_cbool(int argc, VBValue *args) {
    need_args(argc, 1, "CBool");
    VBValue v = args[0];
    if (v.kind == VB_STRING) {
        const char *s = v.text ? v.text : "";
        if (!strcasecmp(s, "true")) return bool_value(1);
        if (!strcasecmp(s, "false")) return bool_value(0);
        return bool_value(number_value(v) != 0.0);
    }
    return bool_value(truth_of(v));
}

static VBValue fn_cbyte(int argc, VBValue *args) {
    need_args(argc, 1, "CByte");
    return vb_coerce(args[0], "byte");
}

static VBValue fn_ccur(int argc, VBValue *args) {
    return dbl_value(nearbyint(real_arg(argc, args, "CCur") * 10000.0) / 10000.0);
}

static VBValue fn_cvar(int argc, VBValue *args) {
    need_args(argc, 1, "CVar");
    return args[0];
}

static int is_nothing(VBValue v) { return v.kind == VB_OBJECT && !v.object; }

static VBValue fn_typename(int argc, VBValue *args) {
    need_args(argc, 1, "TypeName");
    VBValue v = args[0];
    switch (v.kind) {
    case VB_INTEGER: {
        long long i = v.integer;
        return str_value(i >= -32768 && i <= 32767 ? "Integer" : i >= INT_MIN && i <= INT_MAX ? "Long" : "Double");
    }
    case VB_NUMBER: return str_value("Double");
    case VB_BOOLEAN: return str_value("Boolean");
    case VB_STRING: return str_value("String");
    case VB_ARRAY: return str_value("Variant()");
    default: return str_value(v.object ? ((VBObject *)v.object)->name : "Nothing");
    }
}

static VBValue fn_vartype(int argc, VBValue *args) {
    need_args(argc, 1, "VarType");
    VBValue v = args[0];
    switch (v.kind) {
    case VB_INTEGER: {
        long long i = v.integer;
        return int_value(i >= -32768 && i <= 32767 ? 2 : i >= INT_MIN && i <= INT_MAX ? 3 : 5);
    }
    case VB_NUMBER: return int_value(5);
    case VB_BOOLEAN: return int_value(11);
    case VB_STRING: return int_value(8);
    case VB_ARRAY: return int_value(8192 + 12);
    default: return int_value(v.object && ((VBObject *)v.object)->tag == TAG_RECORD ? 36 : 9);
    }
}

static VBValue fn_isarray(int argc, VBValue *args) {
    need_args(argc, 1, "IsArray");
    return bool_value(vb_is_array(args[0]));
}

static VBValue fn_isobject(int argc, VBValue *args) {
    need_args(argc, 1, "IsObject");
    return bool_value(args[0].kind == VB_OBJECT);
}

static VBValue fn_ismissing(int argc, VBValue *args) {
    need_args(argc, 1, "IsMissing");
    return bool_value(is_nothing(args[0]));
}

/* Rnd and Randomize: VB6's 24-bit generator, so that a seeded sequence
 * repeats VB6's numbers. */
static uint32_t rnd_seed = 0x50000;
static double rnd_last;

static double rnd_next(void) {
    rnd_seed = (rnd_seed * 1140671485u + 12820163u) & 0xFFFFFFu;
    rnd_last = rnd_seed / 16777216.0;
    return rnd_last;
}

static VBValue fn_rnd(int argc, VBValue *args) {
    if (argc > 0 && !is_nothing(args[0])) {
        double x = number_value(args[0]);
        if (x == 0) return dbl_value(rnd_last);
        if (x < 0) {
            /* a negative argument starts the sequence again from a seed made of it */
            float f = (float)x;
            uint32_t bits;
            memcpy(&bits, &f, sizeof bits);
            rnd_seed = (bits + (bits >> 24)) & 0xFFFFFFu;
        }
    }
    return dbl_value(rnd_next());
}

static VBValue fn_randomize(int argc, VBValue *args) {
    double n;
    if (argc > 0 && !is_nothing(args[0])) {
        n = number_value(args[0]);
    } else {
        struct timespec ts;
        clock_gettime(CLOCK_REALTIME, &ts);
        time_t now = ts.tv_sec;
        struct tm parts;
        localtime_r(&now, &parts);
        n = parts.tm_hour * 3600.0 + parts.tm_min * 60.0 + parts.tm_sec + ts.tv_nsec / 1e9;
    }
    uint64_t bits;
    memcpy(&bits, &n, sizeof bits);
    uint32_t high = (uint32_t)(bits >> 32);
    rnd_seed = (rnd_seed & 0xFFu) | (((high ^ (high >> 16)) & 0xFFFFu) << 8);
    return vb_nothing();
}

static VBValue fn_rgb(int argc, VBValue *args) {
    need_args(argc, 3, "RGB");
    long long c[3];
    for (int k = 0; k < 3; k++) {
        Num r = round_even(number_of(args[k]));
        long long x = r.is_int ? r.i : 0;
        c[k] = x < 0 ? 0 : x > 255 ? 255 : x;
    }
    return int_value(c[0] | (c[1] << 8) | (c[2] << 16));
}

static VBValue fn_qbcolor(int argc, VBValue *args) {
    static const long long colours[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                          0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                          0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    need_args(argc, 1, "QBColor");
    long long n = whole_of(args[0], -1);
    if (n < 0 || n > 15) failf("Invalid procedure call or argument: QBColor(%s)", string_of(args[0]));
    return int_value(colours[n]);
}

static VBValue fn_array(int argc, VBValue *args) { return array_of(argc, args); }
static VBValue fn_chrw(int argc, VBValue *args) { return vb_builtin("chr", argc, args); }
static VBValue fn_ascw(int argc, VBValue *args) { return vb_builtin("asc", argc, args); }
static VBValue fn_ascb(int argc, VBValue *args) { return vb_builtin("asc", argc, args); }
static VBValue fn_chrb(int argc, VBValue *args) { return vb_builtin("chr", argc, args); }

/* LenB: two bytes per code point, as the text's UTF-16 form counts them. */
static VBValue fn_lenb(int argc, VBValue *args) {
    need_args(argc, 1, "LenB");
    const char *s = string_of(args[0]);
    return int_value(2 * (long long)char_count(s, strlen(s)));
}

/* StrConv(text, mode): 1 upper case, 2 lower case, 3 each word's first
 * letter upper and the rest lower; other modes keep the text. */
static VBValue fn_strconv(int argc, VBValue *args) {
    need_args(argc, 2, "StrConv");
    long long mode = whole_of(args[1], 0) & 3;
    if (mode == 1) return vb_builtin("ucase", 1, args);
    if (mode == 2 || mode == 3) {
        VBValue lowered = vb_builtin("lcase", 1, args);
        if (mode == 2) return lowered;
        const char *s = string_of(lowered);
        char *out = copy_bytes(s, strlen(s));
        int start = 1;
        for (char *c = out; *c; c++) {
            if (start && *c >= 'a' && *c <= 'z') *c = (char)(*c - 32);
            start = *c == ' ' || *c == '\t' || *c == '\n' || *c == '\r';
        }
        return text_value(out);
    }
    return str_value(string_of(args[0]));
}

/* Filter(array, text[, include[, compare]]): the elements' texts that
 * contain the text (or, with include False, do not), compared as they are
 * or (compare 1) ignoring case. */
static VBValue fn_filter(int argc, VBValue *args) {
    need_args(argc, 2, "Filter");
    if (!vb_is_array(args[0])) failf("Type mismatch (expected array, got %s)", value_repr(args[0]));
    int include = argc < 3 || (args[2].kind == VB_OBJECT && !args[2].object) || truth_of(args[2]);
    int text_compare = argc > 3 && vb_number(args[3]) == 1.0;
    VBValue sought = text_compare ? vb_builtin("lcase", 1, &args[1]) : args[1];
    const char *wanted = string_of(sought);
    VBArray *a = args[0].object;
    VBValue out = array_value(a->count);
    VBArray *o = out.object;
    long long kept = 0;
    for (long long k = 0; k < a->count; k++) {
        VBValue text = str_value(string_of(item_get(a, k)));
        VBValue compared = text_compare ? vb_builtin("lcase", 1, &text) : text;
        int found = strstr(string_of(compared), wanted) != NULL;
        if (found == include) o->items[kept++] = text;
    }
    o->count = kept;
    return out;
}

/* Seconds since midnight, local time. */
static VBValue fn_timer(int argc, VBValue *args) {
    (void)argc;
    (void)args;
    struct timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    time_t now = ts.tv_sec;
    struct tm parts;
    localtime_r(&now, &parts);
    return dbl_value(parts.tm_hour * 3600.0 + parts.tm_min * 60.0 + parts.tm_sec + ts.tv_nsec / 1e9);
}

/* Choose(index, choice1, ...): the choice at the rounded index, Null
 * (Nothing) when there is none. */
static VBValue fn_choose(int argc, VBValue *args) {
    if (argc < 2) fatal("Choose requires at least 2 arguments");
    Num index = round_even(number_of(args[0]));
    if (!index.is_int || index.i < 1 || index.i >= argc) return vb_nothing();
    return args[index.i];
}

/* Switch(condition1, value1, ...): the value after the first true
 * condition, Null (Nothing) when none is true. */
static VBValue fn_switch(int argc, VBValue *args) {
    if (argc < 2) fatal("Switch requires at least 2 arguments");
    if (argc % 2) fatal("Invalid procedure call or argument: Switch needs condition and value pairs");
    for (int k = 0; k < argc; k += 2)
        if (truth_of(args[k])) return args[k + 1];
    return vb_nothing();
}

/* Error(number): VB6's description of an error number; without one, the
 * description of the last error. */
static VBValue fn_error(int argc, VBValue *args) {
    if (argc == 0) return str_value(err_description ? err_description : "");
    Num n = round_even(number_of(args[0]));
    if (!n.is_int || n.i < 0 || n.i > 65535) fatal("Invalid procedure call or argument: Error");
    if (n.i == 0) return str_value("");
    const char *text = error_text_for(n.i);
    return str_value(text ? text : "Application-defined error");
}

static VBValue fn_loadpicture(int argc, VBValue *args); /* vb_pictures.c */
/* (vb_settings.c) */
static VBValue fn_getsetting(int argc, VBValue *args);
static VBValue fn_savesetting(int argc, VBValue *args);
static VBValue fn_deletesetting(int argc, VBValue *args);
static VBValue fn_getallsettings(int argc, VBValue *args);
static VBValue fn_shell(int argc, VBValue *args); /* vb_shell.c */
static VBValue fn_sendkeys(int argc, VBValue *args); /* vb_sendkeys.c */

/* The annuity functions: the required arguments, then optional ones that
 * count as 0 when left out; a result the arguments do not allow is error 5. */
typedef int (*Annuity)(const double *a, double *out);
static VBValue annuity(int argc, VBValue *args, int required, const char *name, Annuity fn) {
    need_args(argc, required, name);
    double a[6], out = 0;
    for (int k = 0; k < 6; k++) a[k] = k < argc && !(args[k].kind == VB_OBJECT && !args[k].object) ? number_value(args[k]) : 0;
    if (fn(a, &out)) fatal("Invalid procedure call or argument");
    return dbl_value(out);
}
static int pmt_of(const double *a, double *out) { return vb_fin_pmt(a[0], a[1], a[2], a[3], a[4], out); }
static int fv_of(const double *a, double *out) { return vb_fin_fv(a[0], a[1], a[2], a[3], a[4], out); }
static int pv_of(const double *a, double *out) { return vb_fin_pv(a[0], a[1], a[2], a[3], a[4], out); }
static int nper_of(const double *a, double *out) { return vb_fin_nper(a[0], a[1], a[2], a[3], a[4], out); }
static int ipmt_of(const double *a, double *out) { return vb_fin_ipmt(a[0], a[1], a[2], a[3], a[4], a[5], out); }
static int ppmt_of(const double *a, double *out) { return vb_fin_ppmt(a[0], a[1], a[2], a[3], a[4], a[5], out); }
static VBValue fn_pmt(int argc, VBValue *args) { return annuity(argc, args, 3, "Pmt", pmt_of); }
static VBValue fn_fv(int argc, VBValue *args) { return annuity(argc, args, 3, "FV", fv_of); }
static VBValue fn_pv(int argc, VBValue *args) { return annuity(argc, args, 3, "PV", pv_of); }
static VBValue fn_nper(int argc, VBValue *args) { return annuity(argc, args, 3, "NPer", nper_of); }
static VBValue fn_ipmt(int argc, VBValue *args) { return annuity(argc, args, 4, "IPmt", ipmt_of); }
static VBValue fn_ppmt(int argc, VBValue *args) { return annuity(argc, args, 4, "PPmt", ppmt_of); }

static const struct {
    const char *name;
    VBValue (*fn)(int, VBValue *);
} MORE_BUILTINS[] = {
    {"choose", fn_choose},   {"switch", fn_switch},   {"error", fn_error},
    {"pmt", fn_pmt},         {"fv", fn_fv},           {"pv", fn_pv},             {"nper", fn_nper},
    {"ipmt", fn_ipmt},       {"ppmt", fn_ppmt},
    {"array", fn_array},     {"ascw", fn_ascw},       {"atn", fn_atn},           {"cbool", fn_cbool},
    {"cbyte", fn_cbyte},     {"ccur", fn_ccur},       {"chrw", fn_chrw},         {"cos", fn_cos},
    {"cvar", fn_cvar},       {"exp", fn_exp},         {"isarray", fn_isarray},   {"ismissing", fn_ismissing},
    {"isobject", fn_isobject}, {"log", fn_log},       {"qbcolor", fn_qbcolor},   {"randomize", fn_randomize},
    {"rgb", fn_rgb},         {"rnd", fn_rnd},         {"round", fn_round},       {"sin", fn_sin},
    {"tan", fn_tan},         {"timer", fn_timer},     {"typename", fn_typename}, {"vartype", fn_vartype},
    /* dates (vb_dates.c) */
    {"cdate", fn_cdate},     {"date", fn_date},       {"dateadd", fn_dateadd},   {"datediff", fn_datediff},
    {"datepart", fn_datepart}, {"dateserial", fn_dateserial}, {"datevalue", fn_datevalue}, {"day", fn_day},
    {"hour", fn_hour},       {"isdate", fn_isdate},   {"minute", fn_minute},     {"month", fn_month},
    {"monthname", fn_monthname}, {"now", fn_now},     {"second", fn_second},     {"time", fn_time},
    {"timeserial", fn_timeserial}, {"timevalue", fn_timevalue}, {"weekday", fn_weekday},
    {"weekdayname", fn_weekdayname}, {"year", fn_year},
    /* formats (vb_format.c) */
    {"formatcurrency", fn_formatcurrency}, {"formatdatetime", fn_formatdatetime}, {"formatnumber", fn_formatnumber},
    {"formatpercent", fn_formatpercent},
    /* file channels (vb_files.c) */
    {"eof", fn_eof}, {"freefile", fn_freefile}, {"kill", fn_kill}, {"lof", fn_lof}, {"input", fn_input},
    {"mkdir", fn_mkdir}, {"rmdir", fn_rmdir}, {"chdir", fn_chdir}, {"curdir", fn_curdir},
    {"filecopy", fn_filecopy}, {"filelen", fn_filelen}, {"getattr", fn_getattr}, {"setattr", fn_setattr},
    {"dir", fn_dir}, {"name", fn_name},
    /* text */
    {"ascb", fn_ascb}, {"chrb", fn_chrb}, {"lenb", fn_lenb}, {"strconv", fn_strconv}, {"filter", fn_filter},
    /* dialogs (vb_dialogs.c) */
    {"msgbox", fn_msgbox}, {"inputbox", fn_inputbox},
    /* pictures (vb_pictures.c) */
    {"loadpicture", fn_loadpicture},
    /* program settings (vb_settings.c) */
    {"getsetting", fn_getsetting}, {"savesetting", fn_savesetting}, {"deletesetting", fn_deletesetting},
    {"getallsettings", fn_getallsettings},
    {"shell", fn_shell}, {"sendkeys", fn_sendkeys},
};

static VBValue more_builtins(const char *name, int argc, VBValue *args) {
    if (!name) name = "";
    for (size_t k = 0; k < COUNT_OF(MORE_BUILTINS); k++)
        if (!strcasecmp(MORE_BUILTINS[k].name, name)) return MORE_BUILTINS[k].fn(argc, args);
    unsupported("Unsupported native BASIC function: ", name, NULL);
}

/* The Mid statement (Mid(s, start[, length]) = value): the text with code
 * points from `start` replaced by the value's first ones, as many as fit,
 * at most `length`; the text keeps its length. */
VBValue vb_mid_replace(VBValue text, VBValue start, VBValue length, int has_length, VBValue value) {
    long long from = whole_of(start, 0);
    if (from < 1) fatal("Invalid procedure call or argument");
    const char *s = string_of(text), *v = string_of(value);
    size_t sn = strlen(s), vn = strlen(v);
    size_t s_count = char_count(s, sn), v_count = char_count(v, vn);
    size_t take = v_count;
    if (has_length) {
        long long limit = whole_of(length, 0);
        if (limit < 0) limit = 0;
        if ((unsigned long long)limit < take) take = (size_t)limit;
    }
    if ((size_t)(from - 1) >= s_count) return str_value(s);
    if (take > s_count - (size_t)(from - 1)) take = s_count - (size_t)(from - 1);
    size_t head = char_offset(s, sn, (size_t)(from - 1));
    size_t tail = char_offset(s, sn, (size_t)(from - 1) + take);
    size_t piece = char_offset(v, vn, take);
    char *out = vb_alloc_text(head + piece + (sn - tail) + 1);
    memcpy(out, s, head);
    memcpy(out + head, v, piece);
    memcpy(out + head + piece, s + tail, sn - tail);
    out[head + piece + (sn - tail)] = '\0';
    return text_value(out);
}
