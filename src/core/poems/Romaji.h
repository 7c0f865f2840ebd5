// The recited poems in Latin letters, for readers who do not read kana.
#pragma once
#include <string>

namespace mirobel {

// Modern hiragana in modified Hepburn: し shi, ち chi, つ tsu, ふ fu, じ and
// ぢ ji, ず and づ zu, を o; a small ゃゅょ joins the kana before it (きょ
// kyo, しゃ sha, ちゅ chu, じょ jo); っ doubles the consonant after it (っち
// tchi); ん is n everywhere, n' before a vowel or y; a long vowel takes a
// macron, an o followed by う or お becoming ō and a u followed by う ū. A
// "|" between kana marks a word boundary the kana do not show: no long vowel
// forms across it, and it is dropped. Anything else is kept as it is.
std::wstring Romanised(const std::wstring& kana);

// Poem n (1..100) as recited, in Latin letters: its five phrases, each
// written as one run of letters, joined by " / ". Where the old spelling shows
// two vowels to belong to different words (思ふ omou, 衣打つ koromo utsu, the
// particle を after an o), they stay two vowels. Any other n raises the
// subscript failure (9).
const std::wstring& RomanisedRecitation(int n);

}  // namespace mirobel
