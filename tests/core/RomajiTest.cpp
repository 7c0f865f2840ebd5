#include "core/poems/Romaji.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "core/base/Errors.h"
#include "core/poems/Poems.h"

using namespace mirobel;

TEST(Romaji, TheHardCasesOfModifiedHepburn) {
    const std::vector<std::pair<std::wstring, std::wstring>> cases = {
        // a small ゃゅょ joins the kana before it; sh, ch and j take no y
        {L"きゃくしゅちょじゃひゃりゅ", L"kyakushuchojahyaryu"},
        // っ doubles the next consonant, and before ch is t
        {L"がっこうまっちゃいっしょはっぱ", L"gakkōmatchaisshohappa"},
        // ん before a vowel or y is n', elsewhere n, before b, m and p too
        {L"しんいちこんやさんぽしんぶんかん", L"shin'ichikon'yasanposhinbunkan"},
        // long vowels: o with う or お, u with う; nothing else lengthens
        {L"おうさか,おおえやま,ゆうぐれ,きょう,ちょう,おおう", L"ōsaka,ōeyama,yūgure,kyō,chō,ōu"},
        {L"いう,えい,いい,ああ", L"iu,ei,ii,aa"},
        // the particles are already read in the kana; を stays a word of its own
        {L"わがいおわ,ひとお,ものを", L"wagaiowa,hitō,monoo"},
        // a marked word boundary keeps two vowels two
        {L"ころも|うつ,もの|おも|う", L"koromoutsu,monoomou"},
        {L"ぢづしちつふ", L"jizushichitsufu"},
    };
    for (const auto& [kana, latin] : cases) EXPECT_EQ(Romanised(kana), latin) << Romanised(kana).size();
}

TEST(Romaji, EveryPoemRecitedInLatinLetters) {
    for (int n = 1; n <= kPoemCount; ++n) {
        const std::wstring& line = RomanisedRecitation(n);
        const bool letters = std::all_of(line.begin(), line.end(), [](wchar_t c) {
            return (c >= L'a' && c <= L'z') || c == L'ō' || c == L'ū' || c == L'\'' || c == L' ' || c == L'/';
        });
        EXPECT_TRUE(letters) << n << ": a kana or mark left over";
        size_t phrases = 1;
        for (size_t at = 0; (at = line.find(L" / ", at)) != std::wstring::npos; at += 3) ++phrases;
        EXPECT_EQ(phrases, 5u) << n;
        EXPECT_EQ(std::count(line.begin(), line.end(), L' '), 8) << n;
    }
    // Where the old spelling writes a long vowel (あふ, てふ, けふ, おほ, とほ,
    // ゆふ) it is one; a verb's ふ after o (思ふ, 覆ふ), を and a written う
    // after o (衣打つ, 人も恨めし) begin words of their own.
    EXPECT_EQ(RomanisedRecitation(2), L"harusugite / natsukinikerashi / shirotaeno / koromohosuchō / amanokaguyama");
    EXPECT_EQ(RomanisedRecitation(44), L"ōkotono / taeteshinakuwa / nakanakani / hitoomomiomo / uramizaramashi");
    EXPECT_EQ(RomanisedRecitation(54), L"wasurejino / yukusuemadewa / katakereba / kyōokagirino / inochitomogana");
    EXPECT_EQ(RomanisedRecitation(60), L"ōeyama / ikunonomichino / tōkereba / madafumimomizu / amanohashidate");
    EXPECT_EQ(RomanisedRecitation(71), L"yūsareba / kadotanoinaba / otozurete / ashinomaroyani / akikazezofuku");
    EXPECT_EQ(RomanisedRecitation(94), L"miyoshinono / yamanoakikaze / sayofukete / furusatosamuku / koromoutsunari");
    EXPECT_EQ(RomanisedRecitation(95), L"ōkenaku / ukiyonotamini / ōukana / wagatatsusomani / sumizomenosode");
    EXPECT_EQ(RomanisedRecitation(99), L"hitomooshi / hitomourameshi / ajikinaku / yooomouyueni / monoomoumiwa");
    EXPECT_THROW(RomanisedRecitation(0), RuntimeError);
    EXPECT_THROW(RomanisedRecitation(101), RuntimeError);
}
