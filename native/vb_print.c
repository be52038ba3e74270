/* Corvane native runtime: print lists (Debug.Print a; b, c).
 *
 * Compiled as part of vb_native.c (included at its end). Items join
 * without a gap after ";", a "," moves to the next print zone of 14
 * columns, Spc(n) and Tab(n) place the text, and a list ending in a
 * separator leaves its line open for the next Debug.Print. Columns count
 * code points. */

#define PRINT_ZONE 14

static Text print_line;

/* Print # sends the list to a file channel instead (vb_files.c). */
typedef struct FileChannel FileChannel;
static FileChannel *print_to;
static Text file_line;
static size_t channel_column(void);
static void file_print_end(int newline);

/* Print on a form or picture box collects its line here instead
 * (vb_graphics.c draws it). */
static int print_on_surface;
static Text surface_line;
static void surface_print_end(int newline);

static Text *print_text(void) { return print_on_surface ? &surface_line : print_to ? &file_line : &print_line; }

static size_t print_column(void) {
    Text *t = print_text();
    return (print_to && !print_on_surface ? channel_column() : 0) + char_count(text_of_builder(t), t->n);
}

static void print_pending(void) {
    if (print_line.n) fwrite(print_line.p, 1, print_line.n, stdout);
    print_line.n = 0;
}

/* A line left open by a separator, or by a failure in the middle of a
 * list, still goes out (ended) when the program stops. */
static void print_close_open_line(void) {
    if (!print_line.n) return;
    print_pending();
    fputc('\n', stdout);
    fflush(stdout);
}

void vb_print_item(VBValue value) {
    char buf[64];
    size_t n;
    const char *t = text_of(value, buf, &n);
    text_add(print_text(), t, n);
}

void vb_print_zone(void) {
    size_t column = print_column();
    for (size_t k = column % PRINT_ZONE; k < PRINT_ZONE; k++) text_ch(print_text(), ' ');
}

void vb_print_spc(VBValue count) {
    long long n = whole_of(count, 0);
    if (n > (1 << 20)) n = 1 << 20;
    for (long long k = 0; k < n; k++) text_ch(print_text(), ' ');
}

void vb_print_tab(VBValue column) {
    long long n = whole_of(column, 1);
    if (n < 1) n = 1;
    if (n > (1 << 20)) n = 1 << 20;
    size_t target = (size_t)n - 1, here = print_column();
    for (; here < target; here++) text_ch(print_text(), ' ');
}

/* The end of a list: the line goes out unless a separator ended the list. */
void vb_print_end(int newline) {
    if (print_on_surface) {
        surface_print_end(newline);
        return;
    }
    if (print_to) {
        file_print_end(newline);
        return;
    }
    if (!newline) {
        static int closes_at_exit;
        if (!closes_at_exit) closes_at_exit = !atexit(print_close_open_line);
        return;
    }
    print_pending();
    fputc('\n', stdout);
    fflush(stdout);
}
