// The hundred poem records and their renderings, held by poem number.
#pragma once
#include <cstdint>
#include <string>

namespace mirobel {

inline constexpr int kPoemCount = 100;

// Field n (counted from 1; 0 acts as 1) of text split at delimiter. Empty
// fields are kept, nothing is trimmed, a field past the last is "".
std::wstring GetField(const std::wstring& text, int16_t n, const std::wstring& delimiter);

// Assigns entries 1..100 of both tables; may run any number of times.
void FillPoemTables();

// Entries 0..100; entry 0 exists and stays empty. Any other index raises
// the subscript failure (9).
const std::wstring& PoemTable(int n);
const std::wstring& CommentTable(int n);

// Poem n (1..100) for readers of English: what the poem says, in plain
// printable ASCII that the embedded Latin face draws, and the poet's name in
// Latin letters. Any other n raises the subscript failure (9).
const std::wstring& EnglishRendering(int n);
const std::wstring& EnglishPoetName(int n);

// One line per poem: its number, a tab and its English rendering.
std::string EnglishRenderingList();

// The rendering's opening marker.
inline constexpr const wchar_t* kCommentMarker = L"（通釈）";

}  // namespace mirobel
