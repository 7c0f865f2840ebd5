#include "core/poems/Kimariji.h"

#include <utility>

#include "core/base/Errors.h"
#include "core/poems/Poems.h"

namespace mirobel {

namespace {
const wchar_t* const kReadings[kPoemCount] = {
#include "core/poems/Readings.inc"
};

const std::wstring kSmallKana = L"ゃゅょぁぃぅぇぉ";
// Kana whose vowel is o: the sound a following う or お lengthens.
const std::wstring kOSounds = L"おこごそぞとどのほぼぽもよろをょぉ";

// What a written kana may read as, beside itself.
const std::pair<wchar_t, const wchar_t*> kOldSpellings[] = {
    {L'は', L"わ"}, {L'ひ', L"い"}, {L'ふ', L"う"}, {L'へ', L"え"}, {L'ほ', L"お"}, {L'ゐ', L"い"},
    {L'ゑ', L"え"}, {L'を', L"お"}, {L'ぢ', L"じ"}, {L'づ', L"ず"}, {L'む', L"ん"},
};
// What a kana reads as before a ふ read う (あふ おう, けふ きょう, てふ ちょう).
const std::pair<wchar_t, const wchar_t*> kBeforeU[] = {
    {L'あ', L"お"}, {L'か', L"こ"}, {L'が', L"ご"}, {L'さ', L"そ"},   {L'ざ', L"ぞ"},   {L'た', L"と"},
    {L'だ', L"ど"}, {L'な', L"の"}, {L'は', L"ほ"}, {L'ば', L"ぼ"},   {L'ま', L"も"},   {L'や', L"よ"},
    {L'ら', L"ろ"}, {L'わ', L"お"}, {L'え', L"よ"}, {L'け', L"きょ"}, {L'げ', L"ぎょ"}, {L'せ', L"しょ"},
    {L'ぜ', L"じょ"}, {L'て', L"ちょ"}, {L'で', L"じょ"}, {L'ね', L"にょ"}, {L'へ', L"ひょ"}, {L'べ', L"びょ"},
    {L'め', L"みょ"}, {L'れ', L"りょ"},
};

std::vector<std::wstring> Readings(const std::wstring& written, size_t i) {
    const wchar_t c = written[i];
    std::vector<std::wstring> out{std::wstring(1, c)};
    for (const auto& [from, to] : kOldSpellings)
        if (from == c) out.push_back(to);
    if (i + 1 < written.size() && written[i + 1] == L'ふ')
        for (const auto& [from, to] : kBeforeU)
            if (from == c) out.push_back(to);
    return out;
}

bool Align(const std::wstring& written, size_t i, const std::wstring& reading, size_t j, std::vector<int>& out) {
    if (i == written.size()) return j == reading.size();
    for (const std::wstring& piece : Readings(written, i)) {
        if (reading.compare(j, piece.size(), piece) != 0) continue;
        out.push_back(static_cast<int>(piece.size()));
        if (Align(written, i + 1, reading, j + piece.size(), out)) return true;
        out.pop_back();
    }
    return false;
}

std::wstring WithoutCommas(std::wstring text) {
    std::erase(text, L',');
    return text;
}

bool StartsWith(const std::vector<std::wstring>& sounds, const std::vector<std::wstring>& prefix) {
    if (prefix.size() > sounds.size()) return false;
    for (size_t k = 0; k < prefix.size(); ++k)
        if (sounds[k] != prefix[k]) return false;
    return true;
}

// The first two phrases, which the kimariji are worked out from: no poem needs
// more of itself to be told from the others, and the card marks no further.
std::wstring OpeningOf(const std::wstring& recitation) {
    return recitation.substr(0, recitation.find(L',', recitation.find(L',') + 1));
}

std::vector<Kimariji> Work() {
    std::vector<std::vector<std::wstring>> heard;
    for (int n = 1; n <= kPoemCount; ++n) heard.push_back(HeardSounds(WithoutCommas(PoemReading(n))));
    FillPoemTables();
    std::vector<Kimariji> all(kPoemCount + 1);
    for (int n = 1; n <= kPoemCount; ++n) {
        const std::vector<std::wstring>& mine = heard[n - 1];
        // The shortest opening no other reading shares; a reading that is
        // the opening of another would be decided by nothing short of itself.
        size_t length = 1;
        for (; length < mine.size(); ++length) {
            const std::vector<std::wstring> prefix(mine.begin(), mine.begin() + length);
            bool shared = false;
            for (int m = 1; m <= kPoemCount && !shared; ++m) shared = m != n && StartsWith(heard[m - 1], prefix);
            if (!shared) break;
        }
        Kimariji& k = all[n];
        k.sounds = static_cast<int>(length);
        const std::wstring reading = WithoutCommas(PoemReading(n));
        const std::vector<std::wstring> sounds = Sounds(reading);
        for (size_t s = 0; s < length; ++s) k.reading += sounds[s];
        // The card writes phrase 1 and then phrase 2: the kimariji covers the
        // written kana whose reading begins inside it.
        const std::wstring record = PoemTable(n);
        const std::wstring written = GetField(record, 1, L",") + GetField(record, 2, L",");
        const std::optional<std::vector<int>> pieces = ReadingOnText(written, reading);
        // The readings are the program's own constants, checked by its tests.
        if (!pieces) throw InternalError();
        size_t read = 0;
        while (read < k.reading.size()) read += static_cast<size_t>((*pieces)[k.cardKana++]);
        k.written = written.substr(0, static_cast<size_t>(k.cardKana));
    }
    return all;
}
}  // namespace

const std::wstring& PoemRecitation(int n) {
    static const std::vector<std::wstring> recitations(std::begin(kReadings), std::end(kReadings));
    if (n < 1 || n > kPoemCount) throw SubscriptOutOfRange();
    return recitations[n - 1];
}

const std::wstring& PoemReading(int n) {
    static const std::vector<std::wstring> openings = [] {
        std::vector<std::wstring> out;
        for (const wchar_t* recitation : kReadings) out.push_back(OpeningOf(recitation));
        return out;
    }();
    if (n < 1 || n > kPoemCount) throw SubscriptOutOfRange();
    return openings[n - 1];
}

std::vector<std::wstring> Sounds(const std::wstring& kana) {
    std::vector<std::wstring> sounds;
    for (wchar_t c : kana) {
        if (kSmallKana.find(c) != std::wstring::npos && !sounds.empty()) sounds.back() += c;
        else sounds.emplace_back(1, c);
    }
    return sounds;
}

std::vector<std::wstring> HeardSounds(const std::wstring& kana) {
    std::vector<std::wstring> sounds = Sounds(kana);
    for (size_t k = sounds.size(); k-- > 1;) {
        const bool lengthens = sounds[k] == L"う" || sounds[k] == L"お";
        if (lengthens && kOSounds.find(sounds[k - 1].back()) != std::wstring::npos) sounds[k] = L"ー";
    }
    return sounds;
}

std::optional<std::vector<int>> ReadingOnText(const std::wstring& written, const std::wstring& reading) {
    std::vector<int> pieces;
    if (!Align(written, 0, reading, 0, pieces)) return std::nullopt;
    return pieces;
}

const Kimariji& KimarijiOf(int n) {
    static const std::vector<Kimariji> all = Work();
    if (n < 1 || n > kPoemCount) throw SubscriptOutOfRange();
    return all[static_cast<size_t>(n)];
}

}  // namespace mirobel
