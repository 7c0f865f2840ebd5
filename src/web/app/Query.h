// The page's settings, read from its address's query
// (?speed=3&order=random&first=1&last=100&seed=7&scale=150&kimariji=1&saver). Plain
// C++: no browser here, so that it is tested natively.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/settings/Settings.h"

namespace mirobel::web {

struct PageOptions {
    // Range, order and speed from the query, the store's defaults for the rest.
    Settings settings;
    std::optional<uint64_t> seed;  // a fixed poem sequence; else the clock's
    int scale = 100;               // percent, on top of the device's pixel ratio
    // Any key, click or pointer move leaves full screen, as a saver ends.
    // Without it input does nothing: a wallpaper must not react to it.
    bool saver = false;
    // For tests that compare runs: this many frames without waits, each
    // written to the page's record, then the show stops.
    long record = 0;
};

inline constexpr int kMinScale = 100, kMaxScale = 400;

// Never fails: a value that is missing, malformed or out of range keeps its
// default, as the stored settings do; a range whose first comes after its
// last is the whole range. Unknown names are ignored.
PageOptions ParseQuery(std::string_view query);

}  // namespace mirobel::web
