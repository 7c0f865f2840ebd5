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
#include <optional>

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

// The connection to the X server, closed by its owner whichever way the
// show ends; the server destroys a window of our own with it.
using DisplayConnection = std::unique_ptr<Display, decltype(&XCloseDisplay)>;
int CloseFile(std::FILE* file) { return std::fclose(file); }
using File = std::unique_ptr<std::FILE, decltype(&CloseFile)>;

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

// Where the show draws.
struct Where {
    Window window;
    bool own;  // a window of our own, which Esc, q and its close button end
    Atom deleteWindow;
    XWindowAttributes attributes{};
};

std::optional<Where> FindWindow(Display* display, const Placement& placement, int dpi) {
    Where w{placement.windowId, placement.target == Target::OwnWindow, XInternAtom(display, "WM_DELETE_WINDOW", False)};
    if (w.own) w.window = OwnWindow(display, w.deleteWindow, dpi);
    if (placement.target == Target::Root) w.window = DefaultRootWindow(display);
    if (!XGetWindowAttributes(display, w.window, &w.attributes) || windowGone) {
        std::fprintf(stderr, "mirobel: no window 0x%lx on this display\n", w.window);
        return std::nullopt;
    }
    // Another client's window: size changes and exposures only; its input
    // belongs to its owner.
    if (!w.own) XSelectInput(display, w.window, w.attributes.your_event_mask | StructureNotifyMask | ExposureMask);
    return w;
}

// The show in one window, in the shape of an XScreenSaver hack: made (init)
// on a window it starts the show in, Draw takes one frame and says how long
// until the next, Reshape and Event take what the server reports, and what
// the hack holds goes with it (free).
struct Hack {
    Hack(Display* display, const Where& where, int dpi, const Options& options, File record)
        : display(display),
          where(where),
          width(where.attributes.width),
          height(where.attributes.height),
          record(std::move(record)),
          frames(options.frames),
          sink(display, where.window, where.attributes.visual, where.attributes.depth, Magnify(kTileUnits, dpi)),
          show(options.settings, options.seed, dpi),
          // A recorded run is compared frame by frame, not in time: no waits.
          interval(this->record ? std::chrono::milliseconds(0) : std::chrono::milliseconds(show.FrameInterval())) {
        show.SetSink(&sink);
        show.Start(width, height);
        if (this->record) show.Record(this->record.get(), frame);
    }

    std::chrono::microseconds Draw() {
        show.NextFrame();
        // A slow server slows the show instead of queueing frames behind
        // each other: every few frames the show waits until the server has
        // done them. Waiting every frame would wake the program twice a
        // frame for nothing.
        if (frame % kFramesBetweenSyncs == 0)
            XSync(display, False);
        else
            XFlush(display);
        ++frame;
        if (record) show.Record(record.get(), frame);
        return interval;
    }

    void Reshape(int newWidth, int newHeight) {
        if (newWidth == width && newHeight == height) return;
        width = newWidth, height = newHeight;
        // The window may have no background of its own.
        sink.FillBlack({0, 0, width, height});
        show.Resize(width, height);
    }

    // False when the event ends the show.
    bool Event(const XEvent& e) {
        switch (e.type) {
            case ConfigureNotify:
                if (e.xconfigure.window == where.window) Reshape(e.xconfigure.width, e.xconfigure.height);
                return true;
            case Expose:
                show.Repaint({e.xexpose.x, e.xexpose.y, e.xexpose.x + e.xexpose.width, e.xexpose.y + e.xexpose.height});
                return true;
            case KeyPress: {
                XKeyEvent key = e.xkey;
                const KeySym sym = XLookupKeysym(&key, 0);
                return !(where.own && (sym == XK_Escape || sym == XK_q || sym == XK_Q));
            }
            case ClientMessage:
                return !(where.own && static_cast<Atom>(e.xclient.data.l[0]) == where.deleteWindow);
            case DestroyNotify:
                if (e.xdestroywindow.window == where.window) windowGone = 1;
                return true;
            default:
                return true;
        }
    }

    // The frames a test asked for are drawn.
    bool Done() const { return frames >= 0 && frame + 1 >= frames; }
    // Every frame's line reached the record, if there is one.
    bool Recorded() const { return !record || std::fflush(record.get()) == 0; }

    Display* const display;
    const Where where;
    int width, height;
    File record;
    long frame = 0;
    const long frames;
    XSink sink;
    // After the sink, so that the show, and the pictures it keeps in the
    // sink, go first.
    CairoShowSession show;
    const std::chrono::microseconds interval;
};

// Events as they come and frames when they are due, until a signal, the
// window's end, an event that ends the show, or the last frame asked for.
void Run(Display* display, Hack& hack) {
    const int xfd = ConnectionNumber(display);
    auto due = Clock::now() + hack.interval;
    while (!hack.Done()) {
        while (XPending(display)) {
            XEvent e;
            XNextEvent(display, &e);
            if (!hack.Event(e)) return;
        }
        if (windowGone) return;
        const auto now = Clock::now();
        if (now >= due) {
            const auto delay = hack.Draw();
            due += delay;
            if (due < now) due = now + delay;  // no bursts to catch up
            continue;
        }
        pollfd fds[2] = {{xfd, POLLIN, 0}, {wakePipe[0], POLLIN, 0}};
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(due - now).count();
        if (poll(fds, 2, static_cast<int>(wait)) > 0 && (fds[1].revents & POLLIN)) return;
    }
}
}  // namespace

int RunShow(const Options& options, const Placement& placement) {
    const DisplayConnection display(XOpenDisplay(options.display.empty() ? nullptr : options.display.c_str()),
                                    XCloseDisplay);
    if (!display) {
        std::fprintf(stderr, "mirobel: cannot open display '%s'\n", XDisplayName(options.display.c_str()));
        return 1;
    }
    XSetErrorHandler(OnXError);
    // Read once at start, as the Windows show reads its scale.
    const int dpi = ShowDpi(options.scale, XResourceManagerString(display.get()));
    const auto where = FindWindow(display.get(), placement, dpi);
    if (!where) return 1;
    File record(options.record.empty() ? nullptr : std::fopen(options.record.c_str(), "w"), CloseFile);
    if (!options.record.empty() && !record) {
        std::fprintf(stderr, "mirobel: cannot write '%s'\n", options.record.c_str());
        return 1;
    }
    if (!InstallSignals()) {
        std::fprintf(stderr, "mirobel: cannot set up signals\n");
        return 1;
    }
    Hack hack(display.get(), *where, dpi, options, std::move(record));
    Run(display.get(), hack);
    return hack.Recorded() ? 0 : 1;
}

}  // namespace mirobel::x11
