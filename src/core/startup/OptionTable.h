// The options of the native program's command line and of the web page's
// address, in one table: each option's names, values, default and meaning
// are written once here, and the two parsers, the usage text and the manual
// page all read them. Plain C++, so that it is tested natively.
#pragma once
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "core/settings/Settings.h"

namespace mirobel {

// Where the native program draws, as asked on its command line.
enum class Target { OwnWindow, Root, WindowId };

// What the options ask for. Each platform reads the part it offers.
struct Options {
    // Range or study set, order, speed and the kimariji mark; the store's defaults for
    // the rest.
    Settings settings;
    std::optional<int> scale;      // percent; else the desktop's scaling
    std::optional<uint64_t> seed;  // a fixed poem sequence; else the clock's
    std::optional<Language> language;  // else the locale's or the browser's
    // The native program's.
    std::optional<Target> target;
    unsigned long windowId = 0;
    std::string display;  // empty: $DISPLAY
    bool help = false;
    bool listKimariji = false;  // print each poem's kimariji and exit
    bool listSets = false;      // print each study set's poems and exit
    bool listRenderings = false;  // print each poem's English rendering and exit
    // For tests that compare runs: a record of every frame (written as fast
    // as the frames can be drawn), and an end after so many frames.
    std::string record;
    long frames = -1;  // -1: until told to stop
    // The page's. Without `saver` input does nothing, as a wallpaper must
    // not react to it; with it any input leaves full screen, as a saver ends.
    bool saver = false;
    long recordFrames = 0;  // this many frames without waits, each recorded
    bool operator==(const Options&) const = default;
};

enum class OptionKind {
    Flag,      // on when named; the page also takes 1/true/yes/on, 0/false/no/off
    Whole,     // a whole number from low to high
    Choice,    // one of the choices' words, stored as its index
    Text,      // any text but the empty one
    WindowId,  // decimal or 0x-hexadecimal, as X tools print window ids
};

// How the usage text and the manual page list an option: the ways to place
// the show are alternatives to each other; diagnostics come apart, last.
enum class OptionGroup { Placement, Common, Diagnostic };

inline constexpr long long kNoLimit = std::numeric_limits<long long>::max();

struct OptionValue {
    long long number = 0;  // a flag's 1 or 0, a number, a choice's index
    std::string_view text;
};

struct Option {
    const char* name = nullptr;   // on the command line, without its dash; null: the page's only
    const char* query = nullptr;  // in the page's address; null: the native program's only
    const char* alias = nullptr;  // a second name on the command line
    OptionKind kind = OptionKind::Flag;
    OptionGroup group = OptionGroup::Common;
    long long low = 0, high = 0;    // Whole
    const char* choices = nullptr;  // Choice: "first|second|third"
    const char* arg = nullptr;      // the value's placeholder: "N", "FILE"
    const char* wants = nullptr;    // Text, WindowId: what the value was meant to be
    const char* byDefault = nullptr;  // what the program does without the option
    const char* meaning = "";         // one line for the usage text and the manual
    const char* details = nullptr;    // more, for the manual only
    void (*store)(Options&, const OptionValue&) = nullptr;
};

std::span<const Option> OptionTable();
// By the name after the dash (or the alias); null when there is none.
const Option* CommandLineOption(std::string_view name);
const Option* QueryOption(std::string_view name);

// Reads an option's value (none for a flag on the command line, or when the
// command line ends before it), or says what is wrong with it, naming the
// option as `shown`.
std::variant<OptionValue, std::string> ReadOptionValue(const Option& option, std::string_view shown,
                                                       std::optional<std::string_view> text);

// "1 to 5", "from 0", "random, ascending or descending"; empty for the rest.
std::string OptionRange(const Option& option);

// Parses a window id as X tools print them: decimal or 0x-hexadecimal.
std::optional<unsigned long> ParseWindowId(std::string_view text);

}  // namespace mirobel
