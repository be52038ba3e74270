/* Corvane: reading Format patterns, shared by the native runtime and the
 * interpreter so that both read a pattern the same way: the named date
 * styles, whether a pattern formats dates, a number pattern's sections and
 * the pieces of one section, a number laid out by a section, date and
 * text patterns. Plain C (and valid C++) without allocation: callers give
 * the room. */
#ifndef VB_FORMAT_SCAN_H
#define VB_FORMAT_SCAN_H

#include <math.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* Named styles that format dates, by their lower-case names. */
static const struct {
    const char *name, *pattern;
} VB_DATE_STYLES[] = {{"long date", "dddd, mmmm d, yyyy"}, {"medium date", "dd-mmm-yy"}, {"short date", "m/d/yyyy"},
                      {"long time", "h:nn:ss AM/PM"},      {"medium time", "hh:nn AM/PM"}, {"short time", "hh:nn"}};
enum { VB_DATE_STYLE_COUNT = sizeof VB_DATE_STYLES / sizeof VB_DATE_STYLES[0] };

/* FormatDateTime's kinds 1 to 4 (0 and others are the general date). */
static const char *const VB_DATE_TIME_KINDS[] = {"dddd, mmmm d, yyyy", "m/d/yyyy", "h:nn:ss AM/PM", "hh:nn"};

/* The general date's layouts: date only, time only, both. */
#define VB_GENERAL_DATE_ONLY "m/d/yyyy"
#define VB_GENERAL_TIME_ONLY "h:nn:ss AM/PM"
#define VB_GENERAL_DATE_TIME "m/d/yyyy h:nn:ss AM/PM"

/* Whether a custom pattern formats dates: date letters outside quotes and
 * escapes, and no digit placeholders. */
static inline int vb_format_is_date_pattern(const char *pattern, size_t length) {
    int date = 0;
    for (size_t i = 0; i < length; i++) {
        const char c = pattern[i];
        if (c == '"') {
            const void *close = memchr(pattern + i + 1, '"', length - i - 1);
            if (!close) break;
            i = (size_t)((const char *)close - pattern);
            continue;
        }
        if (c == '\\') {
            i++;
            continue;
        }
        if (c == '0' || c == '#') return 0;
        if (c && strchr("dDmMyYhHnNsSwWqQcCtT", c)) date = 1;
    }
    return date;
}

/* A number pattern's sections, split at ";" outside quotes and escapes:
 * positive, negative, zero (a fourth and later are ignored). Returns how
 * many there are (1 to 3). */
typedef struct VBFormatSpan {
    size_t start, length;
} VBFormatSpan;

static inline int vb_format_sections(const char *pattern, size_t length, VBFormatSpan sections[3]) {
    int n = 1, quoted = 0;
    sections[0].start = 0;
    sections[0].length = length;
    for (size_t i = 0; i < length; i++) {
        const char c = pattern[i];
        if (c == '"') quoted = !quoted;
        if (c == '\\' && !quoted && i + 1 < length) {
            i++;
            continue;
        }
        if (c == ';' && !quoted) {
            sections[n - 1].length = i - sections[n - 1].start;
            if (n == 3) break;
            sections[n].start = i + 1;
            sections[n].length = length - i - 1;
            n++;
        }
    }
    return n;
}

/* One piece of a number section: literal text, a digit placeholder, the
 * decimal point or an exponent ("E+", "e-" and its digit count). */
enum { VB_PIECE_LITERAL, VB_PIECE_DIGIT, VB_PIECE_POINT, VB_PIECE_EXPONENT };

typedef struct VBFormatPiece {
    int kind;
    size_t start, length; /* a literal's text, a digit, the exponent's two characters */
    int fraction;         /* a digit after the decimal point */
    int exp_digits;
} VBFormatPiece;

/* What a section asks for as a whole. */
typedef struct VBFormatShape {
    int grouping, percent, seen_point, seen_exp;
    int int_digits, int_zeros;   /* placeholders before the point, "0" among them */
    int frac_digits, frac_zeros; /* placeholders after it, up to the last "0" */
} VBFormatShape;

/* Reads a section into pieces (room for length pieces) and its shape;
 * returns the piece count. "," before the point asks for grouping and is
 * no piece; "%" is a literal that also scales by 100. */
static inline size_t vb_format_scan_section(const char *section, size_t length, VBFormatPiece *pieces,
                                            VBFormatShape *shape) {
    VBFormatShape s = {0, 0, 0, 0, 0, 0, 0, 0};
    size_t count = 0;
    for (size_t i = 0; i < length; i++) {
        const char c = section[i];
        VBFormatPiece p = {VB_PIECE_LITERAL, i, 1, 0, 0};
        if (c == '"') {
            const void *close = memchr(section + i + 1, '"', length - i - 1);
            p.start = i + 1;
            p.length = close ? (size_t)((const char *)close - section) - p.start : length - p.start;
            i = close ? (size_t)((const char *)close - section) : length;
        } else if (c == '\\' && i + 1 < length) {
            p.start = ++i;
        } else if ((c == '0' || c == '#') && !s.seen_exp) {
            p.kind = VB_PIECE_DIGIT;
            p.fraction = s.seen_point;
            if (s.seen_point) {
                ++s.frac_digits;
                if (c == '0') s.frac_zeros = s.frac_digits;
            } else {
                ++s.int_digits;
                if (c == '0') ++s.int_zeros;
            }
        } else if (c == '.' && !s.seen_point && !s.seen_exp) {
            p.kind = VB_PIECE_POINT;
            s.seen_point = 1;
        } else if (c == ',' && !s.seen_point) {
            s.grouping = 1;
            continue;
        } else if ((c == 'E' || c == 'e') && i + 1 < length && (section[i + 1] == '+' || section[i + 1] == '-') &&
                   !s.seen_exp) {
            p.kind = VB_PIECE_EXPONENT;
            p.length = 2;
            ++i;
            while (i + 1 < length && (section[i + 1] == '0' || section[i + 1] == '#')) {
                ++i;
                ++p.exp_digits;
            }
            s.seen_exp = 1;
        } else if (c == '%') {
            s.percent = 1;
        }
        pieces[count++] = p;
    }
    *shape = s;
    return count;
}

/* --- numbers by a section --------------------------------------------- */

/* The room (bytes) v laid out by a section of this length needs, for the
 * result and for the work buffer each: the section's own text and the
 * digits of v's whole part (a percent scales it by 100). */
static inline size_t vb_format_number_room(size_t section_length, double v) {
    const double a = fabs(v);
    const size_t whole = isfinite(a) && a >= 1e13 ? (size_t)log10(a) + 5 : 17;
    return 6 * (section_length + whole + 24);
}

/* The decimal digits of |v| rounded half away from zero at `decimals`
 * places, as VB6's Format does on the value's 15 significant digits. The
 * whole part goes to ip (no leading zeros, "0" at least), the fraction to
 * fp (exactly `decimals` digits); both NUL-terminated. `digits` is work
 * room; each buffer has room for decimals and the whole part's digits and
 * some more. */
static inline void vb_decimal_digits(double v, int decimals, char *ip, char *fp, char *digits) {
    v = fabs(v);
    size_t n = 0;
    int point = 1;
    if (v != 0) {
        char buf[64];
        snprintf(buf, sizeof buf, "%.14e", v);
        const char *p = buf;
        for (; *p && *p != 'e'; p++)
            if (*p >= '0' && *p <= '9') digits[n++] = *p;
        point = *p == 'e' ? atoi(p + 1) + 1 : 1; /* digits before the decimal point */
    }
    const int keep = point + decimals;
    if (v == 0 || keep < 0) {
        strcpy(ip, "0");
        memset(fp, '0', (size_t)decimals);
        fp[decimals] = '\0';
        return;
    }
    if ((size_t)keep < n) {
        const int up = digits[keep] >= '5';
        n = (size_t)keep;
        if (up) {
            int k = keep - 1;
            while (k >= 0 && digits[k] == '9') digits[k--] = '0';
            if (k >= 0) {
                digits[k]++;
            } else {
                memmove(digits + 1, digits, n);
                digits[0] = '1';
                n++;
                point++;
            }
        }
    }
    while ((int)n < point + decimals) digits[n++] = '0';
    size_t in = 0, fn = 0;
    if (point <= 0) {
        ip[in++] = '0';
        for (int k = 0; k < -point && (int)fn < decimals; k++) fp[fn++] = '0';
        for (size_t k = 0; k < n && (int)fn < decimals; k++) fp[fn++] = digits[k];
    } else {
        memcpy(ip, digits, (size_t)point);
        in = (size_t)point;
        for (size_t k = (size_t)point; k < n && (int)fn < decimals; k++) fp[fn++] = digits[k];
    }
    while ((int)fn < decimals) fp[fn++] = '0';
    fp[fn] = '\0';
    size_t first = 0;
    while (first + 1 < in && ip[first] == '0') first++;
    memmove(ip, ip + first, in - first);
    ip[in - first] = '\0';
}

/* Lays v out by one section of a number pattern into out; minus puts a
 * "-" before a result that is not all zeros. pieces has room for
 * length + 1 pieces, work and out vb_format_number_room(length, v) bytes.
 * Returns the length written (out is NUL-terminated). */
static inline size_t vb_format_number_section(double v, const char *section, size_t length, int minus,
                                              VBFormatPiece *pieces, char *work, char *out) {
    VBFormatShape s;
    const size_t count = vb_format_scan_section(section, length, pieces, &s);
    const size_t room = vb_format_number_room(length, v) / 6;
    char *digits = work, *ip = work + room, *fp = work + 3 * room, *grouped = work + 4 * room;
    if (s.percent) v *= 100.0;
    int exponent = 0;
    if (s.seen_exp && v != 0 && isfinite(v)) {
        const int places = s.int_digits > 1 ? s.int_digits : 1;
        exponent = (int)floor(log10(fabs(v))) - (places - 1);
        vb_decimal_digits(fabs(v) / pow(10.0, exponent), s.frac_digits, ip, fp, digits);
        if ((int)strlen(ip) > places) ++exponent;
        v = v / pow(10.0, exponent);
    }
    vb_decimal_digits(v, s.frac_digits, ip + room, fp, digits);
    /* ip + room holds the whole digits; ip gets them padded with zeros */
    const char *whole = ip + room;
    size_t in = strlen(whole);
    if (in == 1 && whole[0] == '0' && s.int_zeros == 0) in = 0;
    size_t pad = in < (size_t)s.int_zeros ? (size_t)s.int_zeros - in : 0;
    memmove(ip + pad, whole, in);
    memset(ip, '0', pad);
    in += pad;
    size_t fn = strlen(fp);
    while ((int)fn > s.frac_zeros && fn > 0 && fp[fn - 1] == '0') fn--;
    if (s.grouping && in > 3) {
        size_t g = 0;
        for (size_t k = 0; k < in; k++) {
            if (k > 0 && (in - k) % 3 == 0) grouped[g++] = ',';
            grouped[g++] = ip[k];
        }
        memcpy(ip, grouped, g);
        in = g;
    }
    int nonzero = 0;
    for (size_t k = 0; k < in; k++)
        if (ip[k] != '0' && ip[k] != ',') nonzero = 1;
    for (size_t k = 0; k < fn; k++)
        if (fp[k] != '0') nonzero = 1;
    size_t n = 0;
    if (minus && nonzero) out[n++] = '-';
    int int_seen = 0;
    size_t frac_seen = 0;
    /* integer digits fill their placeholders from the right; the first
     * placeholder takes any digits beyond them */
    const int extra = (int)in - s.int_digits;
    for (size_t k = 0; k < count; k++) {
        const VBFormatPiece *p = &pieces[k];
        switch (p->kind) {
        case VB_PIECE_LITERAL:
            memcpy(out + n, section + p->start, p->length);
            n += p->length;
            break;
        case VB_PIECE_POINT: out[n++] = '.'; break;
        case VB_PIECE_DIGIT:
            if (p->fraction) {
                if (frac_seen < fn) out[n++] = fp[frac_seen];
                ++frac_seen;
            } else {
                if (s.grouping) {
                    if (int_seen == 0) {
                        memcpy(out + n, ip, in);
                        n += in;
                    }
                } else {
                    if (int_seen == 0 && extra > 0) {
                        memcpy(out + n, ip, (size_t)extra);
                        n += (size_t)extra;
                    }
                    const int index = extra + int_seen;
                    if (index >= 0 && index < (int)in) out[n++] = ip[index];
                }
                ++int_seen;
            }
            break;
        default:
            out[n++] = section[p->start];
            if (exponent < 0) out[n++] = '-';
            else if (section[p->start + 1] == '+') out[n++] = '+';
            n += (size_t)snprintf(out + n, 32, "%0*d", p->exp_digits, exponent < 0 ? -exponent : exponent);
            break;
        }
    }
    out[n] = '\0';
    return n;
}

/* --- date patterns ---------------------------------------------------- */

/* Whether text (of length bytes) begins with the lower-case ASCII word,
 * letters compared without case. */
static inline int vb_format_starts_ci(const char *text, size_t length, const char *word) {
    size_t k = 0;
    for (; word[k]; k++) {
        if (k >= length) return 0;
        char c = text[k];
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
        if (c != word[k]) return 0;
    }
    return 1;
}

static inline char vb_format_lower(char c) { return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c; }

/* Hours count to 12 when the pattern holds an AM/PM marker anywhere. */
static inline int vb_date_twelve_hour(const char *pattern, size_t length) {
    for (size_t i = 0; i < length; i++)
        if (vb_format_starts_ci(pattern + i, length - i, "am/pm") || vb_format_starts_ci(pattern + i, length - i, "a/p") ||
            vb_format_starts_ci(pattern + i, length - i, "ampm"))
            return 1;
    return 0;
}

/* One piece of a date pattern: text to copy, or a field with the length of
 * its letter run ("dd" is a day of 2 digits, "dddd" the day's name). */
enum {
    VB_DATE_TEXT,     /* pattern[start, start + length) as it is */
    VB_DATE_DAY,      /* d dd ddd dddd, ddddd short date, dddddd long date */
    VB_DATE_MONTH,    /* m mm mmm mmmm */
    VB_DATE_MINUTE,   /* n nn, or m mm after an hour or before seconds */
    VB_DATE_YEAR,     /* y day of the year, yy, yyyy */
    VB_DATE_HOUR,     /* h hh */
    VB_DATE_SECOND,   /* s ss */
    VB_DATE_WEEK,     /* w weekday, ww week of the year */
    VB_DATE_QUARTER,  /* q */
    VB_DATE_GENERAL,  /* c */
    VB_DATE_LONG_TIME,/* ttttt */
    VB_DATE_AMPM,     /* AM/PM, am/pm (upper: as written), AMPM */
    VB_DATE_AP        /* A/P, a/p */
};

typedef struct VBDateToken {
    int kind;
    size_t start, length; /* VB_DATE_TEXT: the text */
    size_t run;           /* fields: how many letters */
    int upper;            /* markers: upper case */
} VBDateToken;

/* Reads the piece of the pattern at i into token and returns where the
 * next one starts. after_hour carries, from one piece to the next, whether
 * an hour came last (so "m" is a minute); start it at 0. */
static inline size_t vb_date_token(const char *pattern, size_t n, size_t i, int *after_hour, VBDateToken *token) {
    VBDateToken t = {VB_DATE_TEXT, i, 0, 0, 0};
    const char c = pattern[i], l = vb_format_lower(c);
    if (c == '"') {
        const void *close = memchr(pattern + i + 1, '"', n - i - 1);
        t.start = i + 1;
        t.length = close ? (size_t)((const char *)close - pattern) - t.start : n - t.start;
        *token = t;
        return close ? (size_t)((const char *)close - pattern) + 1 : n;
    }
    if (c == '\\' && i + 1 < n) {
        t.start = i + 1;
        t.length = 1;
        *token = t;
        return i + 2;
    }
    if (vb_format_starts_ci(pattern + i, n - i, "am/pm")) {
        t.kind = VB_DATE_AMPM;
        t.upper = c == 'A';
        *token = t;
        return i + 5;
    }
    if (vb_format_starts_ci(pattern + i, n - i, "ampm")) {
        t.kind = VB_DATE_AMPM;
        t.upper = 1;
        *token = t;
        return i + 4;
    }
    if (vb_format_starts_ci(pattern + i, n - i, "a/p")) {
        t.kind = VB_DATE_AP;
        t.upper = c == 'A';
        *token = t;
        return i + 3;
    }
    size_t run = 1;
    while (i + run < n && vb_format_lower(pattern[i + run]) == l) ++run;
    t.run = run;
    t.length = run;
    switch (l) {
    case 'd': t.kind = VB_DATE_DAY; *after_hour = 0; break;
    case 'm': {
        /* minutes after an hour or before seconds */
        size_t j = i + run;
        while (j < n && !((pattern[j] >= 'a' && pattern[j] <= 'z') || (pattern[j] >= 'A' && pattern[j] <= 'Z'))) ++j;
        const int minute = run <= 2 && (*after_hour || (j < n && vb_format_lower(pattern[j]) == 's'));
        t.kind = minute ? VB_DATE_MINUTE : VB_DATE_MONTH;
        *after_hour = 0;
        break;
    }
    case 'y': t.kind = VB_DATE_YEAR; break;
    case 'h': t.kind = VB_DATE_HOUR; *after_hour = 1; break;
    case 'n': t.kind = VB_DATE_MINUTE; break;
    case 's': t.kind = VB_DATE_SECOND; break;
    case 'w': t.kind = VB_DATE_WEEK; break;
    case 'q': t.kind = VB_DATE_QUARTER; break;
    case 'c': t.kind = VB_DATE_GENERAL; break;
    case 't': t.kind = run >= 5 ? VB_DATE_LONG_TIME : VB_DATE_TEXT; break;
    default:
        if (l != ':' && l != ' ' && l != '/' && l != '-' && l != '.') *after_hour = 0;
        break;
    }
    *token = t;
    return i + run;
}

/* --- text patterns ---------------------------------------------------- */

/* Lays text out by an @ & < > ! pattern into out, which has room for
 * text_length + pattern_length + 1 bytes; returns the length written
 * (out is NUL-terminated). ">" and "<" change ASCII letters' case; each
 * "@" or "&" takes a character (a whole UTF-8 sequence), from the right
 * unless "!" is given, and "@" shows a blank where none is left; the first
 * placeholder takes what does not fit. Without placeholders the text comes
 * out whole. */
static inline size_t vb_format_text(const char *text, size_t tn, const char *pattern, size_t pn, char *out) {
    const int upper = memchr(pattern, '>', pn) != NULL, lower = !upper && memchr(pattern, '<', pn) != NULL;
    const int left = memchr(pattern, '!', pn) != NULL;
    size_t holders = 0, chars = 0, n = 0, pos = 0;
    for (size_t k = 0; k < pn; k++)
        if (pattern[k] == '@' || pattern[k] == '&') holders++;
    for (size_t k = 0; k < tn; k++)
        if (((unsigned char)text[k] & 0xC0) != 0x80) chars++;
    /* Copies the next `count` characters of the text. */
#define VB_TEXT_COPY(count)                                                                        \
    for (size_t copied = 0; copied < (count) && pos < tn; copied++) {                              \
        char c = text[pos++];                                                                      \
        if (upper && c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');                              \
        else if (lower && c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');                         \
        out[n++] = c;                                                                              \
        while (pos < tn && ((unsigned char)text[pos] & 0xC0) == 0x80) out[n++] = text[pos++];     \
    }
    if (!holders) {
        VB_TEXT_COPY(chars)
        out[n] = '\0';
        return n;
    }
    const size_t missing = holders > chars ? holders - chars : 0;
    size_t next = 0, seen = 0;
    for (size_t k = 0; k < pn; k++) {
        const char c = pattern[k];
        if (c == '<' || c == '>' || c == '!') continue;
        if (c != '@' && c != '&') {
            out[n++] = c;
            continue;
        }
        const int empty = left ? next >= chars : seen < missing;
        if (empty) {
            if (c == '@') out[n++] = ' ';
        } else {
            const size_t take = seen == 0 && !left && chars > holders ? chars - holders + 1 : 1;
            VB_TEXT_COPY(take)
            next += take;
        }
        seen++;
    }
    if (left) VB_TEXT_COPY(chars - next)
#undef VB_TEXT_COPY
    out[n] = '\0';
    return n;
}

#endif
