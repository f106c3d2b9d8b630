/* Asks an X window to close, as a window manager's close button does: sends it a
 * WM_PROTOCOLS client message carrying WM_DELETE_WINDOW.
 * Usage: send_close WINDOW_ID (decimal, or hexadecimal with 0x).
 * Exits with 0 once the server has accepted the message, 1 on any error. */
#include <X11/Xlib.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int x_error_seen;

static int on_x_error(Display *display, XErrorEvent *error) {
    char text[256];
    XGetErrorText(display, error->error_code, text, sizeof text);
    fprintf(stderr, "send_close: X error: %s\n", text);
    x_error_seen = 1;
    return 0;
}

static int parse_window(const char *arg, Window *window) {
    char *end;
    errno = 0;
    unsigned long value = strtoul(arg, &end, 0);
    if (errno != 0 || end == arg || *end != '\0' || value == 0) {
        return 0;
    }
    *window = (Window)value;
    return 1;
}

int main(int argc, char **argv) {
    Window window;
    if (argc != 2 || !parse_window(argv[1], &window)) {
        fprintf(stderr, "usage: send_close WINDOW_ID\n");
        return 1;
    }
    Display *display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "send_close: cannot open display\n");
        return 1;
    }
    XSetErrorHandler(on_x_error);

    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    /* XSync waits for the server's answer, so a bad window id is reported here. */
    XSync(display, False);

    XCloseDisplay(display);
    return x_error_seen ? 1 : 0;
}
