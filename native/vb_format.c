/* Corvane native runtime: Format and the FormatNumber family.
 *
 * Compiled as part of vb_native.c (included at its end, after vb_dates.c).
 * The named number styles keep this system's forms (two_decimals in
 * vb_native.c); custom number patterns ("0.00", "#,##0", "0%",
 * "0.00E+00", sections for negatives and zero), date patterns
 * ("dd/mm/yyyy", "hh:nn:ss", named date styles) and text patterns ("@",
 * ">", "!") give the interpreter's results; both read patterns with
 * vb_format_scan.h. */

#include "vb_format_scan.h"

/* A growing text. */
typedef struct Text {
    char *p;
    size_t n, cap;
} Text;

static void text_add(Text *t, const char *s, size_t n) {
    if (t->n + n + 1 > t->cap) {
        size_t cap = t->cap ? t->cap : 32;
        while (t->n + n + 1 > cap) cap *= 2;
        char *bigger = vb_alloc_text(cap);
        if (t->n) memcpy(bigger, t->p, t->n);
        t->p = bigger;
        t->cap = cap;
    }
    memcpy(t->p + t->n, s, n);
    t->n += n;
    t->p[t->n] = '\0';
}

static void text_str(Text *t, const char *s) { text_add(t, s, strlen(s)); }
static void text_ch(Text *t, char c) { text_add(t, &c, 1); }
static void text_int(Text *t, long long v, int width) {
    char buf[32];
    snprintf(buf, sizeof buf, "%0*lld", width, v);
    text_str(t, buf);
}
static const char *text_of_builder(Text *t) { return t->p ? t->p : ""; }

/* --- numbers ---------------------------------------------------------- */

/* v laid out by one section of a number pattern. */
static const char *format_section(double v, const char *section, size_t length, int minus) {
    VBFormatPiece *pieces = vb_alloc(sizeof(VBFormatPiece) * (length + 1));
    const size_t room = vb_format_number_room(length, v);
    char *work = vb_alloc_text(room), *out = vb_alloc_text(room);
    vb_format_number_section(v, section, length, minus, pieces, work, out);
    return out;
}

/* The sections of a pattern: positive, negative, zero. */
static const char *format_number_pattern(double v, const char *pattern) {
    VBFormatSpan spans[3];
    const int n = vb_format_sections(pattern, strlen(pattern), spans);
    if (v < 0 && n >= 2 && spans[1].length) return format_section(-v, pattern + spans[1].start, spans[1].length, 0);
    if (v == 0 && n >= 3 && spans[2].length) return format_section(v, pattern + spans[2].start, spans[2].length, 0);
    return format_section(v, pattern + spans[0].start, spans[0].length, v < 0);
}

/* --- dates ------------------------------------------------------------ */

static const char *format_date(const VBDate *d, const char *pattern);

static const char *general_date(const VBDate *d) {
    if (!d->has_date) return format_date(d, VB_GENERAL_TIME_ONLY);
    if (!d->has_time) return format_date(d, VB_GENERAL_DATE_ONLY);
    return format_date(d, VB_GENERAL_DATE_TIME);
}

static void text_number(Text *t, long long n, size_t run) { text_int(t, n, run == 1 ? 0 : 2); }

static const char *format_date(const VBDate *d, const char *pattern) {
    const size_t n = strlen(pattern);
    const int twelve = vb_date_twelve_hour(pattern, n);
    const int hour = twelve ? (d->hour % 12 == 0 ? 12 : d->hour % 12) : d->hour;
    Text out = {0};
    text_str(&out, "");
    int after_hour = 0;
    for (size_t i = 0; i < n;) {
        VBDateToken t;
        i = vb_date_token(pattern, n, i, &after_hour, &t);
        switch (t.kind) {
        case VB_DATE_TEXT: text_add(&out, pattern + t.start, t.length); break;
        case VB_DATE_DAY:
            if (t.run <= 2) text_number(&out, d->day, t.run);
            else if (t.run == 3) text_add(&out, DAY_NAMES[weekday_of(d) - 1], 3);
            else if (t.run == 4) text_str(&out, DAY_NAMES[weekday_of(d) - 1]);
            else if (t.run == 5) text_str(&out, format_date(d, VB_GENERAL_DATE_ONLY));
            else text_str(&out, format_date(d, VB_DATE_TIME_KINDS[0]));
            break;
        case VB_DATE_MONTH:
            if (t.run <= 2) text_number(&out, d->month, t.run);
            else if (t.run == 3) text_add(&out, MONTH_NAMES[d->month - 1], 3);
            else text_str(&out, MONTH_NAMES[d->month - 1]);
            break;
        case VB_DATE_MINUTE: text_number(&out, d->minute, t.run); break;
        case VB_DATE_YEAR:
            if (t.run == 1)
                text_int(&out, days_from_civil(d->year, d->month, d->day) - days_from_civil(d->year, 1, 1) + 1, 0);
            else if (t.run == 2) text_int(&out, d->year % 100, 2);
            else text_int(&out, d->year, 0);
            break;
        case VB_DATE_HOUR: text_number(&out, hour, t.run); break;
        case VB_DATE_SECOND: text_number(&out, d->second, t.run); break;
        case VB_DATE_WEEK:
            if (t.run == 1) {
                text_int(&out, weekday_of(d), 0);
            } else {
                VBDate jan1 = date_none();
                jan1.year = d->year;
                jan1.month = 1;
                jan1.day = 1;
                long long offset = weekday_of(&jan1) - 1;
                text_int(&out,
                         (days_from_civil(d->year, d->month, d->day) - days_from_civil(d->year, 1, 1) + offset) / 7 + 1,
                         0);
            }
            break;
        case VB_DATE_QUARTER: text_int(&out, (d->month - 1) / 3 + 1, 0); break;
        case VB_DATE_GENERAL: text_str(&out, general_date(d)); break;
        case VB_DATE_LONG_TIME: text_str(&out, format_date(d, VB_GENERAL_TIME_ONLY)); break;
        case VB_DATE_AMPM: text_str(&out, d->hour >= 12 ? (t.upper ? "PM" : "pm") : (t.upper ? "AM" : "am")); break;
        case VB_DATE_AP: text_str(&out, d->hour >= 12 ? (t.upper ? "P" : "p") : (t.upper ? "A" : "a")); break;
        }
    }
    return text_of_builder(&out);
}

/* --- texts ------------------------------------------------------------ */

/* @ & < > ! patterns (ASCII case changes, as interpreted). */
static const char *format_text(const char *text, const char *pattern) {
    const size_t tn = strlen(text), pn = strlen(pattern);
    char *out = vb_alloc_text(tn + pn + 1);
    vb_format_text(text, tn, pattern, pn, out);
    return out;
}

/* --- the built-ins ---------------------------------------------------- */

static VBValue fn_format(int argc, VBValue *args) {
    need_args(argc, 1, "Format");
    VBValue v = args[0];
    const char *pattern = argc > 1 && !(args[1].kind == VB_OBJECT && !args[1].object) ? string_of(args[1]) : "";
    if (!*pattern) return str_value(string_of(v));
    static const char *const NAMED[] = {"currency", "percent", "fixed", "standard"};
    for (size_t k = 0; k < COUNT_OF(NAMED); k++)
        if (!strcasecmp(pattern, NAMED[k])) return format_named(v, pattern);
    if (!strcasecmp(pattern, "general number")) return str_value(string_of(vb_to_number(v)));
    if (!strcasecmp(pattern, "scientific")) return str_value(format_number_pattern(number_value(v), "0.00E+00"));
    if (!strcasecmp(pattern, "yes/no")) return str_value(truth_of(vb_to_number(v)) ? "Yes" : "No");
    if (!strcasecmp(pattern, "true/false")) return str_value(truth_of(vb_to_number(v)) ? "True" : "False");
    if (!strcasecmp(pattern, "on/off")) return str_value(truth_of(vb_to_number(v)) ? "On" : "Off");
    if (!strcasecmp(pattern, "general date")) {
        VBDate d = to_date(v);
        return str_value(general_date(&d));
    }
    for (size_t k = 0; k < VB_DATE_STYLE_COUNT; k++)
        if (!strcasecmp(pattern, VB_DATE_STYLES[k].name)) {
            VBDate d = to_date(v);
            return str_value(format_date(&d, VB_DATE_STYLES[k].pattern));
        }
    double x;
    if (vb_format_is_date_pattern(pattern, strlen(pattern))) {
        VBDate d;
        if (v.kind == VB_STRING && !parse_date_text(v.text ? v.text : "", &d) && !parse_number_text(v.text ? v.text : "", &x))
            return v;
        d = to_date(v);
        return str_value(format_date(&d, pattern));
    }
    int numeric = v.kind == VB_NUMBER || v.kind == VB_INTEGER || v.kind == VB_BOOLEAN ||
                  (v.kind == VB_STRING && v.text && v.text[0] && parse_number_text(v.text, &x));
    if (!numeric) return str_value(format_text(string_of(v), pattern));
    if (!strpbrk(pattern, "0#") && strpbrk(pattern, "@&<>")) return str_value(format_text(string_of(v), pattern));
    return str_value(format_number_pattern(number_value(v), pattern));
}

/* FormatNumber / FormatCurrency / FormatPercent (value, [digits = 2],
 * [leading zero], [parentheses for negatives], [group digits]). */
static const char *number_pattern(int argc, VBValue *args, const char *prefix, const char *suffix, int parens_default) {
#define GIVEN(k) (argc > (k) && !(args[k].kind == VB_OBJECT && !args[k].object))
    long long digits = GIVEN(1) ? whole_of(args[1], 2) : 2;
    int leading = !GIVEN(2) || whole_of(args[2], -1) != 0;
    int parens = GIVEN(3) ? whole_of(args[3], 0) == -1 : parens_default;
    int group = !GIVEN(4) || whole_of(args[4], -1) != 0;
#undef GIVEN
    Text p = {0};
    text_str(&p, prefix);
    if (group) text_str(&p, "#,##");
    text_ch(&p, leading ? '0' : '#');
    if (digits > 0) {
        text_ch(&p, '.');
        for (long long k = 0; k < (digits < 20 ? digits : 20); k++) text_ch(&p, '0');
    }
    text_str(&p, suffix);
    if (parens) {
        char *positive = copy_text(text_of_builder(&p));
        text_str(&p, ";(");
        text_str(&p, positive);
        text_ch(&p, ')');
    }
    return text_of_builder(&p);
}

static VBValue fn_formatnumber(int argc, VBValue *args) {
    need_args(argc, 1, "FormatNumber");
    return str_value(format_number_pattern(number_value(args[0]), number_pattern(argc, args, "", "", 0)));
}

static VBValue fn_formatcurrency(int argc, VBValue *args) {
    need_args(argc, 1, "FormatCurrency");
    /* negatives in parentheses, as VB6's default */
    return str_value(format_number_pattern(number_value(args[0]), number_pattern(argc, args, "$", "", 1)));
}

static VBValue fn_formatpercent(int argc, VBValue *args) {
    need_args(argc, 1, "FormatPercent");
    return str_value(format_number_pattern(number_value(args[0]), number_pattern(argc, args, "", "%", 0)));
}

static VBValue fn_formatdatetime(int argc, VBValue *args) {
    need_args(argc, 1, "FormatDateTime");
    VBDate d = to_date(args[0]);
    long long kind = argc > 1 && !(args[1].kind == VB_OBJECT && !args[1].object) ? whole_of(args[1], 0) : 0;
    if (kind >= 1 && kind <= 4) return str_value(format_date(&d, VB_DATE_TIME_KINDS[kind - 1]));
    return str_value(general_date(&d));
}
