#include "web/app/Query.h"

#include <charconv>
#include <string>

#include "core/show/Card.h"

namespace mirobel::web {

namespace {
std::optional<long long> Whole(std::string_view text, long long low, long long high) {
    long long v = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || v < low || v > high)
        return std::nullopt;
    return v;
}

std::optional<bool> OnOff(std::string_view text) {
    if (text.empty() || text == "1" || text == "true" || text == "yes" || text == "on") return true;
    if (text == "0" || text == "false" || text == "no" || text == "off") return false;
    return std::nullopt;
}

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

PageOptions ParseQuery(std::string_view query) {
    PageOptions o;
    if (!query.empty() && query.front() == '?') query.remove_prefix(1);
    while (!query.empty()) {
        const size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view{} : query.substr(amp + 1);
        const size_t eq = pair.find('=');
        const std::string name = Unescaped(pair.substr(0, eq));
        const std::string value = eq == std::string_view::npos ? std::string{} : Unescaped(pair.substr(eq + 1));
        if (name == "speed") {
            if (auto v = Whole(value, 1, 5)) o.settings.Speed = static_cast<int16_t>(*v);
        } else if (name == "first") {
            if (auto v = Whole(value, 1, 100)) o.settings.SelectFirst = static_cast<int16_t>(*v);
        } else if (name == "last") {
            if (auto v = Whole(value, 1, 100)) o.settings.SelectEnd = static_cast<int16_t>(*v);
        } else if (name == "order") {
            if (auto v = SelectTypeNamed(value)) o.settings.SelectType = *v;
        } else if (name == "seed") {
            if (auto v = Whole(value, 0, INT64_MAX)) o.seed = static_cast<uint64_t>(*v);
        } else if (name == "scale") {
            if (auto v = Whole(value, kMinScale, kMaxScale)) o.scale = static_cast<int>(*v);
        } else if (name == "kimariji") {
            if (auto v = OnOff(value)) o.settings.Kimariji = *v;
        } else if (name == "record") {
            if (auto v = Whole(value, 1, 1000000)) o.record = static_cast<long>(*v);
        } else if (name == "saver") {
            // On when named alone or with 1/true/yes/on, off with 0/false/no/off.
            if (auto on = OnOff(value)) o.saver = *on;
        }
    }
    NormaliseRange(o.settings);
    return o;
}

}  // namespace mirobel::web
