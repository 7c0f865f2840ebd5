// Writes the manual page from its template, src/x11/app/mirobel.6.in: the
// synopsis and the lists of options come from the options' table, so the
// page names exactly the options the program takes, with their ranges and
// defaults.
//   man_page TEMPLATE VERSION OUTPUT
#include <cctype>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "core/startup/OptionTable.h"

using namespace mirobel;

namespace {
// Dashes as minus signs, so that an option copied from the page works; no
// line read as a request.
std::string Roff(std::string_view text) {
    std::string out;
    for (char c : text) out += c == '-' ? "\\-" : c == '\\' ? "\\e" : std::string(1, c);
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
    return out;
}

std::string Font(char font, std::string_view text) {
    std::string out = Roff(text);
    out.insert(0, {'\\', 'f', font});
    return out.append("\\fR");
}

// "\fB\-speed\fR \fIn\fR", or the choices in bold.
std::string Spelled(const Option& option) {
    std::string out = Font('B', std::string("-") + option.name);
    if (option.choices) {
        std::string_view choices = option.choices;
        for (char separator = ' '; !choices.empty(); separator = '|') {
            const size_t bar = std::min(choices.find('|'), choices.size());
            out += separator + Font('B', choices.substr(0, bar));
            choices.remove_prefix(std::min(bar + 1, choices.size()));
        }
    } else if (option.arg) {
        std::string arg = option.arg;
        for (char& c : arg) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        out.append(" ").append(Font('I', arg));
    }
    return out;
}

std::string Sentence(std::string text) {
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return Roff(text) + ".\n";
}

std::string Item(const Option& option) {
    std::string out = ".TP\n";
    out.append(Spelled(option));
    if (option.alias) out.append(", ").append(Font('B', std::string("-") + option.alias));
    out.append("\n").append(Sentence(option.meaning));
    if (option.kind == OptionKind::Whole) out += Sentence("a whole number " + OptionRange(option));
    // A sentence a line, as roff sources keep them.
    for (std::string_view details = option.details ? option.details : ""; !details.empty();) {
        const size_t end = std::min(details.find(". "), details.size() - 1);
        out += Roff(details.substr(0, end + 1)) + "\n";
        details.remove_prefix(std::min(end + 2, details.size()));
    }
    if (option.byDefault) out += "Default: " + Roff(option.byDefault) + ".\n";
    return out;
}

struct Lists {
    std::string synopsis = ".B mirobel\n", options, diagnostics;
};

Lists FromTable() {
    Lists lists;
    bool placing = false;  // the synopsis' last line holds the ways to place the show
    for (const Option& option : OptionTable()) {
        if (!option.name) continue;
        if (option.group == OptionGroup::Diagnostic) {
            lists.diagnostics += Item(option);
            continue;
        }
        lists.options += Item(option);
        const bool joined = placing && option.group == OptionGroup::Placement;
        if (joined) lists.synopsis.resize(lists.synopsis.size() - 2);  // "]\n"
        lists.synopsis += (joined ? " | " : "[") + Spelled(option) + "]\n";
        placing = option.group == OptionGroup::Placement;
    }
    return lists;
}

bool Replace(std::string& text, const std::string& marker, const std::string& by) {
    bool found = false;
    for (size_t at; (at = text.find(marker)) != std::string::npos; found = true) text.replace(at, marker.size(), by);
    return found;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: man_page TEMPLATE VERSION OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    std::string page{std::istreambuf_iterator<char>(in), {}};
    Lists lists = FromTable();
    // The lists end their lines themselves.
    for (std::string* list : {&lists.synopsis, &lists.options, &lists.diagnostics}) list->pop_back();
    if (!in || !Replace(page, "@PROJECT_VERSION@", argv[2]) || !Replace(page, "@SYNOPSIS@", lists.synopsis) ||
        !Replace(page, "@OPTIONS@", lists.options) || !Replace(page, "@DIAGNOSTICS@", lists.diagnostics)) {
        std::cerr << "man_page: " << argv[1] << " is not the manual page's template\n";
        return 1;
    }
    std::ofstream out(argv[3]);
    out << page;
    return out.flush() ? 0 : 1;
}
