/* Corvane native runtime: controls as values, forms shown modally and the
 * App object.
 *
 * Compiled as part of vb_native.c (which includes this file at its end).
 * A control held in a variable (Dim t As TextBox, Set t = txtName, a
 * control passed to a procedure, For Each c In Me.Controls) is an object
 * naming its form and position; its members are the control's. The same
 * control is always the same object, so Is compares controls. A control
 * array as a value answers Count, LBound, UBound and its members by Index;
 * a form's Controls lists its controls in design order. */

static VBObject **control_objects;
static size_t control_object_count, control_object_capacity;

static VBValue control_value(int fi, int ci) {
    for (size_t k = 0; k < control_object_count; k++) {
        VBObject *o = control_objects[k];
        if (o->field_index == fi && o->control == ci) return object_value(o);
    }
    if (control_object_count == control_object_capacity) {
        size_t capacity = control_object_capacity ? control_object_capacity * 2 : 32;
        VBObject **bigger = vb_alloc(sizeof *bigger * capacity);
        if (control_object_count) memcpy(bigger, control_objects, sizeof *bigger * control_object_count);
        control_objects = bigger;
        control_object_capacity = capacity;
    }
    VBObject *o = new_object(TAG_CONTROL, form_states[fi].def->controls[ci].kind);
    o->field_index = fi;
    o->control = ci;
    control_objects[control_object_count++] = o;
    return object_value(o);
}

static const VBControlDef *control_def_of(const VBObject *o) {
    return &form_states[o->field_index].def->controls[o->control];
}

VBValue vb_control_object(const char *name) {
    int fi = -1;
    int ci = resolve_control(name, &fi);
    if (ci < 0) unsupported("Unknown native control: ", name ? name : "", "");
    const VBControlDef *d = &form_states[fi].def->controls[ci];
    if (d->array_member) return vb_control_array_object(name);
    return control_value(fi, ci);
}

VBValue vb_control_object_at(const char *name, VBValue index) {
    int fi = -1;
    int ci = member_of(name, index, &fi);
    return control_value(fi, ci);
}

/* A list of controls: the members of one array (reached by Index) or all
 * the controls of a form (reached by position). `member_name` is the
 * array's name, or null for a form's Controls. */
static VBValue control_list(int fi, const char *array_name) {
    VBObject *o = new_object(TAG_CONTROLS, "Object");
    o->field_index = fi;
    o->member_name = array_name ? copy_text(array_name) : NULL;
    return object_value(o);
}

/* Form2.txtName: the control of that name on that form (an array's name
 * gives the array); Form2.cmdKey(3): a member of one of its arrays. */
static int control_on_form(int fi, const char *name, int in_array, long long index) {
    const VBFormDef *d = form_states[fi].def;
    for (size_t ci = 0; ci < d->control_count; ci++) {
        const VBControlDef *c = &d->controls[ci];
        if (!c->name || strcasecmp(c->name, name)) continue;
        if (!in_array || (c->array_member && c->index == index)) return (int)ci;
    }
    return -1;
}

static int form_named(const char *form) {
    int fi = find_form(resolve_owner(form));
    if (fi < 0) fatal("Object required");
    return fi;
}

VBValue vb_form_control(const char *form, const char *name) {
    int fi = form_named(form);
    int ci = control_on_form(fi, name, 0, 0);
    if (ci < 0) unsupported("Unknown native control: ", form, name);
    if (form_states[fi].def->controls[ci].array_member) return control_list(fi, name);
    return control_value(fi, ci);
}

static VBValue member_on_form(int fi, const char *name, VBValue index) {
    long long k = whole_of(index, 0);
    int ci = control_on_form(fi, name, 1, k);
    if (ci < 0) {
        char number[32];
        snprintf(number, sizeof number, "%lld", k);
        failf("Control array element '%s' doesn't exist", number);
    }
    return control_value(fi, ci);
}

VBValue vb_form_control_at(const char *form, const char *name, VBValue index) {
    return member_on_form(form_named(form), name, index);
}

VBValue vb_control_array_object(const char *name) {
    int fi = -1, seen = 0;
    (void)find_member(name, 0, &fi, &seen);
    if (!seen) unsupported("Unknown native control array: ", name ? name : "", "");
    if (fi < 0) { /* no member 0: find the array's form by any member */
        for (size_t f = 0; f < form_count && fi < 0; f++) {
            const VBFormDef *d = form_states[f].def;
            for (size_t ci = 0; ci < d->control_count; ci++)
                if (is_array_named(&d->controls[ci], name)) {
                    fi = (int)f;
                    break;
                }
        }
    }
    return control_list(fi, name);
}

VBValue vb_form_controls(const char *form) {
    int fi = find_form(resolve_owner(form));
    if (fi < 0) fatal("Object required");
    return control_list(fi, NULL);
}

static int listed(const VBObject *list, const VBControlDef *d) {
    if (!d->name || !*d->name) return 0; /* an unloaded member */
    return !list->member_name || is_array_named(d, list->member_name);
}

/* The listed controls, in design order (members by ascending Index). */
VBValue vb_control_list_items(VBValue v) {
    VBObject *list = v.object;
    const VBFormDef *d = form_states[list->field_index].def;
    long long n = 0;
    for (size_t ci = 0; ci < d->control_count; ci++) n += listed(list, &d->controls[ci]);
    VBValue out = array_value(n);
    VBArray *a = out.object;
    long long k = 0;
    for (size_t ci = 0; ci < d->control_count; ci++)
        if (listed(list, &d->controls[ci])) a->items[k++] = control_value(list->field_index, (int)ci);
    if (list->member_name) { /* Load adds members at the end: order them by Index */
        for (long long i = 1; i < n; i++)
            for (long long j = i; j > 0; j--) {
                VBValue x = a->items[j - 1], y = a->items[j];
                if (control_def_of(x.object)->index <= control_def_of(y.object)->index) break;
                a->items[j - 1] = y;
                a->items[j] = x;
            }
    }
    return out;
}

int vb_is_control_list(VBValue v) {
    return v.kind == VB_OBJECT && v.object && ((VBObject *)v.object)->tag == TAG_CONTROLS;
}

/* list(i): a member by Index, or a form's control by position (or name). */
VBValue vb_control_list_item(VBValue v, VBValue index) {
    VBObject *list = v.object;
    if (list->member_name) return member_on_form(list->field_index, list->member_name, index);
    VBValue items = vb_control_list_items(v);
    VBArray *a = items.object;
    if (index.kind == VB_STRING) {
        for (long long k = 0; k < a->count; k++)
            if (!strcasecmp(control_def_of(a->items[k].object)->name, string_of(index))) return a->items[k];
        vb_fail("Invalid procedure call or argument");
    }
    long long k = whole_of(index, -1);
    if (k < 0 || k >= a->count) vb_fail("Subscript out of range");
    return a->items[k];
}

static VBValue control_list_get(VBObject *list, const char *name) {
    VBValue items = vb_control_list_items(object_value(list));
    long long n = ((VBArray *)items.object)->count;
    if (!strcasecmp(name, "Count")) return int_value(n);
    if (list->member_name && (!strcasecmp(name, "LBound") || !strcasecmp(name, "UBound"))) {
        if (n == 0) return int_value(0);
        const VBArray *a = items.object;
        return int_value(control_def_of(a->items[name[0] == 'L' || name[0] == 'l' ? 0 : n - 1].object)->index);
    }
    unsupported("Unknown native object property: ", list->member_name ? list->member_name : "Controls", name);
}

static VBValue control_list_call(VBObject *list, const char *name, int argc, VBValue *args) {
    if (!strcasecmp(name, "Item") && argc == 1) return vb_control_list_item(object_value(list), args[0]);
    if (argc == 0) return control_list_get(list, name);
    unsupported("Unsupported native object method: ", list->member_name ? list->member_name : "Controls", name);
}

/* Move left, top[, width[, height]]: the control's position and size. */
static void move_control(int fi, int ci, const char *owner, int argc, VBValue *args) {
    static const char *const fields[] = {"Left", "Top", "Width", "Height"};
    if (argc < 1 || argc > 4) vb_fail("Argument not optional");
    for (int k = 0; k < argc; k++)
        if (!(args[k].kind == VB_OBJECT && !args[k].object)) control_set(fi, ci, owner, fields[k], args[k]);
}

static VBValue control_object_get(VBObject *o, const char *name) {
    const VBControlDef *d = control_def_of(o);
    if (!strcasecmp(name, "Name")) return str_value(d->name);
    if (!strcasecmp(name, "Index")) {
        if (!d->array_member) vb_fail("Object not an array");
        return int_value(d->index);
    }
    return control_get(o->field_index, o->control, d->name, name);
}

static void control_object_set(VBObject *o, const char *name, VBValue value) {
    control_set(o->field_index, o->control, control_def_of(o)->name, name, value);
}

static VBValue control_object_call(VBObject *o, const char *name, int argc, VBValue *args) {
    const VBControlDef *d = control_def_of(o);
    if (argc == 0 && !inert_method(name) && strcasecmp(name, "Clear") && strcasecmp(name, "SetFocus"))
        return control_object_get(o, name); /* t.Text written with a call's shape */
    return control_call(o->field_index, o->control, d->name, name, argc, args);
}

/* An option button chosen (clicked, or Value = True): the others of its
 * group are cleared. */
static void choose_option(int form, int control) {
    FormState *f = &form_states[form];
    const VBControlDef *d = f->def->controls;
    f->controls[control].checked = 1;
    for (size_t k = 0; k < f->def->control_count; k++) {
        if ((int)k == control || f->controls[k].kind != K_OPTIONBUTTON) continue;
        if (d[k].group == d[control].group) f->controls[k].checked = 0;
    }
}

/* The window got a new size (the user or the window manager): ScaleWidth
 * and ScaleHeight follow it, then Form_Resize runs. */
static void window_resized(int form, int width, int height) {
    FormState *f = &form_states[form];
    int inner = height - (has_menus(f) ? MENU_BAR : 0);
    if (width <= 1 || inner <= 1) return;
    int was_width = f->inner_width ? f->inner_width : f->def->width;
    int was_height = f->inner_height ? f->inner_height : f->def->height;
    f->inner_width = width;
    f->inner_height = inner;
    if (width == was_width && inner == was_height) return; /* moved, not resized */
    if (f->loaded) raise_event(form, -1, "Resize");
    if (f->loaded) raise_event(form, -1, "Paint");
    if (f->loaded && f->visible) redraw(form);
}

/* ===================================================================== */
/* Modal forms                                                            */
/* ===================================================================== */

/* Form.Show vbModal: the form is shown and the caller waits, the program's
 * events running meanwhile, until the form is hidden or unloaded (or End
 * runs). Closing the last visible form ends the wait, not the program:
 * the caller goes on (and may show another form). */
void vb_show_modal(const char *form, VBValue style) {
    long long modal = style.kind == VB_OBJECT && !style.object ? 0 : whole_of(style, 0);
    vb_show(form);
    if (!modal) return;
    int i = find_form(resolve_owner(form));
    FormState *f = &form_states[i];
    while (running && f->loaded && f->visible) {
        XEvent event;
        if (!next_event(&event)) continue; /* Timers ran instead */
        handle_event(&event);
    }
    if (!ended) running = 1;
}

/* ===================================================================== */
/* App                                                                    */
/* ===================================================================== */

static const char *app_title = "Corvane Application", *app_exe_name = "VBApplication";

void vb_set_app(const char *title, const char *exe_name) {
    if (title && *title) app_title = copy_text(title);
    if (exe_name && *exe_name) app_exe_name = copy_text(exe_name);
}

/* The project's version and its descriptions, read-only to the program. */
static int app_version[3] = {1, 0, 0};
static const char *app_texts[6] = {"", "", "", "", "", ""};
static const char *const APP_TEXT_NAMES[6] = {"CompanyName", "FileDescription", "ProductName",
                                              "LegalCopyright", "Comments", "HelpFile"};

void vb_set_app_version(int major, int minor, int revision, const char *const texts[6]) {
    app_version[0] = major;
    app_version[1] = minor;
    app_version[2] = revision;
    for (int k = 0; k < 6; k++) app_texts[k] = texts[k] ? copy_text(texts[k]) : "";
}

/* The folder the program's executable stands in. */
static VBValue app_path(void) {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return str_value(".");
    buf[n] = '\0';
    char *slash = strrchr(buf, '/');
    if (slash == buf) slash[1] = '\0';
    else if (slash) *slash = '\0';
    return str_value(copy_text(buf));
}

static VBValue app_get(const char *field) {
    if (!strcasecmp(field, "Title")) return str_value(app_title);
    if (!strcasecmp(field, "Path")) return app_path();
    if (!strcasecmp(field, "EXEName")) return str_value(app_exe_name);
    if (!strcasecmp(field, "PrevInstance")) return bool_value(0);
    if (!strcasecmp(field, "Major")) return int_value(app_version[0]);
    if (!strcasecmp(field, "Minor")) return int_value(app_version[1]);
    if (!strcasecmp(field, "Revision")) return int_value(app_version[2]);
    for (int k = 0; k < 6; k++)
        if (!strcasecmp(field, APP_TEXT_NAMES[k])) return str_value(app_texts[k]);
    return stored_get(-3, -1, field);
}

static void app_set(const char *field, VBValue value) {
    if (!strcasecmp(field, "Title")) app_title = copy_text(string_of(value));
    else stored_set(-3, -1, field, value);
}
