/* Prints, for each x y pair given after a window id, 1 when that pixel of
 * the window is black and 0 otherwise, on one line separated by blanks.
 * Usage: pixels WINDOW-ID X Y [X Y ...] */
#define _POSIX_C_SOURCE 200809L

#include <stdio.h>
#include <stdlib.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

int main(int argc, char **argv) {
    if (argc < 4 || argc % 2) {
        fprintf(stderr, "usage: pixels WINDOW-ID X Y [X Y ...]\n");
        return 2;
    }
    Display *display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "pixels: no display\n");
        return 1;
    }
    Window window = (Window)strtoul(argv[1], NULL, 0);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return 1;
    XImage *image = XGetImage(display, window, 0, 0, (unsigned)attributes.width, (unsigned)attributes.height,
                              AllPlanes, ZPixmap);
    if (!image) return 1;
    unsigned long black = BlackPixel(display, DefaultScreen(display));
    for (int i = 2; i + 1 < argc; i += 2) {
        int x = atoi(argv[i]), y = atoi(argv[i + 1]);
        int on = x >= 0 && y >= 0 && x < attributes.width && y < attributes.height && XGetPixel(image, x, y) == black;
        printf(i == 2 ? "%d" : " %d", on);
    }
    printf("\n");
    XDestroyImage(image);
    XCloseDisplay(display);
    return 0;
}
