/* Captions with access keys: "&" before a character makes it the access
 * key (drawn underlined; Alt with it presses the control), "&&" shows one
 * "&". Enter presses a form's Default button, Escape its Cancel button.
 * Part of vb_native.c (included there); shares its internals. */

/* The caption as it shows, into out (size bytes with the end); the byte
 * position of the access key in out, -1 when it has none. */
static int shown_caption(const char *caption, char *out, size_t size) {
    size_t n = 0;
    int key = -1;
    for (const char *p = caption ? caption : ""; *p && n + 1 < size; p++) {
        if (*p == '&' && p[1]) {
            p++;
            if (*p != '&' && *p != ' ' && key < 0) key = (int)n;
        }
        out[n++] = *p;
    }
    out[n] = '\0';
    return key;
}

/* The access key of a caption in lower case; 0 when it has none. */
static int caption_key(const char *caption) {
    char shown[1024];
    int at = shown_caption(caption, shown, sizeof shown);
    return at < 0 ? 0 : tolower((unsigned char)shown[at]);
}

static void draw_caption(Window w, int x, int y, const char *caption) {
    char shown[4096];
    int at = shown_caption(caption, shown, sizeof shown);
    draw_text(w, x, y, shown);
    if (at < 0) return;
    int left = x + (font ? XTextWidth(font, shown, at) : at * font_width());
    int width = font ? XTextWidth(font, shown + at, 1) : font_width();
    XDrawLine(display, w, graphics, left, y + 2, left + width - 1, y + 2);
}

/* Presses a control as a click in its middle does. */
static void press_control(int index, int control) {
    FormState *f = &form_states[index];
    const ControlState *c = &f->controls[control];
    mouse_press(index, c->x + c->w / 2, c->y + c->h / 2 + (has_menus(f) ? MENU_BAR : 0));
}

/* Alt with an access key, Enter or Escape on a form: 1 when a control took
 * the key. Alt with a label's or frame's key gives the focus to the text
 * box after it. */
static int form_shortcut(int index, XKeyEvent *event) {
    FormState *f = &form_states[index];
    size_t n = f->def->controls && f->controls ? f->def->control_count : 0;
    char bytes[8];
    KeySym key = NoSymbol;
    int length = XLookupString(event, bytes, 7, &key, NULL);
    int alt = (event->state & Mod1Mask) != 0;
    int enter = key == XK_Return || key == XK_KP_Enter, escape = key == XK_Escape;
    int wanted = alt && length == 1 ? tolower((unsigned char)bytes[0]) : 0;
    if (!wanted && !((enter || escape) && !alt)) return 0;
    for (size_t i = 0; i < n; i++) {
        const ControlState *c = &f->controls[i];
        if (!c->visible || !c->enabled) continue;
        if (!wanted) {
            if (c->kind == K_COMMANDBUTTON && (enter ? c->def->default_button : c->def->cancel_button)) {
                press_control(index, (int)i);
                return 1;
            }
            continue;
        }
        if (caption_key(c->caption) != wanted) continue;
        if (c->kind == K_COMMANDBUTTON || c->kind == K_CHECKBOX || c->kind == K_OPTIONBUTTON) {
            press_control(index, (int)i);
            return 1;
        }
        if (c->kind == K_LABEL || c->kind == K_FRAME) {
            for (size_t j = i + 1; j < n; j++)
                if (f->controls[j].kind == K_TEXTBOX && f->controls[j].visible && f->controls[j].enabled) {
                    move_focus(index, (int)j);
                    if (f->loaded) redraw(index);
                    return 1;
                }
        }
    }
    return 0;
}
