/* Prints one line for every top-level window mapped on the display until it is killed, so a
 * test can tell whether a program showed any window at all, however briefly. */
#include <X11/Xlib.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

static volatile sig_atomic_t stop = 0;
static void on_signal(int sig) { (void)sig; stop = 1; }

int main(void)
{
    Display* display = XOpenDisplay(NULL);
    if (!display) return 2;
    signal(SIGTERM, on_signal);
    signal(SIGINT, on_signal);
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    printf("ready\n");
    fflush(stdout);
    while (!stop) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify) {
                XWindowAttributes attributes;
                char* name = NULL;
                memset(&attributes, 0, sizeof attributes);
                XGetWindowAttributes(display, event.xmap.window, &attributes);
                XFetchName(display, event.xmap.window, &name);
                printf("mapped 0x%lx %dx%d %s\n", event.xmap.window, attributes.width, attributes.height,
                       name ? name : "");
                fflush(stdout);
                if (name) XFree(name);
            }
        }
        usleep(2000);
    }
    XCloseDisplay(display);
    return 0;
}
