#include "x11/app/Options.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "core/poems/Kimariji.h"
#include "core/poems/Poems.h"
#include "x11/base/EmbeddedFaces.h"

namespace mirobel::x11 {

const char* const kUsage =
    "usage: mirobel [-window | -root | -window-id ID] [-display NAME]\n"
    "               [-speed 1..5] [-order random|ascending|descending] [-first N] [-last N]\n"
    "               [-scale 100..400] [-kimariji]\n"
    "  -speed   1 fastest .. 5 slowest (default 3)\n"
    "  -order   order of the poems (default random)\n"
    "  -first, -last   the range of poems, 1..100 (default 1 and 100)\n"
    "  -scale   size of the show in percent (default: the desktop's Xft.dpi / 96)\n"
    "  -kimariji   brush each poem's deciding sounds (kimariji) in vermilion\n"
    "diagnostics, for comparing builds frame by frame and checking the data:\n"
    "  -test-seed N      poems in the fixed sequence of seed N\n"
    "  -test-record FILE write what each frame decided to FILE, frames without waits\n"
    "  -test-frames N    end after N frames\n"
    "  -test-kimariji    print each poem's number and kimariji, and exit\n";

namespace {
std::optional<long> Integer(const std::string& text) {
    if (text.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || std::isspace(static_cast<unsigned char>(text[0]))) return std::nullopt;
    return v;
}
}  // namespace

std::optional<unsigned long> ParseWindowId(const std::string& text) {
    if (text.empty() || text[0] == '-' || text[0] == '+' || std::isspace(static_cast<unsigned char>(text[0])))
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    unsigned long v = std::strtoul(hex ? text.c_str() + 2 : text.c_str(), &end, hex ? 16 : 10);
    if (errno != 0 || *end != '\0' || end == text.c_str() + (hex ? 2 : 0) || v == 0 || v > 0xFFFFFFFFul)
        return std::nullopt;
    return v;
}

std::variant<Options, std::string> ParseOptions(int argc, const char* const* argv) {
    Options o;
    bool firstGiven = false, lastGiven = false;
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        // XScreenSaver's hacks take both -name and --name.
        if (name.rfind("--", 0) == 0) name.erase(0, 1);
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= argc) return std::nullopt;
            return std::string(argv[++i]);
        };
        auto number = [&](long low, long high, long& out) -> std::optional<std::string> {
            auto text = value();
            if (!text) return name + " needs a value (" + std::to_string(low) + ".." + std::to_string(high) + ")";
            auto v = Integer(*text);
            if (!v || *v < low || *v > high)
                return name + " must be a whole number from " + std::to_string(low) + " to " +
                       std::to_string(high) + ", not '" + *text + "'";
            out = *v;
            return std::nullopt;
        };
        long n = 0;
        if (name == "-speed") {
            if (auto e = number(1, 5, n)) return *e;
            o.settings.Speed = static_cast<int16_t>(n);
        } else if (name == "-first") {
            if (auto e = number(1, 100, n)) return *e;
            o.settings.SelectFirst = static_cast<int16_t>(n);
            firstGiven = true;
        } else if (name == "-last") {
            if (auto e = number(1, 100, n)) return *e;
            o.settings.SelectEnd = static_cast<int16_t>(n);
            lastGiven = true;
        } else if (name == "-scale") {
            if (auto e = number(kMinScale, kMaxScale, n)) return *e;
            o.scale = static_cast<int>(n);
        } else if (name == "-order") {
            auto text = value();
            const auto order = text ? SelectTypeNamed(*text) : std::nullopt;
            if (!order) return "-order must be random, ascending or descending" + (text ? ", not '" + *text + "'" : "");
            o.settings.SelectType = *order;
        } else if (name == "-window") {
            o.target = Target::OwnWindow;
        } else if (name == "-root") {
            o.target = Target::Root;
        } else if (name == "-window-id") {
            auto text = value();
            auto id = text ? ParseWindowId(*text) : std::nullopt;
            if (!id) return "-window-id needs a window id (decimal or 0x...)" + (text ? ", not '" + *text + "'" : "");
            o.target = Target::WindowId;
            o.windowId = *id;
        } else if (name == "-display") {
            auto text = value();
            if (!text) return "-display needs a display name";
            o.display = *text;
        } else if (name == "-kimariji") {
            o.settings.Kimariji = true;
        } else if (name == "-test-kimariji") {
            o.listKimariji = true;
        } else if (name == "-help" || name == "-h") {
            o.help = true;
        } else if (name == "-test-seed") {
            auto text = value();
            auto v = text ? Integer(*text) : std::nullopt;
            if (!v || *v < 0) return "-test-seed needs a whole number from 0";
            o.seed = static_cast<uint64_t>(*v);
        } else if (name == "-test-record") {
            auto text = value();
            if (!text || text->empty()) return "-test-record needs a file name";
            o.record = *text;
        } else if (name == "-test-frames") {
            auto text = value();
            auto v = text ? Integer(*text) : std::nullopt;
            if (!v || *v < 1) return "-test-frames needs a whole number from 1";
            o.frames = *v;
        } else {
            return "unknown option '" + std::string(argv[i]) + "'";
        }
    }
    if ((firstGiven || lastGiven) && o.settings.SelectFirst > o.settings.SelectEnd)
        return "-first (" + std::to_string(o.settings.SelectFirst) + ") must not come after -last (" +
               std::to_string(o.settings.SelectEnd) + ")";
    return o;
}

std::string KimarijiList() {
    std::string out;
    for (int n = 1; n <= kPoemCount; ++n) out += std::to_string(n) + "\t" + Utf8(KimarijiOf(n).written) + "\n";
    return out;
}

std::variant<Placement, std::string> ChooseTarget(const Options& options, const char* xscreensaverWindow) {
    if (options.target == Target::WindowId) return Placement{Target::WindowId, options.windowId};
    if (options.target == Target::OwnWindow) return Placement{Target::OwnWindow, 0};
    if (xscreensaverWindow && *xscreensaverWindow) {
        auto id = ParseWindowId(xscreensaverWindow);
        if (!id) return "XSCREENSAVER_WINDOW names no window: '" + std::string(xscreensaverWindow) + "'";
        return Placement{Target::WindowId, *id};
    }
    if (options.target == Target::Root) return Placement{Target::Root, 0};
    return Placement{Target::OwnWindow, 0};
}

}  // namespace mirobel::x11
