// The native program's command line, in the style of XScreenSaver's hacks,
// read with the options' table (core/startup/OptionTable.h). Plain C++: no X
// here, so that it is tested without a display.
#pragma once
#include <string>
#include <variant>

#include "core/startup/OptionTable.h"

namespace mirobel::x11 {

// The options, or the message to print before exiting with status 2.
std::variant<Options, std::string> ParseOptions(int argc, const char* const* argv);

// The language -language asks for, else the locale's: the first of LC_ALL,
// LC_MESSAGES and LANG that is set and not empty, as the C library reads them.
Language ChosenLanguage(const Options& options, const char* lcAll, const char* lcMessages, const char* lang);

struct Placement {
    Target target;
    unsigned long windowId;
};
// Where to draw: -window-id, then -window, then the window XScreenSaver
// names in its environment variable (it also passes -root), then -root,
// else a window of our own. A variable that names no window is an error.
std::variant<Placement, std::string> ChooseTarget(const Options& options, const char* xscreensaverWindow);

// What -help prints, from the options' table.
std::string Usage();

// One line per poem: its number, a tab, its deciding kana as the card
// writes them (UTF-8).
std::string KimarijiList();

}  // namespace mirobel::x11
