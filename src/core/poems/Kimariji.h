// The deciding sounds (決まり字) of each poem: the fewest opening sounds of
// its recited reading that no other poem's reading begins with, worked out
// from the readings themselves.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/base/Seams.h"

namespace mirobel {

// The red in which study cards print the deciding sounds.
inline constexpr Rgb kVermilion{227, 66, 52};

// The opening of poem n (1..100) as a reader recites it: its first phrase
// and its second in modern kana, joined by ",". Any other n raises the
// subscript failure (9).
const std::wstring& PoemReading(int n);

// The whole of poem n (1..100) as a reader recites it: its five phrases in
// modern kana, joined by ",". Any other n raises the subscript failure (9).
const std::wstring& PoemRecitation(int n);

// The sounds (morae) of a kana text: one kana each, a small ゃゅょ (or
// ぁぃぅぇぉ) joined to the kana before it. Anything else counts as a sound
// of its own, so a "," between phrases is one too; callers drop it first.
std::vector<std::wstring> Sounds(const std::wstring& kana);

// The sounds as the ear compares them: a long o is heard alike whether
// modern kana spell it おう or おお (逢ふ read おう, 大江 read おお), so the
// う or お that lengthens an o is the same sound in both.
std::vector<std::wstring> HeardSounds(const std::wstring& kana);

// How a reading lies on the written text it was read from: for each written
// kana, how many characters of the reading it gives. A written kana gives
// itself or what the old spelling reads as (は ひ ふ へ ほ as わ い う え お,
// ゐ ゑ を as い え お, ぢ づ as じ ず, む as ん; before a ふ read う, an a-row
// kana reads as its o-row kana and an e-row kana as its i-row kana with a
// small ょ). Nothing when the reading cannot be a reading of the text.
std::optional<std::vector<int>> ReadingOnText(const std::wstring& written, const std::wstring& reading);

struct Kimariji {
    int sounds = 0;        // how many opening sounds decide the poem
    std::wstring reading;  // those sounds as recited
    int cardKana = 0;      // how many kana of the card (phrase 1, then 2) they cover
    std::wstring written;  // those kana as the card writes them
};

// The kimariji of poem n (1..100); any other n raises the subscript failure.
const Kimariji& KimarijiOf(int n);

}  // namespace mirobel
