// Cost and memory of the native show's frames on a real X server, at
// 1280 x 720 and 3840 x 2160 at 100 %, and 3840 x 2160 at 200 %, presenting the changed rectangles (and, for
// comparison, whole frames). Each measurement runs in a child process of
// its own so that its memory figures are its own. Prints figures; asserts
// nothing. Run it on a display at least 3840 x 2160 (tools/x11/bench.sh).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "core/base/Scaling.h"
#include "x11/show/CairoShowSession.h"
#include "x11/show/XSink.h"

using namespace mirobel::x11;

namespace {
// kB of a /proc/self/status field (VmRSS, VmHWM).
long StatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field) + 1));
    return -1;
}

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[static_cast<size_t>(p * (v.size() - 1))];
}

int Measure(int width, int height, int dpi, bool whole, int frames) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "x11_frame_bench: no display (run it through tools/x11/bench.sh)\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    XSetWindowAttributes wa{};
    wa.override_redirect = True;
    wa.background_pixel = BlackPixel(display, screen);
    Window window = XCreateWindow(display, RootWindow(display, screen), 0, 0, width, height, 0, CopyFromParent,
                                  InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &wa);
    XMapWindow(display, window);
    XSync(display, False);
    const long before = StatusKb("VmRSS:");

    std::vector<double> costs;
    {
        CairoShowSession show({.SelectFirst = 1, .SelectEnd = 100, .SelectType = 2, .Speed = 1}, 1, dpi);
        show.PresentWholeFrames(whole);
        XSink sink(display, window, DefaultVisual(display, screen), DefaultDepth(display, screen),
                   mirobel::Magnify(mirobel::kTileUnits, dpi));
        show.SetSink(&sink);
        show.Start(width, height);
        XSync(display, False);
        for (int i = 0; i < frames + 20; ++i) {
            const auto t0 = std::chrono::steady_clock::now();
            show.NextFrame();
            XSync(display, False);  // the server has drawn it
            const auto t1 = std::chrono::steady_clock::now();
            if (i >= 20) costs.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        }
        const long after = StatusKb("VmRSS:");
        std::printf("%4d x %-4d %4d %% %-13s %9.3f %9.3f %11.1f %11.1f %11.1f\n", width, height, dpi * 100 / 96,
                    whole ? "whole frame" : "changed rects", Percentile(costs, 0.5), Percentile(costs, 0.9),
                    after / 1024.0, StatusKb("VmHWM:") / 1024.0, (after - before) / 1024.0);
        show.SetSink(nullptr);
    }
    XDestroyWindow(display, window);
    XCloseDisplay(display);
    return 0;
}
}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(50, std::atoi(argv[1])) : 1500;
    std::printf("native show, ms per frame (frame painted and drawn by the X server) over %d frames;\n"
                "memory of the process in MB (RSS after the run, peak RSS, RSS the show added)\n", frames);
    std::printf("%-18s %-13s %9s %9s %11s %11s %11s\n", "screen, scale", "presenting", "median", "90th pc", "RSS",
                "peak RSS", "show's own");
    std::fflush(stdout);
    const int sizes[][3] = {{1280, 720, 96}, {3840, 2160, 96}, {3840, 2160, 192}};
    int failures = 0;
    for (bool whole : {false, true})
        for (const auto& size : sizes) {
            pid_t child = fork();
            if (child == 0) {
                const int status = Measure(size[0], size[1], size[2], whole, frames);
                std::fflush(stdout);
                _exit(status);
            }
            int status = 0;
            waitpid(child, &status, 0);
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) ++failures;
            std::fflush(stdout);
        }
    std::printf("the X server holds one back tile per window, whatever the screen size: %d x %d pixels, "
                "magnified with the show\n", mirobel::kTileUnits, mirobel::kTileUnits);
    return failures ? 1 : 0;
}
