/* Corvane native runtime: the graphics methods of forms and picture boxes.
 *
 * Compiled as part of vb_native.c (which includes this file at its end).
 * PSet, Line (with B and BF), Circle and Print draw in pixels, the unit of every
 * position here (ScaleWidth, mouse coordinates), unless Scale gave the
 * surface units of its own. What is drawn is kept
 * until Cls, so that it survives redrawing (as with AutoRedraw), and is
 * drawn at once when the form is showing. The pen is the colour given, or
 * the surface's ForeColor, DrawWidth pixels wide; a circle is filled with
 * FillColor when FillStyle is 0 (solid). On a display without true colour
 * only white stays white and every other colour is black. CurrentX and
 * CurrentY follow the last point drawn. */

enum { DRAW_PSET, DRAW_LINE, DRAW_BOX, DRAW_FILLED_BOX, DRAW_CIRCLE, DRAW_TEXT };

typedef struct DrawOp {
    int form, control; /* control -1: the form itself */
    int kind;
    long pen, fill;     /* VB colours (&HBBGGRR); fill -1: none */
    int width;          /* the pen's width in pixels */
    int x1, y1, x2, y2; /* a circle: centre and radius in x2 */
    const char *text;   /* printed text (its top left corner at x1, y1) */
    size_t length;
} DrawOp;

static DrawOp *draw_ops;
static size_t draw_count, draw_capacity;

/* The form and control (-1: the form) a graphics method names. */
static void drawing_target(const char *owner, int *fi, int *ci) {
    owner = resolve_owner(owner);
    *ci = -1;
    *fi = find_form(owner);
    if (*fi >= 0) return;
    *ci = resolve_control(owner, fi);
    if (*ci < 0) unsupported("Unknown native control: ", owner, "graphics method");
}

static int clamped_pixel(double d) {
    if (!(d > -1e6)) return -1000000; /* also NaN */
    if (d > 1e6) return 1000000;
    return (int)floor(d + 0.5);
}

static int pixel_of(VBValue v) { return clamped_pixel(number_value(v)); }

/* A surface's coordinates: pixels, or the units a Scale (x1, y1)-(x2, y2)
 * set (ScaleMode 0), which map ScaleLeft .. ScaleLeft + ScaleWidth onto
 * the surface's width in pixels (and the same downwards). */
typedef struct SurfaceScale {
    int user;
    double left, top, width, height, px_width, px_height;
} SurfaceScale;

static void surface_pixels(int fi, int ci, double *w, double *h) {
    const FormState *f = &form_states[fi];
    if (ci < 0) {
        *w = f->inner_width > 0 ? f->inner_width : f->def->width;
        *h = f->inner_height > 0 ? f->inner_height : f->def->height;
    } else {
        *w = control_state(fi, ci)->w;
        *h = control_state(fi, ci)->h;
    }
    if (*w < 1) *w = 1;
    if (*h < 1) *h = 1;
}

static int user_scaled(int fi, int ci) { return truth_of(stored_get(fi, ci, "__UserScale")); }

static SurfaceScale surface_scale(int fi, int ci) {
    SurfaceScale s = {0, 0, 0, 1, 1, 1, 1};
    if (!user_scaled(fi, ci)) return s;
    s.user = 1;
    s.left = number_value(stored_get(fi, ci, "ScaleLeft"));
    s.top = number_value(stored_get(fi, ci, "ScaleTop"));
    s.width = number_value(stored_get(fi, ci, "ScaleWidth"));
    s.height = number_value(stored_get(fi, ci, "ScaleHeight"));
    surface_pixels(fi, ci, &s.px_width, &s.px_height);
    return s;
}

/* A coordinate as given, in the surface's units (pixels are whole). */
static double unit_of(const SurfaceScale *s, VBValue v) { return s->user ? number_value(v) : pixel_of(v); }
static int px_x(const SurfaceScale *s, double u) { return clamped_pixel(s->user ? (u - s->left) * s->px_width / s->width : u); }
static int px_y(const SurfaceScale *s, double u) { return clamped_pixel(s->user ? (u - s->top) * s->px_height / s->height : u); }
static double from_px_x(const SurfaceScale *s, double px) { return s->user ? s->left + px * s->width / s->px_width : px; }
static double from_px_y(const SurfaceScale *s, double px) { return s->user ? s->top + px * s->height / s->px_height : px; }

/* A point in pixels of the surface, in its units. */
static void surface_units(int fi, int ci, double px, double py, double *ux, double *uy) {
    SurfaceScale s = surface_scale(fi, ci);
    *ux = from_px_x(&s, px);
    *uy = from_px_y(&s, py);
}

/* A value in a surface's units: whole ones as Integers. */
static VBValue unit_value(const SurfaceScale *s, double u) {
    if (!s->user) return int_value(clamped_pixel(u));
    return fabs(u) < 1e15 && u == floor(u) ? int_value((long long)u) : dbl_value(u);
}

/* Scale (x1, y1)-(x2, y2) gives the surface its own units; Scale alone
 * returns it to pixels. */
void vb_scale(const char *owner, int has_corners, VBValue x1, VBValue y1, VBValue x2, VBValue y2) {
    int fi, ci;
    drawing_target(owner, &fi, &ci);
    if (!has_corners) {
        stored_set(fi, ci, "__UserScale", int_value(0));
        return;
    }
    double left = number_value(x1), top = number_value(y1);
    double width = number_value(x2) - left, height = number_value(y2) - top;
    if (width == 0 || height == 0 || !isfinite(width) || !isfinite(height)) vb_fail("Invalid procedure call or argument");
    SurfaceScale user = {1, 0, 0, 1, 1, 1, 1};
    stored_set(fi, ci, "ScaleLeft", unit_value(&user, left));
    stored_set(fi, ci, "ScaleTop", unit_value(&user, top));
    stored_set(fi, ci, "ScaleWidth", unit_value(&user, width));
    stored_set(fi, ci, "ScaleHeight", unit_value(&user, height));
    stored_set(fi, ci, "__UserScale", int_value(1));
}

/* ScaleMode, ScaleLeft, ScaleTop, ScaleWidth and ScaleHeight under a
 * surface's own units (and ScaleMode, ScaleLeft and ScaleTop in pixels);
 * 0 for the others. */
static int scale_property(int fi, int ci, const char *field, VBValue *out) {
    int user = user_scaled(fi, ci);
    if (!strcasecmp(field, "ScaleMode")) return *out = int_value(user ? 0 : 3), 1;
    int corner = !strcasecmp(field, "ScaleLeft") || !strcasecmp(field, "ScaleTop");
    if (corner && !user) return *out = int_value(0), 1;
    if (!user || !(corner || !strcasecmp(field, "ScaleWidth") || !strcasecmp(field, "ScaleHeight"))) return 0;
    *out = stored_get(fi, ci, field);
    return 1;
}

/* A VB colour as a pixel of the display: its red, green and blue placed
 * where the visual's masks say (system colours, negative, draw black). */
static void mask_shape(unsigned long mask, int *shift, int *bits) {
    *shift = 0;
    *bits = 0;
    if (!mask) return;
    while (!(mask & 1)) mask >>= 1, ++*shift;
    while (mask & 1) mask >>= 1, ++*bits;
}

/* An 8-bit channel value placed in a mask of that shift and width. */
static unsigned long placed_channel(unsigned value, int shift, int bits, unsigned long mask) {
    if (bits <= 0) return 0;
    return ((unsigned long)(bits >= 8 ? value << (bits - 8) : value >> (8 - bits)) << shift) & mask;
}

static unsigned long channel_pixel(unsigned value, unsigned long mask) {
    int shift, bits;
    mask_shape(mask, &shift, &bits);
    return placed_channel(value, shift, bits, mask);
}

static unsigned long colour_pixel(long colour) {
    if (colour < 0 || colour > 0xFFFFFF) colour = 0;
    Visual *visual = DefaultVisual(display, screen);
    if (visual->class != TrueColor)
        return colour == 0xFFFFFF ? WhitePixel(display, screen) : BlackPixel(display, screen);
    return channel_pixel((unsigned)(colour & 0xFF), visual->red_mask) |
           channel_pixel((unsigned)((colour >> 8) & 0xFF), visual->green_mask) |
           channel_pixel((unsigned)((colour >> 16) & 0xFF), visual->blue_mask);
}

static long colour_value(VBValue v) {
    double d = number_value(v);
    return d >= 0 && d <= 0xFFFFFF ? (long)d : 0;
}

/* The pen of a drawing: the colour given, else the surface's ForeColor;
 * its width DrawWidth (1 to 100). */
static DrawOp draw_op(int fi, int ci, int kind, int has_color, VBValue color) {
    DrawOp op = {0};
    op.form = fi;
    op.control = ci;
    op.kind = kind;
    op.pen = has_color ? colour_value(color) : colour_value(stored_get(fi, ci, "ForeColor"));
    op.fill = -1;
    long long width = whole_of(stored_get(fi, ci, "DrawWidth"), 1);
    op.width = width < 1 ? 1 : width > 100 ? 100 : (int)width;
    return op;
}

static DrawOp with_points(DrawOp op, int x1, int y1, int x2, int y2) {
    op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2;
    return op;
}

static void draw_op_now(const DrawOp *op);

static void add_draw_op(DrawOp op) {
    if (draw_count == draw_capacity) {
        size_t capacity = draw_capacity ? draw_capacity * 2 : 64;
        DrawOp *ops = vb_alloc(sizeof *ops * capacity);
        if (draw_count) memcpy(ops, draw_ops, sizeof *ops * draw_count);
        draw_ops = ops;
        draw_capacity = capacity;
    }
    draw_ops[draw_count++] = op;
    draw_op_now(&draw_ops[draw_count - 1]);
}

/* The point given, in the surface's units: Step makes it relative to
 * CurrentX, CurrentY. */
static void graphics_point(int fi, int ci, const SurfaceScale *s, int step, VBValue x, VBValue y, double *ux,
                           double *uy) {
    *ux = unit_of(s, x);
    *uy = unit_of(s, y);
    if (step) {
        *ux += unit_of(s, stored_get(fi, ci, "CurrentX"));
        *uy += unit_of(s, stored_get(fi, ci, "CurrentY"));
    }
}

static void move_current(int fi, int ci, const SurfaceScale *s, double x, double y) {
    stored_set(fi, ci, "CurrentX", unit_value(s, x));
    stored_set(fi, ci, "CurrentY", unit_value(s, y));
}

void vb_pset(const char *owner, int step, VBValue x, VBValue y, int has_color, VBValue color) {
    int fi, ci;
    double ux, uy;
    drawing_target(owner, &fi, &ci);
    SurfaceScale s = surface_scale(fi, ci);
    graphics_point(fi, ci, &s, step, x, y, &ux, &uy);
    int px = px_x(&s, ux), py = px_y(&s, uy);
    add_draw_op(with_points(draw_op(fi, ci, DRAW_PSET, has_color, color), px, py, px, py));
    move_current(fi, ci, &s, ux, uy);
}

/* Line [(x1, y1)]-(x2, y2), [color], [B|BF]: without a first point the
 * line starts at CurrentX, CurrentY. */
void vb_line(const char *owner, int has_from, int step1, VBValue x1, VBValue y1, int step2, VBValue x2, VBValue y2,
             int has_color, VBValue color, const char *box) {
    int fi, ci;
    double ax, ay, bx, by;
    drawing_target(owner, &fi, &ci);
    SurfaceScale s = surface_scale(fi, ci);
    if (has_from) {
        graphics_point(fi, ci, &s, step1, x1, y1, &ax, &ay);
    } else {
        ax = unit_of(&s, stored_get(fi, ci, "CurrentX"));
        ay = unit_of(&s, stored_get(fi, ci, "CurrentY"));
    }
    move_current(fi, ci, &s, ax, ay);
    graphics_point(fi, ci, &s, step2, x2, y2, &bx, &by);
    int kind = !box || !*box ? DRAW_LINE : !strcasecmp(box, "BF") ? DRAW_FILLED_BOX : DRAW_BOX;
    if (box && *box && strcasecmp(box, "B") && strcasecmp(box, "BF")) fatal("Invalid Line option (B or BF)");
    add_draw_op(with_points(draw_op(fi, ci, kind, has_color, color), px_x(&s, ax), px_y(&s, ay), px_x(&s, bx),
                            px_y(&s, by)));
    move_current(fi, ci, &s, bx, by);
}

/* Circle (x, y), radius: the radius in the units across. */
void vb_circle(const char *owner, int step, VBValue x, VBValue y, VBValue radius, int has_color, VBValue color) {
    int fi, ci;
    double ux, uy;
    drawing_target(owner, &fi, &ci);
    SurfaceScale s = surface_scale(fi, ci);
    graphics_point(fi, ci, &s, step, x, y, &ux, &uy);
    int r = s.user ? clamped_pixel(fabs(number_value(radius) * s.px_width / s.width)) : pixel_of(radius);
    if (r < 0) r = -r;
    DrawOp op = with_points(draw_op(fi, ci, DRAW_CIRCLE, has_color, color), px_x(&s, ux), px_y(&s, uy), r, 0);
    VBValue fill_style = stored_get(fi, ci, "FillStyle");
    if (!(fill_style.kind == VB_OBJECT && !fill_style.object) && whole_of(fill_style, 1) == 0)
        op.fill = colour_value(stored_get(fi, ci, "FillColor"));
    add_draw_op(op);
    move_current(fi, ci, &s, ux, uy);
}

/* Print: the line goes at CurrentX, CurrentY; an ended line moves
 * CurrentY down one line and CurrentX back to 0, an open one moves
 * CurrentX past the text. */
static int print_form, print_control;

void vb_surface_print_begin(const char *owner) {
    drawing_target(owner, &print_form, &print_control);
    print_on_surface = 1;
    surface_line.n = 0;
}

static void surface_print_end(int newline) {
    print_on_surface = 0;
    int fi = print_form, ci = print_control;
    SurfaceScale s = surface_scale(fi, ci);
    int x = px_x(&s, unit_of(&s, stored_get(fi, ci, "CurrentX")));
    int y = px_y(&s, unit_of(&s, stored_get(fi, ci, "CurrentY")));
    size_t n = surface_line.n;
    if (n) {
        char *copy = alloc_atomic(n + 1);
        memcpy(copy, text_of_builder(&surface_line), n);
        copy[n] = 0;
        DrawOp op = with_points(draw_op(fi, ci, DRAW_TEXT, 0, vb_nothing()), x, y, x, y);
        op.text = copy;
        op.length = n;
        add_draw_op(op);
    }
    int width = font ? XTextWidth(font, text_of_builder(&surface_line), (int)n) : 6 * (int)n;
    surface_line.n = 0;
    /* (the line's height and the text's width are pixels, in the surface's units) */
    if (newline)
        move_current(fi, ci, &s, from_px_x(&s, 0), from_px_y(&s, y + (font ? font->ascent + font->descent : 13)));
    else
        move_current(fi, ci, &s, from_px_x(&s, x + width), from_px_y(&s, y));
}

/* Cls: what was drawn goes; CurrentX and CurrentY return to 0. */
void vb_cls(const char *owner) {
    int fi, ci;
    drawing_target(owner, &fi, &ci);
    size_t kept = 0;
    for (size_t k = 0; k < draw_count; k++)
        if (draw_ops[k].form != fi || draw_ops[k].control != ci) draw_ops[kept++] = draw_ops[k];
    draw_count = kept;
    SurfaceScale pixels = {0, 0, 0, 1, 1, 1, 1};
    move_current(fi, ci, &pixels, 0, 0);
    if (form_states[fi].visible) redraw(fi);
}

/* Where the target's drawing area is on the window, and its size. */
static int drawing_area(int fi, int ci, int *x, int *y, int *w, int *h) {
    FormState *f = &form_states[fi];
    int top = has_menus(f) ? MENU_BAR : 0;
    if (ci < 0) {
        *x = 0, *y = top, *w = f->def->width, *h = f->def->height;
        return 1;
    }
    if (!f->controls) return 0;
    const ControlState *c = &f->controls[ci];
    if (!c->visible) return 0;
    *x = c->x, *y = c->y + top, *w = c->w, *h = c->h;
    return 1;
}

static void draw_op_on(Window w, const DrawOp *op) {
    int x, y, aw, ah;
    if (!drawing_area(op->form, op->control, &x, &y, &aw, &ah)) return;
    XRectangle clip = {(short)x, (short)y, (unsigned short)(aw > 0 ? aw : 0), (unsigned short)(ah > 0 ? ah : 0)};
    XSetClipRectangles(display, graphics, 0, 0, &clip, 1, Unsorted);
    XSetForeground(display, graphics, colour_pixel(op->pen));
    XSetLineAttributes(display, graphics, (unsigned)(op->width > 1 ? op->width : 0), LineSolid, CapRound, JoinRound);
    int left = op->x1 < op->x2 ? op->x1 : op->x2, upper = op->y1 < op->y2 ? op->y1 : op->y2;
    unsigned width = (unsigned)abs(op->x2 - op->x1), height = (unsigned)abs(op->y2 - op->y1);
    switch (op->kind) {
    case DRAW_PSET:
        if (op->width > 1)
            XFillArc(display, w, graphics, x + op->x1 - op->width / 2, y + op->y1 - op->width / 2, (unsigned)op->width,
                     (unsigned)op->width, 0, 360 * 64);
        else
            XDrawPoint(display, w, graphics, x + op->x1, y + op->y1);
        break;
    case DRAW_LINE: XDrawLine(display, w, graphics, x + op->x1, y + op->y1, x + op->x2, y + op->y2); break;
    case DRAW_BOX: XDrawRectangle(display, w, graphics, x + left, y + upper, width, height); break;
    case DRAW_FILLED_BOX: XFillRectangle(display, w, graphics, x + left, y + upper, width + 1, height + 1); break;
    case DRAW_TEXT:
        XDrawString(display, w, graphics, x + op->x1, y + op->y1 + (font ? font->ascent : 10), op->text,
                    (int)(op->length > 4096 ? 4096 : op->length));
        break;
    case DRAW_CIRCLE:
        if (op->fill >= 0) {
            XSetForeground(display, graphics, colour_pixel(op->fill));
            XFillArc(display, w, graphics, x + op->x1 - op->x2, y + op->y1 - op->x2, (unsigned)(2 * op->x2),
                     (unsigned)(2 * op->x2), 0, 360 * 64);
            XSetForeground(display, graphics, colour_pixel(op->pen));
        }
        XDrawArc(display, w, graphics, x + op->x1 - op->x2, y + op->y1 - op->x2, (unsigned)(2 * op->x2),
                 (unsigned)(2 * op->x2), 0, 360 * 64);
        break;
    default: break;
    }
    XSetForeground(display, graphics, BlackPixel(display, screen));
    XSetLineAttributes(display, graphics, 0, LineSolid, CapButt, JoinMiter);
    XSetClipMask(display, graphics, None);
}

static void draw_op_now(const DrawOp *op) {
    FormState *f = &form_states[op->form];
    if (!display || !f->loaded || !f->visible) return;
    draw_op_on(f->window, op);
    XFlush(display);
}

/* Redrawing: the form's own drawing under its controls (control -1), a
 * picture box's over its outline. */
static void draw_kept_ops(Window w, int fi, int ci) {
    for (size_t k = 0; k < draw_count; k++)
        if (draw_ops[k].form == fi && draw_ops[k].control == ci) draw_op_on(w, &draw_ops[k]);
}
