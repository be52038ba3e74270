/* Control arrays: members share one name and differ in their index, which
 * need not start at 0 or be contiguous. The array itself answers Count,
 * LBound and UBound; a member is found by name and index, on the running
 * form first, then on the other forms. Also SetFocus. */

static int is_array_named(const VBControlDef *d, const char *name) {
    return d->name && d->array_member && !strcasecmp(d->name, name);
}

/* Position of the member `index` of array `name` (form in *form), or -1;
 * *seen tells whether any member of that name exists. */
static int find_member(const char *name, long long index, int *form, int *seen) {
    *seen = 0;
    for (int pass = 0; pass < 2; pass++) {
        for (size_t fi = 0; fi < form_count; fi++) {
            if (pass == 0 ? (int)fi != current_form : (int)fi == current_form) continue;
            const VBFormDef *d = form_states[fi].def;
            size_t n = d->controls ? d->control_count : 0;
            for (size_t ci = 0; ci < n; ci++) {
                if (!is_array_named(&d->controls[ci], name)) continue;
                *seen = 1;
                if (d->controls[ci].index == index) {
                    *form = (int)fi;
                    return (int)ci;
                }
            }
            if (*seen) return -1; /* the array is this form's: no member of that index */
        }
    }
    return -1;
}

static int control_array_bound(const char *name, const char *field, VBValue *out) {
    int count_field = !strcasecmp(field, "Count"), lower = !strcasecmp(field, "LBound");
    if (!count_field && !lower && strcasecmp(field, "UBound")) return 0;
    for (int pass = 0; pass < 2; pass++) {
        for (size_t fi = 0; fi < form_count; fi++) {
            if (pass == 0 ? (int)fi != current_form : (int)fi == current_form) continue;
            const VBFormDef *d = form_states[fi].def;
            size_t n = d->controls ? d->control_count : 0;
            long long count = 0, low = 0, high = 0;
            for (size_t ci = 0; ci < n; ci++) {
                if (!is_array_named(&d->controls[ci], name)) continue;
                long long k = d->controls[ci].index;
                if (count == 0 || k < low) low = k;
                if (count == 0 || k > high) high = k;
                count++;
            }
            if (count == 0) continue;
            *out = int_value(count_field ? count : lower ? low : high);
            return 1;
        }
    }
    return 0;
}

static int member_of(const char *name, VBValue index, int *form) {
    long long k = whole_of(index, 0);
    int seen = 0;
    int ci = find_member(name, k, form, &seen);
    if (ci >= 0) return ci;
    if (!seen) unsupported("Unknown native control array: ", name, "");
    char number[32];
    snprintf(number, sizeof number, "%lld", k);
    failf("Control array element '%s' doesn't exist", number);
}

static int menu_member(const char *name, VBValue index, int *form);
static int menu_load_member(const char *name, long long index);
static int menu_unload_member(const char *name, long long index);

VBValue vb_get_at(const char *name, VBValue index, const char *field) {
    int fi = -1;
    int mi = menu_member(name, index, &fi);
    if (mi >= 0) return menu_get(fi, mi, name, field ? field : "");
    int ci = member_of(name, index, &fi);
    return control_get(fi, ci, name, field ? field : "");
}

void vb_set_at(const char *name, VBValue index, const char *field, VBValue value) {
    int fi = -1;
    int mi = menu_member(name, index, &fi);
    if (mi >= 0) {
        menu_set(fi, mi, name, field ? field : "", value);
        return;
    }
    int ci = member_of(name, index, &fi);
    control_set(fi, ci, name, field ? field : "", value);
}

static void focus_control(int fi, int ci) {
    FormState *f = &form_states[fi];
    ControlState *c = control_state(fi, ci);
    if (!c->visible || !c->enabled) vb_fail("Invalid procedure call or argument");
    if (c->kind == K_TEXTBOX) move_focus(fi, ci);
    if (f->visible) redraw(fi);
}

void vb_set_focus(const char *owner) {
    owner = resolve_owner(owner);
    int fi = find_form(owner);
    if (fi >= 0) return; /* a form's SetFocus: its window is the one raised */
    int ci = resolve_control(owner, &fi);
    if (ci < 0) unsupported("Unknown native control: ", owner, "SetFocus");
    focus_control(fi, ci);
}

void vb_set_focus_at(const char *name, VBValue index) {
    int fi = -1;
    int ci = member_of(name, index, &fi);
    focus_control(fi, ci);
}

/* Menus as code sees them: Caption, Checked, Enabled and Visible of an item
 * found by name (and index, for a member of a menu array), on the running
 * form first. */
static int find_menu(const char *name, int in_array, long long index, int *form) {
    for (int pass = 0; pass < 2; pass++) {
        for (size_t fi = 0; fi < form_count; fi++) {
            if (pass == 0 ? (int)fi != current_form : (int)fi == current_form) continue;
            const FormState *f = &form_states[fi];
            size_t n = f->def->menus ? f->def->menu_count : 0;
            for (size_t k = 0; k < n; k++) {
                const VBMenuDef *m = &f->menus[k];
                if (!m->name || strcasecmp(m->name, name)) continue;
                if (in_array && (!m->array_member || m->index != index)) continue;
                *form = (int)fi;
                return (int)k;
            }
        }
    }
    return -1;
}

static VBValue menu_get(int fi, int mi, const char *owner, const char *field) {
    const VBMenuDef *m = &form_states[fi].menus[mi];
    if (!strcasecmp(field, "Caption")) return str_value(m->caption ? m->caption : "");
    if (!strcasecmp(field, "Checked")) return bool_value(m->checked);
    if (!strcasecmp(field, "Enabled")) return bool_value(m->enabled);
    if (!strcasecmp(field, "Visible")) return bool_value(m->visible);
    if (!strcasecmp(field, "Name")) return str_value(m->name);
    (void)owner;
    return stored_get(fi, -1000 - mi, field);
}

static void menu_set(int fi, int mi, const char *owner, const char *field, VBValue value) {
    VBMenuDef *m = &form_states[fi].menus[mi];
    (void)owner;
    if (!strcasecmp(field, "Caption")) m->caption = copy_text(string_of(value));
    else if (!strcasecmp(field, "Checked")) m->checked = truth_of(value);
    else if (!strcasecmp(field, "Enabled")) m->enabled = truth_of(value);
    else if (!strcasecmp(field, "Visible")) m->visible = truth_of(value);
    else stored_set(fi, -1000 - mi, field, value);
    if (form_states[fi].visible) redraw(fi);
}

/* A member of a menu array, when `name` is one. */
static int menu_member(const char *name, VBValue index, int *form) {
    return find_menu(name, 1, whole_of(index, -1), form);
}

/* Load name(index): a new member, a copy of the array's first member as it
 * is now (caption, text, position, enabled), hidden until shown. */
void vb_load_member(const char *name, VBValue index) {
    long long k = whole_of(index, -1);
    int fi = -1, seen = 0;
    if (find_member(name, k, &fi, &seen) >= 0) {
        char number[32];
        snprintf(number, sizeof number, "%lld", k);
        failf("Object already loaded: %s", number);
    }
    if (!seen && menu_load_member(name, k)) return;
    if (!seen) unsupported("Unknown native control array: ", name, "");
    int first = -1;
    for (int pass = 0; pass < 2 && first < 0; pass++)
        for (size_t f = 0; f < form_count && first < 0; f++) {
            if (pass == 0 ? (int)f != current_form : (int)f == current_form) continue;
            const VBFormDef *d = form_states[f].def;
            for (size_t ci = 0; ci < d->control_count; ci++)
                if (is_array_named(&d->controls[ci], name)) {
                    first = (int)ci;
                    fi = (int)f;
                    break;
                }
        }
    FormState *f = &form_states[fi];
    VBFormDef *d = (VBFormDef *)f->def; /* the form's own copy (copy_form) */
    size_t n = d->control_count;
    VBControlDef *defs = vb_alloc(sizeof *defs * (n + 2));
    memcpy(defs, d->controls, sizeof *defs * n);
    defs[n] = defs[first];
    defs[n].index = (int)k;
    defs[n].visible = 0;
    defs[n].run_time = 1;
    if (f->controls) {
        ControlState *states = vb_alloc(sizeof *states * (n + 2));
        memcpy(states, f->controls, sizeof *states * n);
        for (size_t i = 0; i < n; i++) states[i].def = &defs[i];
        states[n] = states[first];
        states[n].def = &defs[n];
        states[n].visible = 0;
        states[n].items = NULL;
        states[n].item_data = NULL;
        states[n].new_index = -1;
        states[n].top_index = 0;
        states[n].item_count = states[n].item_capacity = 0;
        states[n].list_index = -1;
        f->controls = states;
    }
    d->controls = defs;
    d->control_count = n + 1;
}

/* Unload name(index): only members that Load added go. */
void vb_unload_member(const char *name, VBValue index) {
    if (menu_unload_member(name, whole_of(index, -1))) return;
    int fi = -1;
    int ci = member_of(name, index, &fi);
    FormState *f = &form_states[fi];
    VBControlDef *def = (VBControlDef *)&f->def->controls[ci];
    if (!def->run_time) failf("Can't unload controls created at design time: %s", name);
    def->array_member = 0;
    def->name = "";
    def->visible = 0;
    if (f->controls) f->controls[ci].visible = 0;
    if (f->visible) redraw(fi);
}

int vb_is_member(int form, int control, const char *name) {
    if (form < 0 || (size_t)form >= form_count || control < 0) return 0;
    const VBFormDef *d = form_states[form].def;
    return (size_t)control < d->control_count && is_array_named(&d->controls[control], name);
}

long long vb_member_index(int form, int control) { return form_states[form].def->controls[control].index; }
