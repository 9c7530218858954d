/* A plain X11 window for the integration tests, as another program that hands its window over.
 *   x_test_window X Y WIDTH HEIGHT : maps a white WIDTHxHEIGHT window at X,Y and prints its id
 *       ("0x..."). SIGUSR1 resizes it to twice its size; SIGUSR2 destroys it; SIGTERM ends. */
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>

static volatile sig_atomic_t g_resize, g_destroy, g_end;

static void OnSignal(int signal)
{
    if (signal == SIGUSR1) g_resize = 1;
    else if (signal == SIGUSR2) g_destroy = 1;
    else g_end = 1;
}

int main(int argc, char** argv)
{
    if (argc != 5) {
        fprintf(stderr, "usage: x_test_window X Y WIDTH HEIGHT\n");
        return 2;
    }
    const int x = atoi(argv[1]), y = atoi(argv[2]);
    const unsigned width = (unsigned)atoi(argv[3]), height = (unsigned)atoi(argv[4]);
    Display* display = XOpenDisplay(NULL);
    if (!display) return 1;
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes = {0};
    attributes.background_pixel = WhitePixel(display, screen);
    attributes.override_redirect = True; /* placed where asked, with or without a window manager */
    Window window = XCreateWindow(display, RootWindow(display, screen), x, y, width, height, 0, CopyFromParent,
                                  InputOutput, CopyFromParent, CWBackPixel | CWOverrideRedirect, &attributes);
    XMapWindow(display, window);
    XSync(display, False);
    printf("0x%lx\n", (unsigned long)window);
    fflush(stdout);

    struct sigaction action = {0};
    action.sa_handler = OnSignal;
    sigaction(SIGUSR1, &action, NULL);
    sigaction(SIGUSR2, &action, NULL);
    sigaction(SIGTERM, &action, NULL);
    struct pollfd connection = {ConnectionNumber(display), POLLIN, 0};
    while (!g_end) {
        poll(&connection, 1, 50);
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
        }
        if (g_resize) {
            g_resize = 0;
            XResizeWindow(display, window, 2 * width, 2 * height);
            XSync(display, False);
        }
        if (g_destroy && window) {
            XDestroyWindow(display, window);
            XSync(display, False);
            window = 0;
        }
    }
    XCloseDisplay(display);
    return 0;
}
