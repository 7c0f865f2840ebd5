// The options' table, whatever its entries: a default it states is what the
// program does without the option, and each option reaches a part of the
// record of its own.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/startup/OptionTable.h"

using namespace mirobel;

namespace {
std::string Shown(const Option& option) { return option.name ? option.name : option.query; }

// The record after the option is given a value that is not its default, or
// nothing when no such value is read.
std::optional<Options> Given(const Option& option) {
    std::vector<std::string> tries;
    switch (option.kind) {
        case OptionKind::Whole: tries = {std::to_string(option.low), std::to_string(option.high)}; break;
        case OptionKind::Choice:
            for (std::string c = option.choices + std::string("|"); !c.empty(); c.erase(0, c.find('|') + 1))
                tries.push_back(c.substr(0, c.find('|')));
            break;
        case OptionKind::WindowId: tries = {"0x2a00003"}; break;
        default: tries = {"x"};
    }
    for (const std::string& text : tries) {
        const auto value = ReadOptionValue(option, Shown(option), option.kind == OptionKind::Flag
                                                                       ? std::nullopt
                                                                       : std::optional<std::string_view>(text));
        if (!std::holds_alternative<OptionValue>(value)) continue;
        Options o;
        option.store(o, std::get<OptionValue>(value));
        if (!(o == Options{})) return o;
    }
    return std::nullopt;
}
}  // namespace

TEST(OptionTable, EachOptionHasNamesOfItsOwnAndEverythingItsListsNeed) {
    std::set<std::string> names, queries;
    for (const Option& option : OptionTable()) {
        SCOPED_TRACE(Shown(option));
        ASSERT_TRUE(option.name || option.query);
        ASSERT_NE(option.store, nullptr);
        // A name found is the option's own, not an earlier one's.
        EXPECT_TRUE(!option.name || (names.insert(option.name).second && CommandLineOption(option.name) == &option));
        EXPECT_TRUE(!option.alias || names.insert(option.alias).second);
        EXPECT_TRUE(!option.query || (queries.insert(option.query).second && QueryOption(option.query) == &option));
        EXPECT_FALSE(std::string(option.meaning).empty());
        const OptionKind kind = option.kind;
        EXPECT_TRUE((kind != OptionKind::Text && kind != OptionKind::WindowId) || option.wants);
        EXPECT_TRUE(kind != OptionKind::Whole || option.low < option.high);
        EXPECT_TRUE(kind == OptionKind::Flag || !option.name || option.arg) << "the usage names its value";
        EXPECT_EQ(option.choices != nullptr, kind == OptionKind::Choice);
    }
    EXPECT_EQ(CommandLineOption("nothing"), nullptr);
    EXPECT_EQ(QueryOption(""), nullptr);
}

TEST(OptionTable, AStatedDefaultIsWhatTheProgramDoesWithoutTheOption) {
    int stated = 0;
    for (const Option& option : OptionTable()) {
        // $DISPLAY and the locale are the system's.
        if (!option.byDefault || std::string_view(option.byDefault).find('$') != std::string_view::npos) continue;
        SCOPED_TRACE(Shown(option));
        const auto value = ReadOptionValue(option, Shown(option), option.byDefault);
        ASSERT_TRUE(std::holds_alternative<OptionValue>(value)) << std::get<std::string>(value);
        Options o;
        option.store(o, std::get<OptionValue>(value));
        EXPECT_TRUE(o == Options{}) << "the default changes the record";
        ++stated;
    }
    EXPECT_GE(stated, 4);
}

TEST(OptionTable, EachOptionReachesAPartOfTheRecordOfItsOwn) {
    std::vector<std::pair<std::string, Options>> reached;
    for (const Option& option : OptionTable()) {
        SCOPED_TRACE(Shown(option));
        const auto o = Given(option);
        ASSERT_TRUE(o.has_value()) << "no value changes the record";
        for (const auto& [other, record] : reached) EXPECT_FALSE(*o == record) << "the same as " << other;
        reached.emplace_back(Shown(option), *o);
    }
}

TEST(OptionTable, ValuesAreReadWholeAndWrongOnesSayWhatWasWanted) {
    const Option& speed = *CommandLineOption("speed");
    auto number = [&](std::string_view text) {
        const auto v = ReadOptionValue(speed, "-speed", text);
        return std::holds_alternative<OptionValue>(v) ? std::get<OptionValue>(v).number : -1;
    };
    EXPECT_EQ(number("4"), 4);
    EXPECT_EQ(number("+4"), 4);  // as strtol reads it
    for (const char* wrong : {"", " 4", "4 ", "4.0", "0x4", "+-4", "+", "-", "6", "0", "99999999999999999999"})
        EXPECT_EQ(number(wrong), -1) << wrong;
    auto message = [](const char* name, std::optional<std::string_view> text) {
        const auto v = ReadOptionValue(*CommandLineOption(name), std::string("-") + name, text);
        return std::holds_alternative<std::string>(v) ? std::get<std::string>(v) : "";
    };
    EXPECT_EQ(message("speed", std::nullopt), "-speed needs a value (1..5)");
    EXPECT_EQ(message("speed", "9"), "-speed must be a whole number from 1 to 5, not '9'");
    EXPECT_EQ(message("test-seed", "-1"), "-test-seed needs a whole number from 0");
    EXPECT_EQ(message("order", "up"), "-order must be random, ascending or descending, not 'up'");
    EXPECT_EQ(message("window-id", "0"), "-window-id needs a window id (decimal or 0x...), not '0'");
    EXPECT_EQ(message("display", ""), "-display needs a display name");
    // The page's switches also take a word.
    const Option& kimariji = *QueryOption("kimariji");
    for (const char* on : {"", "1", "true", "yes", "on"})
        EXPECT_EQ(std::get<OptionValue>(ReadOptionValue(kimariji, "kimariji", on)).number, 1) << on;
    for (const char* off : {"0", "false", "no", "off"})
        EXPECT_EQ(std::get<OptionValue>(ReadOptionValue(kimariji, "kimariji", off)).number, 0) << off;
    EXPECT_TRUE(std::holds_alternative<std::string>(ReadOptionValue(kimariji, "kimariji", "2")));
    // Window ids as X tools print them.
    EXPECT_EQ(ParseWindowId("0x1C00007"), 0x1c00007ul);
    EXPECT_EQ(ParseWindowId("4294967295"), 0xFFFFFFFFul);
    for (const char* wrong : {"", "0", "0x", "0x0", "-5", "+5", " 5", "5 ", "0xg", "4294967296"})
        EXPECT_FALSE(ParseWindowId(wrong).has_value()) << wrong;
}
