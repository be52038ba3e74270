/* Corvane native runtime: dates and times.
 *
 * Compiled as part of vb_native.c (included at its end). Dates are ISO
 * texts ("2024-05-01", "13:45:00", "2024-05-01 13:45:00"), read also from
 * VB6's "5/1/2024 1:45:00 PM", month names and serial numbers (days since
 * 1899-12-30), as the interpreter reads them. */

#include <time.h>

typedef struct VBDate {
    int year, month, day;
    int hour, minute, second;
    int has_date, has_time; /* a time alone has no date part */
} VBDate;

static const char *const MONTH_NAMES[] = {"January", "February", "March",     "April",   "May",      "June",
                                          "July",    "August",   "September", "October", "November", "December"};
static const char *const DAY_NAMES[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

static VBDate date_none(void) {
    VBDate d = {1899, 12, 30, 0, 0, 0, 1, 0};
    return d;
}

static int leap_year(long long year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

static int days_in_month(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return days[month - 1] + (month == 2 && leap_year(year) ? 1 : 0);
}

/* Days since 1899-12-30 of a calendar date; month and day overflow carry. */
static long long days_from_civil(long long y, long long m, long long d) {
    y += (m - 1 >= 0 ? (m - 1) / 12 : -((12 - m) / 12));
    m = ((m - 1) % 12 + 12) % 12 + 1;
    y -= m <= 2;
    long long era = (y >= 0 ? y : y - 399) / 400;
    long long yoe = y - era * 400;
    long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5;
    long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + 25569 + (d - 1); /* 1970-01-01 is serial 25569 */
}

static void civil_from_days(long long serial, int *year, int *month, int *day) {
    long long z = serial - 25569 + 719468;
    long long era = (z >= 0 ? z : z - 146096) / 146097;
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    *day = (int)(doy - (153 * mp + 2) / 5 + 1);
    *month = (int)(mp < 10 ? mp + 3 : mp - 9);
    *year = (int)(yoe + era * 400 + (*month <= 2));
}

static VBDate from_serial(double serial) {
    VBDate d = date_none();
    double days = trunc(serial);
    long long seconds = llround(fabs(serial - days) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        days += serial < 0 ? -1 : 1;
    }
    civil_from_days((long long)days, &d.year, &d.month, &d.day);
    d.hour = (int)(seconds / 3600);
    d.minute = (int)(seconds / 60 % 60);
    d.second = (int)(seconds % 60);
    d.has_time = seconds != 0;
    return d;
}

/* --- reading date texts ---------------------------------------------- */

typedef struct DateReader {
    const char *t;
    size_t n, i;
} DateReader;

static void dr_space(DateReader *r) {
    while (r->i < r->n && isspace((unsigned char)r->t[r->i])) r->i++;
}

static int dr_number(DateReader *r, int *out, size_t max_digits) {
    size_t start = r->i;
    *out = 0;
    while (r->i < r->n && isdigit((unsigned char)r->t[r->i]) && r->i - start < max_digits)
        *out = *out * 10 + (r->t[r->i++] - '0');
    return r->i > start;
}

static int dr_word(DateReader *r, char *out, size_t size) {
    size_t start = r->i, k = 0;
    while (r->i < r->n && isalpha((unsigned char)r->t[r->i])) {
        if (k + 1 < size) out[k++] = (char)tolower((unsigned char)r->t[r->i]);
        r->i++;
    }
    out[k] = '\0';
    return r->i > start;
}

static int dr_take(DateReader *r, char c) {
    if (r->i < r->n && r->t[r->i] == c) {
        r->i++;
        return 1;
    }
    return 0;
}

static int month_of(const char *word) {
    size_t n = strlen(word);
    if (n < 3) return 0;
    for (int m = 0; m < 12; m++)
        if (strlen(MONTH_NAMES[m]) >= n && !strncasecmp(MONTH_NAMES[m], word, n)) return m + 1;
    return 0;
}

static int valid_date(const VBDate *d) {
    return d->year >= 100 && d->year <= 9999 && d->month >= 1 && d->month <= 12 && d->day >= 1 &&
           d->day <= days_in_month(d->year, d->month);
}

static int full_year(int y, size_t digits) {
    if (digits > 2) return y;
    return y < 30 ? 2000 + y : 1900 + y; /* VB6's two-digit year window */
}

/* "H:MM[:SS[.fff]] [AM|PM]" */
static int read_time(DateReader *r, VBDate *d) {
    int h, m = 0, s = 0;
    size_t start = r->i;
    if (!dr_number(r, &h, 2)) return 0;
    int colon = dr_take(r, ':');
    if (colon) {
        if (!dr_number(r, &m, 2)) return 0;
        if (dr_take(r, ':')) {
            if (!dr_number(r, &s, 2)) return 0;
            if (dr_take(r, '.'))
                while (r->i < r->n && isdigit((unsigned char)r->t[r->i])) r->i++;
        }
    }
    dr_space(r);
    char w[16];
    size_t before = r->i;
    if (dr_word(r, w, sizeof w)) {
        if (!strcmp(w, "am") || !strcmp(w, "a")) {
            if (h == 12) h = 0;
        } else if (!strcmp(w, "pm") || !strcmp(w, "p")) {
            if (h < 12) h += 12;
        } else {
            r->i = before;
            if (!colon) return 0;
        }
    } else if (!colon) {
        r->i = start;
        return 0;
    }
    if (h > 23 || m > 59 || s > 59) return 0;
    d->hour = h;
    d->minute = m;
    d->second = s;
    d->has_time = 1;
    return 1;
}

static int read_date(DateReader *r, VBDate *d) {
    size_t start = r->i;
    int a, b, c;
    char w[16];
    if (dr_word(r, w, sizeof w)) { /* "May 1, 2024" */
        int m = month_of(w);
        if (!m) return 0;
        dr_space(r);
        if (!dr_number(r, &b, 2)) return 0;
        dr_take(r, ',');
        dr_space(r);
        size_t ys = r->i;
        if (!dr_number(r, &c, 4)) return 0;
        d->year = full_year(c, r->i - ys);
        d->month = m;
        d->day = b;
        return valid_date(d);
    }
    if (!dr_number(r, &a, 4)) return 0;
    size_t a_digits = r->i - start;
    if (a_digits == 4 && dr_take(r, '-')) { /* ISO */
        if (!dr_number(r, &b, 2) || !dr_take(r, '-') || !dr_number(r, &c, 2)) return 0;
        d->year = a;
        d->month = b;
        d->day = c;
        return valid_date(d);
    }
    if (dr_take(r, '/') || dr_take(r, '-')) { /* M/D/YYYY */
        if (!dr_number(r, &b, 2)) return 0;
        if (!(dr_take(r, '/') || dr_take(r, '-'))) return 0;
        size_t ys = r->i;
        if (!dr_number(r, &c, 4)) return 0;
        if (a_digits == 4) { /* YYYY/M/D */
            d->year = a;
            d->month = b;
            d->day = c;
        } else {
            d->year = full_year(c, r->i - ys);
            d->month = a;
            d->day = b;
        }
        return valid_date(d);
    }
    dr_space(r);
    if (dr_word(r, w, sizeof w)) { /* "1 May 2024" */
        int m = month_of(w);
        if (!m) return 0;
        dr_space(r);
        size_t ys = r->i;
        if (!dr_number(r, &c, 4)) return 0;
        d->year = full_year(c, r->i - ys);
        d->month = m;
        d->day = a;
        return valid_date(d);
    }
    return 0;
}

static int parse_date_text(const char *text, VBDate *out) {
    DateReader r = {text, strlen(text), 0};
    dr_space(&r);
    VBDate d = date_none();
    size_t start = r.i;
    if (read_date(&r, &d)) {
        d.has_date = 1;
        dr_space(&r);
        int t = r.i < r.n && (r.t[r.i] == 'T' || r.t[r.i] == 't');
        if (t) r.i++;
        if (!t) {
            dr_space(&r);
            if (r.i >= r.n) {
                *out = d;
                return 1;
            }
        }
        if (read_time(&r, &d)) {
            dr_space(&r);
            if (r.i >= r.n) {
                *out = d;
                return 1;
            }
        }
        return 0;
    }
    r.i = start;
    VBDate t = date_none();
    t.has_date = 0;
    if (read_time(&r, &t)) {
        dr_space(&r);
        if (r.i >= r.n) {
            *out = t;
            return 1;
        }
    }
    return 0;
}

/* A value as a date: texts as above, numbers as serial dates. */
static VBDate to_date(VBValue v) {
    VBDate d;
    if (v.kind == VB_STRING) {
        const char *s = v.text ? v.text : "";
        if (parse_date_text(s, &d)) return d;
        double x;
        if (!parse_number_text(s, &x)) failf("Type mismatch (expected date, got %s)", value_repr(v));
        return from_serial(x);
    }
    if (v.kind == VB_NUMBER || v.kind == VB_INTEGER || v.kind == VB_BOOLEAN || (v.kind == VB_OBJECT && !v.object)) {
        double serial = number_value(v);
        if (!isfinite(serial) || fabs(serial) > 3e6) fatal("Overflow");
        return from_serial(serial);
    }
    failf("Type mismatch (expected date, got %s)", value_repr(v));
}

static VBValue date_value(const VBDate *d) {
    char buf[48];
    if (!d->has_date)
        snprintf(buf, sizeof buf, "%02d:%02d:%02d", d->hour, d->minute, d->second);
    else if (!d->has_time)
        snprintf(buf, sizeof buf, "%04d-%02d-%02d", d->year, d->month, d->day);
    else
        snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", d->year, d->month, d->day, d->hour, d->minute,
                 d->second);
    return text_value(copy_text(buf));
}

static int weekday_of(const VBDate *d) {
    long long days = d->has_date ? days_from_civil(d->year, d->month, d->day) : 0;
    return (int)(((days - 1) % 7 + 7) % 7) + 1; /* serial 1 (1899-12-31) was a Sunday */
}

/* --- the built-ins ----------------------------------------------------- */

static VBValue stamp(const char *layout) {
    time_t now = time(NULL);
    struct tm parts;
    localtime_r(&now, &parts);
    char buf[32];
    size_t n = strftime(buf, sizeof buf, layout, &parts);
    return text_value(copy_bytes(buf, n));
}

static VBValue fn_date(int argc, VBValue *args) { (void)argc; (void)args; return stamp("%Y-%m-%d"); }
static VBValue fn_time(int argc, VBValue *args) { (void)argc; (void)args; return stamp("%H:%M:%S"); }
static VBValue fn_now(int argc, VBValue *args) { (void)argc; (void)args; return stamp("%Y-%m-%d %H:%M:%S"); }

static int exact_digits(const char *t, size_t *i, size_t n, int *out) {
    *out = 0;
    for (size_t k = 0; k < n; k++) {
        char c = t[*i + k];
        if (c < '0' || c > '9') return 0;
        *out = *out * 10 + (c - '0');
    }
    *i += n;
    return 1;
}

/* "HH[:MM[:SS[.fraction]]]" */
static int clock_time(const char *t, size_t *i) {
    int h, m, s;
    if (!exact_digits(t, i, 2, &h) || h > 23) return 0;
    if (t[*i] != ':') return 1;
    ++*i;
    if (!exact_digits(t, i, 2, &m) || m > 59) return 0;
    if (t[*i] != ':') return 1;
    ++*i;
    if (!exact_digits(t, i, 2, &s) || s > 59) return 0;
    if (t[*i] == '.' || t[*i] == ',') {
        size_t start = ++*i;
        while (t[*i] >= '0' && t[*i] <= '9') ++*i;
        if (*i == start || *i - start > 9) return 0;
    }
    return 1;
}

/* "Z", or a sign and "HH", "HH:MM", "HHMM" or "HH:MM:SS". */
static int utc_offset(const char *t, size_t *i) {
    if (t[*i] == 'Z' || t[*i] == 'z') {
        ++*i;
        return 1;
    }
    if (t[*i] != '+' && t[*i] != '-') return 0;
    ++*i;
    int h, m, s;
    if (!exact_digits(t, i, 2, &h) || h > 23) return 0;
    if (!t[*i]) return 1;
    int colon = t[*i] == ':';
    if (colon) ++*i;
    if (!exact_digits(t, i, 2, &m) || m > 59) return 0;
    if (colon && t[*i] == ':') {
        ++*i;
        if (!exact_digits(t, i, 2, &s) || s > 59) return 0;
    }
    return 1;
}

static int iso_date(const char *t) {
    size_t i = 0;
    int year, month, day;
    if (!exact_digits(t, &i, 4, &year) || year < 1) return 0;
    if (t[i++] != '-') return 0;
    if (!exact_digits(t, &i, 2, &month) || month < 1 || month > 12) return 0;
    if (t[i++] != '-') return 0;
    if (!exact_digits(t, &i, 2, &day) || day < 1 || day > days_in_month(year, month)) return 0;
    if (!t[i]) return 1;
    if (t[i] != 'T' && t[i] != 't' && t[i] != ' ') return 0;
    ++i;
    if (!clock_time(t, &i)) return 0;
    if (t[i] && !utc_offset(t, &i)) return 0;
    return !t[i];
}

static VBValue fn_isdate(int argc, VBValue *args) {
    need_args(argc, 1, "IsDate");
    VBDate d;
    if (args[0].kind != VB_STRING) return bool_value(0);
    const char *s = args[0].text ? args[0].text : "";
    return bool_value(iso_date(s) || parse_date_text(s, &d));
}

static VBDate date_arg(int argc, VBValue *args, int i, const char *name) {
    need_args(argc, i + 1, name);
    return to_date(args[i]);
}

static VBValue fn_year(int argc, VBValue *args) { return int_value(date_arg(argc, args, 0, "Year").year); }
static VBValue fn_month(int argc, VBValue *args) { return int_value(date_arg(argc, args, 0, "Month").month); }
static VBValue fn_day(int argc, VBValue *args) { return int_value(date_arg(argc, args, 0, "Day").day); }
static VBValue fn_hour(int argc, VBValue *args) { return int_value(date_arg(argc, args, 0, "Hour").hour); }
static VBValue fn_minute(int argc, VBValue *args) { return int_value(date_arg(argc, args, 0, "Minute").minute); }
static VBValue fn_second(int argc, VBValue *args) { return int_value(date_arg(argc, args, 0, "Second").second); }

/* The first-day-of-week argument (1 = Sunday; 0 = the system's, Sunday). */
static int first_day(int argc, VBValue *args, int i) {
    if (argc <= i || (args[i].kind == VB_OBJECT && !args[i].object)) return 1;
    long long d = whole_of(args[i], 1);
    if (d < 0 || d > 7) {
        char n[32];
        snprintf(n, sizeof n, "%lld", d);
        failf("Invalid procedure call or argument: first day of week %s", n);
    }
    return d == 0 ? 1 : (int)d;
}

static VBValue fn_weekday(int argc, VBValue *args) {
    VBDate d = date_arg(argc, args, 0, "Weekday");
    int first = first_day(argc, args, 1);
    return int_value((weekday_of(&d) - first + 7) % 7 + 1);
}

static VBValue fn_dateserial(int argc, VBValue *args) {
    need_args(argc, 3, "DateSerial");
    long long y = whole_of(args[0], 0);
    if (y >= 0 && y < 30) y += 2000;
    else if (y >= 30 && y < 100) y += 1900;
    long long serial = days_from_civil(y, whole_of(args[1], 1), whole_of(args[2], 1));
    VBDate d = from_serial((double)serial);
    if (d.year < 100 || d.year > 9999) fatal("Invalid procedure call or argument: DateSerial");
    return date_value(&d);
}

static VBValue fn_timeserial(int argc, VBValue *args) {
    need_args(argc, 3, "TimeSerial");
    long long seconds = whole_of(args[0], 0) * 3600 + whole_of(args[1], 0) * 60 + whole_of(args[2], 0);
    seconds = ((seconds % 86400) + 86400) % 86400;
    VBDate d = date_none();
    d.has_date = 0;
    d.has_time = 1;
    d.hour = (int)(seconds / 3600);
    d.minute = (int)(seconds / 60 % 60);
    d.second = (int)(seconds % 60);
    return date_value(&d);
}

static VBValue fn_cdate(int argc, VBValue *args) {
    VBDate d = date_arg(argc, args, 0, "CDate");
    return date_value(&d);
}

static VBValue fn_datevalue(int argc, VBValue *args) {
    VBDate d = date_arg(argc, args, 0, "DateValue");
    d.has_time = 0;
    d.hour = d.minute = d.second = 0;
    return date_value(&d);
}

static VBValue fn_timevalue(int argc, VBValue *args) {
    VBDate d = date_arg(argc, args, 0, "TimeValue");
    d.has_date = 0;
    d.has_time = 1;
    return date_value(&d);
}

static VBValue short_name(const char *name, int argc, VBValue *args) {
    if (argc > 1 && truth_of(args[1])) return text_value(copy_bytes(name, 3));
    return str_value(name);
}

static VBValue fn_monthname(int argc, VBValue *args) {
    need_args(argc, 1, "MonthName");
    long long m = whole_of(args[0], 0);
    if (m < 1 || m > 12) failf("Invalid procedure call or argument: MonthName(%s)", string_of(int_value(m)));
    return short_name(MONTH_NAMES[m - 1], argc, args);
}

static VBValue fn_weekdayname(int argc, VBValue *args) {
    need_args(argc, 1, "WeekdayName");
    long long w = whole_of(args[0], 0);
    if (w < 1 || w > 7) failf("Invalid procedure call or argument: WeekdayName(%s)", string_of(int_value(w)));
    int first = first_day(argc, args, 2);
    return short_name(DAY_NAMES[(w - 1 + first - 1) % 7], argc, args);
}

enum { IV_YEAR, IV_QUARTER, IV_MONTH, IV_DAYOFYEAR, IV_DAY, IV_WEEKDAY, IV_WEEK, IV_HOUR, IV_MINUTE, IV_SECOND };

static int interval_of(VBValue v) {
    static const struct {
        const char *name;
        int interval;
    } table[] = {{"yyyy", IV_YEAR}, {"q", IV_QUARTER}, {"m", IV_MONTH}, {"y", IV_DAYOFYEAR}, {"d", IV_DAY},
                 {"w", IV_WEEKDAY}, {"ww", IV_WEEK},   {"h", IV_HOUR},  {"n", IV_MINUTE},   {"s", IV_SECOND}};
    const char *text = string_of(v);
    for (size_t k = 0; k < COUNT_OF(table); k++)
        if (!strcasecmp(text, table[k].name)) return table[k].interval;
    failf("Invalid procedure call or argument: interval %s", value_repr(v));
}

static long long total_seconds(const VBDate *d) {
    long long days = d->has_date ? days_from_civil(d->year, d->month, d->day) : 0;
    return days * 86400 + d->hour * 3600 + d->minute * 60 + d->second;
}

static VBDate from_seconds(long long seconds, int had_date) {
    long long days = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    long long rest = seconds - days * 86400;
    VBDate d = date_none();
    civil_from_days(days, &d.year, &d.month, &d.day);
    d.has_date = had_date || days != 0;
    d.hour = (int)(rest / 3600);
    d.minute = (int)(rest / 60 % 60);
    d.second = (int)(rest % 60);
    d.has_time = rest != 0;
    return d;
}

static VBValue fn_dateadd(int argc, VBValue *args) {
    need_args(argc, 3, "DateAdd");
    int interval = interval_of(args[0]);
    Num r = round_even(number_of(args[1]));
    long long n = r.is_int ? r.i : 0;
    VBDate d = to_date(args[2]);
    if (interval == IV_YEAR || interval == IV_QUARTER || interval == IV_MONTH) {
        long long months = interval == IV_YEAR ? n * 12 : interval == IV_QUARTER ? n * 3 : n;
        long long total = d.year * 12LL + (d.month - 1) + months;
        long long year = total / 12, month = total % 12 + 1;
        if (year < 100 || year > 9999) fatal("Invalid procedure call or argument: DateAdd");
        int last = (int)(days_from_civil(year, month + 1, 1) - days_from_civil(year, month, 1));
        d.year = (int)year;
        d.month = (int)month;
        if (d.day > last) d.day = last;
        d.has_date = 1;
        return date_value(&d);
    }
    long long step = 86400;
    if (interval == IV_WEEK) step = 7 * 86400;
    if (interval == IV_HOUR) step = 3600;
    if (interval == IV_MINUTE) step = 60;
    if (interval == IV_SECOND) step = 1;
    VBDate out = from_seconds(total_seconds(&d) + n * step, d.has_date || step >= 86400);
    if (out.year < 100 || out.year > 9999) fatal("Invalid procedure call or argument: DateAdd");
    return date_value(&out);
}

static long long floor_div_ll(long long a, long long b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

static VBValue fn_datediff(int argc, VBValue *args) {
    need_args(argc, 3, "DateDiff");
    int interval = interval_of(args[0]);
    VBDate a = to_date(args[1]), b = to_date(args[2]);
    long long da = a.has_date ? days_from_civil(a.year, a.month, a.day) : 0;
    long long db = b.has_date ? days_from_civil(b.year, b.month, b.day) : 0;
    switch (interval) {
    case IV_YEAR: return int_value(b.year - a.year);
    case IV_QUARTER: return int_value((b.year * 4 + (b.month - 1) / 3) - (a.year * 4 + (a.month - 1) / 3));
    case IV_MONTH: return int_value((b.year * 12 + b.month) - (a.year * 12 + a.month));
    case IV_DAYOFYEAR:
    case IV_DAY: return int_value(db - da);
    case IV_WEEKDAY: return int_value((db - da) / 7);
    case IV_WEEK: {
        int first = first_day(argc, args, 3);
        long long sb = db - ((weekday_of(&b) - first + 7) % 7), sa = da - ((weekday_of(&a) - first + 7) % 7);
        return int_value((sb - sa) / 7);
    }
    case IV_HOUR: return int_value(floor_div_ll(total_seconds(&b), 3600) - floor_div_ll(total_seconds(&a), 3600));
    case IV_MINUTE: return int_value(floor_div_ll(total_seconds(&b), 60) - floor_div_ll(total_seconds(&a), 60));
    default: return int_value(total_seconds(&b) - total_seconds(&a));
    }
}

static VBValue fn_datepart(int argc, VBValue *args) {
    need_args(argc, 2, "DatePart");
    int interval = interval_of(args[0]);
    VBDate d = to_date(args[1]);
    switch (interval) {
    case IV_YEAR: return int_value(d.year);
    case IV_QUARTER: return int_value((d.month - 1) / 3 + 1);
    case IV_MONTH: return int_value(d.month);
    case IV_DAYOFYEAR: return int_value(days_from_civil(d.year, d.month, d.day) - days_from_civil(d.year, 1, 1) + 1);
    case IV_DAY: return int_value(d.day);
    case IV_WEEKDAY: return int_value((weekday_of(&d) - first_day(argc, args, 2) + 7) % 7 + 1);
    case IV_WEEK: {
        int first = first_day(argc, args, 2);
        VBDate jan1 = date_none();
        jan1.year = d.year;
        jan1.month = 1;
        jan1.day = 1;
        long long offset = (weekday_of(&jan1) - first + 7) % 7;
        return int_value((days_from_civil(d.year, d.month, d.day) - days_from_civil(d.year, 1, 1) + offset) / 7 + 1);
    }
    case IV_HOUR: return int_value(d.hour);
    case IV_MINUTE: return int_value(d.minute);
    default: return int_value(d.second);
    }
}
