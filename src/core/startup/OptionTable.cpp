#include "core/startup/OptionTable.h"

#include <charconv>

#include "core/base/Scaling.h"

namespace mirobel {

namespace {
using enum OptionKind;
using enum OptionGroup;
using V = const OptionValue&;

// In the order the usage text and the manual list them.
constexpr Option kTable[] = {
    {.name = "window", .group = Placement, .meaning = "draw in a window of its own (the default when started by hand)",
     .store = [](Options& o, V) { o.target = Target::OwnWindow; }},
    {.name = "root", .group = Placement,
     .meaning = "draw on the root window, or in the window that XSCREENSAVER_WINDOW names",
     .details = "The daemon passes this option, and names its window in XSCREENSAVER_WINDOW.",
     .store = [](Options& o, V) { o.target = Target::Root; }},
    {.name = "window-id", .kind = WindowId, .group = Placement, .arg = "ID", .wants = "a window id (decimal or 0x...)",
     .meaning = "draw in an existing window, given in decimal or as 0x and hexadecimal digits",
     .store = [](Options& o, V v) { o.target = Target::WindowId, o.windowId = static_cast<unsigned long>(v.number); }},
    {.name = "display", .kind = Text, .arg = "NAME", .wants = "a display name", .byDefault = "$DISPLAY",
     .meaning = "the X display to use", .store = [](Options& o, V v) { o.display = v.text; }},
    {.name = "speed", .query = "speed", .kind = Whole, .low = 1, .high = 5, .arg = "N", .byDefault = "3",
     .meaning = "the card's pace, from the fastest to the slowest",
     .store = [](Options& o, V v) { o.settings.Speed = static_cast<int16_t>(v.number); }},
    // The choices in the order of SelectType's values, from 1.
    {.name = "order", .query = "order", .kind = Choice, .choices = "random|ascending|descending", .arg = "ORDER",
     .byDefault = "random", .meaning = "the order in which the range's poems follow each other",
     .store = [](Options& o, V v) { o.settings.SelectType = static_cast<int16_t>(v.number + 1); }},
    {.name = "first", .query = "first", .kind = Whole, .low = 1, .high = 100, .arg = "N", .byDefault = "1",
     .meaning = "the range's first poem, by its number",
     .store = [](Options& o, V v) { o.settings.SelectFirst = static_cast<int16_t>(v.number); }},
    {.name = "last", .query = "last", .kind = Whole, .low = 1, .high = 100, .arg = "N", .byDefault = "100",
     .meaning = "the range's last poem, not before the first",
     .store = [](Options& o, V v) { o.settings.SelectEnd = static_cast<int16_t>(v.number); }},
    // The choices in the order of the sets' numbers, from 1.
    {.name = "set", .query = "set", .kind = Choice,
     .choices = "blue|pink|yellow|green|orange|kimariji1|kimariji2|kimariji3|kimariji4|kimariji5|kimariji6",
     .arg = "SET", .meaning = "keep to one study set; without it, to the range from -first to -last",
     .details = "The five colours of the school game (blue, pink, yellow, green, orange: twenty poems each) and the "
                "groups by the number of opening sounds that decide a poem (kimariji1: one sound, up to kimariji6). "
                "The order still applies within the set; -first and -last are then not used.",
     .store = [](Options& o, V v) { o.settings.Set = static_cast<int16_t>(v.number + 1); }},
    {.name = "scale", .query = "scale", .kind = Whole, .low = kMinScale, .high = kMaxScale, .arg = "PERCENT",
     .meaning = "the show's size in percent; without it, the desktop's scaling",
     .details = "100 percent is the show's layout at 96 dots per inch. The desktop's scaling is read from Xft.dpi in "
                "the X resource database (see xrdb(1)): at 192 dots per inch the show is drawn at 200 percent; "
                "without that either, at 100 percent. Everything is magnified alike: the card, its texts, the "
                "portrait, the steps of the motion and the scrolling rendering; the texts are drawn from their "
                "outlines at that size.",
     .store = [](Options& o, V v) { o.scale = static_cast<int>(v.number); }},
    {.name = "kimariji", .query = "kimariji", .meaning = "brush each poem's deciding sounds (kimariji) in vermilion",
     .details = "The kimariji are the fewest opening sounds of the recited poem that no other poem shares; they are "
                "marked as they are written, as karuta study cards print them. The rest of the card is unchanged.",
     .store = [](Options& o, V v) { o.settings.Kimariji = v.number != 0; }},
    // The choices in the order of Language's values.
    {.name = "language", .query = "lang", .kind = Choice, .choices = "ja|en", .arg = "LANG",
     .byDefault = "from $LC_ALL, $LC_MESSAGES or $LANG",
     .meaning = "the rendering that scrolls under the card: ja Japanese, en English",
     .details = "Without it the show follows the locale: the first of LC_ALL, LC_MESSAGES and LANG that is set; "
                "a Japanese locale (ja_JP.UTF-8) gives the Japanese rendering, any other the English one. The page "
                "follows the browser's language instead. The card itself, the poem in kana and the poet's name, is "
                "the same in either language.",
     .store = [](Options& o, V v) { o.language = v.number == 0 ? Language::Japanese : Language::English; }},
    {.name = "help", .alias = "h", .meaning = "print a summary of the options and exit",
     .store = [](Options& o, V) { o.help = true; }},
    {.name = "test-seed", .query = "seed", .kind = Whole, .group = Diagnostic, .low = 0, .high = kNoLimit, .arg = "N",
     .meaning = "the poems follow the fixed sequence of this seed, the same on every platform",
     .store = [](Options& o, V v) { o.seed = static_cast<uint64_t>(v.number); }},
    {.name = "test-record", .kind = Text, .group = Diagnostic, .arg = "FILE", .wants = "a file name",
     .meaning = "write what each frame decided to this file, and draw the frames without waiting",
     .details = "One line a frame: where the card stands, which poem it carries and where the rendering stands.",
     .store = [](Options& o, V v) { o.record = v.text; }},
    {.name = "test-frames", .kind = Whole, .group = Diagnostic, .low = 1, .high = kNoLimit, .arg = "N",
     .meaning = "end after this many frames", .store = [](Options& o, V v) { o.frames = static_cast<long>(v.number); }},
    {.name = "test-kimariji", .group = Diagnostic,
     .meaning = "print each poem's number and kimariji as the card writes them, and exit",
     .details = "One line per poem: its number, a tab and its kimariji in historical kana, UTF-8.",
     .store = [](Options& o, V) { o.listKimariji = true; }},
    {.name = "test-sets", .group = Diagnostic, .meaning = "print each study set's poems and exit",
     .details = "One line per set: its name, a tab and its poems' numbers ascending, separated by spaces.",
     .store = [](Options& o, V) { o.listSets = true; }},
    {.name = "test-renderings", .group = Diagnostic,
     .meaning = "print each poem's number and English rendering, and exit",
     .details = "One line per poem: its number, a tab and the rendering the English show scrolls.",
     .store = [](Options& o, V) { o.listRenderings = true; }},
    {.query = "saver", .meaning = "any key, click or pointer move leaves full screen, as a saver ends",
     .store = [](Options& o, V v) { o.saver = v.number != 0; }},
    {.query = "record", .kind = Whole, .group = Diagnostic, .low = 1, .high = 1000000,
     .meaning = "this many frames without waits, each written to the page's record, then the show stops",
     .store = [](Options& o, V v) { o.recordFrames = static_cast<long>(v.number); }},
};

bool Is(const char* name, std::string_view wanted) { return name && wanted == name; }

std::optional<long long> WholeNumber(std::string_view text) {
    // A sign is taken as strtol takes it; blanks and anything after the
    // digits are not.
    if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
    long long v = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return v;
}

std::optional<long long> OnOff(std::string_view text) {
    if (text.empty() || text == "1" || text == "true" || text == "yes" || text == "on") return 1;
    if (text == "0" || text == "false" || text == "no" || text == "off") return 0;
    return std::nullopt;
}

std::optional<long long> ChoiceIndex(std::string_view choices, std::string_view text) {
    for (long long index = 0;; ++index) {
        const size_t bar = choices.find('|');
        if (choices.substr(0, bar) == text) return index;
        if (bar == std::string_view::npos) return std::nullopt;
        choices.remove_prefix(bar + 1);
    }
}

std::string WrongValue(const Option& option, std::string_view shown, std::optional<std::string_view> text) {
    const std::string given = text ? ", not '" + std::string(*text) + "'" : "";
    const std::string name(shown);
    switch (option.kind) {
        case Whole:
            if (option.high == kNoLimit) return name + " needs a whole number " + OptionRange(option);
            if (!text) return name + " needs a value (" + std::to_string(option.low) + ".." +
                              std::to_string(option.high) + ")";
            return name + " must be a whole number " + OptionRange(option) + given;
        case Choice:
            return name + " must be " + OptionRange(option) + given;
        case Flag:
            return name + " must be 1, true, yes, on, 0, false, no or off" + given;
        default:
            return name + " needs " + option.wants + (option.kind == WindowId ? given : "");
    }
}
}  // namespace

std::span<const Option> OptionTable() { return kTable; }

const Option* CommandLineOption(std::string_view name) {
    for (const Option& option : kTable)
        if (Is(option.name, name) || Is(option.alias, name)) return &option;
    return nullptr;
}

const Option* QueryOption(std::string_view name) {
    for (const Option& option : kTable)
        if (Is(option.query, name)) return &option;
    return nullptr;
}

std::variant<OptionValue, std::string> ReadOptionValue(const Option& option, std::string_view shown,
                                                       std::optional<std::string_view> text) {
    std::optional<long long> number;
    switch (option.kind) {
        case Flag: number = text ? OnOff(*text) : 1; break;
        case Whole: number = text ? WholeNumber(*text) : std::nullopt; break;
        case Choice: number = text ? ChoiceIndex(option.choices, *text) : std::nullopt; break;
        case Text: number = text && !text->empty() ? std::optional(0) : std::nullopt; break;
        case WindowId: number = text ? ParseWindowId(*text) : std::nullopt; break;
    }
    if (number && option.kind == Whole && (*number < option.low || *number > option.high)) number.reset();
    if (!number) return WrongValue(option, shown, text);
    return OptionValue{*number, text.value_or(std::string_view{})};
}

std::string OptionRange(const Option& option) {
    if (option.kind == Whole)
        return option.high == kNoLimit ? "from " + std::to_string(option.low)
                                       : "from " + std::to_string(option.low) + " to " + std::to_string(option.high);
    if (option.kind != Choice) return "";
    std::string words(option.choices);
    const size_t last = words.rfind('|');
    if (last != std::string::npos) words.replace(last, 1, " or ");
    for (size_t bar; (bar = words.find('|')) != std::string::npos;) words.replace(bar, 1, ", ");
    return words;
}

std::optional<unsigned long> ParseWindowId(std::string_view text) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    if (hex) text.remove_prefix(2);
    unsigned long long v = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v, hex ? 16 : 10);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || v == 0 || v > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<unsigned long>(v);
}

}  // namespace mirobel
