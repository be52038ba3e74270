/* Corvane native runtime: menu arrays at run time.
 *
 * Compiled as part of vb_native.c (which includes this file at its end).
 * mnuRecent.Count, .LBound and .UBound; Load mnuRecent(n) adds a member,
 * a copy of the array's first one, shown in its drop-down right after the
 * array's last member; Unload removes a member Load added. A loaded member
 * goes to the end of the form's menu table, so that the positions of the
 * entries already there (which events and stored properties use) stay. */

/* The form holding a menu array of that name, the running form first. */
static int menu_array_form(const char *name) {
    for (int pass = 0; pass < 2; pass++)
        for (size_t fi = 0; fi < form_count; fi++) {
            if (pass == 0 ? (int)fi != current_form : (int)fi == current_form) continue;
            const FormState *f = &form_states[fi];
            for (size_t k = 0; k < f->def->menu_count; k++)
                if (f->menus[k].array_member && f->menus[k].name && !strcasecmp(f->menus[k].name, name))
                    return (int)fi;
        }
    return -1;
}

static int menu_array_bound(const char *name, const char *field, VBValue *out) {
    int count_field = !strcasecmp(field, "Count"), lower = !strcasecmp(field, "LBound");
    if (!count_field && !lower && strcasecmp(field, "UBound")) return 0;
    int fi = menu_array_form(name);
    if (fi < 0) return 0;
    const FormState *f = &form_states[fi];
    long long count = 0, low = 0, high = 0;
    for (size_t k = 0; k < f->def->menu_count; k++) {
        const VBMenuDef *m = &f->menus[k];
        if (!m->array_member || !m->name || strcasecmp(m->name, name)) continue;
        if (count == 0 || m->index < low) low = m->index;
        if (count == 0 || m->index > high) high = m->index;
        count++;
    }
    *out = int_value(count_field ? count : lower ? low : high);
    return 1;
}

/* The entry shown last of the array: the last member designed, then the
 * chain of those loaded, each shown after the one before it. */
static int menu_shown_last(const FormState *f, const char *name) {
    int last = -1, n = (int)f->def->menu_count;
    for (int k = 0; k < n; k++) {
        const VBMenuDef *m = &f->menus[k];
        if (!m->after && m->array_member && m->name && !strcasecmp(m->name, name)) last = k;
    }
    for (int moved = 1; moved && last >= 0;) {
        moved = 0;
        for (int k = 0; k < n && !moved; k++)
            if (f->menus[k].after == last + 1) {
                last = k;
                moved = 1;
            }
    }
    return last;
}

static int menu_load_member(const char *name, long long index) {
    int fi = menu_array_form(name);
    if (fi < 0) return 0;
    int existing = -1;
    if (find_menu(name, 1, index, &existing) >= 0 && existing == fi) {
        char number[32];
        snprintf(number, sizeof number, "%lld", index);
        failf("Object already loaded: %s", number);
    }
    FormState *f = &form_states[fi];
    VBFormDef *d = (VBFormDef *)f->def; /* the form's own copy (copy_form) */
    size_t n = d->menu_count;
    int first = -1;
    for (size_t k = 0; k < n && first < 0; k++)
        if (f->menus[k].array_member && f->menus[k].name && !strcasecmp(f->menus[k].name, name)) first = (int)k;
    int last = menu_shown_last(f, name);
    VBMenuDef *menus = vb_alloc(sizeof *menus * (n + 2));
    memcpy(menus, f->menus, sizeof *menus * n);
    menus[n] = f->menus[first];
    menus[n].caption = copy_text(f->menus[first].caption ? f->menus[first].caption : "");
    menus[n].index = (int)index;
    menus[n].checked = 0;
    menus[n].after = last + 1;
    f->menus = menus;
    d->menu_count = n + 1;
    if (f->visible) redraw(fi);
    return 1;
}

static int menu_unload_member(const char *name, long long index) {
    int fi = -1;
    int mi = find_menu(name, 1, index, &fi);
    if (mi < 0) return 0;
    VBMenuDef *m = &form_states[fi].menus[mi];
    if (!m->after) failf("Can't unload controls created at design time: %s", name);
    m->array_member = 0;
    m->name = "";
    m->visible = 0;
    if (form_states[fi].visible) redraw(fi);
    return 1;
}

/* The event dispatcher finds menu handlers by name, since loaded members
 * have positions of their own. */
int vb_menu_is(int form, int control, const char *name) {
    if (form < 0 || (size_t)form >= form_count || control > -2) return 0;
    size_t k = (size_t)(-2 - control);
    const FormState *f = &form_states[form];
    return k < f->def->menu_count && f->menus[k].name && !strcasecmp(f->menus[k].name, name);
}

long long vb_menu_index(int form, int control) { return form_states[form].menus[-2 - control].index; }
