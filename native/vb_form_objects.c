/* Corvane native runtime: forms as values.
 *
 * Compiled as part of vb_native.c (which includes this file at its end).
 * Dim f As Form holds a form (Set f = Me, For Each f In Forms); its
 * members are the form's, reached by its name; Unload f unloads it. Forms
 * holds the loaded forms, in project order. */

static VBValue form_value(int fi) {
    VBObject *o = new_object(TAG_FORM, form_states[fi].def->name);
    o->field_index = fi;
    return object_value(o);
}

VBValue vb_form_object(const char *name) {
    int fi = find_form(resolve_owner(name));
    if (fi < 0) fatal("Object required");
    return form_value(fi);
}

VBValue vb_forms(void) {
    long long n = 0;
    for (size_t fi = 0; fi < form_count; fi++) n += form_states[fi].loaded;
    VBValue v = array_value(n);
    VBArray *a = v.object;
    long long k = 0;
    for (size_t fi = 0; fi < form_count; fi++)
        if (form_states[fi].loaded) a->items[k++] = form_value((int)fi);
    return v;
}

static const char *form_object_name(const VBObject *o) { return form_states[o->field_index].def->name; }

static int control_on_form(int fi, const char *name, int in_array, long long index); /* vb_control_objects.c */

/* f.Controls and f.txtName: the form's controls; else its properties. */
static VBValue form_object_get(VBObject *o, const char *name) {
    if (!strcasecmp(name, "Controls")) return vb_form_controls(form_object_name(o));
    if (control_on_form(o->field_index, name, 0, 0) >= 0) return vb_form_control(form_object_name(o), name);
    return vb_get(form_object_name(o), name);
}

static void form_object_set(VBObject *o, const char *name, VBValue value) { vb_set(form_object_name(o), name, value); }

static VBValue form_object_call(VBObject *o, const char *name, int argc, VBValue *args) {
    if (!strcasecmp(name, "Show")) {
        vb_show_modal(form_object_name(o), argc > 0 ? args[0] : vb_nothing());
        return int_value(0);
    }
    if (!strcasecmp(name, "Hide")) {
        vb_hide(form_object_name(o));
        return int_value(0);
    }
    if (argc == 1 && !strcasecmp(name, "Controls"))
        return vb_control_list_item(vb_form_controls(form_object_name(o)), args[0]);
    if (argc == 1 && control_on_form(o->field_index, name, 0, 0) >= 0) /* f.cmdKey(3) */
        return vb_form_control_at(form_object_name(o), name, args[0]);
    return vb_control_call(form_object_name(o), name, argc, args);
}

void vb_unload_value(VBValue v) {
    if (v.kind != VB_OBJECT || !v.object || ((VBObject *)v.object)->tag != TAG_FORM) fatal("Object required");
    unload_form(((VBObject *)v.object)->field_index, 0);
}
