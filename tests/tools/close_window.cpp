// Asks a window to close the way a window manager does when the user clicks
// its close button: a WM_DELETE_WINDOW client message.
// Usage: close_window WINDOW_ID
#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: close_window WINDOW_ID\n");
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        fprintf(stderr, "close_window: cannot open the display\n");
        return 1;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = strtoul(argv[1], nullptr, 0);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] =
        static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
