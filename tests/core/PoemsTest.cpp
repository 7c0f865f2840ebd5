#include "core/poems/Poems.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "core/base/Errors.h"

using namespace mirobel;

namespace {
const std::wstring kComma = L",";
bool IsHiragana(wchar_t c) { return c >= 0x3041 && c <= 0x3096; }
std::wstring Field(int n, int f) { return GetField(PoemTable(n), static_cast<int16_t>(f), kComma); }

class PoemTables : public ::testing::Test {
protected:
    static void SetUpTestSuite() { FillPoemTables(); }
};
}  // namespace

TEST(GetField, SplitsARecordIntoItsSevenFields) {
    const std::wstring record = L"あきのたの,かりほのいほの,とまをあらみ,わがころもでは,つゆにぬれつつ,天智天皇,1";
    EXPECT_EQ(GetField(record, 1, kComma), L"あきのたの");
    EXPECT_EQ(GetField(record, 2, kComma), L"かりほのいほの");
    EXPECT_EQ(GetField(record, 5, kComma), L"つゆにぬれつつ");
    EXPECT_EQ(GetField(record, 6, kComma), L"天智天皇");
    EXPECT_EQ(GetField(record, 7, kComma), L"1");
    EXPECT_EQ(GetField(record, 8, kComma), L"");
    EXPECT_EQ(GetField(record, 32767, kComma), L"");
    EXPECT_EQ(GetField(record, 0, kComma), L"あきのたの");
    EXPECT_EQ(GetField(record, -5, kComma), L"あきのたの");
}

TEST(GetField, EmptyFieldsAndUntrimmedText) {
    EXPECT_EQ(GetField(L"a,,c", 2, kComma), L"");
    EXPECT_EQ(GetField(L"a,,c", 3, kComma), L"c");
    EXPECT_EQ(GetField(L",a", 1, kComma), L"");
    EXPECT_EQ(GetField(L" a , b ", 2, kComma), L" b ");
    EXPECT_EQ(GetField(L"whole text", 1, kComma), L"whole text");
    EXPECT_EQ(GetField(L"whole text", 2, kComma), L"");
    for (int16_t n : {0, 1, 2, 9}) EXPECT_EQ(GetField(L"", n, kComma), L"");
    // Two fields followed by a delimiter: the third is empty, so is the fourth.
    EXPECT_EQ(GetField(L"x,y,", 2, kComma), L"y");
    EXPECT_EQ(GetField(L"x,y,", 3, kComma), L"");
    EXPECT_EQ(GetField(L"x,y,", 4, kComma), L"");
    EXPECT_EQ(GetField(L"上の句、下の句", 2, L"、"), L"下の句");
}

TEST_F(PoemTables, EveryRecordHasSevenWellFormedFields) {
    std::set<std::wstring> firstPhrases;
    for (int n = 1; n <= kPoemCount; ++n) {
        SCOPED_TRACE(n);
        const std::wstring& record = PoemTable(n);
        EXPECT_GE(record.size(), 40u);
        EXPECT_LE(record.size(), 51u);
        EXPECT_EQ(std::count(record.begin(), record.end(), L','), 6);
        for (int f = 1; f <= 5; ++f) {
            std::wstring phrase = Field(n, f);
            EXPECT_GE(phrase.size(), 5u) << f;
            EXPECT_LE(phrase.size(), 8u) << f;
            for (wchar_t c : phrase) EXPECT_TRUE(IsHiragana(c)) << f;
        }
        std::wstring name = Field(n, 6);
        EXPECT_GE(name.size(), 2u);
        EXPECT_LE(name.size(), n == 76 || n == 91 ? 12u : 8u);
        for (wchar_t c : name) EXPECT_GT(c, 0x3000) << "name must be Japanese text";
        EXPECT_TRUE(Field(n, 7) == L"1" || Field(n, 7) == L"2" || Field(n, 7) == L"3");
        EXPECT_EQ(Field(n, 8), L"");
        firstPhrases.insert(Field(n, 1) + Field(n, 2));
    }
    EXPECT_EQ(firstPhrases.size(), 100u) << "a poem is repeated";
    EXPECT_EQ(Field(76, 6).size(), 12u);
    EXPECT_EQ(Field(91, 6).size(), 10u);
}

TEST_F(PoemTables, CategoryColumnNamesTheWomenAndTheMonks) {
    const std::set<int> women = {2, 9, 19, 38, 53, 54, 56, 57, 58, 59, 60, 61, 62, 65, 67, 72, 80, 88, 89, 90, 92};
    const std::set<int> monks = {8, 10, 12, 21, 47, 66, 69, 70, 82, 85, 86, 87, 95};
    int counts[4] = {};
    for (int n = 1; n <= kPoemCount; ++n) {
        std::wstring expected = women.count(n) ? L"2" : monks.count(n) ? L"3" : L"1";
        EXPECT_EQ(Field(n, 7), expected) << n;
        ++counts[Field(n, 7)[0] - L'0'];
    }
    EXPECT_EQ(counts[1], 66);
    EXPECT_EQ(counts[2], 21);
    EXPECT_EQ(counts[3], 13);
}

TEST_F(PoemTables, EveryRenderingHasTheFormTheTickerAssumes) {
    std::set<std::wstring> seen;
    for (int n = 1; n <= kPoemCount; ++n) {
        SCOPED_TRACE(n);
        const std::wstring& c = CommentTable(n);
        EXPECT_EQ(c.substr(0, 4), kCommentMarker);
        EXPECT_GE(c.size(), 45u);
        EXPECT_LE(c.size(), 96u);
        ASSERT_FALSE(c.empty());
        EXPECT_EQ(c.back(), L'。');
        auto sentences = std::count(c.begin(), c.end(), L'。');
        EXPECT_GE(sentences, 1);
        EXPECT_LE(sentences, 3);
        for (wchar_t ch : c) {
            EXPECT_GE(ch, 0x80) << "ASCII or control character";
            EXPECT_FALSE(ch >= 0xFF61 && ch <= 0xFF9F) << "half-width kana";
        }
        EXPECT_EQ(c.find(L"。」"), std::wstring::npos) << "a sentence end inside quotes";
        seen.insert(c);
    }
    EXPECT_EQ(seen.size(), 100u);
}

TEST_F(PoemTables, EntryZeroIsEmptyAndOtherIndexesFail) {
    EXPECT_EQ(PoemTable(0), L"");
    EXPECT_EQ(CommentTable(0), L"");
    for (int bad : {-1, 101, 32767, -32768}) {
        try {
            PoemTable(bad);
            ADD_FAILURE() << bad;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number, 9);
        }
        EXPECT_THROW(CommentTable(bad), RuntimeError);
    }
}

TEST_F(PoemTables, FillingAgainChangesNothing) {
    std::wstring before = PoemTable(50) + CommentTable(50);
    FillPoemTables();
    FillPoemTables();
    EXPECT_EQ(PoemTable(50) + CommentTable(50), before);
    EXPECT_EQ(PoemTable(0), L"");
}

namespace {
bool PrintableAscii(const std::wstring& text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0x20 && c < 0x7F; });
}
bool PoetLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || std::wstring(L" '-ōūŌŪ").find(c) != std::wstring::npos;
}
}  // namespace

TEST_F(PoemTables, EveryPoemHasAnEnglishRenderingOfTickerLength) {
    std::set<std::wstring> seen;
    for (int n = 1; n <= kPoemCount; ++n) {
        SCOPED_TRACE(n);
        const std::wstring& e = EnglishRendering(n);
        EXPECT_GE(e.size(), 40u);
        EXPECT_LE(e.size(), 230u) << "would scroll far longer than the Japanese";
        EXPECT_TRUE(PrintableAscii(e)) << "the Latin face draws printable ASCII only";
        ASSERT_FALSE(e.empty());
        EXPECT_TRUE(e[0] >= L'A' && e[0] <= L'Z');
        EXPECT_NE(std::wstring(L".?!").find(e.back()), std::wstring::npos);
        EXPECT_EQ(e.find(L"  "), std::wstring::npos);
        EXPECT_EQ(std::count(e.begin(), e.end(), L'"') % 2, 0) << "an unclosed quotation";
        seen.insert(e);
    }
    EXPECT_EQ(seen.size(), 100u) << "two poems share a rendering";
    try {
        EnglishRendering(101);
        ADD_FAILURE();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number, 9);
    }
    EXPECT_THROW(EnglishRendering(0), RuntimeError);
}

TEST_F(PoemTables, EveryPoetHasAnEnglishNameInOneConvention) {
    std::set<std::wstring> seen;
    for (int n = 1; n <= kPoemCount; ++n) {
        SCOPED_TRACE(n);
        const std::wstring& name = EnglishPoetName(n);
        EXPECT_GE(name.size(), 3u);
        EXPECT_LE(name.size(), 40u);
        EXPECT_TRUE(std::all_of(name.begin(), name.end(), PoetLetter)) << "letters, macrons, space, ' and - only";
        EXPECT_TRUE((name[0] >= L'A' && name[0] <= L'Z') || name[0] == L'Ō' || name[0] == L'Ū');
        EXPECT_EQ(name.find(L"  "), std::wstring::npos);
        // Long vowels take macrons here as in the romanised poems, never doubled.
        EXPECT_EQ(name.find(L"oo"), std::wstring::npos);
        EXPECT_EQ(name.find(L"uu"), std::wstring::npos);
        // The card's 天皇 or 院 (a reigning or retired emperor) is an emperor
        // in English too, and every monk but Semimaru is a priest.
        const std::wstring card = Field(n, 6);
        const bool emperor = card.ends_with(L"天皇") || card.ends_with(L"院");
        EXPECT_EQ(emperor, name.starts_with(L"Emperor ") || name.starts_with(L"Empress "));
        EXPECT_EQ(Field(n, 7) == L"3" && n != 10, name.starts_with(L"Priest "));
        seen.insert(name);
    }
    EXPECT_EQ(seen.size(), 100u);
    EXPECT_THROW(EnglishPoetName(0), RuntimeError);
    EXPECT_THROW(EnglishPoetName(101), RuntimeError);
}

TEST_F(PoemTables, TheRenderingListHasEachPoemsNumberTabAndRendering) {
    const std::string list = EnglishRenderingList();
    size_t start = 0;
    for (int n = 1; n <= kPoemCount; ++n) {
        const size_t end = list.find('\n', start);
        ASSERT_NE(end, std::string::npos) << n;
        const std::wstring& e = EnglishRendering(n);
        EXPECT_EQ(list.substr(start, end - start), std::to_string(n) + "\t" + std::string(e.begin(), e.end()));
        start = end + 1;
    }
    EXPECT_EQ(start, list.size()) << "text after the hundredth line";
}
