// The companion windows' rules: chooser entries and fields of the viewer,
// the help text's layout, the About text and the cyclists' step.
#include "core/companions/CompanionRules.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "core/companions/About.h"
#include "core/poems/Poems.h"
#include "core/poems/Romaji.h"
#include "support/Fakes.h"
#include "support/HelpText.h"
#include "support/ShowFakes.h"

using namespace mirobel;
using namespace mirobel::testing;

namespace {
std::string ReadAsset(const char* relative) {
    std::ifstream in(std::string(MIROBEL_SOURCE_DIR) + "/" + relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The host's converter, independent of the code under test.
std::string Utf8FromCp932(const std::string& bytes) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    std::string out(bytes.size() * 3 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size(), outLeft = out.size();
    char* to = out.data();
    size_t r = iconv(cd, &in, &inLeft, &to, &outLeft);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1)) return {};
    out.resize(out.size() - outLeft);
    return out;
}


// A small help text of the right shape, in Shift-JIS bytes, to break in
// one place at a time.
struct MiniHelp {
    std::vector<std::string> lines = {
        "\x81\xA1" "About",     "\x81\x40" "body",     "",
        "\x81\xA1" "Settings",  "\x87\x40" "range",    "\x81\x40" "more",
        "\x87\x41" "order",     "\x87\x42" "music",    "\x87\x43" "speed",
        "",                     "\x81\xA1" "Rights",
    };
    std::string Bytes(int total = kHelpLines) const {
        std::vector<std::string> all = lines;
        while (static_cast<int>(all.size()) < total - 1) all.push_back("\x81\x40" "filler");
        std::string credit(kHelpColumns - 6, ' ');
        all.push_back("\x81\x40" + credit.substr(2) + "credit");
        std::string out;
        for (const std::string& l : all) out += l + "\r\n";
        return out;
    }
};
}  // namespace

TEST(Chooser, EntryTextsAreBlankNumberTwoBlanksAndTheFirstTwoPhrases) {
    FillPoemTables();
    EXPECT_EQ(ChooserEntryText(0), L" 1  あきのたの かりほのいほの");
    EXPECT_EQ(ChooserEntryText(8), L" 9  はなのいろは うつりにけりな");
    EXPECT_EQ(ChooserEntryText(99).substr(0, 6), L" 100  ");
    for (int k = 0; k < kChooserEntries; ++k) {
        std::wstring prefix = L" " + std::to_wstring(k + 1) + L"  ";
        EXPECT_EQ(ChooserEntryText(k).rfind(prefix, 0), 0u) << k;
    }
}

TEST(Chooser, NothingSelectedCountsAsTheFirstEntry) {
    EXPECT_EQ(ChosenEntry(-1), 0);
    EXPECT_EQ(ChosenEntry(0), 0);
    EXPECT_EQ(ChosenEntry(99), 99);
}

TEST(Commentary, FieldsGoToTheirBoxesAndTheMarkerIsDropped) {
    FillPoemTables();
    CommentaryTexts t = CommentaryFor(1);
    EXPECT_EQ(t.upper, L"あきのたの かりほのいほの とまをあらみ");
    EXPECT_EQ(t.lower, L"わがころもでは つゆにぬれつつ");
    EXPECT_EQ(t.poet, L"天智天皇");
    EXPECT_EQ(t.comment, CommentTable(1).substr(4));
    EXPECT_NE(t.comment.substr(0, 4), L"（通釈）");
    EXPECT_EQ(CommentaryFor(76).poet, L"法性寺入道前関白太政大臣");
    // The kimariji as the card writes and marks it.
    EXPECT_EQ(t.kimariji.lead + t.kimariji.marked + t.kimariji.tail, L"決まり字「あきの」");
    EXPECT_EQ(CommentaryFor(44).kimariji.marked, L"あふこ");
    for (int n = 1; n <= 100; ++n) {
        CommentaryTexts c = CommentaryFor(n);
        EXPECT_EQ(L"（通釈）" + c.comment, CommentTable(n)) << n;  // none is long enough to be cut
        EXPECT_EQ(c.upper + L" " + c.lower + L" " + c.poet,
                  [&] {
                      std::wstring r = PoemTable(n);
                      r = r.substr(0, r.rfind(L','));
                      for (auto& ch : r)
                          if (ch == L',') ch = L' ';
                      return r;
                  }())
            << n;
    }
}

// For readers of English: the recited poem in Latin letters split at the
// third phrase, the poet by both names, the English rendering, and the
// deciding kana as the card marks them.
TEST(Commentary, InEnglishTheVersesAreRomanisedAndTheRenderingIsTheEnglishOne) {
    FillPoemTables();
    CommentaryTexts t = CommentaryFor(44, Language::English);
    EXPECT_EQ(t.upper, L"ōkotono taeteshinakuwa nakanakani");
    EXPECT_EQ(t.lower, L"hitoomomiomo uramizaramashi");
    EXPECT_EQ(t.kimariji.lead + t.kimariji.marked + t.kimariji.tail, L"Kimariji 「あふこ」");
    for (int n = 1; n <= 100; ++n) {
        CommentaryTexts c = CommentaryFor(n, Language::English);
        std::wstring recited = RomanisedRecitation(n);
        std::replace(recited.begin(), recited.end(), L'/', L' ');
        std::wstring shown = c.upper + L"  " + c.lower;
        std::erase(recited, L' '), std::erase(shown, L' ');
        EXPECT_EQ(shown, recited) << n;
        EXPECT_EQ(std::count(c.upper.begin(), c.upper.end(), L' '), 2) << n;
        EXPECT_EQ(c.poet, EnglishPoetName(n) + L"  " + CommentaryFor(n).poet) << n;
        EXPECT_EQ(c.poetLatin, EnglishPoetName(n)) << n;
        EXPECT_EQ(c.comment, EnglishRendering(n)) << n;
    }
}

TEST(HelpText, TheShippedTextHasTheRequiredShape) {
    std::string bytes = ReadAsset("assets/help/MirobelHelp.txt");
    ASSERT_FALSE(bytes.empty());
    std::vector<std::string> problems = HelpTextProblems(bytes);
    for (const std::string& p : problems) ADD_FAILURE() << p;

    // What it says, read with the host's own Shift-JIS converter.
    std::string text = Utf8FromCp932(bytes);
    ASSERT_FALSE(text.empty()) << "not decodable as code page 932";
    EXPECT_EQ(text.rfind("■ミロベル ScreenSaverについて\r\n", 0), 0u);
    // The items themselves are checked against the dialog (SettingsDialogTest);
    // here the choices and facts they must tell.
    for (const char* item : {"\r\n■設定について\r\n①", "Mirobel.mid", "MIDI", "ランダム", "昇順", "降順",
                             "主画面のみ", "すべての画面", "MIT"})
        EXPECT_NE(text.find(item), std::string::npos) << item;
}

TEST(HelpText, ColumnsCountDoubleBytesTwiceAndRejectBrokenShiftJis) {
    EXPECT_EQ(ShiftJisColumns("abc"), 3);
    EXPECT_EQ(ShiftJisColumns("\x81\x40\x81\xA1"), 4);
    EXPECT_EQ(ShiftJisColumns("\xB1\xB2"), 2);  // half-width kana
    EXPECT_EQ(ShiftJisColumns("\x82"), -1);      // lead byte without its trail
    EXPECT_EQ(ShiftJisColumns("\xFF"), -1);
}

TEST(HelpText, EachRuleOfTheShapeIsEnforced) {
    MiniHelp good;
    for (const std::string& p : HelpTextProblems(good.Bytes())) ADD_FAILURE() << p;

    auto fails = [](const std::string& bytes) { return !HelpTextProblems(bytes).empty(); };
    EXPECT_TRUE(fails(good.Bytes(24)));                          // a line short
    EXPECT_TRUE(fails(good.Bytes(26)));                          // a line too many
    std::string bare = good.Bytes();
    EXPECT_TRUE(fails(bare.substr(0, bare.size() - 2)));         // last line without CR LF
    std::string lf = bare;
    lf.replace(lf.find("\r\n"), 2, "\n ");
    EXPECT_TRUE(fails(lf));                                      // a bare LF

    MiniHelp wide = good;
    wide.lines[1] += std::string(80, 'x');
    EXPECT_TRUE(fails(wide.Bytes()));                            // more than 77 columns
    MiniHelp noIndent = good;
    noIndent.lines[1] = "body";
    EXPECT_TRUE(fails(noIndent.Bytes()));                        // body without the ideographic space
    MiniHelp order = good;
    std::swap(order.lines[6], order.lines[7]);
    EXPECT_TRUE(fails(order.Bytes()));                           // items out of order
    MiniHelp gap = good;
    gap.lines.erase(gap.lines.begin() + 6);
    EXPECT_TRUE(fails(gap.Bytes()));                             // no item 2: 3 follows 1
    MiniHelp none = good;
    none.lines.erase(none.lines.begin() + 4, none.lines.begin() + 9);
    EXPECT_TRUE(fails(none.Bytes()));                            // a settings section without items
    MiniHelp noHeading = good;
    noHeading.lines[3] = "\x81\x40" "Settings";
    EXPECT_TRUE(fails(noHeading.Bytes()));                       // section without its heading
    MiniHelp twoBlanks = good;
    twoBlanks.lines.insert(twoBlanks.lines.begin() + 2, "");
    EXPECT_TRUE(fails(twoBlanks.Bytes()));                       // two empty lines in a row
}

TEST(About, SixLinesInTheirPlacesWithTheToolNamed) {
    std::wstring text = AboutText(L"ToolName 1.0");
    EXPECT_EQ(text, L"This program was written with ToolName 1.0 for Win.\r\n\r\n\r\n"
                    L"ミロベル　スクリーンセイバー Ver1.5  was produced by " +
                        std::wstring(kAuthorName) + L".\r\n\r\n" + kRightsNotice + L"\r\n");
}

TEST(About, InEnglishTheTitleAndLineFourNameTheProgramInEnglish) {
    BoxesInstalled boxes;
    ShowAbout(Language::English);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, L"Mirobel Screen Saver Ver1.5");
    EXPECT_EQ(boxes.shown[0].text, L"This program was written with " + DevelopmentTool() + L" for Win.\r\n\r\n\r\n"
                                   L"Mirobel Screen Saver Ver1.5  was produced by " + std::wstring(kAuthorName) +
                                   L".\r\n\r\n" + kRightsNotice + L"\r\n");
}

TEST(About, TheBoxIsAnInformationBoxAndCanBeShownAgainAndAgain) {
    BoxesInstalled boxes;
    ShowAbout();
    ShowAbout();
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, boxes.shown[1].text);
    EXPECT_EQ(boxes.shown[0].title, L"ミロベル　スクリーンセイバー Ver1.5");
    EXPECT_EQ(boxes.shown[0].style, kBoxOk | kBoxIconInformation);
    EXPECT_EQ(boxes.shown[0].text, AboutText(DevelopmentTool()));
#if defined(__GNUC__) && !defined(__clang__)
    EXPECT_NE(DevelopmentTool().find(std::wstring(__VERSION__, __VERSION__ + sizeof(__VERSION__) - 1)),
              std::wstring::npos);
#endif
}

TEST(About, AFailureWhileShowingIsReportedInTheStandardErrorBox) {
    struct FailingOnce : RecordingBoxes {
        int Show(const std::wstring& text, const std::wstring& title, unsigned style, const std::wstring& file,
                 int context) override {
            RecordingBoxes::Show(text, title, style, file, context);
            if (shown.size() == 1) throw InvalidCall();
            return kAnswerOk;
        }
    } boxes;
    g_platform.boxes = &boxes;
    ShowAbout();
    g_platform.boxes = nullptr;
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].title, L"エラー");
    EXPECT_EQ(boxes.shown[1].text, StandardErrorText(InvalidCall()));
}

TEST(Cyclists, StartInAStaggeredLine) {
    for (int i = 0; i < kCyclists; ++i) {
        EXPECT_DOUBLE_EQ(CyclistStart(i).left, 240.0 - 32 * i);
        EXPECT_EQ(CyclistStart(i).top, 300 - 8 * i);
    }
}

TEST(Cyclists, StepAndWrapAtFifteenTwipsPerPixel) {
    EXPECT_DOUBLE_EQ(CyclistStep(240, 0.0, 15), 240);
    EXPECT_NEAR(CyclistStep(240, 0.999999, 15), 240 - 200.0 / 15, 1e-4);  // at most 13 1/3
    EXPECT_DOUBLE_EQ(CyclistStep(240, 0.75, 15), 230);
    // Wraps only below 100 / 15 = 6 2/3, and then to 336 in the same step.
    EXPECT_NEAR(CyclistStep(16.7, 0.75, 15), 6.7, 1e-9);
    EXPECT_DOUBLE_EQ(CyclistStep(16.6, 0.75, 15), 336);
    EXPECT_DOUBLE_EQ(CyclistStep(10, 0.3, 15), 336);
    EXPECT_DOUBLE_EQ(CyclistStep(6.5, 0.0, 15), 336);
}

TEST(Cyclists, StepAndWrapAtTwelveTwipsPerPixel) {
    EXPECT_NEAR(CyclistStep(240, 0.999999, 12), 240 - 200.0 / 12, 1e-4);  // at most 16 2/3
    EXPECT_DOUBLE_EQ(CyclistStep(8.5, 0.0, 12), 8.5);                     // 8 1/3 is the threshold
    EXPECT_DOUBLE_EQ(CyclistStep(8.3, 0.0, 12), 336);
    EXPECT_DOUBLE_EQ(CyclistStep(20, 0.6, 12), 10);
}

TEST(Cyclists, ATickReseedsThenMovesEachInOrderAndNeverRight) {
    ScriptedRandom random;
    random.values = {0.0, 0.3, 0.6, 0.9};
    CyclistPlace c[kCyclists];
    for (int i = 0; i < kCyclists; ++i) c[i] = CyclistStart(i);
    CyclistsTick(c, random, 15);
    EXPECT_EQ(random.reseeds, 1);
    EXPECT_DOUBLE_EQ(c[0].left, 240);
    EXPECT_DOUBLE_EQ(c[1].left, 208 - 4);
    EXPECT_DOUBLE_EQ(c[2].left, 176 - 8);
    EXPECT_DOUBLE_EQ(c[3].left, 144 - 12);
    for (int i = 0; i < kCyclists; ++i) EXPECT_EQ(c[i].top, CyclistStart(i).top);

    // Many ticks: a cyclist only ever moves left, except by wrapping to 336.
    random.values = {0.37, 0.91, 0.05, 0.66, 0.99, 0.12, 0.5};
    for (int tick = 0; tick < 500; ++tick) {
        CyclistPlace before[kCyclists];
        std::copy(std::begin(c), std::end(c), before);
        std::rotate(random.values.begin(), random.values.begin() + 1, random.values.end());
        random.next = 0;
        CyclistsTick(c, random, 15);
        for (int i = 0; i < kCyclists; ++i) {
            if (c[i].left > before[i].left) EXPECT_DOUBLE_EQ(c[i].left, 336);
            else EXPECT_LE(before[i].left - c[i].left, 200.0 / 15 + 1e-9);
            EXPECT_GE(c[i].left, 100.0 / 15);
        }
    }
}
