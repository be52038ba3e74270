/* MsgBox and InputBox as functions. Without a display (programs run as
 * scripts) MsgBox prints "title: text" and answers with the first button
 * (Yes for the Yes/No styles, else OK); InputBox reads one line of standard
 * input. With a display the message box is shown; InputBox, which has no
 * window of its own here, answers with its default text. */

static VBValue fn_msgbox(int argc, VBValue *args) {
    VBValue message = argc > 0 ? args[0] : str_value("");
    long long style = argc > 1 && !(args[1].kind == VB_OBJECT && !args[1].object) ? whole_of(args[1], 0) : 0;
    VBValue title = argc > 2 && !(args[2].kind == VB_OBJECT && !args[2].object) ? args[2] : str_value("Visual Basic");
    (void)vb_msgbox(message, title);
    return int_value((style & 4) ? 6 : 1);
}

static VBValue fn_inputbox(int argc, VBValue *args) {
    int given = argc > 2 && !(args[2].kind == VB_OBJECT && !args[2].object);
    if (display) return given ? str_value(string_of(args[2])) : str_value("");
    fflush(stdout);
    size_t size = 256, n = 0;
    char *line = alloc_atomic(size);
    int c;
    while ((c = getchar()) != EOF && c != '\n') {
        if (n + 1 >= size) {
            char *bigger = alloc_atomic(size * 2);
            memcpy(bigger, line, n);
            line = bigger;
            size *= 2;
        }
        line[n++] = (char)c;
    }
    if (n > 0 && line[n - 1] == '\r') n--;
    line[n] = '\0';
    return str_value(line);
}

/* Beep: the display's bell; the word on standard output, as the
 * interpreter's debug output shows it. */
void vb_beep(void) {
    vb_print(str_value("Beep"));
    if (display) XBell(display, 0);
}
