/* A plain black window for the native show's tests to hand to the program
 * with -window-id or $XSCREENSAVER_WINDOW, as XScreenSaver hands it one.
 * Prints the window id once it is mapped; then reads commands on stdin:
 * "resize W H" (answers "ok W H" once the server has done it), "move X Y"
 * (answers "ok X Y"); end of input closes the window. */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: x11_host WIDTH HEIGHT\n");
        return 2;
    }
    Display* d = XOpenDisplay(NULL);
    if (!d) return 1;
    int s = DefaultScreen(d);
    Window w = XCreateSimpleWindow(d, RootWindow(d, s), 0, 0, (unsigned)atoi(argv[1]), (unsigned)atoi(argv[2]), 0,
                                   BlackPixel(d, s), BlackPixel(d, s));
    XSelectInput(d, w, StructureNotifyMask);
    XMapWindow(d, w);
    XEvent e;
    do XNextEvent(d, &e);
    while (e.type != MapNotify);
    printf("0x%lx\n", (unsigned long)w);
    fflush(stdout);
    char line[128];
    while (fgets(line, sizeof line, stdin)) {
        unsigned width, height;
        int x, y;
        if (sscanf(line, "move %d %d", &x, &y) == 2) {
            XMoveWindow(d, w, x, y);
            XSync(d, False);
            printf("ok %d %d\n", x, y);
            fflush(stdout);
            continue;
        }
        if (sscanf(line, "resize %u %u", &width, &height) == 2) {
            XResizeWindow(d, w, width, height);
            XSync(d, False);
            printf("ok %u %u\n", width, height);
            fflush(stdout);
        }
    }
    XDestroyWindow(d, w);
    XCloseDisplay(d);
    return 0;
}
