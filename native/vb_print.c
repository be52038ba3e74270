/* Corvane native runtime: print lists (Debug.Print a; b, c).
 *
 * Compiled as part of vb_native.c (included at its end). Items join
 * without a gap after ";", a "," moves to the next print zone of 14
 * columns, Spc(n) and Tab(n) place the text, and a list ending in a
 * separator leaves its line open for the next Debug.Print. Columns count
 * code points. */

#define PRINT_ZONE 14

static Text print_line;

static size_t print_column(void) { return char_count(text_of_builder(&print_line), print_line.n); }

static void print_pending(void) {
    if (print_line.n) fwrite(print_line.p, 1, print_line.n, stdout);
    print_line.n = 0;
}

void vb_print_item(VBValue value) {
    char buf[64];
    size_t n;
    const char *t = text_of(value, buf, &n);
    text_add(&print_line, t, n);
}

void vb_print_zone(void) {
    size_t column = print_column();
    for (size_t k = column % PRINT_ZONE; k < PRINT_ZONE; k++) text_ch(&print_line, ' ');
}

void vb_print_spc(VBValue count) {
    long long n = whole_of(count, 0);
    if (n > (1 << 20)) n = 1 << 20;
    for (long long k = 0; k < n; k++) text_ch(&print_line, ' ');
}

void vb_print_tab(VBValue column) {
    long long n = whole_of(column, 1);
    if (n < 1) n = 1;
    if (n > (1 << 20)) n = 1 << 20;
    size_t target = (size_t)n - 1, here = print_column();
    for (; here < target; here++) text_ch(&print_line, ' ');
}

/* The end of a list: the line goes out unless a separator ended the list. */
void vb_print_end(int newline) {
    if (!newline) return;
    print_pending();
    fputc('\n', stdout);
    fflush(stdout);
}
