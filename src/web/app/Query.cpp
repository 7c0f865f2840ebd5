#include "web/app/Query.h"

#include <charconv>
#include <string>

#include "core/show/Card.h"

namespace mirobel::web {

namespace {
// The few escapes a hand-typed address may carry.
std::string Unescaped(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        int hi = 0, lo = 0;
        auto hex = [](char c, int& v) {
            return std::from_chars(&c, &c + 1, v, 16).ec == std::errc();
        };
        if (text[i] == '+') out += ' ';
        else if (text[i] == '%' && i + 2 < text.size() && hex(text[i + 1], hi) && hex(text[i + 2], lo))
            out += static_cast<char>(hi * 16 + lo), i += 2;
        else out += text[i];
    }
    return out;
}
}  // namespace

Options ParseQuery(std::string_view query, std::string_view browserLanguage) {
    Options o;
    if (!query.empty() && query.front() == '?') query.remove_prefix(1);
    while (!query.empty()) {
        const size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view{} : query.substr(amp + 1);
        const size_t eq = pair.find('=');
        const std::string name = Unescaped(pair.substr(0, eq));
        const std::string value = eq == std::string_view::npos ? std::string{} : Unescaped(pair.substr(eq + 1));
        const Option* option = QueryOption(name);
        if (!option) continue;
        const auto read = ReadOptionValue(*option, name, value);
        if (auto* v = std::get_if<OptionValue>(&read)) option->store(o, *v);
    }
    NormaliseRange(o.settings);
    o.settings.language = o.language.value_or(LanguageOfLocale(browserLanguage));
    return o;
}

}  // namespace mirobel::web
