#include "x11/app/XShow.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "core/base/Scaling.h"
#include "x11/app/DisplayScale.h"
#include "x11/show/CairoShowSession.h"
#include "x11/show/XSink.h"

namespace mirobel::x11 {

namespace {
// At most this many frames wait on the X server at any time.
constexpr long kFramesBetweenSyncs = 8;
using Clock = std::chrono::steady_clock;

// A signal only writes a byte here; the loop's poll wakes on it at once,
// whatever the pace of the frames.
int wakePipe[2] = {-1, -1};
volatile sig_atomic_t windowGone = 0;

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] ssize_t n = write(wakePipe[1], &byte, 1);
}

// A window that another program owns may vanish under us; that ends the
// show rather than the default handler's exit with a message.
int OnXError(Display*, XErrorEvent* e) {
    if (e->error_code == BadWindow || e->error_code == BadDrawable) windowGone = 1;
    return 0;
}

bool InstallSignals() {
    if (pipe(wakePipe) != 0) return false;
    for (int fd : wakePipe) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    for (int fd : wakePipe) fcntl(fd, F_SETFD, FD_CLOEXEC);
    struct sigaction sa{};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    for (int s : {SIGTERM, SIGINT, SIGHUP}) sigaction(s, &sa, nullptr);
    return true;
}

Window OwnWindow(Display* display, Atom deleteWindow, int dpi) {
    const int screen = DefaultScreen(display);
    const unsigned width = std::min(Magnify(1280, dpi), DisplayWidth(display, screen));
    const unsigned height = std::min(Magnify(720, dpi), DisplayHeight(display, screen));
    Window w = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, width, height, 0,
                                   BlackPixel(display, screen), BlackPixel(display, screen));
    XStoreName(display, w, "Mirobel");
    XClassHint hint{const_cast<char*>("mirobel"), const_cast<char*>("Mirobel")};
    XSetClassHint(display, w, &hint);
    XSetWMProtocols(display, w, &deleteWindow, 1);
    XSelectInput(display, w, KeyPressMask | StructureNotifyMask | ExposureMask);
    XMapWindow(display, w);
    return w;
}
}  // namespace

int RunShow(const Options& options, const Placement& placement) {
    Display* display = XOpenDisplay(options.display.empty() ? nullptr : options.display.c_str());
    if (!display) {
        std::fprintf(stderr, "mirobel: cannot open display '%s'\n", XDisplayName(options.display.c_str()));
        return 1;
    }
    XSetErrorHandler(OnXError);
    // Read once at start, as the Windows show reads its scale.
    const int dpi = ShowDpi(options.scale, XResourceManagerString(display));
    const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    Window window = 0;
    bool own = false;
    switch (placement.target) {
        case Target::OwnWindow:
            window = OwnWindow(display, deleteWindow, dpi);
            own = true;
            break;
        case Target::Root:
            window = DefaultRootWindow(display);
            break;
        case Target::WindowId:
            window = placement.windowId;
            break;
    }
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes) || windowGone) {
        std::fprintf(stderr, "mirobel: no window 0x%lx on this display\n", window);
        XCloseDisplay(display);
        return 1;
    }
    // Another client's window: size changes and exposures only; its input
    // belongs to its owner.
    if (!own) XSelectInput(display, window, attributes.your_event_mask | StructureNotifyMask | ExposureMask);

    std::FILE* record = nullptr;
    if (!options.record.empty() && !(record = std::fopen(options.record.c_str(), "w"))) {
        std::fprintf(stderr, "mirobel: cannot write '%s'\n", options.record.c_str());
        XCloseDisplay(display);
        return 1;
    }
    if (!InstallSignals()) {
        std::fprintf(stderr, "mirobel: cannot set up signals\n");
        XCloseDisplay(display);
        return 1;
    }

    int width = attributes.width, height = attributes.height;
    int status = 0;
    {
        CairoShowSession show(options.settings, options.seed, dpi);
        XSink sink(display, window, attributes.visual, attributes.depth, Magnify(XSink::kTile, dpi));
        show.SetSink(&sink);
        show.Start(width, height);
        long frame = 0;
        if (record) show.Record(record, frame);
        // A recorded run is compared frame by frame, not in time: no waits.
        const auto interval = std::chrono::milliseconds(record ? 0 : show.FrameInterval());
        auto due = Clock::now() + interval;
        const int xfd = ConnectionNumber(display);
        bool running = options.frames < 0 || frame + 1 < options.frames;

        while (running) {
            while (running && XPending(display)) {
                XEvent e;
                XNextEvent(display, &e);
                switch (e.type) {
                    case ConfigureNotify:
                        if (e.xconfigure.window == window &&
                            (e.xconfigure.width != width || e.xconfigure.height != height)) {
                            width = e.xconfigure.width, height = e.xconfigure.height;
                            // The window may have no background of its own.
                            sink.FillBlack({0, 0, width, height});
                            show.Resize(width, height);
                        }
                        break;
                    case Expose:
                        show.Repaint({e.xexpose.x, e.xexpose.y, e.xexpose.x + e.xexpose.width,
                                      e.xexpose.y + e.xexpose.height});
                        break;
                    case KeyPress: {
                        const KeySym key = XLookupKeysym(&e.xkey, 0);
                        if (own && (key == XK_Escape || key == XK_q || key == XK_Q)) running = false;
                        break;
                    }
                    case ClientMessage:
                        if (own && static_cast<Atom>(e.xclient.data.l[0]) == deleteWindow) running = false;
                        break;
                    case DestroyNotify:
                        if (e.xdestroywindow.window == window) windowGone = 1;
                        break;
                }
            }
            if (windowGone || !running) break;

            const auto now = Clock::now();
            if (now >= due) {
                show.NextFrame();
                // A slow server slows the show instead of queueing frames
                // behind each other: every few frames the show waits until
                // the server has done them. Waiting every frame would wake
                // the program twice a frame for nothing.
                if (frame % kFramesBetweenSyncs == 0)
                    XSync(display, False);
                else
                    XFlush(display);
                ++frame;
                if (record) show.Record(record, frame);
                if (options.frames >= 0 && frame + 1 >= options.frames) break;
                due += interval;
                if (due < now) due = now + interval;  // no bursts to catch up
                continue;
            }
            pollfd fds[2] = {{xfd, POLLIN, 0}, {wakePipe[0], POLLIN, 0}};
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(due - now).count();
            if (poll(fds, 2, static_cast<int>(wait)) > 0 && (fds[1].revents & POLLIN)) break;
        }
        show.SetSink(nullptr);
    }
    if (record && std::fclose(record) != 0) status = 1;
    if (own && !windowGone) XDestroyWindow(display, window);
    XCloseDisplay(display);
    return status;
}

}  // namespace mirobel::x11
