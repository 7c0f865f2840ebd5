#include "x11/app/Options.h"

#include "core/poems/Kimariji.h"
#include "core/poems/Poems.h"
#include "x11/base/EmbeddedFaces.h"

namespace mirobel::x11 {

std::variant<Options, std::string> ParseOptions(int argc, const char* const* argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string shown = argv[i];
        // XScreenSaver's hacks take both -name and --name.
        if (shown.rfind("--", 0) == 0) shown.erase(0, 1);
        const Option* option = shown.size() > 1 && shown[0] == '-' ? CommandLineOption(shown.substr(1)) : nullptr;
        if (!option || !option->name) return "unknown option '" + std::string(argv[i]) + "'";
        std::optional<std::string_view> text;
        if (option->kind != OptionKind::Flag && i + 1 < argc) text = argv[++i];
        const auto value = ReadOptionValue(*option, shown, text);
        if (auto* message = std::get_if<std::string>(&value)) return *message;
        option->store(o, std::get<OptionValue>(value));
    }
    if (o.settings.SelectFirst > o.settings.SelectEnd)
        return "-first (" + std::to_string(o.settings.SelectFirst) + ") must not come after -last (" +
               std::to_string(o.settings.SelectEnd) + ")";
    return o;
}

Language ChosenLanguage(const Options& options, const char* lcAll, const char* lcMessages, const char* lang) {
    if (options.language) return *options.language;
    for (const char* name : {lcAll, lcMessages, lang})
        if (name && *name) return LanguageOfLocale(name);
    return LanguageOfLocale("");
}

namespace {
constexpr size_t kWidth = 79;

// Words after `line`, on as many lines as they take, each further line
// indented to `column`.
std::string Wrapped(std::string line, const std::string& words, size_t column) {
    std::string out;
    for (size_t start = 0, end; start < words.size(); start = end + 1) {
        end = std::min(words.find(' ', start), words.size());
        const std::string word = words.substr(start, end - start);
        if (line.size() > column && line.size() + word.size() > kWidth)
            out += line + "\n", line = std::string(column - 1, ' ');
        line += " " + word;
    }
    return out + line + "\n";
}
}  // namespace

std::string Usage() {
    constexpr size_t kColumn = 20;
    std::string common, diagnostics;
    for (const Option& option : OptionTable()) {
        if (!option.name) continue;
        std::string line = std::string("  -") + option.name + (option.arg ? std::string(" ") + option.arg : "");
        if (option.alias) line += std::string(", -") + option.alias;
        line.resize(std::max(line.size(), kColumn - 1), ' ');
        std::string notes = OptionRange(option);
        if (option.byDefault) notes += (notes.empty() ? "default " : "; default ") + std::string(option.byDefault);
        const std::string text = option.meaning + (notes.empty() ? "" : " (" + notes + ")");
        (option.group == OptionGroup::Diagnostic ? diagnostics : common) += Wrapped(line, text, kColumn);
    }
    return "usage: mirobel [OPTION]...\n" + common +
           "diagnostics, for comparing builds frame by frame and checking the data:\n" + diagnostics;
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
