/* Corvane native runtime: loading a form without showing it.
 *
 * Compiled as part of vb_native.c (which includes this file at its end).
 * Load Form2, and a call of one of Form2's own procedures from elsewhere
 * (Form2.Refill), load the form first - its Load event runs once - and
 * leave it hidden until it is shown. */

void vb_load_form(const char *form) {
    int i = find_form(form);
    if (i < 0) fatal("Unknown form in Load");
    open_display();
    instantiate(i);
}
