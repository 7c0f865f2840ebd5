// The font faces the program asks for by name; where one is not installed,
// the platform draws with a free face embedded in the program instead.
#pragma once

namespace mirobel {

inline constexpr const wchar_t* kBrushFace = L"HG正楷書体-PRO";  // the poem on the card
inline constexpr const wchar_t* kMinchoFace = L"ＭＳ 明朝";        // every small text
inline constexpr const wchar_t* kPGothicFace = L"ＭＳ Ｐゴシック";  // the introduction window
// The windows' captions and texts for readers of English: a face every
// Windows has, made for reading on the screen at small sizes.
inline constexpr const wchar_t* kLatinFace = L"Tahoma";

}  // namespace mirobel
