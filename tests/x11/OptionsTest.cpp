#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/poems/StudySets.h"
#include "x11/app/DisplayScale.h"
#include "x11/app/Options.h"

using namespace mirobel;
using namespace mirobel::x11;

namespace {
std::variant<Options, std::string> Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "mirobel");
    return ParseOptions(static_cast<int>(args.size()), args.data());
}

Options Ok(std::vector<const char*> args) {
    auto r = Parse(args);
    if (auto* e = std::get_if<std::string>(&r)) ADD_FAILURE() << *e;
    return std::holds_alternative<Options>(r) ? std::get<Options>(r) : Options{};
}
}  // namespace

TEST(OptionsTest, DefaultsAreTheWindowsDefaultsAndEveryValueIsTaken) {
    Options d = Ok({});
    EXPECT_EQ(d.settings.Speed, 3);
    EXPECT_EQ(d.settings.SelectType, 1);
    EXPECT_EQ(d.settings.SelectFirst, 1);
    EXPECT_EQ(d.settings.SelectEnd, 100);
    EXPECT_FALSE(d.target.has_value());
    EXPECT_EQ(d.frames, -1);
    EXPECT_FALSE(d.settings.Kimariji);
    EXPECT_FALSE(d.listKimariji);

    Options o = Ok({"-speed", "5", "--order", "descending", "-first", "12", "-last", "12", "-window-id", "0x1c00007",
                    "-display", ":7"});
    EXPECT_EQ(o.settings.Speed, 5);
    EXPECT_EQ(o.settings.SelectType, 3);
    EXPECT_EQ(o.settings.SelectFirst, 12);
    EXPECT_EQ(o.settings.SelectEnd, 12);
    EXPECT_EQ(o.target, Target::WindowId);
    EXPECT_EQ(o.windowId, 0x1c00007ul);
    EXPECT_EQ(o.display, ":7");
    EXPECT_FALSE(o.scale.has_value());
    EXPECT_EQ(Ok({"-scale", "100"}).scale, 100);
    EXPECT_EQ(Ok({"--scale", "400"}).scale, 400);
    EXPECT_EQ(Ok({"-first", "60"}).settings.SelectFirst, 60);  // with the default last poem
    EXPECT_EQ(Ok({"-order", "ascending"}).settings.SelectType, 2);
    EXPECT_EQ(Ok({"-order", "random"}).settings.SelectType, 1);
    EXPECT_EQ(Ok({"-window-id", "12345"}).windowId, 12345ul);
    EXPECT_EQ(Ok({"-root"}).target, Target::Root);
    EXPECT_EQ(Ok({"-window"}).target, Target::OwnWindow);
    EXPECT_TRUE(Ok({"--kimariji"}).settings.Kimariji);
    EXPECT_TRUE(Ok({"-test-kimariji"}).listKimariji);
    // The test-only options.
    Options t = Ok({"-test-seed", "99", "-test-record", "/tmp/r.txt", "-test-frames", "300"});
    EXPECT_EQ(t.seed, 99u);
    EXPECT_EQ(t.record, "/tmp/r.txt");
    EXPECT_EQ(t.frames, 300);
}

TEST(OptionsTest, BadValuesAreRefusedWithAMessageNamingTheOption) {
    const std::vector<std::pair<std::vector<const char*>, std::string>> cases = {
        {{"-speed", "0"}, "-speed"},
        {{"-speed", "6"}, "-speed"},
        {{"-speed", "3x"}, "-speed"},
        {{"-speed", " 3"}, "-speed"},
        {{"-speed", ""}, "-speed"},
        {{"-speed"}, "-speed"},
        {{"-order", "sideways"}, "-order"},
        {{"-order"}, "-order"},
        {{"-first", "0"}, "-first"},
        {{"-first", "101"}, "-first"},
        {{"-last", "-1"}, "-last"},
        {{"-last", "99999999999999999999"}, "-last"},
        {{"-first", "60", "-last", "40"}, "-first"},
        {{"-last", "40", "-first", "60"}, "-first"},
        {{"-window-id", "zz"}, "-window-id"},
        {{"-window-id", "0"}, "-window-id"},
        {{"-window-id", "-5"}, "-window-id"},
        {{"-window-id", "0x"}, "-window-id"},
        {{"-window-id"}, "-window-id"},
        {{"-fast"}, "-fast"},
        {{"-test-frames", "0"}, "-test-frames"},
        {{"-scale", "99"}, "-scale"},
        {{"-scale", "401"}, "-scale"},
        {{"-scale", "150%"}, "-scale"},
        {{"-scale"}, "-scale"},
    };
    for (const auto& [args, option] : cases) {
        auto r = Parse(args);
        std::string shown;
        for (const char* a : args) shown += std::string(a) + " ";
        ASSERT_TRUE(std::holds_alternative<std::string>(r)) << shown;
        EXPECT_NE(std::get<std::string>(r).find(option), std::string::npos) << shown << std::get<std::string>(r);
    }
}

TEST(OptionsTest, TargetFollowsXScreenSaverConventions) {
    auto choose = [](std::vector<const char*> args, const char* env) {
        auto r = ChooseTarget(Ok(args), env);
        EXPECT_TRUE(std::holds_alternative<Placement>(r));
        return std::holds_alternative<Placement>(r) ? std::get<Placement>(r) : Placement{Target::Root, 0};
    };
    // By hand: a window of its own.
    EXPECT_EQ(choose({}, nullptr).target, Target::OwnWindow);
    EXPECT_EQ(choose({}, "").target, Target::OwnWindow);
    EXPECT_EQ(choose({"-root"}, nullptr).target, Target::Root);
    // The daemon passes -root and names its window in the environment.
    Placement daemon = choose({"-root"}, "0x2a00003");
    EXPECT_EQ(daemon.target, Target::WindowId);
    EXPECT_EQ(daemon.windowId, 0x2a00003ul);
    EXPECT_EQ(choose({}, "44040195").windowId, 44040195ul);
    // What is asked for explicitly wins over the environment.
    EXPECT_EQ(choose({"-window-id", "77"}, "0x2a00003").windowId, 77ul);
    EXPECT_EQ(choose({"-window"}, "0x2a00003").target, Target::OwnWindow);
    // A variable naming no window is an error, not the root window.
    auto bad = ChooseTarget(Ok({"-root"}), "nonsense");
    ASSERT_TRUE(std::holds_alternative<std::string>(bad));
    EXPECT_NE(std::get<std::string>(bad).find("XSCREENSAVER_WINDOW"), std::string::npos);
}

TEST(OptionsTest, TheScaleIsXftDpiUnlessMinusScaleIsGiven) {
    // As a desktop at 150 % leaves the resource database.
    const char* desktop = "Xcursor.size:\t24\nXft.antialias:\t1\nXft.dpi:\t144\nXft.hinting:\t1\n";
    EXPECT_EQ(XftDpi(desktop), 144.0);
    EXPECT_EQ(ShowDpi(std::nullopt, desktop), 144);
    EXPECT_EQ(ShowDpi(std::nullopt, "Xft.dpi: 192\n"), 192);
    EXPECT_EQ(ShowDpi(std::nullopt, "Xft.dpi: 120.4\n"), 120);
    // Missing or unreadable: 96.
    for (const char* none : {static_cast<const char*>(nullptr), "", "Xcursor.size: 24\n", "Xft.dpi: large\n",
                             "Xft.dpi: 0\n", "Xft.dpi: -144\n", "Xft.dpi:\n", "Xft.hintstyle: hintfull\n"}) {
        EXPECT_FALSE(XftDpi(none).has_value()) << (none ? none : "null");
        EXPECT_EQ(ShowDpi(std::nullopt, none), 96) << (none ? none : "null");
    }
    // Outside the range that -scale offers: its nearest end.
    EXPECT_EQ(ShowDpi(std::nullopt, "Xft.dpi: 72\n"), 96);
    EXPECT_EQ(ShowDpi(std::nullopt, "Xft.dpi: 600\n"), 384);
    // -scale wins, whatever the desktop says, and is whole dots per inch.
    auto scaleOf = [](std::vector<const char*> args) { return Ok(args).scale; };
    EXPECT_EQ(ShowDpi(scaleOf({"-scale", "100"}), "Xft.dpi: 192\n"), 96);
    EXPECT_EQ(ShowDpi(scaleOf({"-scale", "200"}), "Xft.dpi: 96\n"), 192);
    EXPECT_EQ(ShowDpi(scaleOf({"-scale", "125"}), nullptr), 120);
    EXPECT_EQ(ShowDpi(scaleOf({"-scale", "400"}), nullptr), 384);
    EXPECT_EQ(ShowDpi(scaleOf({}), "Xft.dpi: 192\n"), 192);
}

TEST(OptionsTest, TheKimarijiListHasOneLinePerPoemAsTheCardWritesIt) {
    const std::string list = KimarijiList();
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = list.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(list.substr(start, end - start));
    ASSERT_EQ(lines.size(), 100u);
    for (size_t n = 1; n <= lines.size(); ++n) EXPECT_EQ(lines[n - 1].rfind(std::to_string(n) + "\t", 0), 0u) << n;
    EXPECT_EQ(lines[86], "87\tむ");
    EXPECT_EQ(lines[43], "44\tあふこ");  // as written, not as read (おうこ)
}

// -set names the sets as the store does, so each name must reach its own
// set: a choice list out of step with the sets' numbering shows another set.
TEST(OptionsTest, EachSetNameKeepsTheShowToThatSet) {
    EXPECT_EQ(Ok({}).settings.Set, kNoStudySet);
    for (int number = 1; number <= kStudySetCount; ++number) {
        const std::string name(StudySetNumbered(number)->name);
        EXPECT_EQ(Ok({"-set", name.c_str()}).settings.Set, number) << name;
    }
    EXPECT_TRUE(std::holds_alternative<std::string>(Parse({"-set", "purple"})));
    EXPECT_TRUE(Ok({"-test-sets"}).listSets);
}

// XScreenSaver's settings window offers what its option file says: every
// option that the program and the page both take, each value one the table
// reads, the sliders' ends and defaults the table's, every choice.
TEST(OptionsTest, TheOptionFileOffersTheShowsOptionsAsTheTableHasThem) {
    std::ifstream in(MIROBEL_SOURCE_DIR "/src/x11/app/mirobel.xml");
    const std::string xml{std::istreambuf_iterator<char>(in), {}};
    ASSERT_FALSE(xml.empty());
    const std::regex element(R"(<(number|boolean|option|command)\b([^>]*)>)"), attribute(R"re(([\w-]+)="([^"]*)")re");
    std::map<std::string, std::set<std::string>> offered;
    for (std::sregex_iterator e(xml.begin(), xml.end(), element), end; e != end; ++e) {
        const std::string kind = (*e)[1], attributes = (*e)[2];
        std::map<std::string, std::string> a;
        for (std::sregex_iterator i(attributes.begin(), attributes.end(), attribute); i != end; ++i) a[(*i)[1]] = (*i)[2];
        std::istringstream words(a.count("arg") ? a["arg"] : a["arg-set"]);
        std::string name, value;
        if (!(words >> name)) continue;  // the default choice passes nothing
        words >> value;
        SCOPED_TRACE(kind + " " + name);
        const Option* option = CommandLineOption(name.substr(1));
        ASSERT_TRUE(option && name[0] == '-');
        if (kind == "command") {
            EXPECT_EQ(option->group, OptionGroup::Placement);
            continue;
        }
        offered[option->name].insert(value);
        if (kind == "number") {
            EXPECT_EQ(value, "%");
            EXPECT_EQ(a["low"], std::to_string(option->low));
            EXPECT_EQ(a["high"], std::to_string(option->high));
            EXPECT_EQ(a["default"], option->byDefault ? option->byDefault : "");
        } else {
            EXPECT_TRUE(std::holds_alternative<OptionValue>(ReadOptionValue(
                *option, name, value.empty() ? std::nullopt : std::optional<std::string_view>(value))));
            EXPECT_EQ(value.empty(), option->kind == OptionKind::Flag);
        }
    }
    std::map<std::string, std::set<std::string>> table;
    for (const Option& option : OptionTable()) {
        if (!option.name || !option.query || option.group == OptionGroup::Diagnostic) continue;
        std::set<std::string>& values = table[option.name];
        if (option.kind != OptionKind::Choice) {
            values = offered[option.name];  // any values, as long as the option is there
            continue;
        }
        for (std::string c = option.choices + std::string("|"); !c.empty(); c.erase(0, c.find('|') + 1))
            if (!option.byDefault || c.substr(0, c.find('|')) != option.byDefault)
                values.insert(c.substr(0, c.find('|')));
    }
    EXPECT_EQ(offered, table);
}

// -language wins; else the locale, with LC_ALL before LC_MESSAGES before
// LANG as the C library reads them, an empty variable counting as unset.
TEST(OptionsTest, TheRenderingSpeaksTheLanguageAskedForElseTheLocales) {
    EXPECT_EQ(ChosenLanguage(Ok({"-language", "en"}), "ja_JP.UTF-8", nullptr, "ja_JP.UTF-8"), Language::English);
    EXPECT_EQ(ChosenLanguage(Ok({"-language", "ja"}), "C", "en_GB.UTF-8", nullptr), Language::Japanese);
    const Options none = Ok({});
    EXPECT_EQ(ChosenLanguage(none, nullptr, nullptr, "ja_JP.UTF-8"), Language::Japanese);
    EXPECT_EQ(ChosenLanguage(none, "", "", "ja_JP.eucJP"), Language::Japanese);
    EXPECT_EQ(ChosenLanguage(none, "C.UTF-8", nullptr, "ja_JP.UTF-8"), Language::English);
    EXPECT_EQ(ChosenLanguage(none, nullptr, "ja_JP.UTF-8", "en_US.UTF-8"), Language::Japanese);
    EXPECT_EQ(ChosenLanguage(none, nullptr, nullptr, nullptr), Language::English);
    EXPECT_EQ(ChosenLanguage(none, nullptr, nullptr, "jv_ID"), Language::English);
    EXPECT_TRUE(std::holds_alternative<std::string>(Parse({"-language", "fr"})));
    EXPECT_TRUE(std::holds_alternative<std::string>(Parse({"-language"})));
    EXPECT_TRUE(Ok({"-test-renderings"}).listRenderings);
}
