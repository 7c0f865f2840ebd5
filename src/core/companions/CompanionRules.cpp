#include "core/companions/CompanionRules.h"

#include "core/poems/Kimariji.h"
#include "core/poems/Poems.h"
#include "core/poems/Romaji.h"

namespace mirobel {

// --- commentary viewer -------------------------------------------------

std::wstring ChooserEntryText(int k) {
    const std::wstring& record = PoemTable(k + 1);
    return L" " + std::to_wstring(k + 1) + L"  " + GetField(record, 1, L",") + L" " + GetField(record, 2, L",");
}

namespace {
// Phrases first to last of a poem in Latin letters, joined by blanks as the
// kana phrases are.
std::wstring RomanisedPhrases(int poemNo, int first, int last) {
    const std::wstring& line = RomanisedRecitation(poemNo);
    const std::wstring separator = L" / ";
    std::wstring out;
    size_t start = 0;
    for (int phrase = 1; phrase <= last; ++phrase) {
        size_t end = line.find(separator, start);
        if (end == std::wstring::npos) end = line.size();
        if (phrase >= first) out += (out.empty() ? L"" : L" ") + line.substr(start, end - start);
        start = end == line.size() ? end : end + separator.size();
    }
    return out;
}
}  // namespace

CommentaryTexts CommentaryFor(int poemNo, Language language) {
    const std::wstring& record = PoemTable(poemNo);
    auto field = [&](int16_t n) { return GetField(record, n, L","); };
    CommentaryTexts t;
    t.upper = field(1) + L" " + field(2) + L" " + field(3);
    t.lower = field(4) + L" " + field(5);
    t.poet = field(6);
    const std::wstring& comment = CommentTable(poemNo);
    // From the fifth character on, at most 500: the marker goes, the
    // rendering stays whole (none comes near the limit).
    t.comment = comment.size() > 4 ? comment.substr(4, 500) : std::wstring();
    const Kimariji& k = KimarijiOf(poemNo);
    t.kimariji = {L"決まり字「", k.written, L"」"};
    if (language == Language::English) {
        t.upper = RomanisedPhrases(poemNo, 1, 3);
        t.lower = RomanisedPhrases(poemNo, 4, 5);
        t.poetLatin = EnglishPoetName(poemNo);
        t.poet = t.poetLatin + L"  " + t.poet;
        t.comment = EnglishRendering(poemNo);
        t.kimariji = {L"Kimariji 「", k.written, L"」"};
    }
    return t;
}

const ViewerTexts& ViewerTextsIn(Language language) {
    static const ViewerTexts japanese{L"百人一首の解説", {L"選　択", L"上の句", L"下の句", L"作　者", L"通　釈"},
                                      L"決定", L"終　了"};
    static const ViewerTexts english{L"Hyakunin Isshu", {L"Poem", L"Upper", L"Lower", L"Poet", L"Meaning"}, L"Show",
                                     L"Close"};
    return language == Language::English ? english : japanese;
}

int ChosenEntry(int selected) { return selected < 0 ? 0 : selected; }

// --- help window ---------------------------------------------------------

const HelpTexts& HelpTextsIn(Language language) {
    static const HelpTexts japanese{L"ミロベルスクリーンセイバーの使い方", L"ＯＫ！"};
    static const HelpTexts english{L"How to use Mirobel Screen Saver", L"OK"};
    return language == Language::English ? english : japanese;
}

// --- software introduction window ---------------------------------------

const IntroductionTexts& IntroductionTextsIn(Language language) {
    static const IntroductionTexts japanese{
        L"作者ソフト紹介",
        L"ミロベル スクリーンセイバー\r\n"
        L"\r\n"
        L"百人一首の百首を、かるたの札にして\r\n"
        L"画面に一首ずつ映し出すスクリーンセイバーです。\r\n"
        L"札は黒い画面の上を斜めに進み、端で跳ね返ります。\r\n"
        L"歌は縦書きで一文字ずつ札に書かれ、\r\n"
        L"書き終わると作者の絵が現れて、\r\n"
        L"画面の下を歌の意味を伝える通釈が流れます。\r\n"
        L"\r\n"
        L"表示する歌の範囲と順序、速度、\r\n"
        L"音楽のあり・なしは設定画面で選べます。\r\n"
        L"歌を一首ずつゆっくり読みたいときは、\r\n"
        L"ヘルプメニューの「百人一首の解説」をどうぞ。\r\n"
        L"\r\n"
        L"このソフトはフリーソフトです。\r\n"
        L"ご意見、ご感想は下のアドレスまでお寄せください。\r\n",
        L"ＯＫ！"};
    // Lines kept short of the picture in the box's upper right corner.
    static const IntroductionTexts english{
        L"Introducing Mirobel",
        L"Mirobel Screen Saver\r\n"
        L"\r\n"
        L"A screen saver that turns the hundred poems\r\n"
        L"of the Hyakunin Isshu into karuta cards and\r\n"
        L"shows them on your screen one at a time.\r\n"
        L"Each card drifts across a black screen and bounces\r\n"
        L"off its edges. The poem is brushed onto the card\r\n"
        L"one character at a time, in columns; then the\r\n"
        L"poet's portrait appears, and what the poem says\r\n"
        L"scrolls along the bottom of the screen.\r\n"
        L"\r\n"
        L"The settings choose the range of poems, their order,\r\n"
        L"the speed, the music and the language. To read the\r\n"
        L"poems at leisure, open \"The hundred poems\" from the\r\n"
        L"Help menu.\r\n"
        L"\r\n"
        L"Mirobel is free software under the MIT licence.\r\n"
        L"Your comments are welcome at the address below.\r\n",
        L"OK"};
    return language == Language::English ? english : japanese;
}

CyclistPlace CyclistStart(int i) { return {240.0 - 32.0 * i, 300 - 8 * i}; }

double CyclistStep(double left, double r, int twipsPerPixel) {
    double t = twipsPerPixel;
    left -= r * 200.0 / t;
    if (left < 100.0 / t) left = kCyclistWrapLeft;
    return left;
}

void CyclistsTick(CyclistPlace (&cyclists)[kCyclists], RandomSource& random, int twipsPerPixel) {
    random.Reseed();
    for (CyclistPlace& c : cyclists) c.left = CyclistStep(c.left, random.Next(), twipsPerPixel);
}

}  // namespace mirobel
