/* Corvane native runtime: pictures (LoadPicture) shown by forms, picture
 * boxes and Image controls.
 *
 * Compiled as part of vb_native.c (which includes this file at its end).
 * Files are decoded with stb_image (BMP, JPEG, PNG, GIF and more), as the
 * environment decodes them. A Picture object holds the pixels; a surface
 * shows the picture stored in its Picture property at its top left
 * corner, beneath what the program draws; an Image control takes the
 * picture's size unless it stretches the picture to its own. */

#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

typedef struct Picture {
    int width, height;
    unsigned char *rgba; /* NULL: an empty picture */
    XImage *shown;       /* the pixels as last drawn, at shown_w x shown_h */
    int shown_w, shown_h;
} Picture;

static VBValue fn_loadpicture(int argc, VBValue *args) {
    VBObject *o = new_object(TAG_PICTURE, "Picture");
    o->picture = vb_alloc(sizeof(Picture));
    const char *given = argc > 0 && !(args[0].kind == VB_OBJECT && !args[0].object) ? string_of(args[0]) : "";
    if (!*given) return object_value(o);
    const char *path = program_path(given);
    struct stat st;
    if (stat(path, &st) != 0 || !S_ISREG(st.st_mode)) file_fail("File not found: %s", given);
    int w = 0, h = 0, channels = 0;
    unsigned char *data = stbi_load(path, &w, &h, &channels, 4);
    if (!data) failf("Invalid picture: %s", path);
    Picture *p = o->picture;
    p->width = w;
    p->height = h;
    p->rgba = alloc_atomic((size_t)w * (size_t)h * 4);
    memcpy(p->rgba, data, (size_t)w * (size_t)h * 4);
    stbi_image_free(data);
    return object_value(o);
}

/* The picture a Picture property holds (NULL: none, or an empty one). */
static Picture *picture_of(VBValue v) {
    if (v.kind != VB_OBJECT || !v.object) return NULL;
    VBObject *o = v.object;
    return o->tag == TAG_PICTURE && o->picture && o->picture->rgba ? o->picture : NULL;
}

/* The picture as an XImage of w x h pixels (stretched, nearest pixel),
 * made once per size; NULL on a display that is no true-colour one. */
static XImage *shown_image(Picture *p, int w, int h) {
    if (p->shown && p->shown_w == w && p->shown_h == h) return p->shown;
    Visual *visual = DefaultVisual(display, screen);
    int depth = DefaultDepth(display, screen);
    if (visual->class != TrueColor || w <= 0 || h <= 0) return NULL;
    char *data = malloc((size_t)w * (size_t)h * 4);
    if (!data) return NULL;
    XImage *image = XCreateImage(display, visual, (unsigned)depth, ZPixmap, 0, data, (unsigned)w, (unsigned)h, 32, 0);
    if (!image) {
        free(data);
        return NULL;
    }
    /* the masks' shapes once, not per pixel */
    int rs, rb, gs, gb, bs, bb;
    mask_shape(visual->red_mask, &rs, &rb);
    mask_shape(visual->green_mask, &gs, &gb);
    mask_shape(visual->blue_mask, &bs, &bb);
    for (int y = 0; y < h; y++) {
        int sy = (int)((long long)y * p->height / h);
        for (int x = 0; x < w; x++) {
            int sx = (int)((long long)x * p->width / w);
            const unsigned char *px = p->rgba + ((size_t)sy * (size_t)p->width + (size_t)sx) * 4;
            XPutPixel(image, x, y,
                      placed_channel(px[0], rs, rb, visual->red_mask) | placed_channel(px[1], gs, gb, visual->green_mask) |
                          placed_channel(px[2], bs, bb, visual->blue_mask));
        }
    }
    if (p->shown) XDestroyImage(p->shown);
    p->shown = image;
    p->shown_w = w;
    p->shown_h = h;
    return image;
}

/* Draws the surface's picture: the form's (ci -1) at its client area's
 * corner, a control's at its own, clipped to the area. */
static void draw_picture(Window w, int fi, int ci, int x, int y, int area_w, int area_h) {
    Picture *p = picture_of(stored_get(fi, ci, "Picture"));
    if (!p) return;
    int pw = p->width, ph = p->height;
    if (ci >= 0 && control_state(fi, ci)->kind == K_IMAGE && truth_of(stored_get(fi, ci, "Stretch"))) {
        pw = area_w < 1 ? 1 : area_w > 10000 ? 10000 : area_w;
        ph = area_h < 1 ? 1 : area_h > 10000 ? 10000 : area_h;
    }
    XImage *image = shown_image(p, pw, ph);
    if (!image) return;
    XPutImage(display, w, graphics, image, 0, 0, x, y, (unsigned)(pw < area_w ? pw : area_w),
              (unsigned)(ph < area_h ? ph : area_h));
}

/* Picture = ...: an Image control takes the picture's size unless it
 * stretches it. */
static void picture_set(int fi, int ci, VBValue value) {
    if (value.kind != VB_OBJECT || (value.object && ((VBObject *)value.object)->tag != TAG_PICTURE))
        fatal("Type mismatch: Picture");
    stored_set(fi, ci, "Picture", value);
    Picture *p = picture_of(value);
    if (ci >= 0 && p) {
        ControlState *c = control_state(fi, ci);
        if (c->kind == K_IMAGE && !truth_of(stored_get(fi, ci, "Stretch"))) {
            c->w = p->width;
            c->h = p->height;
        }
    }
    if (form_states[fi].visible) redraw(fi);
}
