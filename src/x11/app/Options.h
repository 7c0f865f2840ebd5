// The native program's command line, in the style of XScreenSaver's hacks.
// Plain C++: no X here, so that it is tested without a display.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "core/settings/Settings.h"
#include "x11/app/DisplayScale.h"

namespace mirobel::x11 {

enum class Target { OwnWindow, Root, WindowId };

struct Options {
    // The show's settings record: range, order, speed and the kimariji mark
    // from the options,
    // the store's defaults for the rest.
    Settings settings;
    std::optional<Target> target;  // as asked on the command line
    unsigned long windowId = 0;
    std::string display;           // empty: $DISPLAY
    std::optional<int> scale;      // -scale, in percent; else the desktop's Xft.dpi
    bool help = false;
    bool listKimariji = false;  // -test-kimariji: print each poem's and exit
    // For tests that compare runs: a fixed poem sequence, a record of every
    // frame (written as fast as the frames can be drawn), and an end after
    // so many frames.
    std::optional<uint64_t> seed;
    std::string record;
    long frames = -1;  // -1: until told to stop
};

// The options, or the message to print before exiting with status 2.
std::variant<Options, std::string> ParseOptions(int argc, const char* const* argv);

struct Placement {
    Target target;
    unsigned long windowId;
};
// Where to draw: -window-id, then -window, then the window XScreenSaver
// names in its environment variable (it also passes -root), then -root,
// else a window of our own. A variable that names no window is an error.
std::variant<Placement, std::string> ChooseTarget(const Options& options, const char* xscreensaverWindow);

// Parses a window id as X tools print them: decimal or 0x-hexadecimal.
std::optional<unsigned long> ParseWindowId(const std::string& text);

extern const char* const kUsage;

// One line per poem: its number, a tab, its deciding kana as the card
// writes them (UTF-8).
std::string KimarijiList();

}  // namespace mirobel::x11
