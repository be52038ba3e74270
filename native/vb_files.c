/* Corvane native runtime: sequential file channels (Open ... For Input,
 * Output or Append As #n, Print #, Write #, Line Input #, Input #, Close,
 * EOF, LOF, FreeFile) and the file system (Kill, MkDir, RmDir, ChDir, CurDir,
 * FileCopy, FileLen, GetAttr, SetAttr, Dir).
 *
 * Compiled as part of vb_native.c (included at its end, after vb_print.c).
 * Text in files is Windows-1252 with CR LF line ends, as the interpreter
 * writes and reads it; paths take backslashes as separators and drop a
 * drive letter; a relative path is taken from the current folder (App.Path). */

#include <dirent.h>
#include <errno.h>
#include <sys/stat.h>
#include <sys/types.h>

enum { FILE_INPUT, FILE_OUTPUT, FILE_APPEND, FILE_BINARY, FILE_RANDOM };

typedef struct FileChannel {
    FILE *file;
    int mode;
    size_t column; /* Print #: characters since the last line end */
    long long record_length; /* Random: the bytes of one record */
} FileChannel;

static FileChannel channels[512];

static const uint32_t CP1252_HIGH[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                         0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                         0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                         0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

/* The Windows-1252 byte of the character at s[i] ('?' when it has none);
 * returns where the next character starts. */
static size_t next_1252_byte(const char *s, size_t n, size_t i, int *byte) {
    unsigned char c = (unsigned char)s[i];
    if (c < 0x80) {
        *byte = c;
        return i + 1;
    }
    uint32_t cp = 0;
    size_t len = utf8_length(s, n, i, &cp);
    *byte = '?';
    if (cp >= 0xA0 && cp <= 0xFF) *byte = (int)cp;
    for (int k = 0; k < 32; k++)
        if (CP1252_HIGH[k] == cp) *byte = 0x80 + k;
    return i + (len ? len : 1);
}

static void write_1252(FILE *f, const char *s, size_t n) {
    for (size_t i = 0; i < n;) {
        int byte;
        i = next_1252_byte(s, n, i, &byte);
        fputc(byte, f);
    }
}

static VBValue text_from_1252(const char *bytes, size_t n) {
    char *out = vb_alloc_text(n * 3 + 1), *p = out;
    for (size_t i = 0; i < n; i++) {
        unsigned char c = (unsigned char)bytes[i];
        p += put_utf8(p, c >= 0x80 && c < 0xA0 ? CP1252_HIGH[c - 0x80] : c);
    }
    *p = '\0';
    return text_value(out);
}

static _Noreturn void file_fail(const char *message, const char *path) {
    failf(message, path ? path : "");
}

static long long channel_number(VBValue v) {
    long long n = whole_of(v, -1);
    if (n < 1 || n > 511) fatal("Bad file name or number");
    return n;
}

static FileChannel *open_channel(VBValue v) {
    FileChannel *ch = &channels[channel_number(v)];
    if (!ch->file) fatal("Bad file name or number");
    return ch;
}

/* A program's path as a path of this system. */
static char *program_path(const char *given) {
    size_t n = strlen(given);
    char *p = copy_bytes(given, n);
    for (char *c = p; *c; c++)
        if (*c == '\\') *c = '/';
    if (isalpha((unsigned char)p[0]) && p[1] == ':') p += 2;
    return p;
}

void vb_file_open(VBValue path, int mode, VBValue number) {
    const char *given = string_of(path);
    long long n = channel_number(number);
    if (channels[n].file) fatal("File already open");
    if (!*given) fatal("Path/File access error");
    char *p = program_path(given);
    struct stat st;
    if (stat(p, &st) == 0 && S_ISDIR(st.st_mode)) file_fail("Path/File access error: %s", given);
    int direct = mode == FILE_BINARY || mode == FILE_RANDOM;
    FILE *f = fopen(p, mode == FILE_INPUT ? "rb" : mode == FILE_OUTPUT ? "wb" : mode == FILE_APPEND ? "ab"
                       : stat(p, &st) == 0 ? "r+b" : "w+b");
    /* opening for reading may still be allowed where writing is not */
    if (!f && direct && errno == EACCES) f = fopen(p, "rb");
    if (!f) {
        switch (errno) {
        case ENOENT: {
            char *slash = strrchr(p, '/');
            if (slash && slash != p) {
                *slash = '\0';
                if (stat(p, &st) != 0 || !S_ISDIR(st.st_mode)) file_fail("Path not found: %s", given);
            }
            file_fail("File not found: %s", given);
        }
        case ENOTDIR: file_fail("Path not found: %s", given);
        case EACCES:
        case EPERM:
        case EROFS: file_fail("Permission denied: %s", given);
        case EMFILE:
        case ENFILE: fatal("Too many files");
        default: file_fail("Path/File access error: %s", given);
        }
    }
    channels[n].file = f;
    channels[n].mode = mode;
    channels[n].column = 0;
    channels[n].record_length = 128;
}

void vb_file_close(VBValue number) {
    long long n = channel_number(number);
    if (!channels[n].file) return; /* closing a closed channel does nothing */
    fclose(channels[n].file);
    channels[n].file = NULL;
}

void vb_file_close_all(void) {
    for (int n = 1; n < 512; n++)
        if (channels[n].file) {
            fclose(channels[n].file);
            channels[n].file = NULL;
        }
}

static size_t channel_column(void) { return print_to ? print_to->column : 0; }

/* Print #: the print list goes to the channel (vb_print.c keeps it). */
void vb_file_print_begin(VBValue number) {
    FileChannel *ch = open_channel(number);
    if (ch->mode == FILE_INPUT) fatal("Bad file mode");
    print_to = ch;
}

static void file_print_end(int newline) {
    FileChannel *ch = print_to;
    print_to = NULL;
    size_t count = char_count(text_of_builder(&file_line), file_line.n);
    write_1252(ch->file, text_of_builder(&file_line), file_line.n);
    file_line.n = 0;
    if (newline) {
        fputs("\r\n", ch->file);
        ch->column = 0;
    } else {
        ch->column += count;
    }
}

/* Write #: texts quoted, numbers as they are, Booleans #TRUE#/#FALSE#,
 * commas between; a trailing separator leaves the line open. */
void vb_file_write(VBValue number, int argc, VBValue *values, int open_line) {
    FileChannel *ch = open_channel(number);
    if (ch->mode == FILE_INPUT) fatal("Bad file mode");
    for (int k = 0; k < argc; k++) {
        if (k) fputc(',', ch->file);
        VBValue v = values[k];
        const char *t = string_of(v);
        if (v.kind == VB_BOOLEAN) {
            fputs(v.integer ? "#TRUE#" : "#FALSE#", ch->file);
        } else if (v.kind == VB_OBJECT && !v.object) {
        } else if (v.kind == VB_INTEGER || v.kind == VB_NUMBER) {
            fputs(t, ch->file);
        } else {
            fputc('"', ch->file);
            write_1252(ch->file, t, strlen(t));
            fputc('"', ch->file);
        }
    }
    fputs(open_line ? "," : "\r\n", ch->file);
}

static int at_end(FILE *f) {
    int c = fgetc(f);
    if (c == EOF) return 1;
    ungetc(c, f);
    return 0;
}

/* Line Input #: the bytes up to CR LF, CR or LF. */
VBValue vb_file_line(VBValue number) {
    FileChannel *ch = open_channel(number);
    if (ch->mode != FILE_INPUT && ch->mode != FILE_BINARY) fatal("Bad file mode");
    if (at_end(ch->file)) fatal("Input past end of file");
    Text line = {0};
    int c;
    while ((c = fgetc(ch->file)) != EOF) {
        if (c == '\n') break;
        if (c == '\r') {
            int d = fgetc(ch->file);
            if (d != '\n' && d != EOF) ungetc(d, ch->file);
            break;
        }
        text_ch(&line, (char)c);
    }
    return text_from_1252(text_of_builder(&line), line.n);
}

/* Input #: one field (a quoted text, or the text up to the next comma or
 * line end), as the variable's declared type takes it. */
VBValue vb_file_field(VBValue number, const char *type) {
    FileChannel *ch = open_channel(number);
    if (ch->mode != FILE_INPUT && ch->mode != FILE_BINARY) fatal("Bad file mode");
    FILE *f = ch->file;
    int c;
    do c = fgetc(f);
    while (c == ' ' || c == '\t');
    if (c == EOF) fatal("Input past end of file");
    Text field = {0};
    text_str(&field, "");
    int quoted = c == '"';
    if (quoted) {
        while ((c = fgetc(f)) != EOF && c != '"') text_ch(&field, (char)c);
        do c = fgetc(f);
        while (c == ' ' || c == '\t');
    } else {
        while (c != EOF && c != ',' && c != '\r' && c != '\n') {
            text_ch(&field, (char)c);
            c = fgetc(f);
        }
        while (field.n && (field.p[field.n - 1] == ' ' || field.p[field.n - 1] == '\t')) field.p[--field.n] = '\0';
    }
    if (c == '\r') {
        int d = fgetc(f);
        if (d != '\n' && d != EOF) ungetc(d, f);
    } else if (c != ',' && c != '\n' && c != EOF) {
        ungetc(c, f);
    }
    VBValue text = text_from_1252(field.p, field.n);
    int code = cached_type_code(type ? type : "variant");
    if (code == T_STRING) return text;
    const char *t = text.text;
    double x;
    if (!quoted) {
        if (!strcasecmp(t, "#true#")) return bool_value(1);
        if (!strcasecmp(t, "#false#")) return bool_value(0);
        if (!strcasecmp(t, "#null#")) return vb_nothing();
        size_t n = strlen(t);
        VBDate d;
        if (n > 2 && t[0] == '#' && t[n - 1] == '#') {
            char *inner = copy_bytes(t + 1, n - 2);
            if (parse_date_text(inner, &d)) return date_value(&d);
        }
    }
    if (code == T_OTHER) {
        if (!quoted && t[0] && parse_number_text(t, &x)) return num_value(num_double(x));
        return text;
    }
    if (!t[0]) return int_value(0);
    if (parse_number_text(t, &x)) return num_value(num_double(x));
    return text; /* the conversion on store reports the mismatch */
}

static VBValue fn_freefile(int argc, VBValue *args) {
    long long first = argc > 0 && whole_of(args[0], 0) == 1 ? 256 : 1;
    for (long long n = first; n < first + 255; n++)
        if (!channels[n].file) return int_value(n);
    fatal("Too many files");
}

static VBValue fn_eof(int argc, VBValue *args) {
    need_args(argc, 1, "EOF");
    FileChannel *ch = open_channel(args[0]);
    if (ch->mode == FILE_OUTPUT || ch->mode == FILE_APPEND) return bool_value(1);
    return bool_value(at_end(ch->file));
}

/* Input(n, channel): the next n characters of a file read as text. */
static VBValue fn_input(int argc, VBValue *args) {
    need_args(argc, 2, "Input");
    long long count = whole_of(args[0], 0);
    FileChannel *ch = open_channel(args[1]);
    if (ch->mode != FILE_INPUT && ch->mode != FILE_BINARY) fatal("Bad file mode");
    if (count < 0) fatal("Invalid procedure call or argument");
    Text bytes = {0};
    int c;
    for (long long k = 0; k < count; k++) {
        if ((c = fgetc(ch->file)) == EOF) fatal("Input past end of file");
        text_ch(&bytes, (char)c);
    }
    return text_from_1252(text_of_builder(&bytes), bytes.n);
}

static VBValue fn_lof(int argc, VBValue *args) {
    need_args(argc, 1, "LOF");
    FileChannel *ch = open_channel(args[0]);
    fflush(ch->file);
    struct stat st;
    return int_value(fstat(fileno(ch->file), &st) == 0 ? (long long)st.st_size : 0);
}

/* File names match Dir and Kill patterns as Like does, ignoring case;
 * "*.*" matches every name. */
static int name_matches(const char *name, const char *pattern) {
    if (!strcmp(pattern, "*") || !strcmp(pattern, "*.*")) return 1;
    char *n = copy_bytes(name, strlen(name)), *q = copy_bytes(pattern, strlen(pattern));
    for (char *c = n; *c; c++) *c = (char)tolower((unsigned char)*c);
    for (char *c = q; *c; c++) *c = (char)tolower((unsigned char)*c);
    return like_match(n, q);
}

/* The folder part ("" or ending in '/') and the leaf of a path. */
static void split_path(const char *p, char **folder, const char **leaf) {
    const char *slash = strrchr(p, '/');
    *folder = copy_bytes(p, slash ? (size_t)(slash - p + 1) : 0);
    *leaf = slash ? slash + 1 : p;
}

static int is_directory(const char *p) {
    struct stat st;
    return stat(p, &st) == 0 && S_ISDIR(st.st_mode);
}

static int by_bytes(const void *a, const void *b) { return strcmp(*(char *const *)a, *(char *const *)b); }

static VBValue fn_kill(int argc, VBValue *args) {
    need_args(argc, 1, "Kill");
    const char *given = string_of(args[0]);
    char *p = program_path(given);
    char *folder;
    const char *leaf;
    split_path(p, &folder, &leaf);
    if (strpbrk(leaf, "*?")) {
        /* every matching file of the folder */
        DIR *d = opendir(*folder ? folder : ".");
        int any = 0;
        for (struct dirent *e = d ? readdir(d) : NULL; e; e = readdir(d)) {
            size_t fl = strlen(folder), el = strlen(e->d_name);
            char *full = vb_alloc_text(fl + el + 1);
            memcpy(full, folder, fl);
            memcpy(full + fl, e->d_name, el + 1);
            if (is_directory(full) || !name_matches(e->d_name, leaf)) continue;
            remove(full);
            any = 1;
        }
        if (d) closedir(d);
        if (!any) file_fail("File not found: %s", given);
        return vb_nothing();
    }
    if (is_directory(p)) file_fail("File not found: %s", given);
    if (remove(p) != 0) {
        if (errno == ENOENT) file_fail("File not found: %s", given);
        if (errno == EACCES || errno == EPERM) file_fail("Permission denied: %s", given);
        file_fail("Path/File access error: %s", given);
    }
    return vb_nothing();
}

static VBValue fn_mkdir(int argc, VBValue *args) {
    need_args(argc, 1, "MkDir");
    const char *given = string_of(args[0]);
    char *p = program_path(given);
    struct stat st;
    if (stat(p, &st) == 0) file_fail("Path/File access error: %s", given);
    if (mkdir(p, 0777) != 0) file_fail("Path not found: %s", given);
    return vb_nothing();
}

static VBValue fn_rmdir(int argc, VBValue *args) {
    need_args(argc, 1, "RmDir");
    const char *given = string_of(args[0]);
    char *p = program_path(given);
    if (!is_directory(p)) file_fail("Path not found: %s", given);
    if (rmdir(p) != 0) file_fail("Path/File access error: %s", given);
    return vb_nothing();
}

static VBValue fn_chdir(int argc, VBValue *args) {
    need_args(argc, 1, "ChDir");
    const char *given = string_of(args[0]);
    char *p = program_path(given);
    if (!is_directory(p) || chdir(p) != 0) file_fail("Path not found: %s", given);
    return vb_nothing();
}

static VBValue fn_curdir(int argc, VBValue *args) {
    (void)argc;
    (void)args;
    char buffer[4096];
    return str_value(getcwd(buffer, sizeof buffer) ? buffer : ".");
}

static VBValue fn_filecopy(int argc, VBValue *args) {
    need_args(argc, 2, "FileCopy");
    const char *from_given = string_of(args[0]), *to_given = string_of(args[1]);
    FILE *in = fopen(program_path(from_given), "rb");
    if (!in || is_directory(program_path(from_given))) {
        if (in) fclose(in);
        file_fail("File not found: %s", from_given);
    }
    FILE *out = fopen(program_path(to_given), "wb");
    if (!out) {
        fclose(in);
        file_fail(errno == EACCES || errno == EPERM ? "Permission denied: %s" : "Path not found: %s", to_given);
    }
    char buffer[65536];
    size_t n;
    int failed = 0;
    while ((n = fread(buffer, 1, sizeof buffer, in)) > 0)
        if (fwrite(buffer, 1, n, out) != n) failed = 1;
    fclose(in);
    if (fclose(out) != 0 || failed) file_fail("Path/File access error: %s", to_given);
    return vb_nothing();
}

static VBValue fn_filelen(int argc, VBValue *args) {
    need_args(argc, 1, "FileLen");
    const char *given = string_of(args[0]);
    struct stat st;
    if (stat(program_path(given), &st) != 0) file_fail("File not found: %s", given);
    return int_value((long long)st.st_size);
}

/* GetAttr: 16 for a folder, else 32 (archive); 1 when it cannot be
 * written, 2 for a name starting with a dot. */
static VBValue fn_getattr(int argc, VBValue *args) {
    need_args(argc, 1, "GetAttr");
    const char *given = string_of(args[0]);
    char *p = program_path(given);
    struct stat st;
    if (stat(p, &st) != 0) file_fail("File not found: %s", given);
    long long attributes = S_ISDIR(st.st_mode) ? 16 : 32;
    if (access(p, W_OK) != 0) attributes |= 1;
    char *folder;
    const char *leaf;
    split_path(p, &folder, &leaf);
    if (leaf[0] == '.') attributes |= 2;
    return int_value(attributes);
}

static VBValue fn_setattr(int argc, VBValue *args) {
    need_args(argc, 2, "SetAttr");
    (void)args; /* attributes are not kept on this system */
    return vb_nothing();
}

/* The Name statement: renames a file or folder. */
static VBValue fn_name(int argc, VBValue *args) {
    need_args(argc, 2, "Name");
    const char *from = string_of(args[0]), *to = string_of(args[1]);
    char *a = program_path(from), *b = program_path(to);
    struct stat st;
    if (stat(a, &st) != 0) file_fail("File not found: %s", from);
    if (stat(b, &st) == 0) file_fail("File already exists: %s", to);
    if (rename(a, b) != 0) file_fail("Path/File access error: %s", from);
    return vb_nothing();
}

/* Dir(pattern[, attributes]) lists the matching names (folders too when
 * attributes has 16), sorted; Dir() gives the next one, "" at the end. */
static struct {
    char **names;
    size_t count, next;
} dir_list;

static VBValue fn_dir(int argc, VBValue *args) {
    if (argc > 0 && !(args[0].kind == VB_OBJECT && !args[0].object)) {
        dir_list.names = NULL;
        dir_list.count = dir_list.next = 0;
        char *p = program_path(string_of(args[0]));
        long long attributes = argc > 1 ? whole_of(args[1], 0) : 0;
        char *folder;
        const char *leaf;
        split_path(p, &folder, &leaf);
        if (!*leaf) leaf = "*";
        size_t capacity = 16;
        dir_list.names = vb_alloc(sizeof(char *) * capacity);
        if (!strpbrk(leaf, "*?")) {
            struct stat st;
            if (stat(p, &st) == 0 && (!S_ISDIR(st.st_mode) || (attributes & 16)))
                dir_list.names[dir_list.count++] = copy_bytes(leaf, strlen(leaf));
        } else {
            DIR *d = opendir(*folder ? folder : ".");
            for (struct dirent *e = d ? readdir(d) : NULL; e; e = readdir(d)) {
                if (!strcmp(e->d_name, ".") || !strcmp(e->d_name, "..")) continue;
                size_t fl = strlen(folder), el = strlen(e->d_name);
                char *full = vb_alloc_text(fl + el + 1);
                memcpy(full, folder, fl);
                memcpy(full + fl, e->d_name, el + 1);
                if (is_directory(full) && !(attributes & 16)) continue;
                if (!name_matches(e->d_name, leaf)) continue;
                if (dir_list.count + 2 >= capacity) {
                    char **bigger = vb_alloc(sizeof(char *) * capacity * 2);
                    memcpy(bigger, dir_list.names, sizeof(char *) * dir_list.count);
                    dir_list.names = bigger;
                    capacity *= 2;
                }
                dir_list.names[dir_list.count++] = copy_bytes(e->d_name, el);
            }
            if (d) closedir(d);
            qsort(dir_list.names, dir_list.count, sizeof(char *), by_bytes);
            if (attributes & 16) {
                /* "." and ".." first, as listed */
                char **with_dots = vb_alloc(sizeof(char *) * (dir_list.count + 2));
                with_dots[0] = copy_bytes(".", 1);
                with_dots[1] = copy_bytes("..", 2);
                memcpy(with_dots + 2, dir_list.names, sizeof(char *) * dir_list.count);
                dir_list.names = with_dots;
                dir_list.count += 2;
            }
        }
    }
    if (dir_list.next >= dir_list.count) return str_value("");
    return str_value(dir_list.names[dir_list.next++]);
}
