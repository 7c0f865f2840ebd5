#include "core/startup/CommandLine.h"

#include <cmath>
#include <limits>

namespace mirobel {

namespace {
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
// The classic number reader also passes over line feeds.
bool IsSkippable(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
}  // namespace

std::wstring ArgumentText(const std::wstring& commandLine) {
    size_t i = 0;
    // Leading blanks before the program token are not part of the path.
    while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
    if (i < commandLine.size() && commandLine[i] == L'"') {
        ++i;
        while (i < commandLine.size() && commandLine[i] != L'"') ++i;
        if (i < commandLine.size()) ++i;  // closing quote
    }
    // Whatever follows the quoted part up to the first blank still belongs to
    // the program token, as the system's own parser treats it.
    while (i < commandLine.size() && !IsBlank(commandLine[i])) ++i;
    if (i < commandLine.size()) ++i;  // the one separating blank
    return commandLine.substr(i);
}

std::wstring ModeText(const std::wstring& argumentText) {
    size_t i = 0;
    while (i < argumentText.size() && IsBlank(argumentText[i])) ++i;
    return argumentText.substr(i, 2);
}

double ReadNumber(const std::wstring& text) {
    // Collect the characters that form the number, skipping blanks, then let
    // the standard library do the decimal conversion exactly.
    std::string digits;
    size_t i = 0;
    auto skip = [&] {
        while (i < text.size() && IsSkippable(text[i])) ++i;
    };
    skip();
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        if (text[i] == L'-') digits += '-';
        ++i;
    }
    bool any = false;
    for (skip(); i < text.size() && IsDigit(text[i]); ++i, skip()) {
        digits += static_cast<char>(text[i]);
        any = true;
    }
    if (i < text.size() && text[i] == L'.') {
        digits += '.';
        for (++i, skip(); i < text.size() && IsDigit(text[i]); ++i, skip()) {
            digits += static_cast<char>(text[i]);
            any = true;
        }
    }
    if (!any) return 0.0;
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E' || text[i] == L'd' || text[i] == L'D')) {
        std::string exponent = "e";
        size_t j = i + 1;
        while (j < text.size() && IsSkippable(text[j])) ++j;
        if (j < text.size() && (text[j] == L'-' || text[j] == L'+')) exponent += static_cast<char>(text[j++]);
        bool expDigits = false;
        while (j < text.size() && (IsDigit(text[j]) || IsSkippable(text[j]))) {
            if (IsDigit(text[j])) {
                exponent += static_cast<char>(text[j]);
                expDigits = true;
            }
            ++j;
        }
        if (expDigits) digits += exponent;
    }
    double value = std::strtod(digits.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

int32_t HostHandle(const std::wstring& argumentText) {
    if (argumentText.size() < 4) return 0;
    double value = ReadNumber(argumentText.substr(3));
    // Round half to even, as the classic conversion to a whole number does.
    double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<int32_t>::min() || rounded > std::numeric_limits<int32_t>::max())
        return 0;  // cannot name a window; the preview then ends by itself
    return static_cast<int32_t>(rounded);
}

Mode ModeOf(const std::wstring& modeText) {
    if (modeText == L"/P" || modeText == L"/p") return Mode::Preview;
    if (modeText == L"/S" || modeText == L"/s") return Mode::Saver;
    if (modeText.empty() || modeText == L"/C" || modeText == L"/c") return Mode::Configure;
    return Mode::None;
}

std::wstring FolderWithBackslash(const std::wstring& programPath) {
    size_t slash = programPath.find_last_of(L"\\/");
    std::wstring folder = slash == std::wstring::npos ? std::wstring() : programPath.substr(0, slash + 1);
    if (folder.empty() || folder.back() != L'\\') {
        if (!folder.empty() && folder.back() == L'/') folder.pop_back();
        folder += L'\\';
    }
    return folder;
}

}  // namespace mirobel
