/* Corvane native runtime: list boxes as the user sees them, and the
 * indexed members that code assigns (lstX.ItemData(i) = n, .List(i) = s,
 * .Selected(i) = True).
 *
 * Compiled as part of vb_native.c (which includes this file at its end).
 * A list box shows its items one to a row from its first shown item; the
 * chosen one is drawn white on a black bar; a press on a row chooses it. */

enum { LIST_PITCH = 16, LIST_MARGIN = 2 };

static int list_rows(const ControlState *c) {
    int rows = (c->h - 2 * LIST_MARGIN) / LIST_PITCH;
    return rows > 0 ? rows : 1;
}

/* The first item shown: the chosen item stays in view. */
static int list_first_shown(const ControlState *c) {
    int rows = list_rows(c), top = c->top_index;
    if (c->list_index >= 0 && c->list_index < top) top = c->list_index;
    if (c->list_index >= top + rows) top = c->list_index - rows + 1;
    if (top > c->item_count - 1) top = c->item_count - 1;
    return top > 0 ? top : 0;
}

static void draw_list_items(Window w, const ControlState *c, int x, int y, int cw, int ch) {
    (void)ch;
    int rows = list_rows(c), first = list_first_shown(c);
    for (int r = 0; r < rows && first + r < c->item_count; r++) {
        int k = first + r;
        int top = y + LIST_MARGIN + r * LIST_PITCH;
        if (k == c->list_index) {
            draw_rect(w, x + 1, top, cw - 2, LIST_PITCH, 1);
            XSetForeground(display, graphics, WhitePixel(display, screen));
        }
        draw_text(w, x + 4, top + LIST_PITCH - 4, c->items[k]);
        if (k == c->list_index) XSetForeground(display, graphics, BlackPixel(display, screen));
    }
}

/* A press dy pixels below the box's top: 1 when it chose an item. */
static int list_click(ControlState *c, int dy) {
    int row = (dy - LIST_MARGIN) / LIST_PITCH;
    int first = list_first_shown(c), k = first + row;
    if (dy < LIST_MARGIN || row >= list_rows(c) || k >= c->item_count) return 0;
    c->top_index = first;
    c->list_index = k;
    return 1;
}

/* ctl.Member(index) = value for the members that take an index. */
static void list_member_let(int fi, int ci, const char *owner, const char *member, int argc, VBValue *args,
                            VBValue value) {
    ControlState *c = control_state(fi, ci);
    if (!is_list_kind(c->kind) || argc != 1) unsupported("Unknown native property: ", owner, member);
    long long k = list_position(c, args[0], 0);
    if (!strcasecmp(member, "ItemData")) {
        Num n = number_of(value);
        c->item_data[k] = n.is_int ? n.i : (long long)trunc(n.d);
    } else if (!strcasecmp(member, "List")) {
        c->items[k] = copy_text(string_of(value));
    } else if (!strcasecmp(member, "Selected")) {
        if (truth_of(value)) c->list_index = (int)k;
        else if (c->list_index == k) c->list_index = -1;
    } else {
        unsupported("Unknown native property: ", owner, member);
    }
    if (form_states[fi].visible) redraw(fi);
}

void vb_control_let(const char *owner, const char *member, int argc, VBValue *args, VBValue value) {
    owner = resolve_owner(owner);
    int fi = -1;
    int ci = resolve_control(owner, &fi);
    if (ci < 0) unsupported("Unknown native control: ", owner, member);
    list_member_let(fi, ci, owner, member, argc, args, value);
}

void vb_control_let_at(const char *name, VBValue index, const char *member, int argc, VBValue *args,
                       VBValue value) {
    int fi = -1;
    int ci = member_of(name, index, &fi);
    list_member_let(fi, ci, name, member, argc, args, value);
}
