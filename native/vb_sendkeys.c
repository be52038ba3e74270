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

/* Tab and Shift+Tab: the focus moves to the next (previous) text box that
 * is shown and enabled, in the form's control order, round the end. */
static int focus_key(int form, XKeyEvent *event) {
    KeySym key = XLookupKeysym(event, 0);
    if (key != XK_Tab && key != XK_ISO_Left_Tab) return 0;
    FormState *f = &form_states[form];
    const int n = f->controls ? (int)f->def->control_count : 0;
    const int step = (key == XK_ISO_Left_Tab || (event->state & ShiftMask)) ? -1 : 1;
    int at = f->focus >= 0 ? f->focus : step > 0 ? -1 : n;
    for (int k = 0; k < n; k++) {
        at = (at + step + n) % n;
        const ControlState *c = &f->controls[at];
        if (c->kind == K_TEXTBOX && c->visible && c->enabled) {
            move_focus(form, at);
            if (f->loaded) redraw(form);
            return 1;
        }
    }
    return 0;
}
