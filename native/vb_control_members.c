/* Members of forms and controls beyond what the window draws: the items of
 * list and combo boxes (AddItem, RemoveItem, Clear, List, ListCount,
 * ListIndex), a text box's selection (SelStart, SelLength, SelText), the
 * methods that change nothing here (Move, Refresh, ZOrder, Cls), and every
 * other property, which keeps the value last written to it (Tag, colours,
 * fonts, ...) so that programs read back what they set. */

typedef struct StoredProperty {
    int form, control; /* control -1: the form's own */
    char *name;
    VBValue value;
    struct StoredProperty *next;
} StoredProperty;

static StoredProperty *stored_properties;

static StoredProperty *stored_property(int form, int control, const char *name, int create) {
    for (StoredProperty *p = stored_properties; p; p = p->next)
        if (p->form == form && p->control == control && !strcasecmp(p->name, name)) return p;
    if (!create) return NULL;
    StoredProperty *p = vb_alloc(sizeof *p);
    p->form = form;
    p->control = control;
    p->name = copy_text(name);
    p->value = int_value(0);
    p->next = stored_properties;
    stored_properties = p;
    return p;
}

/* Properties read before any write: what a new control holds. */
static VBValue initial_property(const char *name) {
    static const char *const texts[] = {"Tag", "ToolTipText", "DataField", "DataMember", "HelpContextID"};
    for (size_t k = 0; k < sizeof texts / sizeof texts[0]; k++)
        if (!strcasecmp(name, texts[k])) return str_value("");
    return int_value(0);
}

static VBValue stored_get(int form, int control, const char *name) {
    const StoredProperty *p = stored_property(form, control, name, 0);
    return p ? p->value : initial_property(name);
}

static void stored_set(int form, int control, const char *name, VBValue value) {
    stored_property(form, control, name, 1)->value = value;
}

static int is_list_kind(int kind) { return kind == K_LISTBOX || kind == K_COMBOBOX; }

static long long list_position(const ControlState *c, VBValue index, int allow_end) {
    long long k = whole_of(index, -1);
    if (k < 0 || k > c->item_count || (k == c->item_count && !allow_end)) vb_fail("Invalid procedure call or argument");
    return k;
}

static void list_insert(ControlState *c, long long at, const char *text) {
    if (c->item_count == c->item_capacity) {
        int capacity = c->item_capacity ? c->item_capacity * 2 : 8;
        char **items = vb_alloc(sizeof *items * (size_t)capacity);
        long long *data = vb_alloc(sizeof *data * (size_t)capacity);
        for (int k = 0; k < c->item_count; k++) {
            items[k] = c->items[k];
            data[k] = c->item_data ? c->item_data[k] : 0;
        }
        c->items = items;
        c->item_data = data;
        c->item_capacity = capacity;
    }
    for (long long k = c->item_count; k > at; k--) {
        c->items[k] = c->items[k - 1];
        c->item_data[k] = c->item_data[k - 1];
    }
    c->items[at] = copy_text(text);
    c->item_data[at] = 0;
    c->item_count++;
    c->new_index = (int)at;
    if (c->list_index >= at && c->list_index >= 0) c->list_index++;
}

static void list_remove(ControlState *c, long long at) {
    for (long long k = at; k + 1 < c->item_count; k++) {
        c->items[k] = c->items[k + 1];
        c->item_data[k] = c->item_data[k + 1];
    }
    c->item_count--;
    c->new_index = -1;
    if (c->list_index == at) c->list_index = -1;
    else if (c->list_index > at) c->list_index--;
}

/* The selection within the text, clipped to it (in bytes of its text). */
static void selection(const ControlState *c, long long *start, long long *length) {
    long long n = (long long)strlen(c->text);
    *start = c->sel_start < 0 ? 0 : c->sel_start > n ? n : c->sel_start;
    *length = c->sel_length < 0 ? 0 : c->sel_length > n - *start ? n - *start : c->sel_length;
}

/* Reads a member that the drawn state does not hold; 1 when answered. */
static int control_member_get(int fi, int ci, const char *field, VBValue *out) {
    ControlState *c = control_state(fi, ci);
    if (is_list_kind(c->kind)) {
        if (!strcasecmp(field, "ListCount")) return *out = int_value(c->item_count), 1;
        if (!strcasecmp(field, "ListIndex")) return *out = int_value(c->list_index), 1;
        if (!strcasecmp(field, "NewIndex")) return *out = int_value(c->new_index), 1;
        if (!strcasecmp(field, "TopIndex")) return *out = int_value(c->top_index), 1;
        if (!strcasecmp(field, "Text") && c->kind == K_LISTBOX)
            return *out = str_value(c->list_index >= 0 ? c->items[c->list_index] : ""), 1;
    }
    if (c->kind == K_TEXTBOX || c->kind == K_RICHTEXTBOX || c->kind == K_COMBOBOX) {
        long long start, length;
        selection(c, &start, &length);
        if (!strcasecmp(field, "SelStart")) return *out = int_value(start), 1;
        if (!strcasecmp(field, "SelLength")) return *out = int_value(length), 1;
        if (!strcasecmp(field, "SelText")) {
            char *part = alloc_atomic((size_t)length + 1);
            memcpy(part, c->text + start, (size_t)length);
            part[length] = '\0';
            return *out = str_value(part), 1;
        }
    }
    if (scale_property(fi, ci, field, out)) return 1;
    /* a picture box draws in pixels over its whole area */
    if (!strcasecmp(field, "ScaleWidth")) return *out = int_value(c->w), 1;
    if (!strcasecmp(field, "ScaleHeight")) return *out = int_value(c->h), 1;
    *out = stored_get(fi, ci, field);
    return 1;
}

static int control_member_set(int fi, int ci, const char *field, VBValue value) {
    ControlState *c = control_state(fi, ci);
    if (is_list_kind(c->kind) && !strcasecmp(field, "ListIndex")) {
        long long k = whole_of(value, -2);
        if (k < -1 || k >= c->item_count) vb_fail("Invalid property value");
        c->list_index = (int)k;
        if (c->kind == K_COMBOBOX) c->text = copy_text(k >= 0 ? c->items[k] : "");
        raise_event(fi, ci, "Click");
        return 1;
    }
    if (c->kind == K_TEXTBOX || c->kind == K_RICHTEXTBOX || c->kind == K_COMBOBOX) {
        if (!strcasecmp(field, "SelStart")) {
            long long k = whole_of(value, -1);
            if (k < 0) vb_fail("Invalid property value");
            c->sel_start = k;
            c->sel_length = 0;
            return 1;
        }
        if (!strcasecmp(field, "SelLength")) {
            long long k = whole_of(value, -1);
            if (k < 0) vb_fail("Invalid property value");
            c->sel_length = k;
            return 1;
        }
        if (!strcasecmp(field, "SelText")) {
            /* The selection is replaced; the caret stands after the new text. */
            long long start, length;
            selection(c, &start, &length);
            const char *add = string_of(value);
            size_t n = strlen(c->text), a = strlen(add);
            char *text = alloc_atomic(n - (size_t)length + a + 1);
            memcpy(text, c->text, (size_t)start);
            memcpy(text + start, add, a);
            memcpy(text + start + a, c->text + start + length, n - (size_t)(start + length) + 1);
            c->text = text;
            c->sel_start = start + (long long)a;
            c->sel_length = 0;
            raise_event(fi, ci, "Change");
            if (form_states[fi].visible) redraw(fi);
            return 1;
        }
    }
    stored_set(fi, ci, field, value);
    return 1;
}

/* Methods that change nothing this runtime shows. */
static int inert_method(const char *method) {
    static const char *const names[] = {"Refresh", "ZOrder", "Cls", "PopupMenu", "SetFocus"};
    for (size_t k = 0; k < sizeof names / sizeof names[0]; k++)
        if (!strcasecmp(method, names[k])) return 1;
    return 0;
}

static void move_control(int fi, int ci, const char *owner, int argc, VBValue *args); /* vb_control_objects.c */

/* A form's Move: its Left, Top, Width and Height as given (a left-out one
 * stays). */
static void move_form(const char *owner, int argc, VBValue *args) {
    static const char *const fields[] = {"Left", "Top", "Width", "Height"};
    if (argc < 1 || argc > 4) vb_fail("Argument not optional");
    for (int k = 0; k < argc; k++)
        if (!(args[k].kind == VB_OBJECT && !args[k].object)) vb_set(owner, fields[k], args[k]);
}

static VBValue control_call(int fi, int ci, const char *owner, const char *method, int argc, VBValue *args) {
    if (!strcasecmp(method, "Move")) {
        move_control(fi, ci, owner, argc, args);
        return int_value(0);
    }
    if (!strcasecmp(method, "SetFocus")) {
        focus_control(fi, ci);
        return int_value(0);
    }
    ControlState *c = control_state(fi, ci);
    if (is_list_kind(c->kind)) {
        if (!strcasecmp(method, "AddItem") && (argc == 1 || argc == 2)) {
            long long at = argc == 2 && !(args[1].kind == VB_OBJECT && !args[1].object) ? list_position(c, args[1], 1) : c->item_count;
            list_insert(c, at, string_of(args[0]));
            if (form_states[fi].visible) redraw(fi);
            return int_value(0);
        }
        if (!strcasecmp(method, "RemoveItem") && argc == 1) {
            list_remove(c, list_position(c, args[0], 0));
            if (form_states[fi].visible) redraw(fi);
            return int_value(0);
        }
        if (!strcasecmp(method, "Clear") && argc == 0) {
            c->item_count = 0;
            c->list_index = -1;
            c->new_index = -1;
            c->top_index = 0;
            if (form_states[fi].visible) redraw(fi);
            return int_value(0);
        }
        if (!strcasecmp(method, "List") && argc == 1) {
            long long k = whole_of(args[0], -1);
            return str_value(k >= 0 && k < c->item_count ? c->items[k] : "");
        }
        if (!strcasecmp(method, "ItemData") && argc == 1)
            return int_value(c->item_data[list_position(c, args[0], 0)]);
        if (!strcasecmp(method, "Selected") && argc == 1)
            return bool_value(list_position(c, args[0], 0) == c->list_index);
    }
    if (inert_method(method)) return int_value(0);
    unsupported("Unknown native method: ", owner, method);
}

VBValue vb_control_call(const char *owner, const char *method, int argc, VBValue *args) {
    owner = resolve_owner(owner);
    int fi = find_form(owner);
    if (fi >= 0) {
        if (!strcasecmp(method, "Move")) {
            move_form(owner, argc, args);
            return int_value(0);
        }
        if (inert_method(method)) return int_value(0);
        unsupported("Unknown native method: ", owner, method);
    }
    int ci = resolve_control(owner, &fi);
    if (ci < 0) unsupported("Unknown native control: ", owner, method);
    return control_call(fi, ci, owner, method, argc, args);
}

VBValue vb_control_call_at(const char *name, VBValue index, const char *method, int argc, VBValue *args) {
    int fi = -1;
    int ci = member_of(name, index, &fi);
    return control_call(fi, ci, name, method, argc, args);
}

/* The Screen object: its size in twips (15 to a pixel, as the forms
 * runtime counts them); other properties keep what the program set. */
static VBValue screen_get(const char *field) {
    int twips = !strcasecmp(field, "TwipsPerPixelX") || !strcasecmp(field, "TwipsPerPixelY");
    if (twips) return int_value(15);
    int width = !strcasecmp(field, "Width");
    if (width || !strcasecmp(field, "Height")) {
        if (!display) open_display();
        long long pixels = width ? DisplayWidth(display, screen) : DisplayHeight(display, screen);
        return int_value(pixels * 15);
    }
    return stored_get(-2, -1, field);
}
