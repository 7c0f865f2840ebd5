#include "core/poems/Romaji.h"

#include <optional>
#include <utility>
#include <vector>

#include "core/base/Errors.h"
#include "core/poems/Kimariji.h"
#include "core/poems/Poems.h"

namespace mirobel {

namespace {
const std::pair<wchar_t, const wchar_t*> kKana[] = {
    {L'あ', L"a"},   {L'い', L"i"},   {L'う', L"u"},   {L'え', L"e"},  {L'お', L"o"},  {L'か', L"ka"}, {L'き', L"ki"},
    {L'く', L"ku"},  {L'け', L"ke"},  {L'こ', L"ko"},  {L'が', L"ga"}, {L'ぎ', L"gi"}, {L'ぐ', L"gu"}, {L'げ', L"ge"},
    {L'ご', L"go"},  {L'さ', L"sa"},  {L'し', L"shi"}, {L'す', L"su"}, {L'せ', L"se"}, {L'そ', L"so"}, {L'ざ', L"za"},
    {L'じ', L"ji"},  {L'ず', L"zu"},  {L'ぜ', L"ze"},  {L'ぞ', L"zo"}, {L'た', L"ta"}, {L'ち', L"chi"}, {L'つ', L"tsu"},
    {L'て', L"te"},  {L'と', L"to"},  {L'だ', L"da"},  {L'ぢ', L"ji"}, {L'づ', L"zu"}, {L'で', L"de"}, {L'ど', L"do"},
    {L'な', L"na"},  {L'に', L"ni"},  {L'ぬ', L"nu"},  {L'ね', L"ne"}, {L'の', L"no"}, {L'は', L"ha"}, {L'ひ', L"hi"},
    {L'ふ', L"fu"},  {L'へ', L"he"},  {L'ほ', L"ho"},  {L'ば', L"ba"}, {L'び', L"bi"}, {L'ぶ', L"bu"}, {L'べ', L"be"},
    {L'ぼ', L"bo"},  {L'ぱ', L"pa"},  {L'ぴ', L"pi"},  {L'ぷ', L"pu"}, {L'ぺ', L"pe"}, {L'ぽ', L"po"}, {L'ま', L"ma"},
    {L'み', L"mi"},  {L'む', L"mu"},  {L'め', L"me"},  {L'も', L"mo"}, {L'や', L"ya"}, {L'ゆ', L"yu"}, {L'よ', L"yo"},
    {L'ら', L"ra"},  {L'り', L"ri"},  {L'る', L"ru"},  {L'れ', L"re"}, {L'ろ', L"ro"}, {L'わ', L"wa"}, {L'ゐ', L"i"},
    {L'ゑ', L"e"},   {L'を', L"o"},   {L'ぁ', L"a"},   {L'ぃ', L"i"},  {L'ぅ', L"u"},  {L'ぇ', L"e"},  {L'ぉ', L"o"},
};
const std::pair<wchar_t, wchar_t> kSmallY[] = {{L'ゃ', L'a'}, {L'ゅ', L'u'}, {L'ょ', L'o'}};

struct Syllable {
    wchar_t kana = 0;
    std::wstring text;
    bool wordStart = false;  // a "|" stood before it
};

const wchar_t* Letters(wchar_t kana) {
    for (const auto& [k, letters] : kKana)
        if (k == kana) return letters;
    return nullptr;
}

bool StartsWithVowelOrY(const std::wstring& text) {
    return !text.empty() && std::wstring(L"aiueoy").find(text[0]) != std::wstring::npos;
}

// The kana in syllables; a small ゃゅょ folded into the i-kana before it.
std::vector<Syllable> Split(const std::wstring& kana) {
    std::vector<Syllable> out;
    bool boundary = false;
    for (wchar_t c : kana) {
        if (c == L'|') {
            boundary = true;
            continue;
        }
        std::optional<wchar_t> small;
        for (const auto& [k, vowel] : kSmallY)
            if (k == c) small = vowel;
        Syllable* before = out.empty() ? nullptr : &out.back();
        if (small && before && before->text.size() > 1 && before->text.back() == L'i' && Letters(before->kana)) {
            std::wstring& t = before->text;
            t.pop_back();  // き ki: ky-; し shi, ち chi, じ ji keep sh, ch, j
            if (t != L"sh" && t != L"ch" && t != L"j") t += L'y';
            t += *small;
            continue;
        }
        const wchar_t* letters = Letters(c);
        out.push_back({c, letters ? letters : std::wstring(1, c), boundary});
        boundary = false;
    }
    return out;
}
}  // namespace

std::wstring Romanised(const std::wstring& kana) {
    const std::vector<Syllable> syllables = Split(kana);
    std::wstring out;
    for (size_t k = 0; k < syllables.size(); ++k) {
        const Syllable& s = syllables[k];
        const std::wstring next = k + 1 < syllables.size() ? syllables[k + 1].text : std::wstring();
        if (s.kana == L'っ') {
            if (next.rfind(L"ch", 0) == 0) out += L't';
            else if (!next.empty() && !StartsWithVowelOrY(next) && Letters(syllables[k + 1].kana)) out += next[0];
            continue;
        }
        if (s.kana == L'ん') {
            out += StartsWithVowelOrY(next) && Letters(syllables[k + 1].kana) ? L"n'" : L"n";
            continue;
        }
        // Only う and お lengthen: を is a particle, a word of its own.
        const bool lengthens = !s.wordStart && !out.empty() && (s.kana == L'う' || s.kana == L'お');
        if (lengthens && out.back() == L'o') {
            out.back() = L'ō';
        } else if (lengthens && s.kana == L'う' && out.back() == L'u') {
            out.back() = L'ū';
        } else {
            out += s.text;
        }
    }
    return out;
}

namespace {
bool IsORow(wchar_t kana) { return std::wstring(L"おこごそぞとどのほぼぽもよろを").find(kana) != std::wstring::npos; }

// The recitation with a "|" before each お or う that the old spelling shows
// to begin a word rather than lengthen the vowel before it: a long o is
// written ほ (おほえ, とほ) or is a ふ after a kana it changes (あふ おう, けふ
// きょう); a ふ after a u lengthens it (ゆふ ゆう); a ふ after an o-row kana is
// the verb's own ending (思ふ おもう), and a written お, を or う starts a word.
std::wstring MarkedRecitation(int n) {
    std::wstring written = GetField(PoemTable(n), 1, L",");
    for (int16_t f = 2; f <= 5; ++f) written += L"," + GetField(PoemTable(n), f, L",");
    const std::wstring& reading = PoemRecitation(n);
    const std::optional<std::vector<int>> pieces = ReadingOnText(written, reading);
    // The recitations are the program's own constants, checked by its tests.
    if (!pieces) throw InternalError();
    std::wstring out;
    size_t at = 0;
    for (size_t i = 0; i < written.size(); ++i) {
        const std::wstring piece = reading.substr(at, static_cast<size_t>((*pieces)[i]));
        at += piece.size();
        const wchar_t before = i > 0 ? written[i - 1] : L',';
        const bool joins = (piece == L"お" && written[i] == L'ほ') ||
                           (piece == L"う" && written[i] == L'ふ' && !IsORow(before));
        if ((piece == L"お" || piece == L"う") && before != L',' && !joins) out += L'|';
        out += piece;
    }
    return out;
}
}  // namespace

const std::wstring& RomanisedRecitation(int n) {
    static const std::vector<std::wstring> all = [] {
        FillPoemTables();
        std::vector<std::wstring> out;
        for (int poem = 1; poem <= kPoemCount; ++poem) {
            const std::wstring marked = MarkedRecitation(poem);
            std::wstring line;
            for (int16_t f = 1; f <= 5; ++f) line += (f > 1 ? L" / " : L"") + Romanised(GetField(marked, f, L","));
            out.push_back(line);
        }
        return out;
    }();
    if (n < 1 || n > kPoemCount) throw SubscriptOutOfRange();
    return all[static_cast<size_t>(n - 1)];
}

}  // namespace mirobel
