#include "core/poems/Kimariji.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "core/base/Errors.h"
#include "core/poems/Poems.h"

using namespace mirobel;

namespace {
std::wstring Joined(const std::wstring& text) {
    std::wstring out = text;
    std::erase(out, L',');
    return out;
}
std::vector<std::wstring> Heard(int n) { return HeardSounds(Joined(PoemReading(n))); }
bool Begins(const std::vector<std::wstring>& sounds, size_t length, const std::vector<std::wstring>& other) {
    return other.size() >= length && std::equal(sounds.begin(), sounds.begin() + static_cast<long>(length), other.begin());
}
// Poems other than n whose reading opens with the first `length` sounds of n's.
int Sharing(int n, size_t length) {
    const std::vector<std::wstring> mine = Heard(n);
    int count = 0;
    for (int m = 1; m <= kPoemCount; ++m) count += m != n && Begins(mine, length, Heard(m));
    return count;
}
}  // namespace

TEST(Kimariji, KnownDistributionAndEachOneUniqueAndMinimal) {
    std::map<int, int> bySounds;
    std::set<std::wstring> seen;
    for (int n = 1; n <= kPoemCount; ++n) {
        const Kimariji& k = KimarijiOf(n);
        ++bySounds[k.sounds];
        EXPECT_TRUE(seen.insert(k.reading).second) << n;
        EXPECT_EQ(Sounds(k.reading).size(), static_cast<size_t>(k.sounds)) << n;
        EXPECT_EQ(Joined(PoemReading(n)).rfind(k.reading, 0), 0u) << n;
        EXPECT_EQ(Sharing(n, static_cast<size_t>(k.sounds)), 0) << n << " is not decided by " << k.sounds;
        if (k.sounds > 1) {
            EXPECT_GT(Sharing(n, static_cast<size_t>(k.sounds - 1)), 0) << n << ": shorter would do";
        }
    }
    EXPECT_EQ(bySounds, (std::map<int, int>{{1, 7}, {2, 42}, {3, 37}, {4, 6}, {5, 2}, {6, 6}}));

    std::wstring single;
    for (int n = 1; n <= kPoemCount; ++n)
        if (KimarijiOf(n).sounds == 1) single += KimarijiOf(n).written;
    std::ranges::sort(single);
    std::wstring expected = L"むすめふさほせ";
    std::ranges::sort(expected);
    EXPECT_EQ(single, expected);
}

TEST(Kimariji, TheTwoAsaborakePoemsNeedSixSoundsAcrossThePhrases) {
    EXPECT_EQ(Sharing(31, 5), 1);
    EXPECT_EQ(KimarijiOf(31).sounds, 6);
    EXPECT_EQ(KimarijiOf(31).written, L"あさぼらけあ");
    EXPECT_EQ(KimarijiOf(64).sounds, 6);
    EXPECT_EQ(KimarijiOf(64).written, L"あさぼらけう");
}

TEST(Kimariji, EveryReadingIsAReadingOfItsCardAndTheMarkCoversOneKanaPerSound) {
    FillPoemTables();
    for (int n = 1; n <= kPoemCount; ++n) {
        const std::wstring record = PoemTable(n);
        const std::wstring written = GetField(record, 1, L",") + L"," + GetField(record, 2, L",");
        EXPECT_TRUE(ReadingOnText(written, PoemReading(n))) << n << ": the reading does not fit the card";
        const Kimariji& k = KimarijiOf(n);
        EXPECT_EQ(Joined(written).substr(0, static_cast<size_t>(k.cardKana)), k.written) << n;
        // The written kana of the mark read as exactly its sounds.
        EXPECT_TRUE(ReadingOnText(k.written, k.reading)) << n;
        // Old spelling writes each of these opening sounds with one kana.
        EXPECT_EQ(k.cardKana, k.sounds) << n;
    }
}

TEST(Kimariji, SoundsAsHeardAndTheReadingLaidOnTheOldSpellingKanaByKana) {
    // A small kana belongs to the sound before it; a long o is heard alike
    // spelt おう (逢ふことの) or おお (大江山), so those share two sounds.
    EXPECT_EQ(Sounds(L"こいすちょう"), (std::vector<std::wstring>{L"こ", L"い", L"す", L"ちょ", L"う"}));
    EXPECT_EQ(HeardSounds(L"おうこ")[1], HeardSounds(L"おおえ")[1]);
    EXPECT_EQ(KimarijiOf(44).reading, L"おうこ");
    EXPECT_EQ(ReadingOnText(L"こひすてふ", L"こいすちょう"), (std::vector<int>{1, 1, 1, 2, 1}));
    EXPECT_EQ(ReadingOnText(L"ちはやぶる", L"ちはやぶる"), (std::vector<int>{1, 1, 1, 1, 1}));
    EXPECT_EQ(ReadingOnText(L"あふさか", L"おうさか"), (std::vector<int>{1, 1, 1, 1}));
    EXPECT_FALSE(ReadingOnText(L"あきのたの", L"あきのたな"));
    EXPECT_FALSE(ReadingOnText(L"あふ", L"おお"));
    EXPECT_THROW(KimarijiOf(0), RuntimeError);
    EXPECT_THROW(PoemReading(101), RuntimeError);
}

TEST(Kimariji, EveryRecitationReadsItsWholeCardAndOpensWithTheReading) {
    FillPoemTables();
    for (int n = 1; n <= kPoemCount; ++n) {
        std::wstring written = GetField(PoemTable(n), 1, L",");
        for (int16_t f = 2; f <= 5; ++f) written += L"," + GetField(PoemTable(n), f, L",");
        const std::wstring& recitation = PoemRecitation(n);
        EXPECT_EQ(std::count(recitation.begin(), recitation.end(), L','), 4) << n;
        EXPECT_TRUE(ReadingOnText(written, recitation)) << n << ": the recitation does not fit the card";
        EXPECT_EQ(recitation.rfind(PoemReading(n) + L",", 0), 0u) << n;
    }
    EXPECT_THROW(PoemRecitation(0), RuntimeError);
    EXPECT_THROW(PoemRecitation(101), RuntimeError);
}

TEST(Kimariji, EachPoemIsDecidedByTheKanaKarutaPlayersLearn) {
    // The list as the cards write it, in the old spelling: 今はた (20) keeps
    // its は and 焚く火 (49) its ひ, and 逢ふこ (44) needs its third sound as
    // おうこ is heard like 大江 and 大けなく.
    const wchar_t* const learnt[kPoemCount] = {
        L"あきの", L"はるす", L"あし", L"たご", L"おく", L"かさ", L"あまの", L"わがい", L"はなの", L"これ",
        L"わたのはらや", L"あまつ", L"つく", L"みち", L"きみがためは", L"たち", L"ちは", L"す", L"なにはが", L"わび",
        L"いまこ", L"ふ", L"つき", L"この", L"なにし", L"をぐ", L"みかの", L"やまざ", L"こころあ", L"ありあ",
        L"あさぼらけあ", L"やまが", L"ひさ", L"たれ", L"ひとは", L"なつ", L"しら", L"わすら", L"あさぢ", L"しの",
        L"こひ", L"ちぎりき", L"あひ", L"あふこ", L"あはれ", L"ゆら", L"やへ", L"かぜを", L"みかき", L"きみがためを",
        L"かく", L"あけ", L"なげき", L"わすれ", L"たき", L"あらざ", L"め", L"ありま", L"やす", L"おほえ",
        L"いに", L"よを", L"いまは", L"あさぼらけう", L"うら", L"もろ", L"はるの", L"こころに", L"あらし", L"さ",
        L"ゆふ", L"おと", L"たか", L"うか", L"ちぎりお", L"わたのはらこ", L"せ", L"あはぢ", L"あきか", L"ながか",
        L"ほ", L"おも", L"よのなかよ", L"ながら", L"よも", L"なげけ", L"む", L"なにはえ", L"たま", L"みせ",
        L"きり", L"わがそ", L"よのなかは", L"みよ", L"おほけ", L"はなさ", L"こぬ", L"かぜそ", L"ひとも", L"もも",
    };
    for (int n = 1; n <= kPoemCount; ++n) EXPECT_EQ(KimarijiOf(n).written, learnt[n - 1]) << n;
    // は and ひ inside a word are read as written: 今 + はた, 焚く + 火.
    EXPECT_EQ(PoemReading(20), L"わびぬれば,いまはたおなじ");
    EXPECT_EQ(PoemReading(49), L"みかきもり,えじのたくひの");
}
