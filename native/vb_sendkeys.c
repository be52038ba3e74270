/* Corvane native runtime: SendKeys keys[, wait], and Tab moving the focus.
 *
 * Compiled as part of vb_native.c (which includes this file at its end).
 * As interpreted: the keys go to the program's active form (the one whose
 * event is running, else the first one shown) as key presses queued behind
 * the events already waiting, so a handler that sends "{TAB}" has its key
 * handled once it returns. A string that is no valid SendKeys string fails
 * with "Invalid procedure call or argument: SendKeys" (5). With no form
 * shown the keys go nowhere. */

#include <X11/XKBlib.h>

#include "vb_sendkeys_scan.h"

static int sendkeys_form(void) {
    if (current_form >= 0 && form_states[current_form].loaded && form_states[current_form].visible)
        return current_form;
    for (size_t i = 0; i < form_count; i++)
        if (form_states[i].loaded && form_states[i].visible) return (int)i;
    return -1;
}

/* Queues the press and release of one key on the form's window. */
static void send_key(int form, const VBSendKey *key) {
    KeySym sym = key->name ? XStringToKeysym(key->name) : key->code < 0x100 ? key->code : 0x01000000u | key->code;
    KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(display, sym);
    if (!code) return; /* no key of this keyboard makes it */
    unsigned state = (key->modifiers & VB_KEY_SHIFT ? ShiftMask : 0) |
                     (key->modifiers & VB_KEY_CTRL ? ControlMask : 0) | (key->modifiers & VB_KEY_ALT ? Mod1Mask : 0);
    if (XkbKeycodeToKeysym(display, code, 0, 0) != sym && XkbKeycodeToKeysym(display, code, 0, 1) == sym)
        state |= ShiftMask; /* "A", "!": the shifted level of their key */
    XEvent event;
    memset(&event, 0, sizeof event);
    event.xkey.type = KeyPress;
    event.xkey.display = display;
    event.xkey.window = form_states[form].window;
    event.xkey.root = RootWindow(display, screen);
    event.xkey.time = CurrentTime;
    event.xkey.state = state;
    event.xkey.keycode = code;
    event.xkey.same_screen = True;
    XSendEvent(display, event.xkey.window, False, KeyPressMask, &event);
    event.xkey.type = KeyRelease;
    XSendEvent(display, event.xkey.window, False, KeyReleaseMask, &event);
}

static VBValue fn_sendkeys(int argc, VBValue *args) {
    if (argc < 1 || argc > 2) fatal("Wrong number of arguments: SendKeys");
    const char *text = string_of(args[0]);
    long count = vb_sendkeys_scan(text, NULL, 0);
    if (count < 0) fatal("Invalid procedure call or argument: SendKeys");
    int form = display ? sendkeys_form() : -1;
    if (form < 0 || count == 0) return int_value(0);
    VBSendKey *keys = vb_alloc(sizeof *keys * (size_t)count);
    vb_sendkeys_scan(text, keys, count);
    for (long k = 0; k < count; k++) send_key(form, &keys[k]);
    XFlush(display);
    return int_value(0);
}

/* Whether control a comes before control b in tab order: by TabIndex,
 * then (a control array's members share one) by their place. */
static int tab_before(const FormState *f, int a, int b) {
    const int ta = f->controls[a].def->tab_index, tb = f->controls[b].def->tab_index;
    return ta != tb ? ta < tb : a < b;
}

/* Tab and Shift+Tab: the focus moves to the next (previous) text box in
 * tab order that is shown and enabled, round the end. */
static int focus_key(int form, XKeyEvent *event) {
    KeySym key = XLookupKeysym(event, 0);
    if (key != XK_Tab && key != XK_ISO_Left_Tab) return 0;
    FormState *f = &form_states[form];
    const int n = f->controls ? (int)f->def->control_count : 0;
    const int forward = !(key == XK_ISO_Left_Tab || (event->state & ShiftMask));
    const int from = f->focus;
    int next = -1, wrap = -1; /* the nearest after `from`, and the first of all (round the end) */
    for (int i = 0; i < n; i++) {
        const ControlState *c = &f->controls[i];
        if (i == from || c->kind != K_TEXTBOX || !c->visible || !c->enabled) continue;
        const int after = from < 0 || (forward ? tab_before(f, from, i) : tab_before(f, i, from));
        if (after && (next < 0 || (forward ? tab_before(f, i, next) : tab_before(f, next, i)))) next = i;
        if (wrap < 0 || (forward ? tab_before(f, i, wrap) : tab_before(f, wrap, i))) wrap = i;
    }
    if (next < 0) next = wrap;
    if (next < 0) return 0;
    move_focus(form, next);
    if (f->loaded) redraw(form);
    return 1;
}
