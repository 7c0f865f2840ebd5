// Runs the show's real GDI seams off-window with a fixed poem sequence and
// writes the per-frame record that the native program writes with its test
// options, so that a test can compare the two layers' runs.
//
//   show_record WIDTH HEIGHT SEED FRAMES ORDER FIRST LAST OUT [KIMARIJI]
#include <cstdio>
#include <cstdlib>

#include "win32/base/Surface.h"
#include "win32/show/Show.h"
// After <windows.h>: its DrawText macro renames the canvas method alike.
#include "app/InstallPlatform.h"
#include "core/base/Platform.h"
#include "core/settings/Settings.h"
#include "core/show/ShowState.h"

using namespace mirobel;

int main(int argc, char** argv) {
    if (argc != 9 && argc != 10) {
        std::fprintf(stderr, "usage: show_record WIDTH HEIGHT SEED FRAMES ORDER FIRST LAST OUT [KIMARIJI]\n");
        return 2;
    }
    const int width = std::atoi(argv[1]), height = std::atoi(argv[2]);
    const long frames = std::atol(argv[4]);
    std::FILE* out = std::fopen(argv[8], "w");
    if (!out) return 1;

    AddEmbeddedFonts();
    InstallWin32Platform();
    Settings settings;
    settings.SelectType = static_cast<int16_t>(std::atoi(argv[5]));
    settings.SelectFirst = static_cast<int16_t>(std::atoi(argv[6]));
    settings.SelectEnd = static_cast<int16_t>(std::atoi(argv[7]));
    settings.Kimariji = argc == 10 && std::atoi(argv[9]) == 1;
    Surface screen;
    screen.Resize(width, height, RGB(0, 0, 0));
    {
        // The native show runs at the 96-dpi geometry; so does this run.
        DisplayShow show(settings, 96, {0, 0, width, height}, Presentation::ChangedRects, {.dc = screen.dc},
                         std::strtoull(argv[3], nullptr, 10));
        for (long n = 0; n < frames; ++n) {
            if (n == 0) show.driver.Start(width, height);
            else show.driver.NextFrame();
            show.driver.Record(out, n);
        }
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
