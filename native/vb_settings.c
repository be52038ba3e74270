/* Corvane native runtime: GetSetting, SaveSetting, DeleteSetting and
 * GetAllSettings.
 *
 * Compiled as part of vb_native.c (which includes this file at its end).
 * Settings live where interpreted programs keep them: one text file per
 * application name, $XDG_CONFIG_HOME/corvane/program-settings/name.ini
 * (~/.config without XDG_CONFIG_HOME), with "[Section]" lines and
 * "Key=Value" lines, backslash, line breaks and '=' written as \\, \n, \r
 * and \=. Names compare without regard to case, as registry names do. */

typedef struct Setting {
    char *section, *key, *value;
} Setting;

typedef struct Settings {
    Setting *items;
    size_t count, capacity;
} Settings;

static char *settings_path(const char *app) {
    const char *xdg = getenv("XDG_CONFIG_HOME"), *home = getenv("HOME");
    Text path = {0};
    if (xdg && *xdg) {
        text_add(&path, xdg, strlen(xdg));
    } else {
        const char *h = home && *home ? home : "/tmp";
        text_add(&path, h, strlen(h));
        text_add(&path, "/.config", 8);
    }
    text_add(&path, "/corvane/program-settings/", 26);
    if (!*app || !strcmp(app, ".") || !strcmp(app, "..")) fatal("Invalid procedure call or argument: application name");
    /* a name, never a path; in lower case, as the names compare without case */
    for (const char *c = app; *c; c++) text_ch(&path, *c == '/' ? '_' : (char)tolower((unsigned char)*c));
    text_add(&path, ".ini", 4);
    return copy_text(text_of_builder(&path));
}

static void setting_escape(Text *out, const char *s) {
    for (; *s; s++) {
        if (*s == '\\') text_add(out, "\\\\", 2);
        else if (*s == '\n') text_add(out, "\\n", 2);
        else if (*s == '\r') text_add(out, "\\r", 2);
        else if (*s == '=') text_add(out, "\\=", 2);
        else text_ch(out, *s);
    }
}

static char *setting_unescape(const char *s, size_t n) {
    Text out = {0};
    for (size_t i = 0; i < n; i++) {
        if (s[i] != '\\' || i + 1 == n) {
            text_ch(&out, s[i]);
            continue;
        }
        char c = s[++i];
        text_ch(&out, c == 'n' ? '\n' : c == 'r' ? '\r' : c);
    }
    return copy_text(text_of_builder(&out));
}

static void settings_add(Settings *s, char *section, char *key, char *value) {
    if (s->count == s->capacity) {
        size_t capacity = s->capacity ? s->capacity * 2 : 16;
        Setting *items = vb_alloc(sizeof *items * capacity);
        if (s->count) memcpy(items, s->items, sizeof *items * s->count);
        s->items = items;
        s->capacity = capacity;
    }
    s->items[s->count++] = (Setting){section, key, value};
}

static Settings read_settings(const char *path) {
    Settings s = {0};
    FILE *f = fopen(path, "rb");
    if (!f) return s;
    char *section = copy_text("");
    Text line = {0};
    int c;
    do {
        c = fgetc(f);
        if (c != '\n' && c != EOF) {
            text_ch(&line, (char)c);
            continue;
        }
        size_t n = line.n;
        const char *t = text_of_builder(&line);
        if (n && t[n - 1] == '\r') n--;
        if (n >= 2 && t[0] == '[' && t[n - 1] == ']') {
            section = setting_unescape(t + 1, n - 2);
        } else {
            for (size_t i = 0; i < n; i++) {
                if (t[i] == '\\') {
                    i++;
                } else if (t[i] == '=') {
                    settings_add(&s, section, setting_unescape(t, i), setting_unescape(t + i + 1, n - i - 1));
                    break;
                }
            }
        }
        line.n = 0;
    } while (c != EOF);
    fclose(f);
    return s;
}

static void make_folders(const char *path) {
    char *p = copy_text(path);
    for (char *slash = strchr(p + 1, '/'); slash; slash = strchr(slash + 1, '/')) {
        *slash = 0;
        mkdir(p, 0777);
        *slash = '/';
    }
}

/* Sections in the order first met, each with its keys; through a new
 * file renamed over the old one, so a failure leaves the old one whole. */
static void write_settings(const char *path, const Settings *s) {
    make_folders(path);
    Text out = {0};
    for (size_t k = 0; k < s->count; k++) {
        int first = 1;
        for (size_t j = 0; j < k; j++)
            if (!strcasecmp(s->items[j].section, s->items[k].section)) first = 0;
        if (!first) continue;
        text_ch(&out, '[');
        setting_escape(&out, s->items[k].section);
        text_add(&out, "]\n", 2);
        for (size_t j = k; j < s->count; j++) {
            if (strcasecmp(s->items[j].section, s->items[k].section)) continue;
            setting_escape(&out, s->items[j].key);
            text_ch(&out, '=');
            setting_escape(&out, s->items[j].value);
            text_ch(&out, '\n');
        }
    }
    size_t n = strlen(path);
    char *fresh = vb_alloc_text(n + 5);
    memcpy(fresh, path, n);
    memcpy(fresh + n, ".new", 5);
    FILE *f = fopen(fresh, "wb");
    int failed = !f || (out.n && fwrite(text_of_builder(&out), 1, out.n, f) != out.n);
    if (f && fclose(f) != 0) failed = 1;
    if (failed || rename(fresh, path) != 0) file_fail("Path/File access error: %s", path);
}

static VBValue fn_getsetting(int argc, VBValue *args) {
    if (argc < 3) fatal("GetSetting requires at least 3 arguments");
    Settings s = read_settings(settings_path(string_of(args[0])));
    const char *section = string_of(args[1]), *key = string_of(args[2]);
    for (size_t k = 0; k < s.count; k++)
        if (!strcasecmp(s.items[k].section, section) && !strcasecmp(s.items[k].key, key)) return str_value(s.items[k].value);
    return str_value(argc > 3 ? string_of(args[3]) : "");
}

static VBValue fn_savesetting(int argc, VBValue *args) {
    if (argc < 4) fatal("SaveSetting requires 4 arguments");
    const char *path = settings_path(string_of(args[0]));
    Settings s = read_settings(path);
    char *section = copy_text(string_of(args[1])), *key = copy_text(string_of(args[2]));
    char *value = copy_text(string_of(args[3]));
    size_t k = 0;
    while (k < s.count && (strcasecmp(s.items[k].section, section) || strcasecmp(s.items[k].key, key))) k++;
    if (k < s.count) s.items[k].value = value;
    else settings_add(&s, section, key, value);
    write_settings(path, &s);
    return vb_nothing();
}

/* DeleteSetting app, section[, key]: a missing one is error 5, as in VB. */
static VBValue fn_deletesetting(int argc, VBValue *args) {
    if (argc < 2) fatal("DeleteSetting requires at least 2 arguments");
    const char *path = settings_path(string_of(args[0]));
    Settings s = read_settings(path);
    const char *section = string_of(args[1]);
    const char *key = argc > 2 && !(args[2].kind == VB_OBJECT && !args[2].object) ? string_of(args[2]) : NULL;
    size_t kept = 0;
    for (size_t k = 0; k < s.count; k++)
        if (strcasecmp(s.items[k].section, section) || (key && strcasecmp(s.items[k].key, key))) s.items[kept++] = s.items[k];
    if (kept == s.count) fatal("Invalid procedure call or argument: DeleteSetting");
    s.count = kept;
    write_settings(path, &s);
    return vb_nothing();
}

/* GetAllSettings(app, section): the keys and values as an array of
 * (count, 2) elements, Empty when the section has none. */
static VBValue fn_getallsettings(int argc, VBValue *args) {
    if (argc < 2) fatal("GetAllSettings requires 2 arguments");
    Settings s = read_settings(settings_path(string_of(args[0])));
    const char *section = string_of(args[1]);
    long long n = 0;
    for (size_t k = 0; k < s.count; k++)
        if (!strcasecmp(s.items[k].section, section)) n++;
    if (!n) return vb_nothing();
    VBValue bounds[4] = {int_value(0), int_value(n - 1), int_value(0), int_value(1)};
    VBValue array = vb_array_shape(2, bounds, "variant");
    long long row = 0;
    for (size_t k = 0; k < s.count; k++) {
        if (strcasecmp(s.items[k].section, section)) continue;
        VBValue at[2] = {int_value(row), int_value(0)};
        vb_index_set_at(array, 2, at, str_value(s.items[k].key), "GetAllSettings");
        at[1] = int_value(1);
        vb_index_set_at(array, 2, at, str_value(s.items[k].value), "GetAllSettings");
        row++;
    }
    return array;
}
