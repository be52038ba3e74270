/* Corvane native runtime: Timer controls, mouse events and the events of a
 * form being shown.
 *
 * Compiled as part of vb_native.c (included at its end). The event loop
 * waits for X events no longer than the next armed Timer allows; mouse
 * events carry VB6's arguments (Button, Shift, X, Y), which the generated
 * dispatcher fetches with vb_event_args. Positions are pixels relative to
 * the control (or to the form's client area), like every position here. */

#include <sys/select.h>

static VBValue event_args[4];
static int event_argc;

void vb_event_args(int n, VBValue *out) {
    for (int k = 0; k < n; k++) out[k] = k < event_argc ? event_args[k] : int_value(0);
}

/* What the handler left in its (ByRef) arguments, e.g. KeyAscii = 0. */
void vb_event_args_return(int n, VBValue *in) {
    for (int k = 0; k < n && k < event_argc; k++) event_args[k] = in[k];
}

static double monotonic_ms(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

/* Fires the first Timer that is due; else returns when the soonest one is
 * due (ms), -1 when no Timer is armed. */
static double run_due_timer(int *fired) {
    double now = monotonic_ms(), soonest = -1;
    *fired = 0;
    for (size_t fi = 0; fi < form_count; fi++) {
        FormState *f = &form_states[fi];
        if (!f->loaded || !f->controls) continue;
        size_t n = f->def->controls ? f->def->control_count : 0;
        for (size_t ci = 0; ci < n; ci++) {
            ControlState *c = &f->controls[ci];
            if (c->kind != K_TIMER) continue;
            if (!c->enabled || c->interval <= 0) {
                c->due = 0;
                continue;
            }
            if (c->due == 0) c->due = now + c->interval;
            if (c->due <= now) {
                c->due = now + c->interval;
                *fired = 1;
                raise_event((int)fi, (int)ci, "Timer");
                return 0;
            }
            if (soonest < 0 || c->due < soonest) soonest = c->due;
        }
    }
    return soonest < 0 ? -1 : soonest - now;
}

/* The next X event (1), or 0 when a Timer ran or its time came first. */
static int next_event(XEvent *event) {
    if (XPending(display)) {
        XNextEvent(display, event);
        return 1;
    }
    int fired;
    double wait = run_due_timer(&fired);
    if (fired) return 0;
    if (wait < 0) {
        XNextEvent(display, event);
        return 1;
    }
    XFlush(display);
    int fd = ConnectionNumber(display);
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(fd, &readable);
    struct timeval tv = {(time_t)(wait / 1000), (suseconds_t)((long)wait % 1000 * 1000)};
    select(fd + 1, &readable, NULL, NULL, &tv);
    return 0;
}

/* VB6's Button and Shift values from X11's. */
static int vb_buttons(unsigned button, unsigned state) {
    if (button == Button1) return 1;
    if (button == Button3) return 2;
    if (button == Button2) return 4;
    return ((state & Button1Mask) ? 1 : 0) | ((state & Button3Mask) ? 2 : 0) | ((state & Button2Mask) ? 4 : 0);
}

static int vb_shift(unsigned state) {
    return ((state & ShiftMask) ? 1 : 0) | ((state & ControlMask) ? 2 : 0) | ((state & Mod1Mask) ? 4 : 0);
}

/* MouseDown, MouseUp or MouseMove for the control under the pointer, else
 * for the form; not while a menu is open or over the menu bar. */
static void mouse_event(int form, const char *event, unsigned button, unsigned state, int x, int y) {
    FormState *f = &form_states[form];
    if (!f->loaded) return;
    if (has_menus(f)) {
        if (y < MENU_BAR || f->active_menu >= 0) return;
        y -= MENU_BAR;
    }
    int target = control_at(f, x, y);
    if (target >= 0) {
        x -= f->controls[target].x;
        y -= f->controls[target].y;
    }
    event_args[0] = int_value(vb_buttons(button, state));
    event_args[1] = int_value(vb_shift(state));
    double ux, uy; /* X and Y in the surface's units */
    surface_units(form, target, x, y, &ux, &uy);
    event_args[2] = dbl_value(ux);
    event_args[3] = dbl_value(uy);
    event_argc = 4;
    raise_event(form, target, event);
    event_argc = 0;
}

/* A form that becomes visible gets its size, is activated and paints
 * (what it draws stays, so Paint runs again only for a new size). */
static void shown(int form) {
    if (form_states[form].loaded) raise_event(form, -1, "Resize");
    if (running && form_states[form].loaded) raise_event(form, -1, "Activate");
    if (running && form_states[form].loaded && form_states[form].focus < 0) focus_first(form);
    if (running && form_states[form].loaded) raise_event(form, -1, "Paint");
}

/* A second click on the same target within half a second is a DblClick. */
static void double_click(int form, int control) {
    static double last;
    static int last_form = -1, last_control = -2;
    double now = monotonic_ms();
    if (form == last_form && control == last_control && now - last < 500) {
        last_form = -1;
        raise_event(form, control, "DblClick");
        return;
    }
    last = now;
    last_form = form;
    last_control = control;
}

/* KeyPress with KeyAscii; returns the KeyAscii the handler left. */
static int key_ascii(int form, int control, int ascii) {
    event_args[0] = int_value(ascii);
    event_argc = 1;
    raise_event(form, control, "KeyPress");
    long long result = whole_of(event_args[0], 0);
    event_argc = 0;
    return result < 0 || result > 0x10FFFF ? 0 : (int)result;
}

/* DoEvents: what the program drew so far reaches the screen. (Events are
 * dispatched when the running procedure returns to the event loop.) */
void vb_do_events(void) {
    fflush(stdout);
    if (display) XFlush(display);
}

/* VB's key code of an X key (vbKeyA is 65, vbKeyF1 112, ...); 0 for a key
 * VB has no code for. */
static int vb_key_code(KeySym key) {
    static const struct {
        KeySym key;
        int code;
    } CODES[] = {
        {XK_BackSpace, 8}, {XK_Tab, 9},       {XK_ISO_Left_Tab, 9}, {XK_Return, 13},    {XK_KP_Enter, 13},
        {XK_Shift_L, 16},  {XK_Shift_R, 16},  {XK_Control_L, 17},   {XK_Control_R, 17}, {XK_Alt_L, 18},
        {XK_Alt_R, 18},    {XK_Pause, 19},    {XK_Caps_Lock, 20},   {XK_Escape, 27},    {XK_space, 32},
        {XK_Prior, 33},    {XK_Next, 34},     {XK_End, 35},         {XK_Home, 36},      {XK_Left, 37},
        {XK_Up, 38},       {XK_Right, 39},    {XK_Down, 40},        {XK_Insert, 45},    {XK_Delete, 46},
    };
    if (key >= XK_a && key <= XK_z) return (int)(key - XK_a) + 'A';
    if ((key >= XK_A && key <= XK_Z) || (key >= XK_0 && key <= XK_9)) return (int)key;
    if (key >= XK_F1 && key <= XK_F16) return 112 + (int)(key - XK_F1);
    if (key >= XK_KP_0 && key <= XK_KP_9) return 96 + (int)(key - XK_KP_0);
    for (size_t k = 0; k < sizeof CODES / sizeof CODES[0]; k++)
        if (CODES[k].key == key) return CODES[k].code;
    return 0;
}

/* KeyDown or KeyUp with KeyCode and Shift (1 Shift, 2 Ctrl, 4 Alt): to the
 * focused text box, or the form when none has the focus; with KeyPreview
 * the form first, and a KeyCode it sets to 0 goes no further. */
static void key_event(int form, XKeyEvent *event, const char *name) {
    FormState *f = &form_states[form];
    KeySym key = XLookupKeysym(event, 0);
    int shift = ((event->state & ShiftMask) ? 1 : 0) | ((event->state & ControlMask) ? 2 : 0) |
                ((event->state & Mod1Mask) ? 4 : 0);
    int control = f->controls && f->focus >= 0 ? f->focus : -1;
    event_args[0] = int_value(vb_key_code(key));
    event_args[1] = int_value(shift);
    event_argc = 2;
    if (control >= 0 && f->def->key_preview) raise_event(form, -1, name);
    long long code = whole_of(event_args[0], 0);
    if (running && f->loaded && (code != 0 || control < 0 || !f->def->key_preview)) raise_event(form, control, name);
    event_argc = 0;
}

/* The focus moves to control `to` (-1: none): LostFocus of the control
 * that had it, then GotFocus of the new one (unless the first handler
 * moved the focus elsewhere or unloaded the form). */
static void move_focus(int form, int to) {
    FormState *f = &form_states[form];
    const int from = f->focus;
    if (from == to) return;
    f->focus = to;
    if (from >= 0 && running && f->loaded) raise_event(form, from, "LostFocus");
    if (to >= 0 && running && f->loaded && f->focus == to) raise_event(form, to, "GotFocus");
}

/* A form shown gives the focus to its first control in tab order that can
 * take it, when that is a text box (the only control that shows focus). */
static void focus_first(int form) {
    FormState *f = &form_states[form];
    const int n = f->controls ? (int)f->def->control_count : 0;
    int first = -1;
    for (int i = 0; i < n; i++) {
        const ControlState *c = &f->controls[i];
        if (!takes_focus(c->kind) || !c->visible || !c->enabled) continue;
        if (first < 0 || f->controls[i].def->tab_index < f->controls[first].def->tab_index) first = i;
    }
    if (first >= 0 && f->controls[first].kind == K_TEXTBOX) move_focus(form, first);
}

/* Kinds of control that take the focus when clicked in VB. */
static int takes_focus(int kind) {
    switch (kind) {
    case K_TEXTBOX: case K_COMMANDBUTTON: case K_CHECKBOX: case K_OPTIONBUTTON: case K_LISTBOX: case K_COMBOBOX:
    case K_HSCROLLBAR: case K_VSCROLLBAR: case K_SLIDER: case K_RICHTEXTBOX: case K_DATAGRID: case K_MSFLEXGRID:
    case K_TREEVIEW: case K_LISTVIEW:
        return 1;
    default: return 0;
    }
}

/* KeyPress of a form without a focused control. */
static void form_key_press(int form, XKeyEvent *event) {
    char bytes[8];
    KeySym key = NoSymbol;
    int n = XLookupString(event, bytes, 7, &key, NULL);
    int ascii = key == XK_BackSpace ? 8 : key == XK_Return || key == XK_KP_Enter ? 13
                : n == 1 && (unsigned char)bytes[0] < 128 ? (unsigned char)bytes[0] : -1;
    if (ascii >= 0) (void)key_ascii(form, -1, ascii);
}
